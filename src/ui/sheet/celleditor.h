#pragma once

#include <QObject>

class QLabel;
class QLineEdit;
class QKeyEvent;

namespace kelt {

class FlexGrid;
class Sheet;
class SheetHost;

// The editor box above the grid: it always holds the current cell's text, writes every change
// straight into that cell, and moves the cursor and scrolls the grid with the keys.
class CellEditor : public QObject {
  Q_OBJECT

 public:
  CellEditor(Sheet* sheet, FlexGrid* grid, QLineEdit* box, QLabel* address, SheetHost* host,
             QObject* parent = nullptr);

  // Longest cell the box edits; a longer one is shown cut short and read-only, and stays as it is.
  static constexpr int kMaxBoxLength = 32767;

  // Takes the grid's current cell as the editor's and shows its text and address.
  void Refresh();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Shows the current cell in the box: always (a new cell), or only when the box shows something
  // else (the same cell, whose caret and composition a reload would reset).
  enum class Load { Always, IfDifferent };
  void LoadBox(Load when);
  // The address label: the current column's header, ":", the current row's number or label.
  void ShowAddress();
  void KeyDown(int key);
  void KeyUp(int key);
  // After an arrow key's move, the focus goes through the grid and back to the box.
  void BounceThroughGrid(int key);
  // Tells assistive technology that the box has the focus, when it has.
  void AnnounceBoxFocus();
  void ClearBlock();
  void BoxTextChanged(const QString& text);
  void GridGotFocus();
  void GridMousePressed(int row, int col);
  // Cursor and first visible row, kept inside the grid.
  void MoveTo(int row, int col);
  void SetTop(int top);

  Sheet* m_sheet;
  FlexGrid* m_grid;
  QLineEdit* m_box;
  QLabel* m_address;
  SheetHost* m_host;
  bool m_boxCutShort = false;  // the box shows only the start of a cell too long for it
};

}  // namespace kelt
