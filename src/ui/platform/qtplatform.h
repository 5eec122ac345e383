// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Qt implementations of the platform interfaces.

#include <QMap>
#include <memory>
#include <QPointer>
#include <QWidget>

#include "ui/platform/platform.h"

class QSoundEffect;

namespace vocatrix::ui {

class QtDialogs : public Dialogs {
 public:
  MessageAnswer Message(QWidget* parent, MessageKind kind, MessageButtons buttons, const QString& text) override;
  std::optional<QString> OpenFileName(QWidget* parent, const FileDialogRequest& request) override;
  std::optional<QString> SaveFileName(QWidget* parent, const FileDialogRequest& request) override;
  std::optional<QString> FolderName(QWidget* parent, const QString& title, const QString& folder) override;
  bool ChooseFont(QWidget* parent, TFont& font) override;
  bool PrintersInstalled() override;
  bool ChoosePrinter(QWidget* parent, QPrinter& printer) override;
  int Exec(QDialog& dialog) override;
  bool PrinterSetup(QWidget* parent, QPrinter& printer) override;
};

class QtSound : public Sound {
 public:
  QtSound();
  ~QtSound() override;
  void Beep() override;
  bool PlayWave(const QString& path, int flags) override;
  bool HasOutputDevice() override;

 private:
  std::unique_ptr<QSoundEffect> effect_;
};

class QtFontRegistry : public FontRegistry {
 public:
  bool AddFontFile(const QString& path) override;
  void RemoveFontFile(const QString& path) override;

 private:
  QMap<QString, int> ids_;
};

// The help window of the program: one, reused for every topic.
class QtHelpViewer : public HelpViewer {
 public:
  ~QtHelpViewer() override;
  void ShowTopic(QWidget* parent, const QString& helpFile, const QString& topic) override;
  void Close() override;
  void FollowLanguage(const QString& helpFile) override;

 private:
  QPointer<QWidget> window_;
};

class QtWebPages : public WebPages {
 public:
  bool Open(const QUrl& address) override;
};

// All of them together, for the program.
class QtPlatform {
 public:
  QtPlatform() : platform_{dialogs_, sound_, fonts_, help_, web_} {}
  Platform& Get() { return platform_; }

 private:
  QtDialogs dialogs_;
  QtSound sound_;
  QtFontRegistry fonts_;
  QtHelpViewer help_;
  QtWebPages web_;
  Platform platform_;
};

}  // namespace vocatrix::ui
