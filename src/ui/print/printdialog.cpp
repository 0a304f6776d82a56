#include "ui/print/printdialog.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "core/print/classpage.h"
#include "core/sheet/sheet.h"
#include "ui/platform/itemlist.h"
#include "ui/platform/prompts.h"
#include "ui/platform/singledialog.h"
#include "ui/platform/twips.h"
#include "ui/print/pagepainter.h"
#include "ui/sheet/frmdocument.h"

namespace kelt {

PrintDialog::PrintDialog(std::function<frmDocument*()> activeSheet, QWidget* parent)
    : QDialog(parent), m_activeSheet(std::move(activeSheet)) {
  MakeSingleDialog(this, QStringLiteral("印刷"));
  ResizeInTwips(this, 3075, 5700);

  m_list = MakeColumnList(this, ScoreColumnNames(m_activeSheet()), ItemChoice::Several);
  PlaceInTwips(m_list, 120, 120, 1575, 5100);
  const struct {
    const char* name;
    const char* caption;
    int left, top, width;
    void (PrintDialog::*press)();
  } buttons[] = {
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

QDialog* OpenPrintDialog(QWidget* frame, const std::function<frmDocument*()>& activeSheet) {
  if (!activeSheet()) return nullptr;
  return ShowSingleDialog(QStringLiteral("印刷"), frame,
                          [&] { return new PrintDialog(activeSheet, frame); });
}

}  // namespace kelt
