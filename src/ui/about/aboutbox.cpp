// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/about/aboutbox.h"

#include <QFontMetrics>
#include <QFrame>
#include <QPushButton>
#include <QTimer>

#include "base/inifile.h"
#include "base/messages.h"
#include "base/settings.h"
#include "components/framedlabel.h"
#include "components/maskedimage.h"
#include "components/memopanel.h"
#include "components/multilabel.h"
#include "ui/about/soundevents.h"
#include "ui/dialogs/helpwindow.h"
#include "ui/language/multilanguage.h"
#include "ui/language/textproperties.h"
#include "ui/mainwindow/mainform.h"
#include "ui/common/qtstrings.h"

namespace vocatrix::ui {
namespace {

QFont ArialFont(int pixels, bool italic = false, bool underline = false) {
  QFont font("Arial");
  font.setPixelSize(pixels);
  font.setBold(true);
  font.setItalic(italic);
  font.setUnderline(underline);
  return font;
}

TFramedLabel* MakeLabel(QWidget* parent, const char* name, const QRect& geometry, const QFont& font,
                        const QColor& color, TFrameStyle style, int offset) {
  auto* label = new TFramedLabel(parent);
  label->setObjectName(name);
  label->SetAutoSize(false);
  label->setFont(font);
  label->SetFontColor(color);
  label->SetTransparent(true);
  label->SetStyle(style);
  label->SetOffsetX(offset);
  label->SetOffsetY(offset);
  label->setGeometry(geometry);
  return label;
}

QFrame* MakeLine(QWidget* parent, const char* name, int x, int y, int width) {
  auto* line = new QFrame(parent);
  line->setObjectName(name);
  line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  line->setGeometry(x, y, width, 2);
  return line;
}

}  // namespace

TAboutBaseBox::TAboutBaseBox(Platform platform, QWidget* parent) : QDialog(parent), platform_(platform) {
  setObjectName("AboutBox");
  setWindowTitle("About");

  AboutPanel = new TMemoPanel(this);
  AboutPanel->setObjectName("AboutPanel");
  AboutPanel->setFrameStyle(QFrame::NoFrame);
  QPalette silver = AboutPanel->palette();
  silver.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
  AboutPanel->setPalette(silver);
  AboutPanel->setAutoFillBackground(true);
  AboutPanel->SetLeftBorder(0);
  AboutPanel->SetRightBorder(0);
  AboutPanel->SetTopBorder(0);
  AboutPanel->SetBottomBorder(0);
  Icon = new TMaskedImage(AboutPanel);
  Icon->setObjectName("Icon");
  Icon->SetStretch(true);
  Icon->SetStyle(TMaskStyle::Transparent);
  Icon->SetTransparentIndex(7);
  LabelVersion = MakeLabel(AboutPanel, "LabelVersion", {}, ArialFont(25), Qt::white, TFrameStyle::Framed, 1);
  LabelVersion->SetAlignment(TAlignment::Center);
  LabelProductName = MakeLabel(AboutPanel, "LabelProductName", {}, ArialFont(50, true), Qt::white, TFrameStyle::Framed, 1);
  SubName = MakeLabel(AboutPanel, "SubName", {}, ArialFont(12), Qt::white, TFrameStyle::Framed, 1);
  SubName->hide();
  Name2 = MakeLabel(AboutPanel, "Name2", {}, ArialFont(12), Qt::white, TFrameStyle::Framed, 1);
  Name2->SetCaption("Name2");
  Name2->hide();
  // A placeholder of the design, never shown: nothing to translate.
  MarkAsData(Name2);
  Comments = MakeLabel(AboutPanel, "Comments", {}, ArialFont(12), Qt::black, TFrameStyle::Normal, 1);
  Comments->SetWordWrap(true);
  NoticeLabel = new TMultiLabel(AboutPanel);
  NoticeLabel->setObjectName("NoticeLabel");
  NoticeLabel->SetAutoSize(false);
  NoticeLabel->setFont(ArialFont(9));
  NoticeLabel->SetFontColor(Qt::black);
  NoticeLabel->SetTransparent(true);
  NoticeLabel->SetStyle(TFrameStyle::Normal);
  NoticeLabel->SetOffsetX(0);
  NoticeLabel->SetOffsetY(0);
  Homepage = MakeLabel(AboutPanel, "Homepage", {}, ArialFont(12, false, true), Qt::white, TFrameStyle::Framed, 1);
  URL = MakeLabel(AboutPanel, "URL", {}, ArialFont(12, false, true), Qt::white, TFrameStyle::Framed, 1);
  for (TFramedLabel* link : {Homepage, URL}) {
    link->setCursor(Qt::PointingHandCursor);
    connect(link, &TFramedLabel::Click, this, &TAboutBaseBox::HomepageClick);
  }
  // The version, the title, the description and the address are set by the
  // program, not texts of a language.
  for (QObject* data : std::initializer_list<QObject*>{LabelVersion, LabelProductName, Comments, URL}) MarkAsData(data);
  OKButton = new QPushButton("OK", AboutPanel);
  OKButton->setObjectName("OKButton");
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
  TimerSplashScreen = new QTimer(this);
  TimerSplashScreen->setObjectName("TimerSplashScreen");
  TimerSplashScreen->setInterval(3000);
  TimerSplashScreen->setSingleShot(true);
  connect(TimerSplashScreen, &QTimer::timeout, this, &TAboutBaseBox::TimerSplashScreenTimer);
}

void TAboutBaseBox::FormCreate() {
  LabelVersion->SetCaption(MainForm::kVersion);
  designedHeight_ = height();
  // Before the first start has chosen one, the language the main window
  // will choose: the user's locale's.
  aboutLanguage_ = IniFile(ProgramSettingsFile()).ReadString("Config", "Language", MainForm::FirstLanguage());
  TMultiLanguage().ReadLanguageFile(this, LanguageFileName(aboutLanguage_));
  const std::string background = ConfigPath("Config", "Background", "");
  if (!background.empty()) {
    // A picture that cannot be loaded leaves the plain background.
    const QImage picture(FileNameToQString(background));
    if (!picture.isNull()) AboutPanel->SetPanelBmp(picture);
  }
  SetLayout(kSplashLayout);
  TimerSplashScreen->start();
}

void TAboutBaseBox::SetLayout(Layout layout) {
  if (layout == layout_) return;
  layout_ = layout;
  // The splash screen is a screen of its own, without a frame and above the
  // main window; the about box a dialog of fixed size with a title and a
  // close button, nothing to minimise or maximise.
  setWindowFlags(layout == kSplashLayout
                     ? Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                     : Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  const int strip = Bevel5->y() - Bevel4->y();
  setFixedSize(width(), layout == kSplashLayout ? designedHeight_ - strip : designedHeight_);
  AboutPanel->resize(size());
  OKButton->setVisible(layout != kSplashLayout);
}

void TAboutBaseBox::TimerSplashScreenTimer() {
  close();
  TimerSplashScreen->stop();
  SetLayout(kAboutLayout);
}

void TAboutBaseBox::FormShow() {
  // The title as large as fits: shrunk until its text is no wider than the
  // line below it and no taller than the space above the hidden bound.
  LabelProductName->SetAutoSize(true);
  QFont font = LabelProductName->font();
  font.setPixelSize(50);
  LabelProductName->setFont(font);
  LabelProductName->SetCaption(Utf8ToQString(Translate(aboutLanguage_, "Vocatrix", "Name", "Vocatrix")));
  const int offsetX = LabelProductName->OffsetX();
  const int offsetY = LabelProductName->OffsetY();
  while ((LabelProductName->width() - 4 * offsetX > Bevel1->width() + 1 ||
          LabelProductName->height() - 2 * offsetY > SubName->y() + 1) &&
         font.pixelSize() > 1) {
    font.setPixelSize(font.pixelSize() - 1);
    LabelProductName->setFont(font);
  }
  LabelProductName->move(LabelProductName->x(), SubName->y() - LabelProductName->height() + 2 * offsetY + 2);
  Comments->SetCaption(Utf8ToQString(Translate(aboutLanguage_, "Vocatrix", "Info", "Info not found.")));
  // The link's caption in the language shrinks until it fits its line.
  Homepage->setFont(ArialFont(12, false, true));
  for (QFont linkFont = Homepage->font();
       QFontMetrics(linkFont).horizontalAdvance(Homepage->Caption()) > Homepage->width() - 4 * Homepage->OffsetX() &&
       linkFont.pixelSize() > 8;) {
    linkFont.setPixelSize(linkFont.pixelSize() - 1);
    Homepage->setFont(linkFont);
  }
  // A long address loses its middle rather than its end.
  URL->SetCaption(QFontMetrics(URL->font())
                      .elidedText(HomepageAddress(aboutLanguage_).toString(), Qt::ElideMiddle,
                                  URL->width() - 4 * URL->OffsetX()));
  if (layout_ != kSplashLayout) SetLayout(kAboutLayout);
  // From the message loop, once the box is on the screen: a question about
  // the sound then stands over the box, not in place of it.
  if (holdStartSound_) {
    startSoundDue_ = true;
    return;
  }
  QTimer::singleShot(0, this, [this] {
    SoundEvents().PlaySoundEvent(seStart, kSoundAsync, platform_, this, aboutLanguage_);
  });
}

void TAboutBaseBox::PlayHeldStartSound(QWidget* over, const std::string& language) {
  holdStartSound_ = false;
  if (!startSoundDue_) return;
  startSoundDue_ = false;
  SoundEvents().PlaySoundEvent(seStart, kSoundAsync, platform_, over, language);
}

void TAboutBaseBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TAboutBaseBox::HomepageClick() { ShowHomepage(platform_, this, aboutLanguage_); }

TAboutBox::TAboutBox(Platform platform, QWidget* parent) : TAboutBaseBox(platform, parent) {
  setFixedSize(318, 314);
  AboutPanel->setGeometry(0, 0, 318, 314);
  Icon->setGeometry(8, 6, 64, 64);
  Icon->SetPicture(ProgramIcon());
  LabelVersion->setGeometry(8, 74, 64, 32);
  LabelProductName->setGeometry(78, 0, 227, 56);
  SubName->setGeometry(80, 52, 41, 17);
  Name2->setGeometry(9, 194, 56, 15);
  Bevel1 = MakeLine(AboutPanel, "Bevel1", 80, 58, 222);
  // As wide as the rules above and below it, inside the box, and high
  // enough for five lines.
  Comments->setGeometry(80, 62, 222, 72);
  Comments->SetCaption(QString::fromUtf8("Lektionseditor für Vokabelprogramme, anlegen, erweitern, spiegeln, verdichten, "
                                         "kombinieren und konvertieren von Lektionen, viele Extras."));
  Bevel2 = MakeLine(AboutPanel, "Bevel2", 80, 136, 222);
  Bevel3 = MakeLine(AboutPanel, "Bevel3", 80, 176, 222);
  Bevel3->hide();
  NoticeLabel->setGeometry(80, 182, 217, 49);
  NoticeLabel->SetText({QString::fromUtf8("© 2026 The Vocatrix project"), "A lesson editor for",
                        "vocabulary-learning programs", "Home page: Help > Homepage"});
  // The link ends clear of the box's edge, as far from it as the icon from
  // the other edge (the address loses its middle to fit).
  Homepage->setGeometry(80, 230, 230, 17);
  Homepage->SetCaption("Foreign Language Learning Homepage:");
  URL->setGeometry(80, 244, 230, 17);
  Bevel4 = MakeLine(AboutPanel, "Bevel4", 80, 270, 222);
  OKButton->setGeometry(80, 281, 76, 25);
  Bevel5 = new QFrame(AboutPanel);
  Bevel5->setObjectName("Bevel5");
  Bevel5->setGeometry(0, 314, 318, 0);
  Bevel5->hide();
  FormCreate();
}

QImage ProgramIcon() {
  // A lesson card with a blue V on the transparent colour (index 7, silver).
  static const QRgb kVga[16] = {0xFF000000, 0xFF000080, 0xFF008000, 0xFF008080, 0xFF800000, 0xFF800080,
                                0xFF808000, 0xFFC0C0C0, 0xFF808080, 0xFF0000FF, 0xFF00FF00, 0xFF00FFFF,
                                0xFFFF0000, 0xFFFF00FF, 0xFFFFFF00, 0xFFFFFFFF};
  QImage icon(64, 64, QImage::Format_Indexed8);
  icon.setColorTable(QList<QRgb>(std::begin(kVga), std::end(kVga)));
  icon.fill(7);
  for (int y = 8; y < 56; ++y)
    for (int x = 6; x < 58; ++x) {
      const bool edge = x == 6 || x == 57 || y == 8 || y == 55;
      icon.setPixel(x + 2 < 64 && y + 2 < 64 ? x : x, y, edge ? 0 : 15);
    }
  for (int y = 10; y < 58; ++y) icon.setPixel(58, y, 8);  // shadow
  for (int x = 8; x < 59; ++x) icon.setPixel(x, 56, 8);
  // The V: two strokes meeting at the bottom.
  for (int y = 16; y < 48; ++y) {
    const int spread = (48 - y) * 16 / 32;
    for (int w = -2; w <= 2; ++w) {
      icon.setPixel(32 - spread + w, y, 9);
      icon.setPixel(32 + spread + w, y, 9);
    }
  }
  return icon;
}

}  // namespace vocatrix::ui
