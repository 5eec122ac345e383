#pragma once
// Printing a text document the way the Text page shows it: no margins or
// page numbers of its own, pages filling the printer's printable area.

class QPrinter;
class QTextDocument;

namespace vocatrix::ui {

// Prints `document` as one job on `printer` (its document name is the job's
// title): a copy is laid out at the printer's resolution for the printable
// area, wrapping lines longer than the page is wide, and rendered page by
// page. Returns the number of pages. Raises an Exception when the printer
// (or the file printed to) cannot be opened.
int PrintDocument(const QTextDocument& document, QPrinter& printer);

}  // namespace vocatrix::ui
