#include "ui/calc/itemnamesdialog.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>

#include "core/sheet/sheet.h"
#include "core/sheet/textgrid.h"
#include "ui/platform/flexgrid.h"
#include "ui/platform/singledialog.h"
#include "ui/platform/textgridmodel.h"
#include "ui/platform/twips.h"
#include "ui/sheet/frmdocument.h"

namespace kelt {

namespace {
constexpr int kCentred = 4;
constexpr int kNameCol = 1;
}  // namespace

QString ItemLabel(int n) {
  QString label;
  for (; n > 0; n = (n - 1) / 26) label.prepend(QChar(u'A' + (n - 1) % 26));
  return label;
}

ItemNamesDialog::ItemNamesDialog(std::function<frmDocument*()> activeSheet, QWidget* parent)
    : QDialog(parent), m_activeSheet(std::move(activeSheet)) {
  MakeSingleDialog(this, QStringLiteral("列項目"));
  ResizeInTwips(this, 3945, 7440);

  // Row r names sheet column r + 1: the score columns 2 to Cols − 1.
  const frmDocument* doc = m_activeSheet();
  const TextGrid empty(1, Sheet::kFirstScoreCol);
  const TextGrid& view = doc ? doc->sheet()->View() : empty;
  m_names = std::make_unique<TextGrid>(view.Cols() - 1, 2);
  m_names->SetText(0, 0, QStringLiteral("列"));
  m_names->SetText(0, 1, QStringLiteral("項目名"));
  for (int r = 1; r < m_names->Rows(); ++r) {
    m_names->SetText(r, 0, ItemLabel(r));
    m_names->SetText(r, kNameCol, view.Text(0, r + 1));
  }

  m_grid = new FlexGrid(m_names.get(), this);
  m_grid->setObjectName(QStringLiteral("MSFlexGrid1"));
  // The box edits; the grid only shows and takes clicks.
  m_grid->setFocusPolicy(Qt::NoFocus);
  m_grid->setAccessibleName(QStringLiteral("列と項目名"));
  PlaceInTwips(m_grid, 0, 0, 2030, 6940);
  m_grid->SetColWidth(0, 500);
  m_grid->SetColWidth(1, 1500);
  m_grid->SetRowHeight(-1, 350);
  m_grid->SetCellAlignment(QRect(0, 0, 1, m_names->Rows()), kCentred);
  m_grid->SetCellAlignment(0, 1, kCentred);
  m_grid->SetCurrentCell(1, kNameCol);

  m_editor = new QLineEdit(this);
  m_editor->setObjectName(QStringLiteral("Text1"));
  m_editor->setAccessibleName(QStringLiteral("項目名"));
  m_editor->installEventFilter(this);
  m_editor->setFrame(false);
  connect(m_editor, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (m_editRow >= m_names->Rows()) return;
    m_names->SetText(m_editRow, kNameCol, text);
    m_grid->Model()->CellChanged(m_editRow, kNameCol);
  });
  connect(m_grid, &FlexGrid::mousePressed, this, [this](int row, int col) {
    if (row >= 1 && col >= 1) EditCell(row);
    m_editor->setFocus();
  });
  connect(m_grid->verticalScrollBar(), &QScrollBar::valueChanged, this,
          &ItemNamesDialog::PlaceEditor);

  auto* apply = new QPushButton(QStringLiteral("決定"), this);
  apply->setObjectName(QStringLiteral("Command1"));
  apply->setAutoDefault(false);
  PlaceInTwips(apply, 2280, 240, 1455, 495);
  auto* cancel = new QPushButton(QStringLiteral("中止"), this);
  cancel->setObjectName(QStringLiteral("Command2"));
  cancel->setAutoDefault(false);
  PlaceInTwips(cancel, 2280, 840, 1455, 495);
  connect(apply, &QPushButton::clicked, this, &ItemNamesDialog::Apply);
  connect(cancel, &QPushButton::clicked, this, &QDialog::close);
  m_editor->setText(m_names->Text(m_editRow, kNameCol));
  m_editor->setFocus();
}

void ItemNamesDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The box sits on the first name from the start, so what the teacher types is seen where it
  // goes.
  PlaceEditor();
}

ItemNamesDialog::~ItemNamesDialog() = default;

void ItemNamesDialog::EditCell(int row) {
  m_editRow = row;
  m_grid->SetCurrentCell(row, kNameCol);
  m_grid->scrollTo(m_grid->model()->index(row - 1, kNameCol - 1));
  m_editor->setText(m_names->Text(row, kNameCol));
  PlaceEditor();
  m_editor->setFocus();
}

void ItemNamesDialog::PlaceEditor() {
  const QRect cell = m_grid->visualRect(m_grid->model()->index(m_editRow - 1, kNameCol - 1));
  if (!m_grid->viewport()->rect().contains(cell.center())) {
    m_editor->move(0, height());  // scrolled out of view
    return;
  }
  m_editor->setGeometry(QRect(m_grid->viewport()->mapTo(this, cell.topLeft()), cell.size()));
  m_editor->raise();
}

bool ItemNamesDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_editor && event->type() == QEvent::KeyPress) {
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Down:
      case Qt::Key_Return:
      case Qt::Key_Enter:
        if (m_editRow < m_names->Rows() - 1) EditCell(m_editRow + 1);
        return true;
      case Qt::Key_Up:
        if (m_editRow > 1) EditCell(m_editRow - 1);
        return true;
      default:
        break;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void ItemNamesDialog::Apply() {
  if (frmDocument* doc = m_activeSheet()) {
    Sheet* sheet = doc->sheet();
    // Columns the dialog has no row for (another, wider sheet) keep their names.
    sheet->EditView([&](TextGrid& view) {
      const int last = std::min(view.Cols() - 2, m_names->Rows() - 1);
      for (int r = 1; r <= last; ++r) {
        const QString& name = m_names->Text(r, kNameCol);
        if (!name.isEmpty()) view.SetText(0, r + 1, name);
      }
    });
    sheet->MarkModified();
  }
  close();
}

}  // namespace kelt
