// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/recovery/autosave.h"

#include <algorithm>

#include <QMdiArea>
#include <QMdiSubWindow>

#include "base/inifile.h"
#include "base/messages.h"
#include "base/settings.h"
#include "ui/mainwindow/childform.h"
#include "ui/mainwindow/mainform.h"
#include "ui/common/qtstrings.h"
#include "ui/recovery/recoverydlg.h"

namespace vocatrix::ui {
namespace {

// A day at most; anything that is no number keeps the default.
int ReadSeconds() {
  const std::string value =
      IniFile(ProgramSettingsFile()).ReadString("Options", "AutosaveSeconds", std::to_string(TAutosave::kDefaultSeconds));
  try {
    std::size_t used = 0;
    const long seconds = std::stol(value, &used);
    if (used != value.size()) return TAutosave::kDefaultSeconds;
    return static_cast<int>(std::clamp(seconds, 0L, 86400L));
  } catch (const std::exception&) {
    return TAutosave::kDefaultSeconds;
  }
}

}  // namespace

TAutosave::TAutosave(MainForm* main)
    : QObject(main), main_(main), seconds_(ReadSeconds()), store_(std::make_unique<TRecoveryStore>(RecoveryFolder())) {
  connect(&timer_, &QTimer::timeout, this, &TAutosave::SaveNow);
  if (seconds_ > 0) timer_.start(seconds_ * 1000);
}

TAutosave::~TAutosave() = default;

void TAutosave::SaveNow() {
  ReportError();
  std::set<int> open;
  for (QMdiSubWindow* window : main_->ClientArea()->subWindowList()) {
    auto* form = qobject_cast<TChildForm*>(window);
    if (!form) continue;
    const int slot = form->RecoverySlot();
    open.insert(slot);
    std::optional<TRecoveryImage> image;
    try {
      image = form->RecoveryImage();
    } catch (const std::exception& e) {
      // A window that cannot be taken now is tried again next time.
      qWarning("autosave: %s", e.what());
      continue;
    }
    if (image) {
      TRecoveryStore::Completion complete;
      if (image->Text) {
        // A copy of a QString shares its characters and may be read on
        // another thread; its UTF-8 is made there.
        const bool isData = image->Note.Kind == TRecoveryNote::kTextWindow;
        complete = [text = *image->Text, isData](std::string& data, TRecoveryNote& note) {
          (isData ? data : note.PageText.emplace()) = text.toStdString();
        };
      }
      store_->Write(slot, image->Extension, std::move(image->Data), std::move(image->Note), std::move(complete));
      written_.insert(slot);
    } else if (written_.erase(slot)) {
      store_->Remove(slot);
    }
  }
  // Windows gone without a word (none should be) leave nothing behind.
  for (auto it = written_.begin(); it != written_.end();) {
    if (open.count(*it)) {
      ++it;
      continue;
    }
    store_->Remove(*it);
    it = written_.erase(it);
  }
}

void TAutosave::Forget(const TChildForm* form) {
  if (written_.erase(form->RecoverySlot())) store_->Remove(form->RecoverySlot());
}

void TAutosave::ForgetAll() {
  for (const int slot : written_) store_->Remove(slot);
  written_.clear();
  timer_.stop();
}

void TAutosave::Flush() { store_->Flush(); }

void TAutosave::ReportError() {
  const std::optional<std::string> error = store_->TakeError();
  if (!error || errorReported_) return;
  errorReported_ = true;
  main_->SetStatus(kStatusIdle, Utf8ToQString(TranslateMessage("ErrRecoveryWrite",
                                                               "Unsaved work cannot be kept for recovery: %s",
                                                               {*error})));
}

void TAutosave::OfferRecovery() {
  // What programs that no longer run left half written goes first.
  store_->Sweep();
  std::vector<TLeftRecovery> found = store_->FindLeftOver();
  if (found.empty()) return;
  TRecoveryDlg dialog(main_, found);
  int answer = TRecoveryDlg::kLater;
  std::vector<bool> ticked;
  for (;;) {
    answer = main_->Services().dialogs.Exec(dialog);
    ticked = dialog.Ticked();
    if (answer != TRecoveryDlg::kDiscard) break;
    // Discarding cannot be taken back: asked first; No shows the list again.
    const long count = std::count(ticked.begin(), ticked.end(), true);
    const QString question = Utf8ToQString(TranslateMessage(
        "RecoveryDiscardAsk", "Discard the unsaved work of %s windows for good?", {std::to_string(count)}));
    if (count == 0 || main_->Services().dialogs.Message(main_, MessageKind::Confirmation, MessageButtons::YesNo,
                                                         question) == MessageAnswer::Yes)
      break;
  }
  if (answer == TRecoveryDlg::kLater) return;
  // Damaged notes were listed once; whichever way the user went, they go.
  std::vector<const TLeftRecovery*> done;
  for (std::size_t i = 0; i < found.size(); ++i)
    if (!found[i].Error.empty()) store_->Discard(found[i]);
  if (answer == TRecoveryDlg::kDiscard) {
    for (std::size_t i = 0; i < found.size(); ++i)
      if (ticked[i] && found[i].Error.empty()) store_->Discard(found[i]);
    return;
  }
  for (std::size_t i = 0; i < found.size(); ++i) {
    if (!ticked[i] || !found[i].Error.empty()) continue;
    try {
      main_->RestoreWindow(found[i]);
      done.push_back(&found[i]);
    } catch (const std::exception& e) {
      // Kept for another try; Discard at the next start removes it.
      main_->Services().dialogs.ShowError(
          main_, Utf8ToQString(TranslateMessage("ErrRecoveryRead", "'%s' cannot be restored: %s",
                                                {found[i].NoteFile, e.what()})));
    }
  }
  // The restored windows are this program's unsaved work now: on disk
  // under its name before the left-over files go. Windows left unticked
  // are offered again at the next start.
  SaveNow();
  Flush();
  for (const TLeftRecovery* recovery : done) store_->Discard(*recovery);
}

}  // namespace vocatrix::ui
