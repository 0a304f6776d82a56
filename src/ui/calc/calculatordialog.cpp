#include "ui/calc/calculatordialog.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/calc/calculator.h"
#include "core/sheet/sheet.h"
#include "ui/platform/flexgrid.h"
#include "ui/platform/fonts.h"
#include "ui/platform/prompts.h"
#include "ui/platform/singledialog.h"
#include "ui/platform/twips.h"
#include "ui/sheet/frmdocument.h"

namespace kelt {

namespace {
constexpr int kKeySize = 495;
constexpr int kPoint = 10;

struct KeyPlace {
  int index;
  const char* caption;
  int left, top;
};

const KeyPlace kDigitKeys[] = {
    {7, "7", 480, 1320},  {8, "8", 1080, 1320}, {9, "9", 1680, 1320},      {4, "4", 480, 1920},
    {5, "5", 1080, 1920}, {6, "6", 1680, 1920}, {1, "1", 480, 2520},       {2, "2", 1080, 2520},
    {3, "3", 1680, 2520}, {0, "0", 480, 3120},  {kPoint, ".", 1080, 3120},
};
const KeyPlace kOperationKeys[] = {
    {Calculator::kDivide, "÷", 2280, 1320},   {Calculator::kMultiply, "X", 2280, 1920},
    {Calculator::kSubtract, "-", 2280, 2520}, {Calculator::kAdd, "+", 1680, 3120},
    {Calculator::kEquals, "=", 2280, 3120},
};
}  // namespace

CalculatorDialog::CalculatorDialog(Calculator* state, std::function<frmDocument*()> activeSheet,
                                   QWidget* parent)
    : QDialog(parent), m_state(state), m_activeSheet(std::move(activeSheet)) {
  MakeSingleDialog(this, QStringLiteral("電卓"));
  ResizeInTwips(this, 3285, 3855);
  const QFont keyFont(PGothicFamily(), 12);

  m_display = new QLabel(this);
  m_display->setObjectName(QStringLiteral("Label1"));
  m_display->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  m_display->setFrameShape(QFrame::Box);
  QFont displayFont(PGothicFamily());
  displayFont.setPointSizeF(15.75);
  displayFont.setBold(true);
  m_display->setFont(displayFont);
  PlaceInTwips(m_display, 480, 120, 2295, 495);

  m_combo = new QComboBox(this);
  m_combo->setObjectName(QStringLiteral("Combo1"));
  PlaceInTwips(m_combo, 480, 840, 1695, 375);
  m_combo->installEventFilter(this);

  const auto makeKey = [&](const char* name, const KeyPlace& place) {
    auto* key = new QPushButton(QString::fromUtf8(place.caption), this);
    key->setObjectName(QString::fromLatin1(name));
    key->setProperty("Index", place.index);
    key->setFont(keyFont);
    // The focus stays in the column list, where the keyboard reaches the keypad.
    key->setFocusPolicy(Qt::NoFocus);
    key->setAutoDefault(false);
    PlaceInTwips(key, place.left, place.top, kKeySize, kKeySize);
    return key;
  };
  for (const KeyPlace& place : kDigitKeys) {
    connect(makeKey("Numkey", place), &QPushButton::clicked, this,
            [this, index = place.index] { PressDigit(index); });
  }
  for (const KeyPlace& place : kOperationKeys) {
    QPushButton* key = makeKey("Opkey", place);
    connect(key, &QPushButton::clicked, this, [this, op = place.index] { PressOperation(op); });
    if (place.index == Calculator::kEquals) {
      key->setDefault(true);
      m_equals = key;
    }
  }
  QPushButton* clear = makeKey("CLRkey", {0, "CLR", 2280, 720});
  clear->setProperty("Index", QVariant());
  connect(clear, &QPushButton::clicked, this, &CalculatorDialog::PressClear);
  auto* unused = new QLineEdit(QStringLiteral("Text1"), this);
  unused->setObjectName(QStringLiteral("Text1"));
  unused->hide();

  // Opening: the undo snapshot, a cleared display, the first column chosen.
  if (frmDocument* doc = m_activeSheet()) doc->sheet()->StoreView();
  m_state->Clear();
  m_combo->addItems(ScoreColumnNames(m_activeSheet()));
  m_combo->setCurrentIndex(m_combo->count() > 0 ? 0 : -1);
  ShowDisplay();
}

void CalculatorDialog::ShowDisplay() {
  m_display->setText(m_state->Display());
  m_display->setAccessibleName(QStringLiteral("電卓の表示 ") + m_state->Display().trimmed());
}

void CalculatorDialog::PressDigit(int digit) {
  if (digit == kPoint) {
    m_state->Point();
  } else {
    m_state->Digit(digit);
  }
  ShowDisplay();
}

void CalculatorDialog::PressClear() {
  m_state->Clear();
  ShowDisplay();
}

void CalculatorDialog::PressOperation(int op) {
  frmDocument* doc = m_activeSheet();
  if (!doc) return;
  if (RefusesResultsAtCursor(*doc, this)) return;
  const int target = doc->viewGrid()->Col();
  // Without a chosen column the source is the name column, which holds no marks.
  const int source = m_combo->currentIndex() + Sheet::kFirstScoreCol;
  Sheet* sheet = doc->sheet();
  Calculator::Result result = Calculator::Result::kDone;
  sheet->EditView([&](TextGrid& view) { result = m_state->Operation(op, view, source, target); });
  if (result == Calculator::Result::kDivisionByZero) {
    ShowMessage(this, QStringLiteral("0で割ることはできません"));
    close();
    return;
  }
  ShowDisplay();
  sheet->MarkModified();
}

bool CalculatorDialog::HandleKey(const QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    m_equals->click();
    return true;
  }
  const QString text = event->text();
  if (text.size() != 1) return false;
  const QChar c = text[0];
  if (c >= u'0' && c <= u'9') {
    PressDigit(c.unicode() - u'0');
  } else if (c == u'.') {
    PressDigit(kPoint);
  } else if (const int op = QStringLiteral("+-*/").indexOf(c); op >= 0) {
    PressOperation(op + 1);
  } else {
    return false;
  }
  return true;
}

bool CalculatorDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && HandleKey(static_cast<QKeyEvent*>(event))) return true;
  return QDialog::eventFilter(watched, event);
}

void CalculatorDialog::keyPressEvent(QKeyEvent* event) {
  if (!HandleKey(event)) QDialog::keyPressEvent(event);
}

}  // namespace kelt
