// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson as a table: cells, the sorted and filtered view, and sorting
// the lesson itself.

#include <gtest/gtest.h>

#include "base/errors.h"
#include "model/textcompare.h"
#include "operations/entrytable.h"
#include "test_util.h"

namespace vocatrix {
namespace {

using test::MakeEntry;
using test::MakeLesson;

TEST(EntryTable, CellsJoinAndSplitTheListsAndSetTheForm) {
  auto lesson = MakeLesson("Deutsch", "English", {MakeEntry(1, {"Haus", "Heim"}, {"house", "home"}, {}, {"hut"})});
  TMeaning& entry = *lesson->At(0);
  EXPECT_EQ(CellText(entry, kColumnSynonyms, 0), "Haus; Heim");
  EXPECT_EQ(CellText(entry, kColumnAntonyms, 0), "");
  EXPECT_EQ(CellText(entry, kColumnAntonymTranslations, 0), "hut");
  EXPECT_EQ(CellText(entry, kColumnForm, 0), "s.");
  EXPECT_EQ(CellText(entry, kColumnNumber, 41), "42");
  struct Case {
    int column;
    std::string text;
    bool taken;
    std::vector<std::string> words;  // of the column's list, or the form's name
  };
  const std::vector<Case> cases = {
      {kColumnTranslations, " house ;home;; the  house ", true, {"house", "home", "the  house"}},
      {kColumnAntonyms, "", true, {}},
      {kColumnSynonyms, "Haus; Haus", true, {"Haus"}},  // a list holds a text once
      {kColumnForm, " ADJ. ", true, {"adj."}},
      {kColumnForm, "noun", false, {"adj."}},
      {kColumnNumber, "7", false, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SetCellText(entry, c.column, c.text), c.taken) << c.text;
    if (c.column == kColumnForm) {
      EXPECT_EQ(CellText(entry, kColumnForm, 0), c.words[0]) << c.text;
    } else if (c.column != kColumnNumber) {
      EXPECT_EQ(entry.KindTexts(c.column), c.words) << c.text;
    }
  }
}

TEST(EntryTable, TheViewSortsAndFiltersWithoutMovingAnEntry) {
  SetCollationLocale("de_DE.UTF-8");
  auto lesson = MakeLesson("Deutsch", "English",
                           {MakeEntry(1, {"Birne"}, {"pear"}), MakeEntry(1, {"\xC4pfel"}, {"apples"}),
                            MakeEntry(0, {"apfel"}, {"apple"}), MakeEntry(4, {"Birne"}, {"bulb"}),
                            MakeEntry(2, {"alt"}, {"old"}, {"neu"})});
  const std::vector<const TMeaning*> before = [&] {
    std::vector<const TMeaning*> entries;
    for (int i = 0; i < lesson->EntryCount(); ++i) entries.push_back(lesson->At(i).get());
    return entries;
  }();
  TEntryTable table(lesson.get());
  const auto rows = [&table] {
    std::vector<int> entries;
    for (int row = 0; row < table.RowCount(); ++row) {
      entries.push_back(table.EntryOfRow(row));
      EXPECT_EQ(table.RowOfEntry(entries.back()), row);
    }
    return entries;
  };
  struct Case {
    int column;
    bool descending;
    std::string filter;
    std::vector<int> entries;
  };
  const std::vector<Case> cases = {
      {-1, false, "", {0, 1, 2, 3, 4}},
      // The collation of the word lists, equal cells in the lesson's order.
      {kColumnSynonyms, false, "", {4, 2, 1, 0, 3}},
      {kColumnSynonyms, true, "", {0, 3, 1, 2, 4}},
      {kColumnTranslations, false, "", {2, 1, 3, 4, 0}},
      {kColumnForm, false, "", {2, 0, 1, 4, 3}},
      {kColumnNumber, true, "", {4, 3, 2, 1, 0}},
      // Any cell, case ignored for every letter of the code page.
      {kColumnSynonyms, false, "\xE4PF", {1}},
      {kColumnSynonyms, false, "apple", {2, 1}},
      {-1, false, "NEU", {4}},
      {-1, false, "adj.", {4}},
      {-1, false, "nothing", {}},
  };
  for (const Case& c : cases) {
    table.Sort(c.column, c.descending);
    table.Filter(c.filter);
    EXPECT_EQ(rows(), c.entries) << c.column << " " << c.descending << " " << c.filter;
  }
  EXPECT_EQ(table.RowOfEntry(0), -1);
  for (int i = 0; i < lesson->EntryCount(); ++i) EXPECT_EQ(lesson->At(i).get(), before[static_cast<std::size_t>(i)]);

  // A changed lesson shows again in the same view.
  table.Filter("");
  table.Sort(kColumnSynonyms, false);
  lesson->At(0)->SetKindTexts(kSynonyms, {"Aal"});
  table.Invalidate();
  EXPECT_EQ(table.EntryOfRow(0), 0);
  SetCollationLocale(std::locale::classic());
}

TEST(EntryTable, ReorderingTheLessonMovesTheVeryEntriesAndRefusesAnyOtherList) {
  auto lesson = MakeLesson("A", "B", {MakeEntry(1, {"c"}), MakeEntry(1, {"a"}), MakeEntry(1, {"b"})});
  // An entry listed twice (a lesson concatenated with itself) moves as both places.
  lesson->Meanings->Insert(lesson->At(0));
  const MeaningPtr c = lesson->At(0);
  TEntryTable table(lesson.get());
  table.Sort(kColumnSynonyms, false);
  ReorderEntries(*lesson, table.SortedOrder());
  ASSERT_EQ(lesson->EntryCount(), 4);
  EXPECT_EQ(lesson->At(0)->KindTexts(kSynonyms)[0], "a");
  EXPECT_EQ(lesson->At(2), c);
  EXPECT_EQ(lesson->At(3), c);
  for (const std::vector<int>& bad : {std::vector<int>{0, 1, 2}, {0, 1, 2, 2}, {0, 1, 2, 4}, {-1, 0, 1, 2}})
    EXPECT_THROW(ReorderEntries(*lesson, bad), EInvalidOperation);
  EXPECT_EQ(lesson->At(0)->KindTexts(kSynonyms)[0], "a");
}

}  // namespace
}  // namespace vocatrix
