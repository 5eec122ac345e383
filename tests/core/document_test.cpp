// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson document: what each command does to the lesson and where it
// leaves the document, "unsaved changes" as the distance from the saved
// state, changes that fail, what the observers are told, and a language
// substitution recorded in both sources' histories.

#include <gtest/gtest.h>

#include <functional>

#include "document/lessoncommands.h"
#include "model/exceptions.h"
#include "operations/combine.h"
#include "operations/entrytable.h"
#include "test_util.h"

namespace vocatrix::test {
namespace {

// The head words of the entries, "-" for an entry without one.
std::string Heads(const TMeanCollection& lesson) {
  std::string out;
  for (int i = 0; i < lesson.EntryCount(); ++i) {
    const std::vector<std::string> words = lesson.At(i)->KindTexts(kSynonyms);
    out += (i ? " " : "") + (words.empty() ? std::string("-") : words.front());
  }
  return out;
}

std::unique_ptr<TMeanCollection> Abc() {
  return MakeLesson("English", "Deutsch",
                    {MakeEntry(1, {"a"}, {"A"}), MakeEntry(0, {"b"}, {"B"}, {"anti"}), MakeEntry(2, {"c"}, {"C"})});
}

struct Recorded : TLessonObserver {
  std::vector<TLessonChange> changes;
  void LessonChanged(const TLessonChange& change) override { changes.push_back(change); }
};

TEST(LessonCommands, EachChangesTheLessonAndLeavesTheDocumentAtItsEntry) {
  struct Case {
    const char* name;
    int at;  // the entry the document is at before
    std::function<void(TLessonDocument&)> run;
    const char* heads;
    int entryAfter;
  };
  const auto cell = [](int entry, int column, const char* text) {
    return [=](TLessonDocument& d) { ASSERT_TRUE(EditCell(d, entry, column, text)); };
  };
  const std::vector<Case> cases = {
      {"insert", 1, InsertEntry, "a - b c", 1},
      {"append", 0, AppendEntry, "a b c -", 3},
      {"delete", 1, DeleteEntry, "a c", 1},
      {"delete the last", 2, DeleteEntry, "a b", 1},
      {"copy", 1, CopyEntry, "a b b c", 1},
      {"mirror entry", 0, MirrorEntry, "A b c", 0},
      {"mirror lesson", 2, MirrorLesson, "A B C", 2},
      {"cell", 0, cell(2, kColumnSynonyms, "x; c"), "a b x", 2},
      {"delete entries", 2, [](TLessonDocument& d) { DeleteEntries(d, {0, 1}); }, "c", 0},
      {"delete every entry", 1, [](TLessonDocument& d) { DeleteEntries(d, {0, 1, 2}); }, "-", 0},
      {"sort", 0, [](TLessonDocument& d) { SortLesson(d, kColumnSynonyms, true); }, "c b a", 2},
      {"sort by form", 1, [](TLessonDocument& d) { SortLesson(d, kColumnForm, false); }, "b a c", 0},
  };
  for (const Case& c : cases) {
    TLessonDocument document(Abc(), TLessonDocument::Origin::kFile);
    document.SetEntry(c.at);
    c.run(document);
    EXPECT_EQ(Heads(document.Lesson()), c.heads) << c.name;
    EXPECT_EQ(document.Entry(), c.entryAfter) << c.name;
    EXPECT_EQ(document.History().Count(), 1u) << c.name;
    ASSERT_TRUE(document.Undo()) << c.name;
    EXPECT_EQ(Heads(document.Lesson()), "a b c") << c.name;
    EXPECT_EQ(document.Entry(), c.at) << c.name;
    EXPECT_FALSE(document.Modified()) << c.name;
  }
}

TEST(LessonCommands, StoreTheControlsAsTheEntriesPageDoes) {
  TLessonDocument document(Abc(), TLessonDocument::Origin::kFile);
  document.SetEntry(1);
  TControlTexts texts;
  texts.Form = 3;
  texts.Lists = {{{"house", "  house \t", "", "home"}, {"Haus"}, {}, {}}};
  StoreControls(document, texts);
  const TMeaning& entry = *document.Lesson().At(1);
  EXPECT_EQ(entry.KindTexts(kSynonyms), (std::vector<std::string>{"house", "home"}));
  EXPECT_EQ(entry.KindTexts(kAntonyms), std::vector<std::string>{});
  EXPECT_EQ(entry.Form, 3);
  // Stored again as it stands: no step; a header edit of the same visit
  // joins the step before.
  StoreControls(document, texts);
  EXPECT_EQ(document.History().Count(), 1u);
  texts.HeaderTexts = TControlTexts::Header{"Title", "", "", "", "English", "Deutsch"};
  StoreControls(document, texts);
  EXPECT_EQ(document.History().Count(), 1u);
  // Another entry visited: a step of its own.
  document.SetEntry(0);
  document.SetEntry(1);
  texts.HeaderTexts->Title = "Other";
  StoreControls(document, texts);
  EXPECT_EQ(document.History().Count(), 2u);
  document.Undo();
  document.Undo();
  EXPECT_EQ(Heads(document.Lesson()), "a b c");
  EXPECT_EQ(document.Lesson().Title, "");
}

TEST(LessonCommands, AFullLessonTakesNoEntryAndARefusedCellChangesNothing) {
  auto lesson = MakeLesson("English", "Deutsch", {});
  for (int i = 0; i < TMeanCollection::kMaxEntries; ++i) lesson->Meanings->Insert(TMeaning::Create());
  TLessonDocument full(std::move(lesson), TLessonDocument::Origin::kFile);
  for (const auto& command : {InsertEntry, AppendEntry, CopyEntry}) EXPECT_THROW(command(full), ELessonTooLarge);
  EXPECT_EQ(full.Lesson().EntryCount(), TMeanCollection::kMaxEntries);
  EXPECT_EQ(full.History().Count(), 0u);

  TLessonDocument document(Abc(), TLessonDocument::Origin::kFile);
  for (const auto& [column, text] : {std::pair{kColumnForm, "noun"}, std::pair{kColumnNumber, "7"}})
    EXPECT_FALSE(EditCell(document, 0, column, text));
  EXPECT_FALSE(EditCell(document, 3, kColumnSynonyms, "x"));
  EXPECT_EQ(document.History().Count(), 0u);
  EXPECT_FALSE(document.Modified());
}

TEST(LessonDocument, UnsavedChangesAreTheDistanceFromTheStateSavedOrOpened) {
  using Origin = TLessonDocument::Origin;
  TControlTexts title;
  title.HeaderTexts = TControlTexts::Header{"Title", "", "", "", "Language 1", "Language 2"};
  TControlTexts untitled = title;
  untitled.HeaderTexts->Title.clear();

  // A new lesson: unmodified until it differs from a new, empty one, also
  // when edits bring it back there.
  TLessonDocument fresh("Language 1", "Language 2");
  EXPECT_FALSE(fresh.Modified());
  fresh.SetEntry(0);
  StoreControls(fresh, untitled);
  EXPECT_FALSE(fresh.Modified());
  StoreControls(fresh, title);
  EXPECT_TRUE(fresh.Modified());
  fresh.SetEntry(0);
  fresh.SetEntry(0);
  CompactLesson(fresh);  // a step apart, not a change
  InsertEntry(fresh);
  DeleteEntry(fresh);
  EXPECT_TRUE(fresh.Modified());
  StoreControls(fresh, untitled);
  EXPECT_FALSE(fresh.Modified());
  // Edits the views hold count too.
  fresh.SetUnstoredEdits(true);
  EXPECT_TRUE(fresh.Modified());
  fresh.SetUnstoredEdits(false);

  // A lesson from its file: browsing marks nothing, undoing to the file's
  // state unmarks, saving moves that state.
  TLessonDocument opened(Abc(), Origin::kFile, "abc.tav");
  for (int entry : {2, 0, 1}) opened.SetEntry(entry);
  EXPECT_FALSE(opened.Modified());
  MirrorEntry(opened);
  EXPECT_TRUE(opened.Modified());
  opened.Undo();
  EXPECT_FALSE(opened.Modified());
  opened.Redo();
  opened.MarkSaved();
  EXPECT_FALSE(opened.Modified());
  opened.Undo();
  EXPECT_TRUE(opened.Modified());

  // An imported or combined lesson is unsaved until it is saved, whatever
  // is undone.
  TLessonDocument imported(Abc(), Origin::kUnsaved);
  EXPECT_TRUE(imported.Modified());
  MirrorLesson(imported);
  imported.Undo();
  EXPECT_TRUE(imported.Modified());
  imported.MarkSaved();
  EXPECT_FALSE(imported.Modified());
  EXPECT_EQ(imported.GetOrigin(), Origin::kFile);
}

TEST(LessonDocument, AChangeThatFailsLeavesTheLessonAndTheHistoryAsTheyWere) {
  TLessonDocument document(Abc(), TLessonDocument::Origin::kFile);
  const TMeaning* first = document.Lesson().At(0).get();
  const std::string before = Heads(document.Lesson());
  // Half done, then an error: an entry changed, one inserted, the header edited.
  EXPECT_THROW(document.Change(TLessonOp::StoreControls,
                               [](TLessonEdit& edit) {
                                 edit.WatchEntry(0);
                                 edit.Lesson().At(0)->SetKindTexts(kSynonyms, {"changed"});
                                 edit.Lesson().Meanings->AtInsert(1, TMeaning::Create());
                                 edit.Lesson().Title = "changed";
                                 throw EListError();
                               }),
               EListError);
  // A new lesson handed over, then an error: the old one stays.
  EXPECT_THROW(document.Change(TLessonOp::CompileText,
                               [](TLessonEdit& edit) {
                                 edit.Replace(TMeanCollection::CreateEmpty());
                                 throw EListError();
                               }),
               EListError);
  EXPECT_EQ(Heads(document.Lesson()), before);
  EXPECT_EQ(document.Lesson().At(0).get(), first);
  EXPECT_EQ(document.Lesson().Title, "");
  EXPECT_EQ(document.History().Count(), 0u);
  EXPECT_FALSE(document.Modified());
}

TEST(LessonDocument, ObserversLearnWhatChanged) {
  auto source = Abc();
  // Entry "a" listed twice: its change is at both places.
  TLessonDocument document(ConcatLessons(source.get(), source.get()), TLessonDocument::Origin::kFile);
  Recorded seen;
  document.AddObserver(&seen);
  using C = TLessonChange;
  struct Case {
    const char* name;
    std::function<void()> run;
    unsigned what;
    std::vector<int> entries;
    int entry;
  };
  TControlTexts header;
  header.HeaderTexts = TControlTexts::Header{"T", "", "", "", "English", "Deutsch"};
  const std::vector<Case> cases = {
      {"browse", [&] { document.SetEntry(4); }, C::kNothing, {}, 4},
      {"mirror entry", [&] { document.SetEntry(3), MirrorEntry(document); }, C::kSomeEntries, {0, 3}, 3},
      {"undo", [&] { document.Undo(); }, C::kSomeEntries, {0, 3}, 3},
      {"header", [&] { StoreControls(document, header); }, C::kHeader, {}, 3},
      {"insert", [&] { InsertEntry(document); }, C::kEntryList, {}, 3},
      {"compile",
       [&] {
         int error = 0;
         TakeCompiledText(document, TMeanCollection::FromLines({"x - y"}, error));
       },
       C::kReplaced | C::kEntryList | C::kHeader, {}, 0},
      {"nothing to sort", [&] { SortLesson(document, kColumnSynonyms, false); }, C::kNothing, {}, 0},
  };
  for (const Case& c : cases) {
    seen.changes.clear();
    c.run();
    ASSERT_EQ(seen.changes.size(), c.name == std::string("mirror entry") ? 2u : 1u) << c.name;
    const TLessonChange& change = seen.changes.back();
    EXPECT_EQ(change.What, c.what) << c.name;
    EXPECT_EQ(change.ChangedEntries, c.entries) << c.name;
    EXPECT_EQ(change.Entry, c.entry) << c.name;
  }
  document.RemoveObserver(&seen);
  seen.changes.clear();
  MirrorLesson(document);
  EXPECT_TRUE(seen.changes.empty());
}

// Reading the text back and sorting, split into a half that only reads the
// document (run by a worker while nothing changes it) and one that takes
// the result: recorded as the whole command records it; a document changed
// in between is recorded anew, and a stale order is refused.
TEST(LessonDocument, CommandsInTwoHalvesRecordAsTheWholeCommands) {
  const auto compiled = [](std::vector<std::string> lines) {
    int error = 0;
    lines.insert(lines.begin(), "Sp: English - Deutsch");
    auto lesson = TMeanCollection::FromLines(lines, error);
    lesson->DblDel();
    return lesson;
  };
  for (const bool changedBetween : {false, true}) {
    SCOPED_TRACE(changedBetween);
    TLessonDocument whole(compiled({"a (s.) - A", "b - B", "c (adj.) - C"}), TLessonDocument::Origin::kFile);
    TLessonDocument halves(compiled({"a (s.) - A", "b - B", "c (adj.) - C"}), TLessonDocument::Origin::kFile);
    const TMeaning* untouched = halves.Lesson().At(2).get();
    const unsigned long revision = halves.Revision();
    TPreparedLesson prepared = PrepareCompiledText(halves, compiled({"a (s.) - A", "x - X", "c (adj.) - C"}));
    EXPECT_EQ(halves.Revision(), revision);
    if (changedBetween) {
      InsertEntry(whole);
      InsertEntry(halves);
    }
    TakeCompiledText(whole, compiled({"a (s.) - A", "x - X", "c (adj.) - C"}));
    TakePreparedText(halves, std::move(prepared));
    EXPECT_GT(halves.Revision(), revision);
    EXPECT_EQ(Heads(halves.Lesson()), "a x c");
    EXPECT_EQ(halves.Entry(), whole.Entry());
    EXPECT_EQ(halves.History().Count(), whole.History().Count());
    EXPECT_EQ(halves.History().Bytes(), whole.History().Bytes());
    // The entry the text left as it was stays the object it was.
    EXPECT_EQ(halves.Lesson().At(2).get(), untouched);
    ASSERT_TRUE(halves.Undo());
    ASSERT_TRUE(whole.Undo());
    EXPECT_EQ(Heads(halves.Lesson()), Heads(whole.Lesson()));
    EXPECT_EQ(halves.Lesson().ToLines(), whole.Lesson().ToLines());
    ASSERT_TRUE(halves.Redo());
    EXPECT_EQ(Heads(halves.Lesson()), "a x c");
  }
  TLessonDocument document(Abc(), TLessonDocument::Origin::kFile);
  document.SetEntry(2);
  const std::vector<int> order = LessonSortOrder(document.Lesson(), kColumnSynonyms, true);
  ReorderLesson(document, order);
  EXPECT_EQ(Heads(document.Lesson()), "c b a");
  EXPECT_EQ(document.Entry(), 0);
  InsertEntry(document);
  EXPECT_THROW(ReorderLesson(document, order), EInvalidOperation);
  EXPECT_EQ(Heads(document.Lesson()), "- c b a");
  EXPECT_TRUE(LessonSortOrder(document.Lesson(), kTableColumns, false).empty());
}

TEST(LessonDocument, ASubstitutionCompactsBothSourcesAsStepsOfTheirHistories) {
  // English-Deutsch with a word twice, Français-Deutsch: joined over Deutsch.
  TLessonDocument english(MakeLesson("English", "Deutsch",
                                     {MakeEntry(1, {"house"}, {"Haus"}), MakeEntry(1, {"home"}, {"Haus"})}),
                          TLessonDocument::Origin::kFile);
  TLessonDocument french(MakeLesson("Fran\xE7" "ais", "Deutsch", {MakeEntry(1, {"maison"}, {"Haus"})}),
                         TLessonDocument::Origin::kFile);
  const auto result = SubstituteLanguages(english, french);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->Language1.Name, "English");
  EXPECT_EQ(result->Language2.Name, "Fran\xE7" "ais");
  EXPECT_EQ(english.Lesson().EntryCount(), 1);
  EXPECT_EQ(english.History().Count(), 1u);
  EXPECT_TRUE(english.Modified());
  EXPECT_EQ(french.History().Count(), 0u);  // nothing to merge
  english.Undo();
  EXPECT_EQ(Heads(english.Lesson()), "house home");
  EXPECT_FALSE(english.Modified());
  // A lesson with itself: one step.
  ASSERT_NE(SubstituteLanguages(english, english), nullptr);
  EXPECT_EQ(english.History().Position(), 1u);
}

}  // namespace
}  // namespace vocatrix::test
