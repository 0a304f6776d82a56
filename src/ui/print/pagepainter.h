#pragma once

#include <QList>
#include <QPageLayout>
#include <QStringList>
#include <functional>

class QPrinter;
class QWidget;

namespace kelt {

// Paints class pages, one per entry of 53 lines, with their rules, in the page's fixed-pitch
// mincho face; the print and the preview both draw through here. False when the printer did
// not take the whole document (it could not start, a page failed, a PDF file came out short).
bool PaintClassPages(QPrinter* printer, const QList<QStringList>& pages);

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
