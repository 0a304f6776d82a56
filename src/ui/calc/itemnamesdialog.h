#pragma once

#include <QDialog>
#include <functional>
#include <memory>

class QLineEdit;

namespace kelt {

class FlexGrid;
class TextGrid;
class frmDocument;

// 列項目: renames the score columns in a small grid of its own, one row per column, edited in
// place by a box laid over the cell. Nothing reaches the sheet before "決定".
class ItemNamesDialog : public QDialog {
  Q_OBJECT

 public:
  ItemNamesDialog(std::function<frmDocument*()> activeSheet, QWidget* parent);
  ~ItemNamesDialog() override;

  // The row the box edits; the column is always the name column, 1.
  int EditRow() const { return m_editRow; }
  // "決定": the names that are not empty into the header row of the active sheet; then close.
  void Apply();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void EditCell(int row);
  void PlaceEditor();

  std::function<frmDocument*()> m_activeSheet;
  std::unique_ptr<TextGrid> m_names;
  FlexGrid* m_grid;
  QLineEdit* m_editor;
  int m_editRow = 1;
};

// The label of the n-th score column (from 1): "A" to "Z", then "AA", "AB" … as spreadsheets
// count.
QString ItemLabel(int n);

}  // namespace kelt
