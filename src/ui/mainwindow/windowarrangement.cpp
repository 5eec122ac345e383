// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mainwindow/windowarrangement.h"

#include <algorithm>

namespace vocatrix::ui {
namespace {

int CeilDiv(int a, int b) { return (a + b - 1) / b; }

// Where a window of `size` goes along one side: at its cell when it fits
// the cell, else spread over the whole length so that the last one ends at
// its end.
int Place(int start, int length, int cells, int cell, int index, int size) {
  if (size <= cell) return start + index * cell;
  if (cells <= 1) return start;
  return start + std::max(0, index * (length - size) / (cells - 1));
}

}  // namespace

std::vector<QRect> TileRects(const QRect& area, const std::vector<TWindowLimits>& windows, bool sideBySide) {
  const int count = static_cast<int>(windows.size());
  if (count == 0 || area.isEmpty()) return {};
  const auto fits = [&](int columns, int rows) {
    const QSize cell(area.width() / columns, area.height() / rows);
    return std::all_of(windows.begin(), windows.end(), [&](const TWindowLimits& w) {
      return w.Minimum.width() <= cell.width() && w.Minimum.height() <= cell.height();
    });
  };
  // The most windows across (or down) for which every window fits its cell.
  int columns = 0;
  int rows = 0;
  for (int across = count; across >= 1 && columns == 0; --across) {
    const int other = CeilDiv(count, across);
    if (sideBySide ? fits(across, other) : fits(other, across)) {
      columns = sideBySide ? across : other;
      rows = sideBySide ? other : across;
    }
  }
  if (columns == 0) {
    // More than the frame holds: as many across as the largest window allows.
    int widest = 1;
    int tallest = 1;
    for (const TWindowLimits& w : windows) {
      widest = std::max(widest, w.Minimum.width());
      tallest = std::max(tallest, w.Minimum.height());
    }
    // At least two in the chosen direction, overlapping when the frame is
    // narrower than that: side by side stays side by side.
    const int least = std::min(2, count);
    if (sideBySide) {
      columns = std::clamp(area.width() / widest, least, count);
      rows = CeilDiv(count, columns);
    } else {
      rows = std::clamp(area.height() / tallest, least, count);
      columns = CeilDiv(count, rows);
    }
  }
  const QSize cell(area.width() / columns, area.height() / rows);
  std::vector<QRect> rects;
  for (int i = 0; i < count; ++i) {
    const int row = sideBySide ? i / columns : i % rows;
    const int column = sideBySide ? i % columns : i / rows;
    const QSize size = cell.expandedTo(windows[i].Minimum).boundedTo(windows[i].Maximum);
    rects.emplace_back(QPoint(Place(area.x(), area.width(), columns, cell.width(), column, size.width()),
                              Place(area.y(), area.height(), rows, cell.height(), row, size.height())),
                       size);
  }
  return rects;
}

std::vector<QPoint> CascadePositions(const QRect& area, const std::vector<QSize>& sizes, int step) {
  const int count = static_cast<int>(sizes.size());
  if (count == 0) return {};
  step = std::max(step, 1);
  QSize largest(0, 0);
  for (const QSize& size : sizes) largest = largest.expandedTo(size);
  // Windows in one cascade, and how far apart the cascades stand: side by
  // side when the area is wide enough, so that no caption is covered.
  const int perCascade = std::clamp((area.height() - largest.height()) / step + 1, 1, count);
  const int cascades = CeilDiv(count, perCascade);
  const int cascadeWidth = largest.width() + (perCascade - 1) * step;
  const int apart = cascades > 1 ? std::clamp((area.width() - cascadeWidth) / (cascades - 1), step, cascadeWidth) : 0;
  std::vector<QPoint> positions;
  for (int i = 0; i < count; ++i) {
    const int cascade = i / perCascade;
    const int k = i % perCascade;
    positions.emplace_back(area.x() + cascade * apart + k * step, area.y() + k * step);
  }
  return positions;
}

}  // namespace vocatrix::ui
