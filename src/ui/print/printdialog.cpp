#include "ui/print/printdialog.h"

#include <QCheckBox>
#include <QDate>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "core/print/classpage.h"
#include "core/print/pupilslip.h"
#include "core/sheet/sheet.h"
#include "ui/platform/itemlist.h"
#include "ui/platform/prompts.h"
#include "ui/platform/settings.h"
#include "ui/platform/singledialog.h"
#include "ui/platform/twips.h"
#include "ui/print/pagepainter.h"
#include "ui/sheet/frmdocument.h"

namespace kelt {

PrintDialog::PrintDialog(std::function<frmDocument*()> activeSheet, QWidget* parent)
    : QDialog(parent), m_activeSheet(std::move(activeSheet)) {
  MakeSingleDialog(this, QStringLiteral("印刷"));
  ResizeInTwips(this, 3915, 5700);

  m_list = MakeColumnList(this, ScoreColumnNames(m_activeSheet()), ItemChoice::Several);
  PlaceInTwips(m_list, 120, 120, 1575, 5100);
  const struct {
    const char* name;
    const char* caption;
    int left, top, width;
    void (PrintDialog::*press)();
  } buttons[] = {
      {"Command5", "個人票", 1800, 1560, 1155, &PrintDialog::PrintSlips},
      {"Command3", "プレビュー", 1800, 2160, 1155, &PrintDialog::Preview},
      {"Command4", "全クラス印刷", 1800, 2760, 1155, &PrintDialog::PrintAllClasses},
      {"Command1", "印刷", 1920, 3360, 975, &PrintDialog::PrintClass},
      {"Command2", "中止", 1920, 3960, 975, nullptr},
  };
  for (const auto& b : buttons) {
    auto* button = new QPushButton(QString::fromUtf8(b.caption), this);
    button->setObjectName(QString::fromLatin1(b.name));
    PlaceInTwips(button, b.left, b.top, b.width, 375);
    if (b.press) {
      connect(button, &QPushButton::clicked, this, b.press);
    } else {
      connect(button, &QPushButton::clicked, this, &QDialog::close);
    }
  }
  // What the slips show, remembered between runs: some schools publish no ranks.
  const auto settings = OpenSettings();
  const struct {
    QCheckBox** box;
    const char* name;
    const char* caption;
    const char* key;
    int top;
  } checks[] = {
      {&m_ranks, "Check1", "順位を印刷する", "SlipRanks", 240},
      {&m_deviations, "Check2", "偏差値を印刷する", "SlipDeviations", 720},
  };
  for (const auto& c : checks) {
    auto* box = new QCheckBox(QString::fromUtf8(c.caption), this);
    box->setObjectName(QString::fromLatin1(c.name));
    PlaceInTwips(box, 1800, c.top, 2040, 375);
    const QString key = QStringLiteral("Settings/") + QString::fromLatin1(c.key);
    box->setChecked(settings->value(key, true).toBool());
    connect(box, &QCheckBox::toggled, this, [key](bool on) { OpenSettings()->setValue(key, on); });
    *c.box = box;
  }
  auto* unused = new QLineEdit(this);
  unused->setObjectName(QStringLiteral("Text1"));
  unused->hide();
}

QStringList PrintDialog::ShownClassLines(const frmDocument* doc) const {
  return ClassPageLines(doc->sheet()->View(), ChosenItems(m_list));
}

QList<QStringList> PrintDialog::AllClassPages() const {
  QList<QStringList> pages;
  const frmDocument* doc = m_activeSheet();
  if (!doc) return pages;
  // What a store of the view would give, without storing: the undo snapshot stays as it was.
  TextGrid storage = doc->sheet()->Storage();
  doc->sheet()->StoreViewInto(storage);
  const QList<int> items = ChosenItems(m_list);
  for (int n = 0; n < Sheet::kClassCount; ++n)
    pages << ClassPageLines(Sheet::ClassViewOf(storage, n), items);
  return pages;
}

void PrintDialog::PrintClass() {
  const frmDocument* doc = m_activeSheet();
  if (!doc) return;
  if (doc->sheet()->IsGradeView()) {
    ShowMessage(this, QStringLiteral("印刷はクラスシートのみです"));
    return;
  }
  if (PrintClassPages(this, {ShownClassLines(doc)}) == PrintOutcome::kPrinted) close();
}

void PrintDialog::PrintAllClasses() {
  const QList<QStringList> pages = AllClassPages();
  if (pages.isEmpty()) return;
  if (PrintClassPages(this, pages) == PrintOutcome::kPrinted) close();
}

void PrintDialog::Preview() {
  const frmDocument* doc = m_activeSheet();
  if (!doc) return;
  // The grade view has no page of its own: it previews the whole year.
  PreviewClassPages(this, doc->sheet()->IsGradeView() ? AllClassPages()
                                                      : QList<QStringList>{ShownClassLines(doc)});
}

void PrintDialog::PrintSlips() {
  const frmDocument* doc = m_activeSheet();
  if (!doc) return;
  const QList<int> items = ChosenItems(m_list);
  if (items.isEmpty()) {
    AskForItem(this);
    return;
  }
  if (items.size() > kMaxSlipItems) {
    ShowMessage(this,
                QStringLiteral("個人票に印刷できる項目は %1 個までです。").arg(kMaxSlipItems));
    return;
  }
  const Sheet* sheet = doc->sheet();
  // What a store of the view would give, without storing: the undo snapshot stays as it was.
  TextGrid storage = sheet->Storage();
  sheet->StoreViewInto(storage);
  QList<int> classes;
  if (sheet->IsGradeView()) {
    for (int n = 0; n < Sheet::kClassCount; ++n) classes << n;
  } else {
    classes << sheet->ViewIndex();
  }
  const QList<PupilSlip> slips = PupilSlips(storage, classes, items);
  if (slips.isEmpty()) {
    ShowMessage(this, QStringLiteral("個人票を印刷する生徒がいません"));
    return;
  }
  const QString title =
      QStringLiteral("個人成績票  ") + QFileInfo(sheet->Caption()).completeBaseName();
  const QString date = QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd"));
  const QList<QList<PrintedSlip>> classPages =
      PrintedSlips(slips, title, date, m_ranks->isChecked(), m_deviations->isChecked());
  const PrintOutcome printed = PrintDocument(this, QPageLayout::Portrait, [&](QPrinter* printer) {
    return PaintPupilSlips(printer, classPages);
  });
  if (printed == PrintOutcome::kPrinted) close();
}

QDialog* OpenPrintDialog(QWidget* frame, const std::function<frmDocument*()>& activeSheet) {
  if (!activeSheet()) return nullptr;
  return ShowSingleDialog(QStringLiteral("印刷"), frame,
                          [&] { return new PrintDialog(activeSheet, frame); });
}

}  // namespace kelt
