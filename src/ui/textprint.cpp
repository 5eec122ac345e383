#include "ui/textprint.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <memory>

#include "base/messages.h"
#include "base/settings.h"
#include "model/exceptions.h"

namespace vocatrix::ui {

int PrintDocument(const QTextDocument& document, QPrinter& printer) {
  QPainter painter;
  if (!painter.begin(&printer)) {
    const QString target = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    throw Exception(TranslateMessage("ErrPrint", "Cannot print to '%s'.", {target.toStdString()}));
  }
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

  QAbstractTextDocumentLayout::PaintContext context;
  context.palette.setColor(QPalette::Text, Qt::black);
  for (int i = 0; i < count; ++i) {
    if (i > 0 && !printer.newPage()) throw Exception(TranslateMessage("ErrPrint", "Cannot print to '%s'.",
                                                                      {printer.printerName().toStdString()}));
    // The painter's origin is the top left corner of the printable area.
    const QRectF shown(0, i * page.height(), page.width(), page.height());
    painter.save();
    painter.translate(0, -shown.top());
    painter.setClipRect(shown);
    // Lines are drawn when they touch the clip, edges included: inset by a
    // pixel, a line that starts right at the page's bottom edge is drawn on
    // the next page only, not also (clipped away, but still as text) here.
    context.clip = shown.adjusted(0, 1, 0, -1);
    pages->documentLayout()->draw(&painter, context);
    painter.restore();
  }
  painter.end();
  return count;
}

}  // namespace vocatrix::ui
