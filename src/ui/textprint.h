#pragma once
// Printing a text document the way the Text page shows it: no margins or
// page numbers of its own, pages filling the printer's printable area.

class QPrinter;
class QTextDocument;

namespace vocatrix::ui {

struct LineProgress;

// Prints `document` as one job on `printer` (its document name is the job's
// title): a copy is laid out at the printer's resolution for the printable
// area, wrapping lines longer than the page is wide, and rendered page by
// page. When the printer asks for a page range, only those pages are
// printed. `progress` gets the number of pages to print, then each page as
// it is done. Returns the number of pages printed. Raises an Exception when
// the printer (or the file printed to) cannot be opened, or when the range
// asked for begins after the last page.
int PrintDocument(const QTextDocument& document, QPrinter& printer, const LineProgress* progress = nullptr);

}  // namespace vocatrix::ui
