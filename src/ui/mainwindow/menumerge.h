// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Menu merging by group number: the active child window's menus replace the
// frame's menus of the same group and join the others in group order.

#include <algorithm>
#include <set>
#include <vector>

namespace vocatrix::ui {

template <class Menu>
struct GroupedMenu {
  int Group = 0;
  Menu Item{};
};

// The menu bar to show: every child menu, and every frame menu whose group
// the child does not bring, ordered by group (the order within one side's
// group is kept).
template <class Menu>
std::vector<Menu> MergeMenus(const std::vector<GroupedMenu<Menu>>& frame,
                             const std::vector<GroupedMenu<Menu>>& child) {
  std::set<int> childGroups;
  for (const auto& m : child) childGroups.insert(m.Group);
  std::vector<GroupedMenu<Menu>> merged;
  for (const auto& m : frame)
    if (!childGroups.count(m.Group)) merged.push_back(m);
  merged.insert(merged.end(), child.begin(), child.end());
  std::stable_sort(merged.begin(), merged.end(),
                   [](const GroupedMenu<Menu>& a, const GroupedMenu<Menu>& b) { return a.Group < b.Group; });
  std::vector<Menu> result;
  result.reserve(merged.size());
  for (const auto& m : merged) result.push_back(m.Item);
  return result;
}

}  // namespace vocatrix::ui
