// SPDX-License-Identifier: GPL-3.0-or-later
// The undo history: every command of the editor taken back and done again,
// the place of the saved state, joining the edits of one visit, and the bounds.

#include <gtest/gtest.h>

#include <functional>

#include "test_util.h"
#include "document/history.h"
#include "document/lessoncommands.h"
#include "operations/entrytable.h"

namespace vocatrix::test {
namespace {

// Everything a user can see of a lesson, in one string.
std::string Dump(const TMeanCollection& lesson) {
  std::string out = lesson.Title + "|" + lesson.Language1.Name + "-" + lesson.Language2.Name + "|" +
                    lesson.Language1.Font.Name + "-" + lesson.Language2.Font.Name + "\n";
  for (const MeaningPtr& entry : *lesson.Meanings) {
    out += std::to_string(entry->Form);
    for (int kind : {kSynonyms, kTranslations, kAntonyms, kAntonymTranslations}) {
      out += " [";
      for (const PWord& word : entry->ListOfKind(kind)) {
        out += word->Text() + ",";
        // Every word links back to the entry that holds it.
        EXPECT_EQ(word->Meaning(), entry.get()) << word->Text();
      }
      out += "]";
    }
    out += "\n";
  }
  return out;
}

std::unique_ptr<TMeanCollection> Sample() {
  auto lesson = MakeLesson("English", "Deutsch",
                           {MakeEntry(1, {"house", "home"}, {"Haus"}, {"hut"}, {"Hütte"}), MakeEntry(0, {"go"}, {"gehen"}),
                            MakeEntry(1, {"bank"}, {"Bank"}), MakeEntry(1, {"home"}, {"Heim"}), MakeEntry(2, {"big"})});
  lesson->Title = "Basics";
  return lesson;
}

struct Command {
  const char* name;
  std::function<void(TLessonDocument&)> run;
};

// Every command the editor runs on a lesson, as it runs it.
const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"store the controls",
       [](TLessonDocument& document) {
         document.SetEntry(1);
         TControlTexts texts;
         const TMeanCollection& lesson = document.Lesson();
         texts.HeaderTexts = TControlTexts::Header{lesson.Title + " 2", lesson.Topic, lesson.Author, lesson.Picture,
                                                   lesson.Language1.Name, lesson.Language2.Name};
         texts.Form = 3;
         texts.Lists = {{{"go", " go "}, {"gehen", "", "laufen"}, {}, {}}};
         StoreControls(document, texts);
       }},
      {"insert", [](TLessonDocument& document) { document.SetEntry(2), InsertEntry(document); }},
      {"append", [](TLessonDocument& document) { AppendEntry(document); }},
      {"delete", [](TLessonDocument& document) { document.SetEntry(0), DeleteEntry(document); }},
      {"mirror entry", [](TLessonDocument& document) { document.SetEntry(0), MirrorEntry(document); }},
      {"copy entry", [](TLessonDocument& document) { document.SetEntry(0), CopyEntry(document); }},
      {"compact", [](TLessonDocument& document) { CompactLesson(document); }},
      {"mirror lesson", [](TLessonDocument& document) { MirrorLesson(document); }},
      {"font",
       [](TLessonDocument& document) {
         TFont font = document.Lesson().Language2.Font;
         font.Name = font.Name == "Courier New" ? "Times New Roman" : "Courier New";
         SetLanguageFont(document, 2, font);
       }},
      {"edit a cell", [](TLessonDocument& document) { EditCell(document, 1, kColumnAntonyms, "x; y"); }},
      {"sort the lesson",
       [](TLessonDocument& document) {
         // Each time the other way round.
         static bool descending = false;
         descending = !descending;
         SortLesson(document, kColumnSynonyms, descending);
       }},
      {"delete entries", [](TLessonDocument& document) { DeleteEntries(document, {0, 2}); }},
      {"move an entry that changes",
       [](TLessonDocument& document) {
         document.Change(TLessonOp::StoreControls, [](TLessonEdit& edit) {
           edit.WatchEntry(0);
           MeaningPtr moved = edit.Lesson().At(0);
           edit.Lesson().Meanings->AtDelete(0);
           moved->SetKindTexts(kAntonyms, {"moved"});
           edit.Lesson().Meanings->Insert(moved);
         });
       }},
      {"compile text",
       [](TLessonDocument& document) {
         std::vector<std::string> lines = document.Lesson().ToLines();
         lines.push_back("new - neu");
         int error = 0;
         auto compiled = TMeanCollection::FromLines(lines, error);
         compiled->DblDel();
         TakeCompiledText(document, std::move(compiled));
       }},
  };
  return commands;
}

TEST(LessonHistory, EveryCommandIsTakenBackAndDoneAgainInAnyOrder) {
  TLessonDocument document(Sample(), TLessonDocument::Origin::kFile);
  std::vector<std::string> states{Dump(document.Lesson())};
  // Twice through the commands, so each also runs on the others' results.
  for (int round = 0; round < 2; ++round) {
    for (const Command& command : Commands()) {
      const std::size_t steps = document.History().Position();
      command.run(document);
      ASSERT_EQ(document.History().Position(), steps + 1) << command.name;
      states.push_back(Dump(document.Lesson()));
      ASSERT_NE(states.back(), states[states.size() - 2]) << command.name;
      EXPECT_TRUE(document.Modified()) << command.name;
    }
  }
  // All the way back, all the way forward, and back again.
  for (std::size_t i = states.size() - 1; i > 0; --i) {
    ASSERT_TRUE(document.Undo());
    ASSERT_EQ(Dump(document.Lesson()), states[i - 1]) << "undo to state " << i - 1;
  }
  EXPECT_FALSE(document.Undo());
  EXPECT_FALSE(document.Modified());
  for (std::size_t i = 1; i < states.size(); ++i) {
    ASSERT_TRUE(document.Redo());
    ASSERT_EQ(Dump(document.Lesson()), states[i]) << "redo to state " << i;
    EXPECT_TRUE(document.Modified());
  }
  EXPECT_FALSE(document.Redo());
  while (document.Undo()) {
  }
  EXPECT_EQ(Dump(document.Lesson()), states[0]);
}

TEST(LessonHistory, EveryHeaderFieldIsTakenBack) {
  const std::function<void(TMeanCollection&)> edits[] = {
      [](TMeanCollection& l) { l.Topic = "t"; },
      [](TMeanCollection& l) { l.Author = "a"; },
      [](TMeanCollection& l) { l.Picture = "p.bmp"; },
      [](TMeanCollection& l) { l.Language1.Name = "Englisch"; },
      [](TMeanCollection& l) { l.Language2.Font.Italic = true; },
      [](TMeanCollection& l) { l.Language1.WordForms.Names.push_back("n."); },
      [](TMeanCollection& l) { l.Language2.WordForms.Setting2 = false; },
      [](TMeanCollection& l) { l.Language1.Articles.Setting = true; },
  };
  for (const auto& edit : edits) {
    auto lesson = Sample();
    const TLessonHeader before = *lesson;
    TLessonRecorder recorder(*lesson, 0);
    edit(*lesson);
    const TLessonHeader after = *lesson;
    ASSERT_FALSE(after == before);
    const TLessonStep step = recorder.Finish(*lesson, 0);
    step.Undo(*lesson);
    EXPECT_TRUE(static_cast<const TLessonHeader&>(*lesson) == before);
    step.Redo(*lesson);
    EXPECT_TRUE(static_cast<const TLessonHeader&>(*lesson) == after);
  }
}

TEST(LessonHistory, StepsKeepOnlyWhatChanged) {
  // A large lesson: a text compiled with one line changed, a compaction that
  // merges two entries far apart, and commands that change nothing.
  auto lesson = MakeLesson("a", "b", {});
  for (int i = 0; i < 5000; ++i) lesson->Meanings->Insert(MakeEntry(1, {"w" + std::to_string(i)}, {"t" + std::to_string(i)}));
  std::vector<std::string> lines = lesson->ToLines();

  const auto compile = [&](const std::vector<std::string>& text) {
    TLessonRecorder recorder(*lesson, 0);
    recorder.SetReplaced();
    int error = 0;
    auto compiled = TMeanCollection::FromLines(text, error);
    compiled->DblDel();
    TLessonStep step = recorder.Finish(*compiled, 0);
    lesson = std::move(compiled);
    return step;
  };
  // The first compilation gives the words the form remarks of the text;
  // compiling the same text again changes nothing.
  EXPECT_EQ(compile(lines).Removed.size(), 5000u);
  EXPECT_TRUE(compile(lines).Empty());
  const std::string before = Dump(*lesson);
  std::vector<std::string> edited = lines;
  for (std::string& line : edited)
    if (line.rfind("w2500", 0) == 0) line = "changed - t2500";
  TLessonStep step = compile(edited);
  EXPECT_EQ(step.Removed.size(), 1u);
  EXPECT_EQ(step.Inserted.size(), 1u);
  step.Undo(*lesson);
  EXPECT_EQ(Dump(*lesson), before);
  step.Redo(*lesson);

  lesson->At(4000)->SetKindTexts(kSynonyms, {"w10"});
  TLessonRecorder recorder(*lesson, 0);
  recorder.WatchAllEntries();
  lesson->DblDel();
  step = recorder.Finish(*lesson, 0);
  EXPECT_EQ(step.Removed.size(), 1u);
  EXPECT_EQ(step.Inserted.size(), 0u);
  ASSERT_EQ(step.ChangedEntries.size(), 1u);
  EXPECT_EQ(step.ChangedEntries[0].Entry, lesson->At(10));
  EXPECT_LT(step.Bytes(), 5000u);

  TLessonRecorder nothing(*lesson, 3);
  nothing.WatchAllEntries();
  lesson->DblDel();
  EXPECT_TRUE(nothing.Finish(*lesson, 3).Empty());
}

TEST(LessonHistory, SavedPlaceJoinedEditsAndBounds) {
  auto lesson = Sample();
  TLessonHistory history;
  history.Reset(true);
  const std::string original = Dump(*lesson);
  const auto edit = [&](const std::string& title, long visit) {
    TLessonRecorder recorder(*lesson, 0);
    lesson->Title = title;
    TLessonStep step = recorder.Finish(*lesson, 0);
    step.ControlsEdit = true;
    step.Visit = visit;
    return history.Push(std::move(step));
  };
  // Edits of one visit are one step; typed back to what it was, no step.
  edit("a", 1);
  edit("b", 1);
  EXPECT_EQ(history.Count(), 1u);
  edit("Basics", 1);
  EXPECT_EQ(history.Count(), 0u);
  EXPECT_TRUE(history.AtSaved());
  edit("a", 1);
  edit("b", 2);
  EXPECT_EQ(history.Count(), 2u);
  // Saved: later edits of the same visit do not join the saved state.
  history.MarkSaved();
  edit("c", 2);
  EXPECT_EQ(history.Count(), 3u);
  history.Undo(*lesson);
  EXPECT_TRUE(history.AtSaved());
  EXPECT_EQ(lesson->Title, "b");
  history.Undo(*lesson);
  history.Undo(*lesson);
  EXPECT_EQ(Dump(*lesson), original);
  EXPECT_FALSE(history.AtSaved());
  // A new command after undoing past the saved state: it can never be reached again.
  edit("d", 3);
  EXPECT_FALSE(history.CanRedo());
  history.Undo(*lesson);
  EXPECT_FALSE(history.AtSaved());

  // Bounded: the oldest steps go, the saved place with them.
  history.Reset(true);
  for (std::size_t i = 0; i < TLessonHistory::kMaxSteps + 5; ++i) edit("t" + std::to_string(i), static_cast<long>(i));
  EXPECT_EQ(history.Count(), TLessonHistory::kMaxSteps);
  while (history.Undo(*lesson)) {
  }
  EXPECT_EQ(lesson->Title, "t4");
  EXPECT_FALSE(history.AtSaved());
}

}  // namespace
}  // namespace vocatrix::test
