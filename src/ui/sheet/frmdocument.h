#pragma once

#include <QWidget>

#include <array>

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
  static const QColor& HighlightColour();

  explicit frmDocument(SheetHost* host, QWidget* parent = nullptr);

  Sheet* sheet() const { return m_sheet; }
  FlexGrid* viewGrid() const { return m_grid; }
  QLineEdit* editor() const { return m_text1; }
  QPushButton* gradeButton() const { return m_command18; }
  QPushButton* classButton(int classIndex) const;
  CellEditor* cellEditor() const { return m_editor; }

  // Caption: "Book" and a number, or a file path.
  QString Caption() const;
  void SetCaption(const QString& caption);

  // The view buttons' click handlers.
  void ShowGradeView();
  void ShowClassView(int classIndex);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildStrip();
  void ApplyGridFormat();
  void ConnectSheet();
  void SetHighlight(const QString& marker, bool on);
  QPushButton* ViewButton(const QString& marker) const;
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
};

}  // namespace kelt
