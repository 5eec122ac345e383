// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the frame puts its child windows when it tiles or cascades them:
// plain geometry, so that it can be checked without windows.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <vector>

namespace vocatrix::ui {

// The sizes a window can take (a lesson window on its Header or Entries
// page has one fixed size).
struct TWindowLimits {
  QSize Minimum;
  QSize Maximum;
};

// Tiles windows in a grid over `area`. Side by side fills rows first, as
// many windows in a row as fit; one below the other fills columns first.
// Each window takes its cell as far as its limits allow. Windows larger than
// their cells (more windows than the frame holds) overlap their neighbours
// but stay inside the area, so the frame never needs to scroll.
std::vector<QRect> TileRects(const QRect& area, const std::vector<TWindowLimits>& windows, bool sideBySide);

// Cascades windows of the given sizes (bottom to top) from the area's top
// left corner, each `step` (at least a title bar) down and right of the one
// before, so that every caption stays in sight. A window that would stick
// out below starts a new cascade to the right of the last one, as far as
// the area allows.
std::vector<QPoint> CascadePositions(const QRect& area, const std::vector<QSize>& sizes, int step);

}  // namespace vocatrix::ui
