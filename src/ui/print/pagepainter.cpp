#include "ui/print/pagepainter.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <memory>

#include "core/print/classpage.h"
#include "ui/platform/fonts.h"
#include "ui/platform/prompts.h"

namespace kelt {

namespace {

void PresetPage(QPrinter* printer, QPageLayout::Orientation orientation) {
  printer->setPageSize(QPageSize(QPageSize::A4));
  printer->setPageOrientation(orientation);
  printer->setDocName(QStringLiteral("kelt"));
}

// A PDF that QPdfEngine could not finish (a full disk) lacks its trailer; the engine says
// nothing about it.
bool PdfComplete(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() < 64) return false;
  file.seek(file.size() - 64);
  return file.read(64).contains("%%EOF");
}

}  // namespace

bool PrinterFinished(const QPrinter& printer) {
  if (printer.printerState() == QPrinter::Error) return false;
  return printer.outputFormat() != QPrinter::PdfFormat || PdfComplete(printer.outputFileName());
}

PrintOutcome PrintDocument(QWidget* parent, QPageLayout::Orientation orientation,
                           const std::function<bool(QPrinter*)>& paint) {
  QPrinter printer(QPrinter::HighResolution);
  PresetPage(&printer, orientation);
  if (!CurrentPrompts().ChoosePrinter(parent, &printer)) return PrintOutcome::kCancelled;
  if (paint(&printer)) return PrintOutcome::kPrinted;
  const QString where = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName()
                                                                      : printer.printerName();
  ShowMessage(parent, QStringLiteral("印刷できませんでした。\n") + where, PromptButtons::Ok, {},
              PromptIcon::Warning);
  return PrintOutcome::kFailed;
}

bool PaintClassPages(QPrinter* printer, const QList<QStringList>& pages) {
  QPainter painter;
  if (!painter.begin(printer)) return false;
  QFont font(MinchoFamily());
  font.setPointSizeF(12);
  font.setBold(false);
  painter.setFont(font);
  const QFontMetricsF metrics(painter.font(), printer);

  // Device units of the page's character cell, the line height and the first line's top.
  const double cellWidth = printer->logicalDpiX() * classpage::kCellWidthTwips / 1440.0;
  const double cellHeight = printer->logicalDpiY() * classpage::kCellHeightTwips / 1440.0;
  // A line is one cell high, the height of the 12-point face: the mincho faces give a little
  // more than their size as their height, and the rules would drift into the lines below.
  const double line = cellHeight;
  const double top = classpage::kFirstLineTop * cellHeight;
  painter.setPen(QPen(Qt::black, printer->logicalDpiY() / 200.0));

  bool ok = true;
  for (qsizetype page = 0; ok && page < pages.size(); ++page) {
    if (page > 0 && !printer->newPage()) {
      ok = false;
      break;
    }
    const QStringList& lines = pages[page];
    for (qsizetype r = 0; r < lines.size(); ++r)
      painter.drawText(QPointF(0, top + double(r) * line + metrics.ascent()), lines[r]);
    for (const int rule : ClassPageRules()) {
      painter.drawLine(QPointF(0, rule * line),
                       QPointF(classpage::kRuleLength * cellWidth, rule * line));
    }
  }
  ok = painter.end() && ok;
  return ok && PrinterFinished(*printer);
}

PrintOutcome PrintClassPages(QWidget* parent, const QList<QStringList>& pages) {
  return PrintDocument(parent, QPageLayout::Portrait,
                       [&](QPrinter* printer) { return PaintClassPages(printer, pages); });
}

void PreviewClassPages(QWidget* parent, const QList<QStringList>& pages) {
  auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
  PresetPage(printer.get(), QPageLayout::Portrait);
  auto* preview = new QPrintPreviewDialog(printer.get(), parent);
  preview->setObjectName(QStringLiteral("プレビュー"));
  preview->setAttribute(Qt::WA_DeleteOnClose);
  // The connection keeps the printer as long as the preview lives.
  QObject::connect(preview, &QPrintPreviewDialog::paintRequested, preview,
                   [printer, pages](QPrinter* target) { PaintClassPages(target, pages); });
  preview->open();
}

}  // namespace kelt
