#include "ui/print/printdialog.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>

#include "core/print/pupilslip.h"
#include "core/sheet/sheet.h"
#include "support/frameactions.h"
#include "support/fulldisk.h"
#include "support/poppler.h"
#include "support/qtprint.h"
#include "support/scriptedprompts.h"
#include "ui/app/frmmain.h"
#include "ui/print/pagepainter.h"
#include "ui/sheet/frmdocument.h"

namespace kelt {
namespace {

using test::Action;
using test::Poppler;

QString U(const char* text) { return QString::fromUtf8(text); }

struct Frame : test::ShownFrame {
  Frame() {
    sheet()->SetViewText(0, 2, U("国語"));
    sheet()->SetViewText(0, 3, U("数学"));
  }
  QDialog* Open() {
    Action(frame, "mnuFilePrint")->trigger();
    return frame.findChild<QDialog*>(U("印刷"), Qt::FindDirectChildrenOnly);
  }
};

void Mark(QDialog* dialog, int item) {
  test::ClickItem(dialog->findChild<QListWidget*>(QStringLiteral("List1")), item);
}

using test::Press;

// Presses `button` with the printer dialog choosing the PDF file `pdf`: printed, the dialog
// closes, and nothing else is asked.
void PrintToPdf(QPointer<QDialog>& dialog, const char* button, const QString& pdf) {
  test::ScriptedPrompts prompts;
  prompts.ExpectPrinter(pdf);
  Press(dialog, button);
  EXPECT_TRUE(dialog.isNull()) << "printed: the dialog closes";
  EXPECT_EQ(prompts.printerDialogs(), 1);
  EXPECT_TRUE(prompts.shown().isEmpty());
}

// The PDF has `pages` A4 portrait pages.
void ExpectA4Pages(const QString& pdf, int pages) {
  const QString info = Poppler("pdfinfo", {pdf}).simplified();
  EXPECT_TRUE(info.contains(QStringLiteral("Pages: %1 ").arg(pages))) << info.toStdString();
  EXPECT_TRUE(info.contains(QStringLiteral("Page size: 595 x 842 pts (A4)"))) << "A4 portrait";
}

TEST(PrintDialog, AClassOnOneA4Page) {
  Frame f;
  f.sheet()->ShowClass(6);
  f.sheet()->SetViewText(1, 1, U("山田 太郎"));
  f.sheet()->SetViewText(1, 2, U("100"));
  f.sheet()->SetViewText(2, 1, U("ｻﾄｳ ｹﾝ"));
  f.sheet()->SetViewText(2, 3, U("1234567"));
  const TextGrid storage = f.sheet()->Storage();
  QPointer<QDialog> dialog = f.Open();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->findChild<QPushButton*>(QStringLiteral("Command1"))->text(), U("印刷"));
  EXPECT_EQ(dialog->findChild<QPushButton*>(QStringLiteral("Command2"))->text(), U("中止"));
  Mark(dialog, 0);
  Mark(dialog, 1);

  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("7-G.pdf"));
  PrintToPdf(dialog, "Command1", pdf);
  ExpectA4Pages(pdf, 1);

  QStringList lines = Poppler("pdftotext", {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
                          .split(u'\n', Qt::SkipEmptyParts);
  lines.removeIf([](const QString& line) { return line.trimmed().isEmpty(); });
  ASSERT_EQ(lines.size(), 53) << lines.join(u'\n').toStdString();
  const auto simplified = [&](int i) { return lines[i].simplified(); };
  EXPECT_EQ(simplified(0), U("番号 氏 名 国語 数学"));
  EXPECT_EQ(simplified(1), U("1 山田 太郎 100"));
  EXPECT_EQ(simplified(2), U("2 ｻﾄｳ ｹﾝ #####")) << "a number too wide is never shown cut";
  EXPECT_EQ(simplified(51), U("51 合計"));
  EXPECT_EQ(simplified(52), U("52 平均"));

  EXPECT_EQ(f.sheet()->Storage(), storage) << "printing takes no snapshot";
  EXPECT_FALSE(f.sheet()->IsModified());
}

TEST(PrintDialog, GradeViewRefusalCancelAndFailures) {
  Frame f;
  QPointer<QDialog> dialog = f.Open();
  ASSERT_NE(dialog, nullptr);
  test::ScriptedPrompts prompts;
  prompts.Expect(PromptAnswer::Ok);
  Press(dialog, "Command1");
  ASSERT_EQ(prompts.shown().size(), 1);
  EXPECT_EQ(prompts.shown()[0].text, U("印刷はクラスシートのみです"));
  ASSERT_FALSE(dialog.isNull());
  EXPECT_EQ(prompts.printerDialogs(), 0);

  f.sheet()->ShowClass(0);
  prompts.ExpectPrinter(QString());
  Press(dialog, "Command1");
  ASSERT_FALSE(dialog.isNull()) << "a cancelled printer dialog keeps ours";

  // An unwritable file: told, nothing reported as printed.
  prompts.ExpectPrinter(QStringLiteral("/nonexistent/folder/kumi.pdf"));
  prompts.Expect(PromptAnswer::Ok);
  Press(dialog, "Command1");
  ASSERT_EQ(prompts.shown().size(), 2);
  EXPECT_TRUE(prompts.shown()[1].text.startsWith(U("印刷できませんでした。")));
  ASSERT_FALSE(dialog.isNull());

  Press(dialog, "Command2");
  EXPECT_TRUE(dialog.isNull());
}

// A disk that fills up while the PDF is written: the short file is not reported as printed,
// for one page as for twenty.
TEST(PrintDialog, AFullDiskIsTold) {
  if (!test::FullDisk::CanMount()) GTEST_SKIP() << "mounting a small disk needs root";
  Frame f;
  f.sheet()->ShowClass(0);
  test::FullDisk disk;
  ASSERT_TRUE(disk.Mounted());
  disk.Fill();

  QPointer<QDialog> dialog = f.Open();
  test::ScriptedPrompts prompts;
  for (const char* button : {"Command1", "Command4"}) {
    prompts.ExpectPrinter(disk.Path(QStringLiteral("kumi.pdf")));
    prompts.Expect(PromptAnswer::Ok);
    Press(dialog, button);
    ASSERT_FALSE(dialog.isNull()) << button;
  }
  ASSERT_EQ(prompts.shown().size(), 2);
  for (const auto& shown : prompts.shown())
    EXPECT_TRUE(shown.text.startsWith(U("印刷できませんでした。")));
}

// The whole year in one job, from the grade view, as the teacher sees it: marks typed but not
// yet stored print too, and the sheet's snapshot stays as it was.
TEST(PrintDialog, AllClassesInOneJob) {
  Frame f;
  const int gradeRow = 6 * Sheet::kPupilsPerClass + 1;  // 7-G's first pupil
  f.sheet()->SetViewText(gradeRow, 1, U("七組 一郎"));
  f.sheet()->SetViewText(gradeRow, 2, U("88"));
  const TextGrid storage = f.sheet()->Storage();
  QPointer<QDialog> dialog = f.Open();
  Mark(dialog, 0);

  QTemporaryDir dir;
  const QString pdf = dir.filePath(U("学年.pdf"));
  PrintToPdf(dialog, "Command4", pdf);
  ExpectA4Pages(pdf, 20);
  const QString page7 =
      Poppler("pdftotext", {QStringLiteral("-layout"), QStringLiteral("-f"), QStringLiteral("7"),
                            QStringLiteral("-l"), QStringLiteral("7"), pdf, QStringLiteral("-")});
  EXPECT_TRUE(page7.contains(U("七組 一郎"))) << page7.toStdString();
  EXPECT_TRUE(page7.contains(QStringLiteral("88")));
  const QString page6 =
      Poppler("pdftotext", {QStringLiteral("-f"), QStringLiteral("6"), QStringLiteral("-l"),
                            QStringLiteral("6"), pdf, QStringLiteral("-")});
  EXPECT_FALSE(page6.contains(U("七組")));

  EXPECT_EQ(f.sheet()->Storage(), storage);
  EXPECT_FALSE(f.sheet()->IsModified());
}

// The text of page `page` of a PDF, as laid out.
QString PageText(const QString& pdf, int page) {
  const QString n = QString::number(page);
  return Poppler("pdftotext", {QStringLiteral("-layout"), QStringLiteral("-f"), n,
                               QStringLiteral("-l"), n, pdf, QStringLiteral("-")});
}

// 個人票: four slips to a page, each class from a new page, ranks and 偏差値 as the boxes say
// (remembered for the next time); nothing in the sheet changes.
TEST(PrintDialog, SlipsOfAClassAndOfTheYear) {
  Frame f;
  for (int r = 1; r <= 5; ++r) {
    f.sheet()->SetViewText(r, 1, U("生徒%1").arg(r));
    f.sheet()->SetViewText(r, 2, QString::number(50 + 10 * r));
  }
  const int fourD = 3 * Sheet::kPupilsPerClass + 7;
  f.sheet()->SetViewText(fourD, 1, U("ﾔﾏﾀﾞ ﾀﾛｳ"));
  f.sheet()->SetViewText(fourD, 2, U("欠"));
  QTemporaryDir dir;
  const struct {
    const char* what;
    int classView;  // -1: the grade view
    bool ranks;
    int pages;
    int lastPage;  // the page of the last slip, and who is on it
    QString last;
  } cases[] = {
      {"1-A, five pupils", 0, true, 2, 2, U("生徒5")},
      {"the year without ranks", -1, false, 3, 3, U("ﾔﾏﾀﾞ ﾀﾛｳ")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.classView >= 0) {
      f.sheet()->ShowClass(c.classView);
    } else {
      f.sheet()->ShowGrade();
    }
    const TextGrid storage = f.sheet()->Storage();
    const TextGrid view = f.sheet()->View();
    QPointer<QDialog> dialog = f.Open();
    ASSERT_NE(dialog, nullptr);
    auto* ranks = dialog->findChild<QCheckBox*>(QStringLiteral("Check1"));
    ASSERT_NE(ranks, nullptr);
    EXPECT_EQ(ranks->text(), U("順位を印刷する"));
    EXPECT_EQ(dialog->findChild<QCheckBox*>(QStringLiteral("Check2"))->text(),
              U("偏差値を印刷する"));
    ranks->setChecked(c.ranks);
    Mark(dialog, 0);
    const QString pdf = dir.filePath(QString::fromUtf8(c.what) + QStringLiteral(".pdf"));
    PrintToPdf(dialog, "Command5", pdf);
    ExpectA4Pages(pdf, c.pages);
    const QString first = PageText(pdf, 1);
    EXPECT_EQ(first.count(U("個人成績票")), 4) << first.toStdString();
    EXPECT_TRUE(first.simplified().contains(U("1-A 1番 生徒1"))) << first.toStdString();
    // 生徒1's 国語: 60, the class's and the year's average 80.0, fifth of five, then 偏差値.
    const QString rankShown = c.ranks ? U("5 / 5 ") : QString();
    EXPECT_TRUE(first.simplified().contains(U("国語 60 80.0 80.0 %1").arg(rankShown)))
        << first.toStdString();
    EXPECT_EQ(first.contains(U("学年順位")), c.ranks);
    EXPECT_TRUE(PageText(pdf, c.lastPage).contains(c.last));
    EXPECT_EQ(f.sheet()->Storage(), storage);
    EXPECT_EQ(f.sheet()->View(), view);
  }
  QPointer<QDialog> again = f.Open();
  EXPECT_FALSE(again->findChild<QCheckBox*>(QStringLiteral("Check1"))->isChecked()) << "remembered";
  again->findChild<QCheckBox*>(QStringLiteral("Check1"))->setChecked(true);
  EXPECT_FALSE(f.sheet()->IsModified());
}

// A word pdftotext found on a page, with its box in points.
struct PdfWord {
  QString text;
  QRectF box;
};
QList<PdfWord> PageWords(const QString& pdf, int page) {
  const QString n = QString::number(page);
  const QString html = Poppler("pdftotext", {QStringLiteral("-bbox"), QStringLiteral("-f"), n,
                                             QStringLiteral("-l"), n, pdf, QStringLiteral("-")});
  static const QRegularExpression word(QStringLiteral(
      R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
  QList<PdfWord> words;
  for (const QRegularExpressionMatch& m : word.globalMatch(html)) {
    words.append(
        {m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                               QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
  }
  return words;
}

// A slip of 19 items stays above its cutting line, and a long name in half-width katakana is set
// smaller to stay on the page, whole; a name of a megabyte prints its start.
TEST(PrintDialog, SlipsFitTheirPlace) {
  Frame f;
  f.sheet()->SetViewCols(Sheet::kFirstScoreCol + kMaxSlipItems);
  const QString longName = U("ｼﾞｭｹﾞﾑｼﾞｭｹﾞﾑｺﾞｺｳﾉｽﾘｷﾚｶｲｼﾞｬﾘｽｲｷﾞｮﾉｽｲｷﾞｮｳﾏﾂｳﾝﾗｲﾏﾂﾌｳﾗｲﾏﾂ").repeated(4);
  f.sheet()->SetViewText(1, 1, longName);
  // A name of a megabyte, pasted by mistake, prints its start, at once.
  f.sheet()->SetViewText(2, 1, QString(1 << 20, QChar(u'ｱ')));
  f.sheet()->SetViewText(2, 2, QStringLiteral("1"));
  for (int c = Sheet::kFirstScoreCol; c < f.sheet()->View().Cols(); ++c)
    f.sheet()->SetViewText(1, c, QString::number(c));
  f.sheet()->ShowClass(0);
  QPointer<QDialog> dialog = f.Open();
  for (int item = 0; item < kMaxSlipItems; ++item) Mark(dialog, item);
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("slips.pdf"));
  PrintToPdf(dialog, "Command5", pdf);
  ASSERT_TRUE(dialog.isNull());
  const QList<PdfWord> words = PageWords(pdf, 1);
  ASSERT_FALSE(words.isEmpty());
  const double cut = 842.0 / kSlipsPerPage;
  QString name;
  for (const PdfWord& w : words) {
    EXPECT_LE(w.box.right(), 595.0) << w.text.toStdString();
    EXPECT_EQ(int(w.box.top() / cut), int(w.box.bottom() / cut))
        << w.text.toStdString() << " crosses a cutting line";
    if (w.text.startsWith(U("ｼﾞｭｹﾞﾑ")) || (!name.isEmpty() && longName.contains(name + w.text)))
      name += w.text;
  }
  EXPECT_EQ(name, longName);
  const QString page = PageText(pdf, 1);
  EXPECT_LT(page.count(QChar(u'ｱ')), 300);
}

// More items than a slip holds, or none: the dialog says so and prints nothing.
TEST(PrintDialog, SlipsRefuseTooManyItems) {
  Frame f;
  f.sheet()->SetViewCols(Sheet::kFirstScoreCol + kMaxSlipItems + 1);
  f.sheet()->SetViewText(1, 1, U("生徒"));
  QPointer<QDialog> dialog = f.Open();
  test::ScriptedPrompts prompts;
  prompts.Expect(PromptAnswer::Ok);
  Press(dialog, "Command5");
  for (int item = 0; item <= kMaxSlipItems; ++item) Mark(dialog, item);
  prompts.Expect(PromptAnswer::Ok);
  Press(dialog, "Command5");
  ASSERT_EQ(prompts.shown().size(), 2);
  EXPECT_EQ(prompts.shown()[0].text, U("項目を選択してください"));
  EXPECT_EQ(prompts.shown()[1].text, U("個人票に印刷できる項目は 19 個までです。"));
  EXPECT_EQ(prompts.printerDialogs(), 0);
  EXPECT_FALSE(dialog.isNull());
}

TEST(PrintDialog, PreviewShowsThePages) {
  Frame f;
  f.sheet()->ShowClass(0);
  QPointer<QDialog> dialog = f.Open();
  Press(dialog, "Command3");
  auto* preview = dialog->findChild<QPrintPreviewDialog*>();
  ASSERT_NE(preview, nullptr);
  EXPECT_TRUE(preview->isVisible());
  ASSERT_FALSE(dialog.isNull()) << "the print dialog stays";
  preview->close();
}

}  // namespace
}  // namespace kelt
