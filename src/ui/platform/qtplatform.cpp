// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/platform/qtplatform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "ui/dialogs/fontdialog.h"
#include "ui/dialogs/helpwindow.h"
#include "ui/language/multilanguage.h"
#include "base/messages.h"
#include "ui/platform/fileaccess.h"
#include "ui/common/qtstrings.h"

namespace vocatrix::ui {
namespace {

// A file dialog that asks before it closes on a name: a save dialog refuses
// a read-only file before anything else is asked, and asks before it
// replaces an existing file; its boxes stand over the dialog, which stays.
class CheckedFileDialog : public QFileDialog {
 public:
  CheckedFileDialog(QWidget* parent, const QString& title, const FileDialogRequest& request)
      : QFileDialog(parent, title), request_(request) {}

  void accept() override {
    const QStringList files = selectedFiles();
    if (acceptMode() == AcceptSave && !files.isEmpty() && !QFileInfo(files.first()).isDir() && !MayTake(files.first()))
      return;
    QFileDialog::accept();
  }

 private:
  bool MayTake(const QString& chosen) {
    const QString name = QFileInfo(chosen).fileName();
    switch (CheckSaveTarget(request_, chosen)) {
      case SaveTargetCheck::RefuseReadOnly:
        QMessageBox::warning(this, QApplication::applicationDisplayName(),
                             Utf8ToQString(ReadOnlyMessage(name.toStdString())));
        return false;
      case SaveTargetCheck::AskReplace:
        return QMessageBox::question(this, QApplication::applicationDisplayName(),
                                     Utf8ToQString(TranslateMessage("ReplaceFile",
                                                                    "%s already exists.\nDo you want to replace it?",
                                                                    {name.toStdString()})),
                                     QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
      case SaveTargetCheck::Accept: break;
    }
    return true;
  }

  const FileDialogRequest& request_;
};

std::optional<QString> RunFileDialog(QWidget* parent, const FileDialogRequest& request, bool save) {
  CheckedFileDialog dialog(parent, request.Title, request);
  const QStringList filters = QtNameFilters(request.Filter);
  dialog.setNameFilters(filters);
  if (request.FilterIndex >= 1 && request.FilterIndex <= filters.size())
    dialog.selectNameFilter(filters[request.FilterIndex - 1]);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile
                          : request.MultiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  // The dialog's own replace question would come before the read-only check.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (!request.DefaultExtension.isEmpty()) {
    // The extension follows the chosen filter, starting with the default one.
    const QString initial = FilterExtension(request.Filter, request.FilterIndex);
    dialog.setDefaultSuffix(initial.isEmpty() ? request.DefaultExtension : initial);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& selected) {
      const QString ext = FilterExtension(request.Filter, static_cast<int>(filters.indexOf(selected)) + 1);
      dialog.setDefaultSuffix(ext.isEmpty() ? request.DefaultExtension : ext);
    });
  }
  if (!request.Folder.isEmpty()) dialog.setDirectory(request.Folder);
  if (!request.FileName.isEmpty()) {
    const QFileInfo info(request.FileName);
    if (!info.path().isEmpty() && info.path() != ".") dialog.setDirectory(info.path());
    dialog.selectFile(info.fileName());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

}  // namespace

MessageAnswer QtDialogs::Message(QWidget* parent, MessageKind kind, MessageButtons buttons, const QString& text) {
  QMessageBox box(parent);
  box.setWindowTitle(QApplication::applicationDisplayName());
  box.setText(text);
  switch (kind) {
    case MessageKind::Error: box.setIcon(QMessageBox::Critical); break;
    case MessageKind::Confirmation: box.setIcon(QMessageBox::Question); break;
    case MessageKind::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageKind::Information: box.setIcon(QMessageBox::Information); break;
  }
  switch (buttons) {
    case MessageButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case MessageButtons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      box.setEscapeButton(QMessageBox::Cancel);
      break;
    case MessageButtons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setEscapeButton(QMessageBox::No);
      break;
    case MessageButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box.setEscapeButton(QMessageBox::Cancel);
      break;
  }
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  switch (clicked ? box.standardButton(clicked) : QMessageBox::NoButton) {
    case QMessageBox::Ok: return MessageAnswer::Ok;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    default: return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
  }
}

std::optional<QString> QtDialogs::OpenFileName(QWidget* parent, const FileDialogRequest& request) {
  return RunFileDialog(parent, request, false);
}

std::optional<QString> QtDialogs::SaveFileName(QWidget* parent, const FileDialogRequest& request) {
  return RunFileDialog(parent, request, true);
}

std::optional<QString> QtDialogs::FolderName(QWidget* parent, const QString& title, const QString& folder) {
  QFileDialog dialog(parent, title, folder);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

bool QtDialogs::ChooseFont(QWidget* parent, TFont& font) {
  TFontDialog dialog(font, parent);
  TranslateForm(&dialog);
  if (dialog.exec() != QDialog::Accepted) return false;
  font = dialog.Font();
  return true;
}

bool QtDialogs::PrintersInstalled() { return !QPrinterInfo::availablePrinters().isEmpty(); }

bool QtDialogs::ChoosePrinter(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  // Printing to a PDF file stays possible, also without any printer.
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize |
                    QAbstractPrintDialog::PrintPageRange);
  return dialog.exec() == QDialog::Accepted;
}

int QtDialogs::Exec(QDialog& dialog) {
  // Modal to the window it stands over, not to the whole program: the help
  // window, which its Help button opens, must stay usable beside it.
  if (dialog.parentWidget()) dialog.setWindowModality(Qt::WindowModal);
  return dialog.exec();
}

bool QtDialogs::PrinterSetup(QWidget* parent, QPrinter& printer) {
  QPageSetupDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

QtSound::QtSound() = default;
QtSound::~QtSound() = default;

void QtSound::Beep() { QApplication::beep(); }

bool QtSound::HasOutputDevice() { return !QMediaDevices::audioOutputs().isEmpty(); }

bool QtSound::PlayWave(const QString& path, int flags) {
  if (!effect_) effect_ = std::make_unique<QSoundEffect>();
  if ((flags & 16) && effect_->isPlaying()) return false;
  if (!HasOutputDevice()) return false;
  effect_->setSource(QUrl::fromLocalFile(path));
  // The effect loads in the background: wait (briefly) to learn whether the
  // file can be played at all.
  QElapsedTimer waited;
  waited.start();
  while (effect_->status() == QSoundEffect::Loading && waited.elapsed() < 2000)
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
  if (effect_->status() != QSoundEffect::Ready) return false;
  effect_->play();
  if (!(flags & 1))
    while (effect_->isPlaying()) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
  return true;
}

QtHelpViewer::~QtHelpViewer() { delete window_; }

void QtHelpViewer::ShowTopic(QWidget* parent, const QString& helpFile, const QString& topic) {
  auto* window = qobject_cast<THelpWindow*>(window_);
  if (!window) {
    // A window of its own beside the editor, not a child of it.
    window = new THelpWindow(nullptr);
    window_ = window;
    TranslateForm(window);
    if (parent) window->move(parent->window()->geometry().center() - window->rect().center());
  }
  window->ShowTopic(helpFile, topic);
  window->show();
  window->raise();
  window->activateWindow();
}

void QtHelpViewer::Close() {
  if (window_) window_->close();
}

void QtHelpViewer::FollowLanguage(const QString& helpFile) {
  auto* window = qobject_cast<THelpWindow*>(window_);
  if (!window) return;
  const QString topic = window->Browser->source().fragment();
  window->ShowTopic(helpFile, topic.isEmpty() ? QString("hc_Contents") : topic);
}

bool QtWebPages::Open(const QUrl& address) { return QDesktopServices::openUrl(address); }

bool QtFontRegistry::AddFontFile(const QString& path) {
  const int id = QFontDatabase::addApplicationFont(path);
  if (id < 0) return false;
  ids_.insert(path, id);
  return true;
}

void QtFontRegistry::RemoveFontFile(const QString& path) {
  const auto it = ids_.find(path);
  if (it == ids_.end()) return;
  QFontDatabase::removeApplicationFont(it.value());
  ids_.erase(it);
}

}  // namespace vocatrix::ui
