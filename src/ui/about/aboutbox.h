// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The about box: the program's icon, name, version, description, notice and
// home page link. Shown for three seconds as a splash screen at start-up
// (without its button strip) and modally from "Inf&o...".
//
// TAboutBaseBox holds the behaviour; TAboutBox is this program's variant
// with its positions, captions and icon.

#include <QDialog>
#include <string>

#include "ui/platform/platform.h"

class QFrame;
class QPushButton;
class QTimer;

namespace vocatrix {
class TFramedLabel;
class TMaskedImage;
class TMemoPanel;
class TMultiLabel;
}  // namespace vocatrix

namespace vocatrix::ui {

class TAboutBaseBox : public QDialog {
  Q_OBJECT
 public:
  enum Layout { kNoLayout, kSplashLayout, kAboutLayout };

  TAboutBaseBox(Platform platform, QWidget* parent = nullptr);

  const std::string& AboutLanguage() const { return aboutLanguage_; }
  void SetAboutLanguage(const std::string& language) { aboutLanguage_ = language; }
  Layout CurrentLayout() const { return layout_; }
  int DesignedHeight() const { return designedHeight_; }

  void SetLayout(Layout layout);
  // Title fitted to its space, description, layout, the "Start" sound.
  void FormShow();
  void TimerSplashScreenTimer();
  void HomepageClick();
  // At start-up the splash screen waits with its "Start" sound until the
  // main window is on the screen: a question about the sound card then
  // stands over the main window, in its language. Played by
  // PlayHeldStartSound.
  void HoldStartSound() { holdStartSound_ = true; }
  void PlayHeldStartSound(QWidget* over, const std::string& language);

  TMemoPanel* AboutPanel = nullptr;
  TMaskedImage* Icon = nullptr;
  TFramedLabel* LabelVersion = nullptr;
  TFramedLabel* LabelProductName = nullptr;
  TFramedLabel* SubName = nullptr;
  TFramedLabel* Name2 = nullptr;
  QFrame* Bevel1 = nullptr;
  TFramedLabel* Comments = nullptr;
  QFrame* Bevel2 = nullptr;
  QFrame* Bevel3 = nullptr;
  TMultiLabel* NoticeLabel = nullptr;
  TFramedLabel* Homepage = nullptr;
  TFramedLabel* URL = nullptr;
  QFrame* Bevel4 = nullptr;
  QPushButton* OKButton = nullptr;
  QFrame* Bevel5 = nullptr;
  QTimer* TimerSplashScreen = nullptr;

 protected:
  // Set-up once the variant has placed its components: version, designed
  // height, interface language, background picture, splash layout.
  void FormCreate();
  void showEvent(QShowEvent* event) override;

 private:
  Platform platform_;
  std::string aboutLanguage_;
  Layout layout_ = kNoLayout;
  int designedHeight_ = 0;
  bool holdStartSound_ = false;
  bool startSoundDue_ = false;
};

class TAboutBox : public TAboutBaseBox {
  Q_OBJECT
 public:
  explicit TAboutBox(Platform platform, QWidget* parent = nullptr);
};

// The program's icon: a 64 x 64 bitmap with a 16-colour palette whose index
// 7 is the transparent colour.
QImage ProgramIcon();

}  // namespace vocatrix::ui
