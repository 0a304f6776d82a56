#include "ui/sheet/frmdocument.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <algorithm>

#include "core/sheet/sheet.h"
#include "ui/platform/boxaccessible.h"
#include "ui/platform/displaytext.h"
#include "ui/platform/flexgrid.h"
#include "ui/platform/fonts.h"
#include "ui/platform/prompts.h"
#include "ui/platform/textgridmodel.h"
#include "ui/platform/twips.h"
#include "ui/sheet/celleditor.h"
#include "ui/sheet/sheethost.h"

namespace kelt {

namespace {
constexpr int kCentred = 4;

QFont SheetFont() {
  QFont font(PGothicFamily());
  font.setPointSizeF(11.25);
  return font;
}
}  // namespace

const QColor& frmDocument::HighlightColour() {
  static const QColor colour(204, 228, 255);
  return colour;
}

frmDocument::frmDocument(SheetHost* host, QWidget* parent) : frmDocument(host, {}, {}, parent) {}

frmDocument::frmDocument(SheetHost* host, TextGrid storage, TextGrid view, QWidget* parent)
    : QWidget(parent), m_host(host), m_sheet(new Sheet(this)) {
  setObjectName(QStringLiteral("frmDocument"));
  // Taken before the table is built on them: no layout made only to be replaced, no notices.
  const bool made = view.Rows() > 0;
  if (made) m_sheet->AdoptRead(std::move(storage), std::move(view));

  m_grid = new FlexGrid(&m_sheet->View(), this);
  m_grid->setObjectName(QStringLiteral("MSFlexGrid1"));
  m_grid->setAccessibleName(QStringLiteral("成績表"));
  m_grid->setFont(SheetFont());
  m_grid->hide();  // shown at the first resize, so building the layout paints nothing
  BuildStrip();
  ConnectSheet();

  if (made) {
    m_sheet->RequestFirstCell();
  } else {
    m_sheet->BuildSheetLayout();
  }
  ApplyGridFormat();
  // One store at creation, so the snapshot holds the pupil numbers before any other store.
  if (!made) m_sheet->StoreView();
  m_editor = new CellEditor(m_sheet, m_grid, m_text1, m_label5, m_host, this);
  m_editor->Refresh();
}

QSize frmDocument::NormalSize(QSize clientArea, QSize frame) {
  constexpr QSize kMinimum{360, 240};
  const bool laidOut =
      clientArea.width() >= kMinimum.width() && clientArea.height() >= kMinimum.height();
  return ((laidOut ? clientArea : frame) * 2 / 3).expandedTo(kMinimum);
}

QSize frmDocument::sizeHint() const {
  for (const QWidget* w = parentWidget(); w; w = w->parentWidget()) {
    if (const auto* area = qobject_cast<const QMdiArea*>(w))
      return NormalSize(area->viewport()->size(), area->window()->size());
  }
  return NormalSize({}, {});
}

int frmDocument::NumberColumnTwips(int standard) const {
  return std::max(standard, m_grid->FixedCellTwips(Sheet::NumberColumnTexts()));
}

QPushButton* frmDocument::classButton(int classIndex) const {
  return classIndex >= 0 && classIndex < Sheet::kClassCount ? m_command1[classIndex] : nullptr;
}

int frmDocument::Px(int twips) const { return TwipsToPixels(twips, WidgetDpi(this)); }

void frmDocument::BuildStrip() {
  const int stripHeight = Px(kStripHeight) - 2;

  m_label5 = new QLabel(this);
  m_label5->setObjectName(QStringLiteral("Label5"));
  m_label5->setGeometry(0, 1, Px(975), stripHeight);
  m_label5->setAlignment(Qt::AlignCenter);

  m_text1 = new QLineEdit(this);
  m_text1->setObjectName(QStringLiteral("Text1"));
  // Named after the cell it edits once the editor places it; this says what it is.
  UseOwnAccessibleText(m_text1);  // before anything asks for its accessible interface
  m_text1->setAccessibleDescription(QStringLiteral("セルの入力欄"));
  m_text1->setFont(SheetFont());
  m_text1->setGeometry(Px(1080), 1, Px(1095), stripHeight);

  m_command18 = new QPushButton(QStringLiteral("学年"), this);
  m_command18->setObjectName(QStringLiteral("Command18"));
  m_command18->setGeometry(Px(2280), 1, Px(735), stripHeight);
  m_command18->setFocusPolicy(Qt::NoFocus);
  connect(m_command18, &QPushButton::clicked, this, &frmDocument::ShowGradeView);

  for (int n = 0; n < Sheet::kClassCount; ++n) {
    auto* button = new QPushButton(Sheet::ClassName(n), this);
    button->setObjectName(QStringLiteral("Command1"));
    button->setProperty("Index", n);
    button->setGeometry(Px(kClassButtonLeft + kClassButtonStep * n), 1, Px(kClassButtonWidth),
                        stripHeight);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QPushButton::clicked, this, [this, n] { ShowClassView(n); });
    m_command1[n] = button;
  }

  m_text4 = new QLineEdit(this);
  m_text4->setObjectName(QStringLiteral("Text4"));
  m_text4->setText(m_sheet->ViewMarker());
  m_text4->hide();

  for (int n = 0; n < Sheet::kClassCount; ++n) SetHighlight(n, false);
  SetHighlight(m_sheet->ViewIndex(), true);
}

void frmDocument::ConnectSheet() {
  TextGridModel* model = m_grid->Model();
  connect(m_sheet, &Sheet::viewRowsAboutToChange, model, &TextGridModel::BeginSetRows);
  connect(m_sheet, &Sheet::viewRowsChanged, model, &TextGridModel::EndSetRows);
  connect(m_sheet, &Sheet::viewColsAboutToChange, model, &TextGridModel::BeginSetCols);
  connect(m_sheet, &Sheet::viewColsChanged, model, &TextGridModel::EndSetCols);
  connect(m_sheet, &Sheet::viewColsAboutToChange, this,
          [this](int oldCols, int) { m_colsBefore = oldCols; });
  connect(m_sheet, &Sheet::viewColsChanged, this, [this] { FormatNewColumns(m_colsBefore); });
  connect(m_sheet, &Sheet::viewCellChanged, model, &TextGridModel::CellChanged);
  connect(m_sheet, &Sheet::viewTextsChanged, model, &TextGridModel::TextsChanged);
  connect(m_sheet, &Sheet::currentCellRequested, m_grid, &FlexGrid::SetCurrentCell);
  connect(m_sheet, &Sheet::captionChanged, this,
          [this](const QString& caption) { setWindowTitle(WindowTitleText(caption)); });
  connect(m_sheet, &Sheet::viewChanged, this, [this](int oldIndex, int newIndex) {
    SetHighlight(oldIndex, false);
    SetHighlight(newIndex, true);
    m_text4->setText(m_sheet->ViewMarker());
  });
}

void frmDocument::ApplyGridFormat() {
  m_grid->SetRowHeight(-1, kRowHeight);
  m_grid->SetCellAlignment(QRect(0, 0, 1, m_grid->Rows()), kCentred);
  m_grid->SetColWidth(0, NumberColumnTwips(kNumberWidth));
  m_grid->SetColWidth(1, kNameWidth);
  m_grid->SetCellAlignment(0, 1, kCentred);
  FormatNewColumns(Sheet::kFirstScoreCol);
}

void frmDocument::FormatNewColumns(int firstNew) {
  for (int c = std::max(firstNew, int(Sheet::kFirstScoreCol)); c < m_grid->Cols(); ++c) {
    m_grid->SetColWidth(c, kScoreWidth);
    m_grid->SetCellAlignment(0, c, kCentred);
  }
}

QPushButton* frmDocument::ViewButton(int viewIndex) const {
  return viewIndex == Sheet::kGradeMarker ? m_command18 : classButton(viewIndex);
}

void frmDocument::SetHighlight(int viewIndex, bool on) {
  QPushButton* button = ViewButton(viewIndex);
  if (!button) return;
  QPalette p = button->palette();
  p.setColor(QPalette::Button,
             on ? HighlightColour() : QApplication::palette().color(QPalette::Midlight));
  button->setPalette(p);
}

QString frmDocument::Caption() const { return m_sheet->Caption(); }

void frmDocument::SetCaption(const QString& caption) { m_sheet->SetCaption(caption); }

void frmDocument::ShowGradeView() {
  if (m_sheet->ShowGrade()) {
    m_grid->SetRowHeight(-1, kRowHeight);
    m_editor->Refresh();
  }
  m_text1->setFocus();
}

void frmDocument::ShowClassView(int classIndex) {
  if (m_sheet->ShowClass(classIndex)) m_editor->Refresh();
  m_text1->setFocus();
}

void frmDocument::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int gridWidth = width() - Px(200);
  const int gridHeight = height() - Px(400);
  // A minimised or tiny window keeps the grid as it was.
  if (gridWidth > 0 && gridHeight > 0) m_grid->setGeometry(Px(100), Px(400), gridWidth, gridHeight);
  m_grid->show();
}

void frmDocument::closeEvent(QCloseEvent* event) {
  if (m_host) m_host->SetFocusAllowed(false);
  if (!m_sheet->IsModified()) {
    event->accept();
    return;
  }
  const PromptAnswer answer =
      ShowMessage(this, QStringLiteral("ファイルが変更されています。終了しますか?"),
                  PromptButtons::YesNo, Caption());
  if (answer == PromptAnswer::Yes) {
    event->accept();
  } else {
    event->ignore();
    // The window stays: let the grid hand the focus back to the editor again.
    if (m_host) m_host->SetFocusAllowed(true);
  }
}

void RefuseNumberOrNameColumn(QWidget* parent) {
  ShowMessage(parent, QStringLiteral("番号・氏名の列には書き込めません"));
}

bool RefusesResultsAtCursor(const frmDocument& doc, QWidget* parent) {
  if (!Sheet::IsNumberOrNameColumn(doc.viewGrid()->Col())) return false;
  RefuseNumberOrNameColumn(parent);
  return true;
}

QStringList ScoreColumnNames(const frmDocument* doc) {
  QStringList names;
  if (!doc) return names;
  const TextGrid& view = doc->sheet()->View();
  for (int c = Sheet::kFirstScoreCol; c < view.Cols(); ++c) names << DisplayText(view.Text(0, c));
  return names;
}

}  // namespace kelt
