#include "ui/textprint.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <algorithm>
#include <memory>

#include "base/errors.h"
#include "base/messages.h"
#include "ui/lessontextview.h"

namespace vocatrix::ui {
namespace {

[[noreturn]] void CannotPrint(const QPrinter& printer) {
  const QString target = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
  throw Exception(TranslateMessage("ErrPrint", "Cannot print to '%s'.", {target.toStdString()}));
}

}  // namespace

int PrintDocument(const QTextDocument& document, QPrinter& printer, const LineProgress* progress) {
  // A copy with the page layout (the shown document keeps its plain-text
  // layout), measured with the printer's fonts at its resolution.
  const std::unique_ptr<QTextDocument> pages(document.clone());
  pages->documentLayout()->setPaintDevice(&printer);
  pages->setDocumentMargin(0);
  QTextOption option = pages->defaultTextOption();
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  pages->setDefaultTextOption(option);
  const QRectF area = printer.pageRect(QPrinter::DevicePixel);
  const QSizeF page(area.width(), area.height());
  pages->setPageSize(page);
  const int count = pages->pageCount();

  // Pages are counted from 1; "to" 0 means to the end.
  int first = 1;
  int last = count;
  if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
    first = printer.fromPage();
    if (printer.toPage() > 0) last = std::min(count, printer.toPage());
    if (first > last)
      throw Exception(TranslateMessage("ErrPageRange", "The text has %s pages; there is no page %s to print.",
                                       {std::to_string(count), std::to_string(first)}));
  }

  QPainter painter;
  if (!painter.begin(&printer)) CannotPrint(printer);
  if (progress) progress->SetMaximum(last - first + 1);
  QAbstractTextDocumentLayout::PaintContext context;
  context.palette.setColor(QPalette::Text, Qt::black);
  for (int number = first; number <= last; ++number) {
    if (number > first && !printer.newPage()) CannotPrint(printer);
    // The painter's origin is the top left corner of the printable area.
    const QRectF shown(0, (number - 1) * page.height(), page.width(), page.height());
    painter.save();
    painter.translate(0, -shown.top());
    painter.setClipRect(shown);
    // Lines are drawn when they touch the clip, edges included: inset by a
    // pixel, a line that starts right at the page's bottom edge is drawn on
    // the next page only, not also (clipped away, but still as text) here.
    context.clip = shown.adjusted(0, 1, 0, -1);
    pages->documentLayout()->draw(&painter, context);
    painter.restore();
    if (progress) progress->SetPosition(number - first + 1);
  }
  painter.end();
  return last - first + 1;
}

}  // namespace vocatrix::ui
