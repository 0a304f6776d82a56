#include "ui/print/pagepainter.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <algorithm>
#include <memory>

#include "core/print/classpage.h"
#include "core/print/pupilslip.h"
#include "core/sheet/sheet.h"
#include "ui/platform/displaytext.h"
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

namespace {
// One slip in `area`, its lines `line` high.
void PaintSlip(QPainter& painter, const QPaintDevice* device, const PrintedSlip& slip,
               const QRectF& area, double line) {
  QFont font(MinchoFamily());
  font.setPixelSize(std::max(1, int(line * 0.8)));
  font.setBold(false);
  QFont title = font;
  title.setPixelSize(std::max(1, int(line)));
  title.setBold(true);
  const double margin = line;
  const double left = area.left() + margin;
  const double right = area.right() - margin;
  double y = area.top() + margin;

  painter.setFont(title);
  const QFontMetricsF titleMetrics(title, device);
  painter.drawText(QPointF(left, y + titleMetrics.ascent()), slip.title);
  painter.setFont(font);
  const QFontMetricsF metrics(font, device);
  painter.drawText(QPointF(right - metrics.horizontalAdvance(slip.date), y + titleMetrics.ascent()),
                   slip.date);
  y += line * 1.4;

  painter.drawText(QPointF(left, y + metrics.ascent()), slip.pupil);
  const double nameLeft = left + metrics.horizontalAdvance(slip.pupil + QStringLiteral("  "));
  QFont nameFont = font;
  const double room = right - nameLeft;
  const double needed = metrics.horizontalAdvance(slip.name);
  if (needed > room && needed > 0)
    nameFont.setPixelSize(std::max(1, int(font.pixelSize() * room / needed)));
  painter.setFont(nameFont);
  painter.drawText(QPointF(nameLeft, y + metrics.ascent()), slip.name);
  painter.setFont(font);
  y += line * 1.6;

  for (const QString& text : slip.table) {
    painter.drawText(QPointF(left, y + metrics.ascent()), text);
    y += line;
  }
}
}  // namespace

QList<QList<PrintedSlip>> PrintedSlips(const QList<PupilSlip>& slips, const QString& title,
                                       const QString& date, bool ranks, bool deviations) {
  QList<QList<PrintedSlip>> classes;
  int shownClass = -1;
  for (const PupilSlip& slip : slips) {
    if (slip.classIndex != shownClass) classes.append(QList<PrintedSlip>());
    shownClass = slip.classIndex;
    // A name or a file name of megabytes would take the painter minutes: the start is enough.
    classes.last().append(
        PrintedSlip{DisplayText(title),
                    Sheet::ClassName(slip.classIndex) + QStringLiteral("  %1番").arg(slip.row),
                    DisplayText(slip.name), date, SlipTableLines(slip, ranks, deviations)});
  }
  return classes;
}

bool PaintPupilSlips(QPrinter* printer, const QList<QList<PrintedSlip>>& classes) {
  QPainter painter;
  if (!painter.begin(printer)) return false;
  const QRectF page(QPointF(0, 0), printer->pageRect(QPrinter::DevicePixel).size());
  const double height = page.height() / kSlipsPerPage;
  // A margin, the two heading lines and a gap, the table, a margin: 19 items and 合計 fill a slip,
  // fewer are set larger, up to the size a slip of ten lines would have.
  qsizetype tableLines = 0;
  for (const QList<PrintedSlip>& slips : classes) {
    for (const PrintedSlip& slip : slips) tableLines = std::max(tableLines, slip.table.size());
  }
  const double line = height / std::max(double(tableLines) + 6.0, 16.0);
  QPen cut(Qt::black, printer->logicalDpiY() / 200.0, Qt::DashLine);

  bool ok = true;
  bool firstPage = true;
  for (const QList<PrintedSlip>& slips : classes) {
    for (qsizetype i = 0; ok && i < slips.size(); ++i) {
      const int place = int(i % kSlipsPerPage);
      if (place == 0 && !firstPage && !printer->newPage()) ok = false;
      if (!ok) break;
      firstPage = false;
      const double top = place * height;
      if (place > 0) {
        painter.setPen(cut);
        painter.drawLine(QPointF(0, top), QPointF(page.width(), top));
      }
      painter.setPen(QPen(Qt::black));
      PaintSlip(painter, printer, slips[i], QRectF(0, top, page.width(), height), line);
    }
    if (!ok) break;
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
