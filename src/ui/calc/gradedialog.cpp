#include "ui/calc/gradedialog.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "core/calc/grades.h"
#include "core/sheet/sheet.h"
#include "ui/calc/columndialog.h"
#include "ui/platform/fonts.h"
#include "ui/platform/itemlist.h"
#include "ui/platform/prompts.h"
#include "ui/platform/singledialog.h"
#include "ui/platform/twips.h"
#include "ui/sheet/frmdocument.h"

namespace kelt {

namespace {
// Grade captions of the bound and count rows, grade 5 first.
const char* const kGradeCaptions[] = {"５　,　A", "４　,　Ｂ", "３　,　Ｃ", "２　,　Ｄ",
                                      "１　,　Ｅ"};
const char* const kDefaultBounds[] = {"85", "65", "40", "30", "0"};

template <typename W>
W* Named(W* widget, const QString& name) {
  widget->setObjectName(name);
  return widget;
}
}  // namespace

GradeDialog::GradeDialog(std::function<frmDocument*()> activeSheet, QWidget* parent)
    : QDialog(parent), m_activeSheet(std::move(activeSheet)) {
  MakeSingleDialog(this, QStringLiteral("評定"));
  ResizeInTwips(this, 8760, 5265);

  m_list = MakeColumnList(this, ScoreColumnNames(m_activeSheet()), ItemChoice::One);
  PlaceInTwips(m_list, 120, 120, 1440, 3615);

  for (int i = 0; i < 5; ++i) {
    const int top = 240 + i * 660;
    auto* caption = Named(new QLabel(QString::fromUtf8(kGradeCaptions[i]), this),
                          QStringLiteral("Label%1").arg(6 + i));
    PlaceInTwips(caption, 1620, top, 1080, 375);
    m_bounds[i] = Named(new QLineEdit(QString::fromUtf8(kDefaultBounds[i]), this),
                        QStringLiteral("Text%1").arg(1 + i));
    PlaceInTwips(m_bounds[i], 2760, top, 855, 375);
    // A screen reader says which grade the number bounds, as the captions beside it show.
    m_bounds[i]->setAccessibleName(caption->text() + QStringLiteral(" 以上"));
    auto* orMore =
        Named(new QLabel(QStringLiteral("以上"), this), QStringLiteral("Label%1").arg(1 + i));
    PlaceInTwips(orMore, 3675, top, 615, 375);
  }

  auto* symbols = Named(new QGroupBox(QStringLiteral("評定記号"), this), QStringLiteral("Frame1"));
  PlaceInTwips(symbols, 120, 3840, 4215, 795);
  auto* digits =
      Named(new QRadioButton(QStringLiteral("数字"), symbols), QStringLiteral("Option1"));
  PlaceInTwips(digits, 360, 330, 1200, 330);
  digits->setChecked(true);
  m_letters = Named(new QRadioButton(QStringLiteral("英字"), symbols), QStringLiteral("Option2"));
  PlaceInTwips(m_letters, 1800, 330, 1200, 330);

  auto* panel = Named(new QFrame(this), QStringLiteral("Shape1"));
  panel->setFrameShape(QFrame::Box);
  PlaceInTwips(panel, 4440, 120, 4200, 3975);
  auto* heading =
      Named(new QLabel(QStringLiteral("評定度数分布確認"), this), QStringLiteral("Label16"));
  heading->setFont(QFont(PGothicFamily(), 12));
  QPalette blue = heading->palette();
  blue.setColor(QPalette::WindowText, Qt::blue);
  heading->setPalette(blue);
  PlaceInTwips(heading, 4680, 240, 3735, 420);
  for (int i = 0; i < 5; ++i) {
    const int top = 840 + i * 600;
    auto* caption = Named(new QLabel(QString::fromUtf8(kGradeCaptions[i]), this),
                          QStringLiteral("Label%1").arg(15 - i));
    PlaceInTwips(caption, 5520, top, 1080, 375);
    m_counts[i] = Named(new QLineEdit(this), QStringLiteral("Text%1").arg(11 - i));
    PlaceInTwips(m_counts[i], 6720, top, 855, 375);
    m_counts[i]->setAccessibleName(caption->text() + QStringLiteral(" の人数"));
  }
  auto* unused = Named(new QLineEdit(QStringLiteral("Text6"), this), QStringLiteral("Text6"));
  unused->hide();

  auto* grade = Named(new QPushButton(QStringLiteral("評定"), this), QStringLiteral("Command1"));
  PlaceInTwips(grade, 4440, 4440, 1335, 495);
  auto* check = Named(new QPushButton(QStringLiteral("確認"), this), QStringLiteral("Command3"));
  PlaceInTwips(check, 5880, 4440, 1335, 495);
  auto* cancel = Named(new QPushButton(QStringLiteral("中止"), this), QStringLiteral("Command2"));
  PlaceInTwips(cancel, 7320, 4440, 1335, 495);
  connect(grade, &QPushButton::clicked, this, &GradeDialog::Accept);
  connect(check, &QPushButton::clicked, this, &GradeDialog::ShowDistribution);
  connect(cancel, &QPushButton::clicked, this, &QDialog::close);
}

CalcChoice GradeDialog::Choice() const {
  CalcChoice choice;
  choice.items = ChosenItems(m_list);
  return choice;
}

namespace {
GradeBounds ReadBounds(const std::array<QLineEdit*, 5>& boxes) {
  std::array<QString, 5> texts;
  for (std::size_t i = 0; i < boxes.size(); ++i) texts[i] = boxes[i]->text();
  return BoundsFromTexts(texts);
}
}  // namespace

void GradeDialog::Accept() {
  const GradeBounds bounds = ReadBounds(m_bounds);
  const bool letters = m_letters->isChecked();
  if (RunCalculation(this, m_activeSheet(), Choice(), {.writesAtCursor = true, .needsItem = true},
                     [&](TextGrid& view, const CalcChoice& choice) {
                       WriteGrades(view, choice, bounds, letters);
                     })) {
    close();
  }
}

void GradeDialog::ShowDistribution() {
  const CalcChoice choice = Choice();
  if (!HasSelectedItem(choice)) {
    AskForItem(this);
    return;
  }
  const frmDocument* doc = m_activeSheet();
  if (!doc) return;
  const GradeCounts counts = CountGrades(doc->sheet()->View(), choice, ReadBounds(m_bounds));
  for (std::size_t i = 0; i < counts.size(); ++i) m_counts[i]->setText(QString::number(counts[i]));
}

}  // namespace kelt
