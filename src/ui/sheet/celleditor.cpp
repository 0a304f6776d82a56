#include "ui/sheet/celleditor.h"

#include <QAccessible>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "core/sheet/sheet.h"
#include "ui/platform/displaytext.h"
#include "ui/platform/flexgrid.h"
#include "ui/sheet/sheethost.h"
#include "ui/sheet/visiblecounts.h"

namespace kelt {

namespace {
bool IsArrow(int key) {
  return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right;
}

// Cut, copy and paste belong to the sheet's block commands, not to the box's own clipboard.
// Shift+Delete is the Delete key's block clear, not a cut.
bool IsClipboardKey(const QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete) return false;
  return event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Copy) ||
         event->matches(QKeySequence::Paste);
}

// Keys that reach the box as characters: printable text and the control characters. Tab stays
// in the box and changes nothing.
bool IsCharacterKey(const QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return false;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Backspace:
    case Qt::Key_Escape:
      return true;
    default:
      return !event->text().isEmpty();
  }
}
}  // namespace

CellEditor::CellEditor(Sheet* sheet, FlexGrid* grid, QLineEdit* box, QLabel* address,
                       SheetHost* host, QObject* parent)
    : QObject(parent), m_sheet(sheet), m_grid(grid), m_box(box), m_address(address), m_host(host) {
  m_box->setMaxLength(kMaxBoxLength);
  m_box->installEventFilter(this);
  connect(m_box, &QLineEdit::textChanged, this, &CellEditor::BoxTextChanged);
  connect(m_grid, &FlexGrid::gotFocus, this, &CellEditor::GridGotFocus);
  connect(m_grid, &FlexGrid::mousePressed, this, &CellEditor::GridMousePressed);
  // Calculations, undo and block edits change cells behind the box; it shows them at once.
  connect(m_sheet, &Sheet::viewTextsChanged, this, [this](const QRect& area) {
    if (area.contains(m_sheet->Mynowcol(), m_sheet->Mynowrow())) LoadBox(Load::IfDifferent);
    if (area.contains(m_sheet->Mynowcol(), 0) || area.contains(0, m_sheet->Mynowrow()))
      ShowAddress();
  });
  connect(m_sheet, &Sheet::viewCellChanged, this, [this](int row, int col) {
    if (row == m_sheet->Mynowrow() && col == m_sheet->Mynowcol()) LoadBox(Load::IfDifferent);
    if ((row == 0 && col == m_sheet->Mynowcol()) || (col == 0 && row == m_sheet->Mynowrow()))
      ShowAddress();
  });
}

void CellEditor::LoadBox(Load when) {
  const QString& cell = m_sheet->ViewText(m_sheet->Mynowrow(), m_sheet->Mynowcol());
  // The box would cut a longer text at its maximum length and write that back into the cell.
  const bool cutShort = cell.size() > kMaxBoxLength;
  const QString shown = cutShort ? DisplayText(cell) : cell;
  if (when == Load::IfDifferent && cutShort == m_boxCutShort && m_box->text() == shown) return;
  m_boxCutShort = cutShort;
  m_box->setReadOnly(cutShort);
  m_box->setText(shown);
}

void CellEditor::Refresh() {
  const bool moved = m_sheet->MoveCursor(m_grid->Row(), m_grid->Col(), Sheet::CursorMove::FromGrid);
  // Reloading the same text into the same cell would reset the caret and any composition.
  LoadBox(moved ? Load::Always : Load::IfDifferent);
  ShowAddress();
}

void CellEditor::ShowAddress() {
  const QString address = DisplayText(m_sheet->ViewText(0, m_sheet->Mynowcol())) +
                          QLatin1Char(':') + DisplayText(m_sheet->ViewText(m_sheet->Mynowrow(), 0));
  m_address->setText(address);
  // A screen reader names the cell the box edits, as the label shows it. The focus bounces
  // through the grid on every move and a reader may stay on the grid, so the box's new name
  // (and the event that says so) is what tells it the cursor moved.
  const QString spoken = QStringLiteral("現在のセル ") + address;
  m_address->setAccessibleName(spoken);
  if (m_box->accessibleName() != spoken) m_box->setAccessibleName(spoken);
}

void CellEditor::BoxTextChanged(const QString& text) {
  if (m_boxCutShort) return;
  // The box is one line: a TAB or a line break would split the cell in a saved file.
  QString clean = text;
  clean.remove(QLatin1Char('\t')).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
  if (clean != text) {
    m_box->setText(clean);  // comes back here with the clean text
    return;
  }
  // Keys are not the only way in: the box's context menu, a middle-click paste and a drop
  // change the text too, and every change of a cell marks the sheet.
  if (m_sheet->ViewText(m_sheet->Mynowrow(), m_sheet->Mynowcol()) != text) {
    m_sheet->SetViewText(m_sheet->Mynowrow(), m_sheet->Mynowcol(), text);
    m_sheet->MarkModified();
  }
}

bool CellEditor::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_box) return QObject::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::ShortcutOverride: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (IsClipboardKey(key)) {
        event->ignore();  // leaves the key to the menu shortcuts
        return true;
      }
      break;
    }
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (IsClipboardKey(key)) return true;
      if (IsCharacterKey(key)) m_sheet->MarkModified();
      KeyDown(key->key());
      // Tab stays in the box rather than wandering through the strip; Shift+Delete has cleared
      // the block and must not cut the box's text as well.
      return key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ||
             (key->key() == Qt::Key_Delete && key->modifiers().testFlag(Qt::ShiftModifier));
    }
    case QEvent::KeyRelease:
      KeyUp(static_cast<QKeyEvent*>(event)->key());
      break;
    case QEvent::InputMethod:
      // An input method swallows the keys, so no key-down brings a clicked name cell in: take it
      // now, before the composition starts in the box.
      if (m_grid->Row() != m_sheet->Mynowrow() || m_grid->Col() != m_sheet->Mynowcol()) Refresh();
      if (!static_cast<QInputMethodEvent*>(event)->commitString().isEmpty())
        m_sheet->MarkModified();
      break;
    default:
      break;
  }
  return false;
}

void CellEditor::SetTop(int top) {
  m_grid->SetTopRow(std::clamp(top, 1, std::max(m_grid->Rows() - 1, 1)));
}

void CellEditor::MoveTo(int row, int col) {
  m_grid->SetCurrentCell(std::clamp(row, 1, std::max(m_grid->Rows() - 1, 1)),
                         std::clamp(col, 1, std::max(m_grid->Cols() - 1, 1)));
}

void CellEditor::KeyDown(int key) {
  const int rows = m_grid->Rows();
  const int cols = m_grid->Cols();
  const int row = m_grid->Row();
  const int col = m_grid->Col();
  const int top = m_grid->TopRow();
  const int nowRow = m_sheet->Mynowrow();
  const int nowCol = m_sheet->Mynowcol();
  switch (key) {
    case Qt::Key_Down:
      if (nowRow < rows - 1) {
        if (row > top + VisibleRowCount(*m_grid) - 1) SetTop(top + 1);
        MoveTo(nowRow + 1, nowCol);
      }
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (nowRow < rows - 1) {
        // Once below the first screenful, every Enter scrolls by one row.
        if (row > VisibleRowCount(*m_grid)) SetTop(top + 1);
        MoveTo(nowRow + 1, nowCol);
      }
      break;
    case Qt::Key_Up:
      if (nowRow > 1) {
        if (row < top + 1) SetTop(top - 1);
        MoveTo(nowRow - 1, nowCol);
      }
      break;
    case Qt::Key_PageDown: {
      const int visible = VisibleRowCount(*m_grid);
      if (nowRow + visible < rows - 1) {
        SetTop(top + visible);
        MoveTo(nowRow + visible, nowCol);
      } else {
        MoveTo(rows - 1, nowCol);
        SetTop(rows - 1 - visible);
      }
      break;
    }
    case Qt::Key_PageUp: {
      const int visible = VisibleRowCount(*m_grid);
      if (top - visible > 1) {
        SetTop(top - visible);
        MoveTo(nowRow - visible, nowCol);
      } else {
        SetTop(1);
        MoveTo(1, nowCol);
      }
      break;
    }
    case Qt::Key_Left:
      if (nowCol > Sheet::kFirstScoreCol) {
        MoveTo(nowRow, nowCol);
        if (col < m_grid->LeftCol() + 1) m_grid->SetLeftCol(std::max(m_grid->LeftCol() - 1, 1));
        MoveTo(nowRow, nowCol - 1);
      }
      break;
    case Qt::Key_Right:
      if (nowCol < cols - 1) {
        if (col > m_grid->LeftCol() + VisibleColCount(*m_grid) - 2)
          m_grid->SetLeftCol(m_grid->LeftCol() + 1);
        MoveTo(nowRow, nowCol + 1);
      }
      break;
    case Qt::Key_Delete:
      ClearBlock();
      break;
    default:
      break;
  }
  Refresh();
  m_box->setFocus();
  // An arrow key's move ends when the key is released.
  if (!IsArrow(key)) AnnounceBoxFocus();
}

void CellEditor::ClearBlock() {
  // Upward loops only: a block selected from its far corner clears nothing.
  const int row = m_grid->Row();
  const int col = m_grid->Col();
  const int rowSel = m_grid->RowSel();
  const int colSel = m_grid->ColSel();
  if (rowSel >= row && colSel >= col) {
    m_sheet->EditView([&](TextGrid& view) {
      for (int c = col; c <= colSel; ++c)
        for (int r = row; r <= rowSel; ++r) view.SetText(r, c, QString());
    });
  }
  m_sheet->MarkModified();
}

void CellEditor::KeyUp(int key) {
  if (!IsArrow(key)) return;
  BounceThroughGrid(key);
  AnnounceBoxFocus();
}

void CellEditor::BounceThroughGrid(int key) {
  const int nowRow = m_sheet->Mynowrow();
  const int nowCol = m_sheet->Mynowcol();
  const bool moved = (key == Qt::Key_Down && nowRow < m_grid->Rows() - 1) ||
                     (key == Qt::Key_Up && nowRow > 1) ||
                     (key == Qt::Key_Left && nowCol > Sheet::kFirstScoreCol) ||
                     (key == Qt::Key_Right && nowCol < m_grid->Cols() - 1);
  if (!moved) return;
  // The bounce through the grid lets it bring the cursor into view; it hands the focus back.
  m_grid->SetCurrentCell(nowRow, nowCol);
  m_grid->setFocus();
}

void CellEditor::AnnounceBoxFocus() {
  // The grid tells assistive technology of its focus when its current cell moves, and last when
  // the box takes the focus back from it during the bounce; tell it where the focus really is,
  // or a screen reader stays on the grid and never reads the new cell.
  if (!m_box->hasFocus()) return;
  QAccessibleEvent focus(m_box, QAccessible::Focus);
  QAccessible::updateAccessibility(&focus);
}

void CellEditor::GridGotFocus() {
  Refresh();
  if (m_host && m_host->FocusAllowed()) m_box->setFocus();
}

void CellEditor::GridMousePressed(int row, int col) {
  // A name cell is taken over by the next key, so a click there does not load it yet.
  if (col > 1 && row > 0) Refresh();
  m_box->setFocus();
  AnnounceBoxFocus();
}

}  // namespace kelt
