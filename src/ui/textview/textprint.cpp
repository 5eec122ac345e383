// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/textview/textprint.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <algorithm>
#include <climits>
#include <cmath>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "base/errors.h"
#include "base/messages.h"
#include "ui/textview/lessontextview.h"

namespace vocatrix::ui {
namespace {

[[noreturn]] void CannotPrint(const QPrinter& printer) {
  const QString target = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
  throw Exception(TranslateMessage("ErrPrint", "Cannot print to '%s'.", {target.toStdString()}));
}

[[noreturn]] void NoSuchPage(int count, int first) {
  throw Exception(TranslateMessage("ErrPageRange", "The text has %s pages; there is no page %s to print.",
                                   {std::to_string(count), std::to_string(first)}));
}

// Qt's text layout keeps lengths in 64ths of a pixel, cutting finer parts
// off; the pages here are measured the same way so that every line lands
// where Qt's page layout puts it.
using Fixed = qint64;
Fixed ToFixed(qreal value) { return static_cast<Fixed>(value * 64); }
qreal FromFixed(Fixed value) { return static_cast<qreal>(value) / 64; }

// Whether the page layout of `document` is a plain column of lines: no
// frames, tables, lists or inline objects, no block with margins, indents,
// a line height, page breaks, a background or a ruler, no hidden block.
// Then a line's place depends on the heights of the lines before it alone,
// and Column lays the pages out without a copy of the document.
bool IsColumnOfLines(const QTextDocument& document) {
  const QTextFrame* root = document.rootFrame();
  const QTextFrameFormat frame = root->frameFormat();
  if (!root->childFrames().isEmpty() || frame.border() != 0 || frame.padding() != 0 ||
      frame.background().style() != Qt::NoBrush)
    return false;
  if (document.defaultTextOption().flags() & QTextOption::AddSpaceForLineAndParagraphSeparators) return false;
  // Every format the document knows, used or not: one look at each.
  for (const QTextFormat& format : document.allFormats()) {
    if (format.isListFormat() || (format.isCharFormat() && format.objectType() != QTextFormat::NoObject)) return false;
    if (!format.isBlockFormat()) continue;
    const QTextBlockFormat block = format.toBlockFormat();
    if (block.topMargin() != 0 || block.bottomMargin() != 0 || block.leftMargin() != 0 || block.rightMargin() != 0 ||
        block.indent() != 0 || block.textIndent() != 0 || block.lineHeightType() != QTextBlockFormat::SingleHeight ||
        block.pageBreakPolicy() != QTextFormat::PageBreak_Auto || block.background().style() != Qt::NoBrush ||
        block.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth) ||
        block.hasProperty(QTextFormat::ObjectIndex))
      return false;
  }
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    if (!block.isVisible()) return false;
  return true;
}

// The text option Qt's page layout gives a block: the document's, wrapping
// at word boundaries or anywhere, in the block's direction, with its tab
// stops and its alignment seen from that direction, not wrapped when its
// lines must not break.
QTextOption BlockOption(const QTextDocument& document, const QTextBlock& block) {
  const QTextBlockFormat format = block.blockFormat();
  QTextOption option = document.defaultTextOption();
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  const Qt::LayoutDirection direction = block.textDirection();
  option.setTextDirection(direction);
  // A block without tab stops of its own keeps the document's (lesson text
  // sets them there, so that its markers line up on paper as on screen).
  if (!format.tabPositions().isEmpty()) option.setTabs(format.tabPositions());
  Qt::Alignment alignment = document.defaultTextOption().alignment();
  if (format.hasProperty(QTextFormat::BlockAlignment)) alignment = format.alignment();
  option.setAlignment(QStyle::visualAlignment(direction, alignment));
  if (format.nonBreakableLines()) option.setWrapMode(QTextOption::ManualWrap);
  return option;
}

// Lays out a block's lines at `width`, as Qt's page layout does: a line
// wider than that (a word longer than the page) breaks anywhere, or stays
// whole when even that does not help, and the block's later lines then wrap
// at word boundaries only.
void LayOutLines(QTextLayout& layout, Fixed width) {
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLeadingIncluded(true);
    line.setLineWidth(FromFixed(width));
    if (ToFixed(line.naturalTextWidth()) <= width) continue;
    QTextOption option = layout.textOption();
    const bool either = option.wrapMode() == QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (either) {
      option.setWrapMode(QTextOption::WrapAnywhere);
      layout.setTextOption(option);
    }
    line.setLineWidth(std::max(line.naturalTextWidth(), FromFixed(width)));
    if (either) {
      option.setWrapMode(QTextOption::WordWrap);
      layout.setTextOption(option);
    }
  }
  layout.endLayout();
}

// The text's blocks laid out with the printer's fonts at its resolution and
// placed on the pages one under the other, as Qt's page layout of a copy of
// the document would place them, but without the copy, and each block
// shaped once for measuring and drawing. A worker thread lays out and
// places the blocks in order while the pages already placed are printed.
//
// The worker reads the document, which nothing changes while printing;
// fonts and formats are prepared beforehand, as Qt's font caches belong to
// the thread that fills them.
class Column {
 public:
  Column(const QTextDocument& document, QPrinter& printer, const QSizeF& page)
      : document_(document),
        width_(ToFixed(page.width())),
        pageHeight_(page.height()),
        fixedPageHeight_(ToFixed(page.height())),
        layouts_(static_cast<std::size_t>(document.blockCount())) {
    // Each format once, with every font property set: a layout's own font
    // is its block's, and the runs must take nothing from it, only the
    // printer's resolution. The block's font gives an empty line its
    // height, as in Qt's page layout.
    const QList<QTextFormat> formats = document.allFormats();
    for (const QTextFormat& format : formats) {
      QTextCharFormat whole = format.toCharFormat();
      QFont font;
      if (format.isCharFormat()) {
        font = QFont(whole.font(), &printer);
        whole.setFont(whole.font());
      }
      formats_.push_back(whole);
      fonts_.push_back(font);
    }
    // A plain thread: joining it orders its last writes before the destruction.
    worker_ = std::thread([this] { Place(); });
  }

  ~Column() {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    worker_.join();
  }

  // Lets the worker stop once the pages up to `page` are placed.
  void StopAfter(int page) {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopAfter_ = page;
  }

  // Whether the text reaches page `page` (counted from 1); waits for the
  // worker to find out.
  bool HasPage(int page) {
    std::unique_lock<std::mutex> lock(mutex_);
    const qreal top = (page - 1) * pageHeight_;
    changed_.wait(lock, [&] { return done_ || FromFixed(bottom_) > top; });
    return FromFixed(bottom_) > top;
  }

  // The number of pages once every block is placed, 0 before that.
  int PagesIfKnown() {
    const std::lock_guard<std::mutex> lock(mutex_);
    return complete_ ? Count() : 0;
  }
  // Whether the text is known to reach page `page` by now.
  bool Reached(int page) {
    const std::lock_guard<std::mutex> lock(mutex_);
    return FromFixed(bottom_) > (page - 1) * pageHeight_;
  }

  // The number of pages; waits for the worker to end (having placed every
  // block unless told to stop early).
  int Pages() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return done_; });
    return Count();
  }

  // The number of blocks placed once nothing below `y` is still to come.
  std::size_t PlacedBelow(qreal y) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return done_ || FromFixed(bottom_) > y; });
    return placed_;
  }

  // The text's extent: its width and the height placed so far.
  QRectF Extent() {
    const std::lock_guard<std::mutex> lock(mutex_);
    return {0, 0, FromFixed(width_), FromFixed(bottom_)};
  }

  // A placed block, until released.
  QTextLayout* Block(std::size_t index) const { return layouts_[index].get(); }
  void Release(std::size_t index) { layouts_[index].reset(); }

 private:
  int Count() const { return static_cast<int>(std::ceil(FromFixed(bottom_) / pageHeight_)); }

  // The worker: lays out each block and places its lines; a line that
  // would cross the page's bottom goes to the top of the next page unless
  // it is taller than a page.
  void Place() {
    Fixed y = 0;
    Fixed pageBottom = fixedPageHeight_;
    std::size_t index = 0;
    for (QTextBlock block = document_.begin(); block.isValid(); block = block.next(), ++index) {
      {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (stop_ || (stopAfter_ < INT_MAX && FromFixed(y) > stopAfter_ * pageHeight_)) break;
      }
      auto layout =
          std::make_unique<QTextLayout>(block.text(), fonts_[static_cast<std::size_t>(block.charFormatIndex())]);
      QList<QTextLayout::FormatRange> ranges;
      const int start = block.position();
      int previous = -1;
      for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int format = fragment.charFormatIndex();
        // Neighbours in one format are one run, as in the document.
        if (format == previous)
          ranges.back().length += fragment.length();
        else
          ranges.push_back(
              {fragment.position() - start, fragment.length(), formats_[static_cast<std::size_t>(format)]});
        previous = format;
      }
      layout->setFormats(ranges);
      layout->setTextOption(BlockOption(document_, block));
      layout->setCacheEnabled(true);
      LayOutLines(*layout, width_);
      // Drawing finds the fonts again in the printing thread's own cache.
      layout->setFont(layout->font());

      layout->setPosition(QPointF(0, FromFixed(y)));
      const Fixed top = y;
      Fixed bottom = 0;
      for (int i = 0; i < layout->lineCount(); ++i) {
        QTextLine line = layout->lineAt(i);
        const Fixed needed = ToFixed(line.height());
        while (y + needed > pageBottom && fixedPageHeight_ >= needed) {
          pageBottom += fixedPageHeight_;
          y = std::max(y, pageBottom - fixedPageHeight_);
        }
        line.setPosition(QPointF(0, FromFixed(y - top)));
        // The next line starts below this one's ascent, descent and
        // leading, rounded up to whole pixels.
        bottom = y + needed;
        y += ToFixed(std::ceil(line.ascent() + line.descent() + line.leading()));
      }
      y = std::max(y, bottom);
      layouts_[index] = std::move(layout);
      {
        const std::lock_guard<std::mutex> lock(mutex_);
        placed_ = index + 1;
        bottom_ = y;
      }
      changed_.notify_all();
    }
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
      complete_ = placed_ == layouts_.size();
    }
    changed_.notify_all();
  }

  const QTextDocument& document_;
  const Fixed width_;
  const qreal pageHeight_;
  const Fixed fixedPageHeight_;
  std::vector<QTextCharFormat> formats_;  // by format index
  std::vector<QFont> fonts_;              // by format index
  std::vector<std::unique_ptr<QTextLayout>> layouts_;
  std::thread worker_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t placed_ = 0;  // blocks placed
  Fixed bottom_ = 0;        // where the next line would start
  int stopAfter_ = INT_MAX;
  bool stop_ = false;
  bool done_ = false;      // the worker has ended
  bool complete_ = false;  // ... having placed every block
};

// Prints a document that is no column of lines through Qt's page layout of
// a copy of it.
int PrintPageLayout(const QTextDocument& document, QPrinter& printer, const QSizeF& page,
                    const LineProgress* progress) {
  // A copy with the page layout (the shown document keeps its plain-text
  // layout), measured with the printer's fonts at its resolution.
  const std::unique_ptr<QTextDocument> pages(document.clone());
  pages->documentLayout()->setPaintDevice(&printer);
  pages->setDocumentMargin(0);
  QTextOption option = pages->defaultTextOption();
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  pages->setDefaultTextOption(option);
  pages->setPageSize(page);
  const int count = pages->pageCount();

  // Pages are counted from 1; "to" 0 means to the end.
  int first = 1;
  int last = count;
  if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
    first = printer.fromPage();
    if (printer.toPage() > 0) last = std::min(count, printer.toPage());
    if (first > last) NoSuchPage(count, first);
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

// Prints a column of lines, each page as soon as its blocks are placed.
// The progress gets the number of pages once it is known, then every page
// printed by then, and the later ones as they are done.
int PrintColumn(const QTextDocument& document, QPrinter& printer, const QSizeF& page, const LineProgress* progress) {
  Column column(document, printer, page);
  // Pages are counted from 1; "to" 0 means to the end.
  int first = 1;
  int last = INT_MAX;
  if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
    first = printer.fromPage();
    if (printer.toPage() > 0) last = printer.toPage();
    if (last >= first) column.StopAfter(last);
    if (last < first || !column.HasPage(first)) NoSuchPage(column.Pages(), first);
  }

  QPainter painter;
  if (!painter.begin(&printer)) CannotPrint(printer);
  int maximum = 0;  // pages to print, once known
  int reported = 0;
  const auto report = [&](int printed) {
    if (!progress) return;
    if (!maximum) {
      if (last < INT_MAX && column.Reached(last))
        maximum = last - first + 1;
      else if (const int count = column.PagesIfKnown())
        maximum = std::min(last, count) - first + 1;
      else
        return;
      progress->SetMaximum(maximum);
    }
    while (reported < printed) progress->SetPosition(++reported);
  };
  const QColor text = Qt::black;
  std::size_t next = 0;  // the first block not wholly above the page
  int number = first;
  for (; number <= last && (number == first || column.HasPage(number)); ++number) {
    if (number > first && !printer.newPage()) CannotPrint(printer);
    const QRectF shown(0, (number - 1) * page.height(), page.width(), page.height());
    painter.save();
    painter.translate(0, -shown.top());
    painter.setClipRect(shown);
    // As Qt's page layout draws a page: each block whose lines touch the
    // page inset by a pixel (see PrintPageLayout), in black unless its
    // formats say otherwise, clipped to the text's extent as well.
    const QRectF clip = shown.adjusted(0, 1, 0, -1);
    const std::size_t placed = column.PlacedBelow(clip.bottom());
    const QRectF inside = clip & column.Extent();
    for (std::size_t i = next; i < placed; ++i) {
      QTextLayout* layout = column.Block(i);
      const QRectF bounds = layout->boundingRect().translated(layout->position());
      if (bounds.top() > clip.bottom()) break;
      if (bounds.bottom() < clip.top()) {
        // Above this page, so above every later one too.
        if (i == next) column.Release(next++);
        continue;
      }
      const QPen pen = painter.pen();
      painter.setPen(text);
      layout->draw(&painter, QPointF(), {}, inside);
      painter.setPen(pen);
    }
    painter.restore();
    report(number - first + 1);
  }
  painter.end();
  if (progress && !maximum) {
    maximum = number - first;
    progress->SetMaximum(maximum);
  }
  report(number - first);
  return number - first;
}

}  // namespace

std::vector<qreal> PrintedLineTops(const QTextDocument& document, QPrinter& printer) {
  const QRectF area = printer.pageRect(QPrinter::DevicePixel);
  if (area.height() <= 0 || !IsColumnOfLines(document)) return {};
  Column column(document, printer, area.size());
  column.Pages();
  std::vector<qreal> tops;
  for (int i = 0; i < document.blockCount(); ++i) {
    const QTextLayout* layout = column.Block(static_cast<std::size_t>(i));
    for (int line = 0; line < layout->lineCount(); ++line)
      tops.push_back(layout->position().y() + layout->lineAt(line).y());
  }
  return tops;
}

int PrintDocument(const QTextDocument& document, QPrinter& printer, const LineProgress* progress) {
  const QRectF area = printer.pageRect(QPrinter::DevicePixel);
  const QSizeF page(area.width(), area.height());
  if (page.height() > 0 && IsColumnOfLines(document)) return PrintColumn(document, printer, page, progress);
  return PrintPageLayout(document, printer, page, progress);
}

}  // namespace vocatrix::ui
