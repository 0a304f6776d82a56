#pragma once

#include <QString>
#include <span>

namespace kelt {

// Every command the menu bar or the toolbar can start.
enum class Command {
  FileNew,
  FileOpen,
  FileSave,
  FileSaveAs,
  FilePrint,
  FileExit,
  Undo,
  EditCut,
  EditCopy,
  EditPaste,
  InsertColumn,
  InsertRow,
  DeleteColumn,
  RestoreColumnWidths,
  RestoreRowHeights,
  ToggleNameLock,
  ItemNames,
  WindowCascade,
  WindowTileHorizontal,
  WindowTileVertical,
  HorizontalTotal,
  Rank,
  Arithmetic,
  VerticalTotalAverage,
  HorizontalAverage,
  Grades,
  Viewpoints,
  Rounding,
  DeviationScore,
  Distribution,
  HelpContents,
  HelpAbout,
  None,  // separators
};

struct MenuEntry {
  const char* objectName;
  const char* caption;
};

// One row of the command table; texts are UTF-8.
struct CommandEntry {
  const char* menu;        // objectName of its top-level menu; null: toolbar only
  const char* objectName;  // the menu item's name
  const char* caption;     // the menu caption; "-" is a separator
  const char* shortcut;    // portable key sequence text, or ""
  int toolbarPosition;     // 1 to 20 from the left; 0: no button
  const char* toolbarCaption;
  const char* toolbarKey;
  const char* tooltip;
  const char* icon;  // the toolbar picture, :/icons/<icon>-24.png; "" without a button
  Command command;
};

// The top-level menus, left to right.
std::span<const MenuEntry> Menus();
// Menu items in menu order (top to bottom within each menu).
std::span<const CommandEntry> Commands();
// The toolbar positions after which a separator stands (a position may repeat).
std::span<const int> ToolbarSeparatorsAfter();
// The command of a toolbar key, compared as an exact text; null when none matches.
const CommandEntry* FindToolbarKey(const QString& key);

}  // namespace kelt
