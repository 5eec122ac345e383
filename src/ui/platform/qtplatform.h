#pragma once
// The Qt implementations of the platform interfaces.

#include <QMap>

#include "ui/platform/platform.h"

namespace vocatrix::ui {

class QtDialogs : public Dialogs {
 public:
  MessageAnswer Message(QWidget* parent, MessageKind kind, MessageButtons buttons, const QString& text) override;
  std::optional<QString> OpenFileName(QWidget* parent, const FileDialogRequest& request) override;
  std::optional<QString> SaveFileName(QWidget* parent, const FileDialogRequest& request) override;
  bool ChooseFont(QWidget* parent, TFont& font) override;
  bool PrintersInstalled() override;
  bool ChoosePrinter(QWidget* parent, QPrinter& printer) override;
};

class QtSound : public Sound {
 public:
  void Beep() override;
};

class QtFontRegistry : public FontRegistry {
 public:
  bool AddFontFile(const QString& path) override;
  void RemoveFontFile(const QString& path) override;

 private:
  QMap<QString, int> ids_;
};

// The three together, for the program.
class QtPlatform {
 public:
  QtPlatform() : platform_{dialogs_, sound_, fonts_} {}
  Platform& Get() { return platform_; }

 private:
  QtDialogs dialogs_;
  QtSound sound_;
  QtFontRegistry fonts_;
  Platform platform_;
};

}  // namespace vocatrix::ui
