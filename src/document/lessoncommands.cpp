// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/lessoncommands.h"

#include <algorithm>

#include "model/exceptions.h"
#include "operations/combine.h"
#include "operations/entrytable.h"

namespace vocatrix {
namespace {

constexpr int kKinds[] = {kSynonyms, kTranslations, kAntonyms, kAntonymTranslations};

void RequireRoom(const TLessonDocument& document) {
  if (document.Full())
    throw ELessonTooLarge::ForEntries(document.Lesson().EntryCount() + 1, TMeanCollection::kMaxEntries);
}

// Raised inside a change to give it up: the document takes back what it did.
struct Refused {};

}  // namespace

TLessonChange StoreControls(TLessonDocument& document, const TControlTexts& texts) {
  return document.Change(TLessonOp::StoreControls, [&texts](TLessonEdit& edit) {
    TMeanCollection& lesson = edit.Lesson();
    if (const auto& header = texts.HeaderTexts) {
      lesson.Title = header->Title;
      lesson.Topic = header->Topic;
      lesson.Author = header->Author;
      lesson.Picture = header->Picture;
      lesson.Language1.Name = header->Language1;
      lesson.Language2.Name = header->Language2;
    }
    edit.WatchEntry(edit.Entry());
    TMeaning& entry = *lesson.At(edit.Entry());
    if (texts.Form >= 0) entry.Form = static_cast<std::uint8_t>(texts.Form);
    if (texts.Lists)
      for (int kind : kKinds) entry.SetKindTexts(kind, (*texts.Lists)[static_cast<std::size_t>(kind)]);
  });
}

TLessonChange InsertEntry(TLessonDocument& document) {
  RequireRoom(document);
  return document.Change(TLessonOp::InsertEntry, [](TLessonEdit& edit) {
    edit.Lesson().Meanings->AtInsert(edit.Entry(), TMeaning::Create());
  });
}

TLessonChange AppendEntry(TLessonDocument& document) {
  RequireRoom(document);
  return document.Change(TLessonOp::AppendEntry, [](TLessonEdit& edit) {
    edit.Lesson().Meanings->Insert(TMeaning::Create());
    edit.SetEntry(edit.Lesson().EntryCount() - 1);
  });
}

TLessonChange DeleteEntry(TLessonDocument& document) {
  return document.Change(TLessonOp::DeleteEntry, [](TLessonEdit& edit) {
    TMeanCollection& lesson = edit.Lesson();
    lesson.Meanings->AtDelete(edit.Entry());
    if (edit.Entry() < lesson.EntryCount()) return;
    // The last entry went: the one before is shown, or a blank one takes
    // the place of the only one.
    if (lesson.EnsureEntry()) edit.SetEntry(0);
    else edit.SetEntry(edit.Entry() - 1);
  });
}

TLessonChange CopyEntry(TLessonDocument& document) {
  RequireRoom(document);
  return document.Change(TLessonOp::CopyEntry, [](TLessonEdit& edit) {
    TMeanCollection& lesson = edit.Lesson();
    const MeaningPtr source = lesson.At(edit.Entry());
    // The copy stands in front of its source and is shown.
    MeaningPtr copy = TMeaning::Create();
    for (int kind : kKinds) copy->SetKindTexts(kind, source->KindTexts(kind));
    copy->Form = source->Form;
    lesson.Meanings->AtInsert(edit.Entry(), std::move(copy));
  });
}

TLessonChange MirrorEntry(TLessonDocument& document) {
  return document.Change(TLessonOp::MirrorEntry, [](TLessonEdit& edit) {
    edit.WatchEntry(edit.Entry());
    edit.Lesson().At(edit.Entry())->MirrorEntry();
  });
}

TLessonChange CompactLesson(TLessonDocument& document) {
  return document.Change(TLessonOp::Compact, [](TLessonEdit& edit) {
    edit.WatchAllEntries();
    edit.Lesson().DblDel();
  });
}

TLessonChange MirrorLesson(TLessonDocument& document) {
  return document.Change(TLessonOp::Mirror, [](TLessonEdit& edit) {
    edit.SetMirrored();
    edit.Lesson().Mirror();
  });
}

std::optional<TLessonChange> EditCell(TLessonDocument& document, int entry, int column, const std::string& text,
                                      const TFormNames& forms) {
  if (entry < 0 || entry >= document.Lesson().EntryCount()) return std::nullopt;
  try {
    return document.Change(TLessonOp::EditCell, [&](TLessonEdit& edit) {
      edit.SetEntry(entry);
      edit.WatchEntry(entry);
      if (!SetCellText(*edit.Lesson().At(entry), column, text, forms)) throw Refused();
    });
  } catch (const Refused&) {
    return std::nullopt;
  }
}

TLessonChange DeleteEntries(TLessonDocument& document, const std::vector<int>& entries) {
  return document.Change(TLessonOp::DeleteEntries, [&entries](TLessonEdit& edit) {
    TMeanCollection& lesson = edit.Lesson();
    // One pass over the lesson: every kept entry object in its order.
    std::vector<MeaningPtr> kept;
    kept.reserve(static_cast<std::size_t>(lesson.EntryCount()));
    auto next = entries.begin();
    for (int index = 0; index < lesson.EntryCount(); ++index) {
      if (next != entries.end() && *next == index) ++next;
      else kept.push_back(lesson.At(index));
    }
    lesson.Meanings->SwapItems(kept);
    // As when the Entries page deletes its last entry: a blank one takes its place.
    lesson.EnsureEntry();
    if (!entries.empty()) edit.SetEntry(std::min(entries.front(), lesson.EntryCount() - 1));
  });
}

std::vector<int> LessonSortOrder(const TMeanCollection& lesson, int column, bool descending) {
  if (column < 0 || column >= kTableColumns) return {};
  TEntryTable table(&lesson);
  table.Sort(column, descending);
  return table.SortedOrder();
}

TLessonChange SortLesson(TLessonDocument& document, int column, bool descending) {
  return ReorderLesson(document, LessonSortOrder(document.Lesson(), column, descending));
}

TLessonChange ReorderLesson(TLessonDocument& document, const std::vector<int>& order) {
  return document.Change(TLessonOp::SortLesson, [&order](TLessonEdit& edit) {
    TMeanCollection& lesson = edit.Lesson();
    if (order.empty()) return;
    ReorderEntries(lesson, order);
    // The document stays at the entry it was at, in its new place.
    edit.SetEntry(static_cast<int>(std::find(order.begin(), order.end(), edit.Entry()) - order.begin()));
  });
}

TLessonChange TakeCompiledText(TLessonDocument& document, std::unique_ptr<TMeanCollection> compiled) {
  if (compiled->EntryCount() > TMeanCollection::kMaxEntries)
    throw ELessonTooLarge::ForEntries(compiled->EntryCount(), TMeanCollection::kMaxEntries);
  compiled->LessonFileName = document.Lesson().LessonFileName;
  // A text without entries gives one blank entry.
  compiled->EnsureEntry();
  return document.Change(TLessonOp::CompileText, [&compiled](TLessonEdit& edit) {
    edit.Replace(std::move(compiled));
    edit.SetEntry(0);
  });
}

TPreparedLesson PrepareCompiledText(const TLessonDocument& document, std::unique_ptr<TMeanCollection> compiled) {
  if (compiled->EntryCount() > TMeanCollection::kMaxEntries)
    throw ELessonTooLarge::ForEntries(compiled->EntryCount(), TMeanCollection::kMaxEntries);
  compiled->LessonFileName = document.Lesson().LessonFileName;
  compiled->EnsureEntry();
  return document.PrepareReplacement(std::move(compiled), 0);
}

TLessonChange TakePreparedText(TLessonDocument& document, TPreparedLesson prepared) {
  return document.TakePrepared(TLessonOp::CompileText, std::move(prepared));
}

TLessonChange SetLanguageFont(TLessonDocument& document, int language, const TFont& font) {
  return document.Change(TLessonOp::SetFont, [language, &font](TLessonEdit& edit) {
    (language == 1 ? edit.Lesson().Language1 : edit.Lesson().Language2).Font = font;
  });
}

std::unique_ptr<TMeanCollection> SubstituteLanguages(TLessonDocument& a, TLessonDocument& b) {
  std::unique_ptr<TMeanCollection> result;
  a.Change(TLessonOp::Combine, [&](TLessonEdit& first) {
    first.WatchAllEntries();
    if (&a == &b) {
      result = SubstituteLanguage(&first.Lesson(), &first.Lesson());
      return;
    }
    b.Change(TLessonOp::Combine, [&](TLessonEdit& second) {
      second.WatchAllEntries();
      result = SubstituteLanguage(&first.Lesson(), &second.Lesson());
    });
  });
  return result;
}

}  // namespace vocatrix
