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

  // Takes the grid's current cell as the editor's and shows its text and address.
  void Refresh();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SyncBox();
  void KeyDown(int key);
  void KeyUp(int key);
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
};

}  // namespace kelt
