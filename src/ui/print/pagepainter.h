#pragma once

#include <QList>
#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <functional>

class QPrinter;
class QWidget;

namespace kelt {

struct PupilSlip;

// Paints class pages, one per entry of 53 lines, with their rules, in the page's fixed-pitch
// mincho face; the print and the preview both draw through here. False when the printer did
// not take the whole document (it could not start, a page failed, a PDF file came out short).
bool PaintClassPages(QPrinter* printer, const QList<QStringList>& pages);

// One pupil's slip as printed: its heading and its table (SlipTableLines).
struct PrintedSlip {
  QString title;  // "個人成績票" and the sheet's name
  QString pupil;  // "3-C  12番" and the name
  QString name;
  QString date;
  QStringList table;
};
inline constexpr int kSlipsPerPage = 4;

// The slips as printed, one list per class in the order given: headed by `title` and `date`,
// their tables with ranks and 偏差値 as asked.
QList<QList<PrintedSlip>> PrintedSlips(const QList<PupilSlip>& slips, const QString& title,
                                       const QString& date, bool ranks, bool deviations);

// Paints slips four to an A4 portrait page, one above the other with a dashed cutting line
// between them; each entry of `classes` starts on a new page. A name too long for its place is
// set in a smaller face, never cut. False as PaintClassPages.
bool PaintPupilSlips(QPrinter* printer, const QList<QList<PrintedSlip>>& classes);

enum class PrintOutcome { kPrinted, kCancelled, kFailed };

// True when the printer took the whole document after its painter ended: no error, and a PDF
// file came out complete (QPdfEngine says nothing of a full disk).
bool PrinterFinished(const QPrinter& printer);

// Asks for the printer (A4 in `orientation`) and runs `paint` on it as one job; a failure
// (`paint` false) is told to the teacher here.
PrintOutcome PrintDocument(QWidget* parent, QPageLayout::Orientation orientation,
                           const std::function<bool(QPrinter*)>& paint);

// Asks for the printer (A4 portrait preset) and prints the pages as one job. A failure is told
// to the teacher here.
PrintOutcome PrintClassPages(QWidget* parent, const QList<QStringList>& pages);

// The pages in Qt's print preview, from which they can also be printed; modeless.
void PreviewClassPages(QWidget* parent, const QList<QStringList>& pages);

}  // namespace kelt
