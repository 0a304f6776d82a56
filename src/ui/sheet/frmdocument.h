#pragma once

#include <QWidget>
#include <array>
#include <optional>

#include "core/sheet/sheet.h"
#include "core/sheet/textgrid.h"
#include "core/storage/sheetfile.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace kelt {

class CellEditor;
class FlexGrid;
class Sheet;
class SheetHost;

// A sheet window: the strip (address label, editor box, view buttons) above the view grid.
class frmDocument : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kStripHeight = 375;  // twips
  // The class buttons of the strip: the first one's left edge, the step and the width, in twips;
  // the strip ends at the last one's right edge.
  static constexpr int kClassButtonLeft = 3030;
  static constexpr int kClassButtonStep = 600;
  static constexpr int kClassButtonWidth = 615;
  static constexpr int kStripWidth =
      kClassButtonLeft + kClassButtonStep * (Sheet::kClassCount - 1) + kClassButtonWidth;
  // The grid's standard sizes in twips.
  static constexpr int kRowHeight = 350;
  static constexpr int kNameWidth = 1500;
  static constexpr int kScoreWidth = 700;
  // The number column's: a new sheet's, and the one its widths are restored to.
  static constexpr int kNumberWidth = 700;
  static constexpr int kRestoredNumberWidth = 500;
  static const QColor& HighlightColour();

  // A fresh sheet, laid out here.
  explicit frmDocument(SheetHost* host, QWidget* parent = nullptr);
  // A sheet showing grids made apart from any window (a file read, or a fresh sheet's layout,
  // on another thread): `storage` and its grade view `view`. Without them, a fresh sheet.
  frmDocument(SheetHost* host, TextGrid storage, TextGrid view, QWidget* parent = nullptr);

  // The size of a sheet window that is not maximised: two thirds of the frame's client area, or
  // of the frame itself while that area is not laid out yet. Restoring or cascading a window
  // then shows its strip and grid, not a bare title bar.
  static QSize NormalSize(QSize clientArea, QSize frame);
  QSize sizeHint() const override;

  Sheet* sheet() const { return m_sheet; }
  FlexGrid* viewGrid() const { return m_grid; }
  QLineEdit* editor() const { return m_text1; }
  QPushButton* gradeButton() const { return m_command18; }
  QPushButton* classButton(int classIndex) const;
  CellEditor* cellEditor() const { return m_editor; }

  // The number column's width in twips: `standard`, or what its widest number or label needs
  // where that is more (four-digit pupil numbers in a large font).
  int NumberColumnTwips(int standard) const;

  // Caption: "Book" and a number, or a file path.
  QString Caption() const;
  void SetCaption(const QString& caption);

  // The file as it was when the sheet last read or wrote it, and the storage cells it held then
  // (none for a file that was not read as a sheet): Save merges what others saved there since.
  const DiskStamp& FileStamp() const { return m_fileStamp; }
  const std::optional<TextGrid>& FileCells() const { return m_fileCells; }
  void SetFileStamp(const DiskStamp& stamp, std::optional<TextGrid> cells = std::nullopt) {
    m_fileStamp = stamp;
    m_fileCells = std::move(cells);
    ++m_fileGeneration;
  }
  // Counts the changes of the two above.
  int FileGeneration() const { return m_fileGeneration; }

  // The view buttons' click handlers.
  void ShowGradeView();
  void ShowClassView(int classIndex);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildStrip();
  void ApplyGridFormat();
  // Columns a file or an insertion adds get the score columns' width and centred header.
  void FormatNewColumns(int firstNew);
  void ConnectSheet();
  void SetHighlight(int viewIndex, bool on);
  QPushButton* ViewButton(int viewIndex) const;
  int Px(int twips) const;

  SheetHost* m_host;
  Sheet* m_sheet;
  QLabel* m_label5 = nullptr;
  QLineEdit* m_text1 = nullptr;
  QPushButton* m_command18 = nullptr;
  std::array<QPushButton*, 20> m_command1{};
  QLineEdit* m_text4 = nullptr;
  FlexGrid* m_grid = nullptr;
  CellEditor* m_editor = nullptr;
  DiskStamp m_fileStamp;
  std::optional<TextGrid> m_fileCells;
  int m_fileGeneration = 0;
  int m_colsBefore = 0;
};

// Tells the teacher that the number and name columns take no calculation's results and no column
// insertion or deletion (the cursor is there after a click on a name).
void RefuseNumberOrNameColumn(QWidget* parent);
// True when the cursor of `doc` is in the number or name column, which would lose the pupils'
// numbers or names to a result; the teacher is told so.
bool RefusesResultsAtCursor(const frmDocument& doc, QWidget* parent);

// The header texts of the score columns of `doc` (none without one), in column order, as a
// column list shows them.
QStringList ScoreColumnNames(const frmDocument* doc);

}  // namespace kelt
