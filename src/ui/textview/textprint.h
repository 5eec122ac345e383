// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Printing a text document the way the Text page shows it: no margins or
// page numbers of its own, pages filling the printer's printable area.

#include <QtGlobal>
#include <vector>

class QPrinter;
class QTextDocument;

namespace vocatrix::ui {

struct LineProgress;

// Prints `document` as one job on `printer` (its document name is the job's
// title): laid out as Qt's page layout lays out a copy of it at the printer's
// resolution for the printable area, wrapping lines longer than the page is
// wide, and rendered page by page. When the printer asks for a page range,
// only those pages are printed. `progress` gets the number of pages to print,
// then each page as it is done; with a long text, the number comes once the
// text is measured to its end, which goes on while the first pages are
// printed, and the pages printed by then follow at once. Returns the number
// of pages printed. Raises an Exception when the printer (or the file printed
// to) cannot be opened, or when the range asked for begins after the last
// page.
int PrintDocument(const QTextDocument& document, QPrinter& printer, const LineProgress* progress = nullptr);

// The top of each line of `document` as PrintDocument places it, in the
// printer's pixels from the top of the first page, block by block, line by
// line; empty when the document is printed through Qt's own page layout.
std::vector<qreal> PrintedLineTops(const QTextDocument& document, QPrinter& printer);

}  // namespace vocatrix::ui
