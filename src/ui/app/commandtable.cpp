#include "ui/app/commandtable.h"

#include <QStyle>

namespace kelt {

namespace {

const MenuEntry kMenus[] = {
    {"mnuFile", "ﾌｧｲﾙ(&F)"}, {"mnuEdit", "編集(&E)"}, {"mnuTools", "ﾂｰﾙ(&T)"},
    {"kansuu", "関数"},      {"mnuWindow", "ｳｨﾝﾄﾞｳ(&W)"}, {"mnuHelp", "ﾍﾙﾌﾟ(&H)"},
};

constexpr int kDrawn = -1;

const CommandEntry kCommands[] = {
    {"mnuFile", "mnuFileNew", "新規作成(&N)", "Ctrl+N", 1, "新規", "新規作成", "新規作成",
     QStyle::SP_FileIcon, Command::FileNew},
    {"mnuFile", "mnuFileExit", "終了(&X)", "", 0, "", "", "", kDrawn, Command::FileExit},
    {"mnuEdit", "undo", "元に戻す", "", 0, "", "", "", kDrawn, Command::Undo},
    {"mnuWindow", "mnuWindowCascade", "重ねて表示(&C)", "", 0, "", "", "", kDrawn,
     Command::WindowCascade},
    {"mnuWindow", "mnuWindowTileHorizontal", "上下に並べて表示(&H)", "", 0, "", "", "", kDrawn,
     Command::WindowTileHorizontal},
    {"mnuWindow", "mnuWindowTileVertical", "左右に並べて表示(&V)", "", 0, "", "", "", kDrawn,
     Command::WindowTileVertical},
    {"mnuHelp", "mnuHelpContents", "目次(&C)", "", 0, "", "", "", kDrawn, Command::HelpContents},
    {"mnuHelp", "mnuHelpAbout", "ﾊﾞｰｼﾞｮﾝ情報(&A)", "", 0, "", "", "", kDrawn, Command::HelpAbout},
};

// Groups: file, print, clipboard, rank and its neighbours, the rest.
const int kSeparatorsAfter[] = {3, 4, 7, 9, 9, 17};

}  // namespace

std::span<const MenuEntry> Menus() { return kMenus; }
std::span<const CommandEntry> Commands() { return kCommands; }
std::span<const int> ToolbarSeparatorsAfter() { return kSeparatorsAfter; }

const CommandEntry* FindToolbarKey(const QString& key) {
  for (const CommandEntry& entry : kCommands) {
    if (entry.toolbarPosition > 0 && QString::fromUtf8(entry.toolbarKey) == key) return &entry;
  }
  return nullptr;
}

}  // namespace kelt
