// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own labels, card panel and masked image, checked on their
// rendered pixels.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <set>

#include "components/clonedlabel.h"
#include "components/framedlabel.h"
#include "components/maskedimage.h"
#include "components/memopanel.h"
#include "components/multilabel.h"
#include "base/random.h"

namespace vocatrix {
namespace {

const QRgb kBackground = qRgb(0, 0, 255);
const QRgb kText = qRgb(255, 255, 255);
const QRgb kLight = qRgb(255, 255, 0);

// Unsmoothed text, so that every text pixel has exactly the pen's colour.
QFont PixelFont() {
  QFont f("DejaVu Sans");
  f.setPixelSize(14);
  f.setStyleStrategy(QFont::NoAntialias);
  return f;
}

template <class Label>
void Dress(Label& label, const QString& caption) {
  label.setFont(PixelFont());
  label.SetColor(QColor(kBackground));
  label.SetFontColor(QColor(kText));
  QPalette p = label.palette();
  p.setColor(QPalette::Light, QColor(kLight));
  label.setPalette(p);
  label.SetCaption(caption);
}

QImage Render(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

QImage Stamp(const QImage& image, QRgb color) {
  QImage out(image.size(), QImage::Format_RGB32);
  out.fill(kBackground);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == color) out.setPixel(x, y, color);
  return out;
}

QSize PlainSize(const QString& caption, bool showAccelChar = true) {
  TClonedLabel plain;
  plain.setFont(PixelFont());
  plain.SetShowAccelChar(showAccelChar);
  plain.SetCaption(caption);
  return plain.size();
}

TEST(FramedLabel, AutoSizeKeepsRoomForTheCopies) {
  const QSize text = PlainSize("Mug");
  EXPECT_GT(text.width(), PlainSize("Mu").width());
  EXPECT_EQ(PlainSize("Mug\nMug").height(), 2 * text.height());
  // An empty caption and a lone accelerator mark keep the height of one line.
  EXPECT_EQ(PlainSize("&").height(), text.height());
  EXPECT_EQ(PlainSize("").height(), text.height());
  EXPECT_EQ(PlainSize("&&").width(), PlainSize("&", false).width());
  EXPECT_EQ(PlainSize("&Mug").width(), text.width());

  struct Case {
    TFrameStyle style;
    int ox, oy;
  };
  for (const Case& c : {Case{TFrameStyle::Framed, 1, 1}, Case{TFrameStyle::Shadow, 2, 2}, Case{TFrameStyle::Normal, 3, 1}}) {
    TFramedLabel label;
    label.SetStyle(c.style);
    label.SetOffsetX(c.ox);
    label.SetOffsetY(c.oy);
    Dress(label, "Mug");
    EXPECT_EQ(label.size(), text + QSize(4 * c.ox, 2 * c.oy)) << c.ox;
  }

  // Right aligned, the label grows to the left and keeps its right edge.
  QWidget form;
  TFramedLabel label(&form);
  label.SetOffsetX(1);
  label.SetOffsetY(1);
  label.SetAlignment(TAlignment::RightJustify);
  Dress(label, "Mug");
  label.move(200 - label.width(), 10);
  label.SetCaption("Mug of tea");
  EXPECT_EQ(label.geometry().right(), 199);
  EXPECT_EQ(label.width(), PlainSize("Mug of tea").width() + 4);
  EXPECT_EQ(label.y(), 10);
  label.SetAutoSize(false);
  label.SetCaption("M");
  EXPECT_EQ(label.width(), PlainSize("Mug of tea").width() + 4);
}

TEST(FramedLabel, CopiesAreDrawnInOrderAroundTheText) {
  struct Copy {
    int dx, dy;
    QRgb color;
  };
  const QRgb black = qRgb(0, 0, 0);
  struct Case {
    TFrameStyle style;
    int ox, oy;
    std::vector<Copy> copies;  // with the offsets filled in
  };
  const std::vector<Case> cases = {
      {TFrameStyle::Framed, 1, 1,
       {{-1, 1, black}, {1, -1, black}, {-1, -1, black}, {-1, 0, black}, {0, -1, black}, {1, 0, black}, {0, 1, black}, {1, 1, black}}},
      {TFrameStyle::Raised, 1, 1,
       {{-1, 1, black}, {1, -1, black}, {-1, -1, kLight}, {-1, 0, kLight}, {0, -1, kLight}, {1, 0, black}, {0, 1, black}, {1, 1, black}}},
      {TFrameStyle::Shadow, 2, 2, {{2, 2, black}}},
      {TFrameStyle::Normal, 2, 2, {}},
  };
  for (const Case& c : cases) {
    TFramedLabel label;
    label.SetStyle(c.style);
    label.SetOffsetX(c.ox);
    label.SetOffsetY(c.oy);
    Dress(label, "Wax");
    const QImage image = Render(label);

    // The text alone, drawn without inset in a label of the same size.
    TFramedLabel plain;
    plain.SetStyle(TFrameStyle::Normal);
    plain.SetAutoSize(false);
    Dress(plain, "Wax");
    plain.resize(label.size());
    const QImage glyphs = Stamp(Render(plain), kText);

    // Framed and raised copies sit in a rectangle inset by the offsets.
    const bool inset = c.style == TFrameStyle::Framed || c.style == TFrameStyle::Raised;
    const QPoint shift = inset ? QPoint(c.ox, c.oy) : QPoint(0, 0);
    QImage expected(label.size(), QImage::Format_RGB32);
    expected.fill(kBackground);
    auto stamp = [&](QPoint d, QRgb color) {
      for (int y = 0; y < glyphs.height(); ++y)
        for (int x = 0; x < glyphs.width(); ++x) {
          const QPoint at = QPoint(x, y) + shift + d;
          if (glyphs.pixel(x, y) == kText && expected.rect().contains(at)) expected.setPixel(at, color);
        }
    };
    for (const Copy& copy : c.copies) stamp({copy.dx, copy.dy}, copy.color);
    stamp({0, 0}, kText);
    EXPECT_EQ(image, expected) << static_cast<int>(c.style);
  }
  // Disabled, every copy and the text are grey.
  TFramedLabel label;
  label.SetOffsetX(1);
  label.SetOffsetY(1);
  Dress(label, "Wax");
  const QImage enabled = Render(label);
  label.setEnabled(false);
  const QImage disabled = Render(label);
  const QRgb grey = label.palette().color(QPalette::Disabled, QPalette::WindowText).rgb();
  ASSERT_NE(grey, kBackground);
  ASSERT_NE(grey, kText);
  int inked = 0;
  for (int y = 0; y < enabled.height(); ++y)
    for (int x = 0; x < enabled.width(); ++x) {
      const bool ink = enabled.pixel(x, y) != kBackground;
      inked += ink;
      EXPECT_EQ(disabled.pixel(x, y), ink ? grey : kBackground) << x << "," << y;
    }
  EXPECT_GT(inked, 20);
}

// The first pixel row of each run of inked rows.
std::vector<int> LineTops(const QImage& image) {
  std::vector<int> tops;
  bool previous = false;
  for (int y = 0; y < image.height(); ++y) {
    bool ink = false;
    for (int x = 0; x < image.width() && !ink; ++x) ink = image.pixel(x, y) != kBackground;
    if (ink && !previous) tops.push_back(y);
    previous = ink;
  }
  return tops;
}

TEST(MultiLabel, DrawsItsLinesOneLineHeightApart) {
  const QFontMetrics fm(PixelFont());
  const int line = fm.height() + std::max(0, fm.leading());
  struct Case {
    TFrameStyle style;
    int offsetY;
    int distance;
  };
  for (const Case& c : {Case{TFrameStyle::Normal, 0, line}, Case{TFrameStyle::Framed, 1, line + 2},
                        Case{TFrameStyle::Shadow, 3, line + 3}}) {
    TMultiLabel label;
    EXPECT_EQ(label.Text(), QStringList{"MultiLabel"});
    label.SetAutoSize(false);
    label.SetStyle(c.style);
    label.SetOffsetX(c.offsetY);
    label.SetOffsetY(c.offsetY);
    Dress(label, "caption is not drawn");
    label.resize(120, 4 * line + 10);
    label.SetText({"HH", "HHH", "H"});
    const std::vector<int> tops = LineTops(Render(label));
    ASSERT_EQ(tops.size(), 3u) << static_cast<int>(c.style);
    EXPECT_EQ(tops[1] - tops[0], c.distance);
    EXPECT_EQ(tops[2] - tops[1], c.distance);
  }
  // Auto-sized, it shows every line.
  TMultiLabel label;
  label.SetStyle(TFrameStyle::Normal);
  label.setFont(PixelFont());
  label.SetText({"a", "wide line", "b"});
  EXPECT_EQ(label.size(), QSize(PlainSize("wide line").width(), 3 * line));
}

TEST(ClonedLabel, AcceleratorFocusesTheFocusControl) {
  QWidget form;
  auto* label = new TClonedLabel(&form);
  auto* other = new QLineEdit(&form);
  auto edit = std::make_unique<QLineEdit>(&form);
  label->SetCaption("&Name");
  label->SetFocusControl(edit.get());
  other->move(0, 40);
  form.show();
  QApplication::setActiveWindow(&form);
  other->setFocus();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  QTest::keyClick(&form, Qt::Key_N, Qt::AltModifier);
  EXPECT_TRUE(edit->hasFocus());
  // Without the accelerator mark shown, the key does nothing.
  other->setFocus();
  label->SetShowAccelChar(false);
  QTest::keyClick(&form, Qt::Key_N, Qt::AltModifier);
  EXPECT_TRUE(other->hasFocus());
  edit.reset();
  EXPECT_EQ(label->FocusControl(), nullptr);
}

// A shown panel inside a form, so that its resizes arrive at once.
struct PanelForm {
  QWidget form;
  TMemoPanel* panel = new TMemoPanel(&form);
  PanelForm(int w, int h) {
    form.resize(800, 600);
    panel->setGeometry(0, 0, w, h);
    form.show();
  }
  std::vector<TMemoCard*> AddCards(int n) {
    std::vector<TMemoCard*> cards;
    for (int i = 0; i < n; ++i) {
      cards.push_back(new TMemoCard);
      panel->RandomInsert(cards.back());
    }
    return cards;
  }
};

TEST(MemoPanel, TileControlsPlacesCardsOnAGridWithJitter) {
  struct Case {
    QSize size;
    int left, right, top, bottom;
    int cards;
    int jitter;
    std::vector<QPoint> cells;  // grid positions, before the jitter
  };
  const std::vector<Case> cases = {
      // Gap 66: cells of 100, x0 = y0 = 33, jitter random(33) - 16.
      {{300, 200}, 0, 0, 0, 0, 6, 33, {{33, 33}, {133, 33}, {233, 33}, {33, 133}, {133, 133}, {233, 133}}},
      // Gap 0: a gap of 1 is already too much.
      {{70, 34}, 0, 0, 0, 0, 2, 0, {{1, 0}, {35, 0}}},
      {{90, 54}, 10, 10, 12, 8, 2, 0, {{11, 12}, {45, 12}}},
      // Gap 1: cells of 35, still no jitter.
      {{71, 35}, 0, 0, 0, 0, 2, 0, {{1, 0}, {36, 0}}},
  };
  for (const Case& c : cases) {
    PanelForm f(c.size.width(), c.size.height());
    f.panel->SetLeftBorder(c.left);
    f.panel->SetRightBorder(c.right);
    f.panel->SetTopBorder(c.top);
    f.panel->SetBottomBorder(c.bottom);
    const std::vector<TMemoCard*> cards = f.AddCards(c.cards);
    SeedRandom(7);
    f.panel->TileControls();
    SeedRandom(7);
    for (std::size_t i = 0; i < cards.size(); ++i) {
      const int dx = Random(c.jitter);
      const int dy = Random(c.jitter);
      EXPECT_EQ(cards[i]->pos(), c.cells[i] + QPoint(dx - c.jitter / 2, dy - c.jitter / 2)) << c.size.width() << " card " << i;
      EXPECT_EQ(cards[i]->size(), QSize(34, 34));
    }
  }
  // Cards beyond the grid keep their places.
  PanelForm f(70, 34);
  const std::vector<TMemoCard*> cards = f.AddCards(3);
  cards[2]->move(5, 6);
  f.panel->TileControls();
  EXPECT_EQ(cards[0]->pos(), QPoint(1, 0));
  EXPECT_EQ(cards[2]->pos(), QPoint(5, 6));
}

TEST(MemoPanel, ResizeMovesCardsInProportionOrRetiles) {
  PanelForm f(200, 100);
  const std::vector<TMemoCard*> cards = f.AddCards(2);
  cards[0]->move(100, 50);
  cards[1]->move(40, 0);
  f.panel->resize(300, 200);
  EXPECT_EQ(cards[0]->pos(), QPoint(150, 100));
  EXPECT_EQ(cards[1]->pos(), QPoint(60, 0));
  EXPECT_EQ(f.panel->OldWidth(), 300);
  // Through a size of 0 and back: no division by zero, places kept from 0.
  f.panel->resize(0, 0);
  EXPECT_EQ(cards[0]->pos(), QPoint(0, 0));
  f.panel->resize(300, 200);
  EXPECT_EQ(cards[0]->pos(), QPoint(0, 0));
  f.panel->resize(600, 100);
  cards[0]->move(30, 30);
  f.panel->resize(300, 200);
  EXPECT_EQ(cards[0]->pos(), QPoint(15, 60));

  // With Order on, a resize tiles the cards again.
  f.panel->SetOrder(true);
  f.panel->resize(70, 34);
  EXPECT_EQ(cards[0]->pos(), QPoint(1, 0));
  EXPECT_EQ(cards[1]->pos(), QPoint(35, 0));
  // Order off scatters them inside the borders.
  f.panel->resize(300, 200);
  f.panel->SetLeftBorder(50);
  f.panel->SetTopBorder(20);
  f.panel->SetOrder(false);
  for (TMemoCard* card : cards) {
    EXPECT_GE(card->x(), 50);
    EXPECT_LE(card->x(), 300 - 34);
    EXPECT_GE(card->y(), 20);
    EXPECT_LE(card->y(), 200 - 34);
  }
}

TEST(MemoPanel, CardOperationsLeaveOtherChildrenAlone) {
  PanelForm f(300, 200);
  auto* note = new QLabel("note");
  note->move(3, 4);
  f.panel->RandomInsert(note);
  auto* hiddenNote = new QLabel("hidden", f.panel);
  hiddenNote->hide();
  f.panel->SetFontSize(14);
  f.panel->SetCardWidthShown(80);
  const std::vector<TMemoCard*> cards = f.AddCards(6);
  EXPECT_EQ(note->parentWidget(), f.panel);
  EXPECT_TRUE(note->isVisible());
  EXPECT_EQ(note->pos(), QPoint(3, 4));
  EXPECT_EQ(f.panel->Cards().size(), 6);
  EXPECT_EQ(cards[5]->font().pointSize(), 14);
  EXPECT_EQ(cards[5]->WidthShown, 80);

  f.panel->HideCards();
  for (TMemoCard* card : cards) EXPECT_FALSE(card->isVisible());
  f.panel->ShowCards();
  for (TMemoCard* card : cards) EXPECT_TRUE(card->isVisible());
  EXPECT_TRUE(note->isVisible());
  EXPECT_TRUE(hiddenNote->isHidden());

  // A new card size hides, resizes, tiles and shows every card, Order or not.
  f.panel->HideCards();
  SeedRandom(3);
  f.panel->SetCardWidthHidden(50);
  SeedRandom(3);
  // 6 cards of 50 in 300 by 200: gap 50, cells of 100, jitter 25.
  for (std::size_t i = 0; i < cards.size(); ++i) {
    const QPoint cell(100 * (static_cast<int>(i) % 3) + 25, 100 * (static_cast<int>(i) / 3) + 25);
    const int dx = Random(25);
    const int dy = Random(25);
    EXPECT_EQ(cards[i]->geometry(), QRect(cell + QPoint(dx - 12, dy - 12), QSize(50, 50))) << i;
    EXPECT_EQ(cards[i]->WidthHidden, 50);
    EXPECT_TRUE(cards[i]->isVisible());
  }
  f.panel->SetCardWidthHidden(0);
  EXPECT_EQ(cards[0]->size(), QSize(0, 0));
  f.panel->SetCardWidthHidden(34);

  // Shuffling keeps the same cards, their places and the other children first.
  std::vector<QPoint> places;
  for (TMemoCard* card : cards) places.push_back(card->pos());
  cards[1]->hide();
  f.panel->RandomizeControls();
  const QList<TMemoCard*> shuffled = f.panel->Cards();
  EXPECT_EQ(std::set<TMemoCard*>(shuffled.begin(), shuffled.end()), std::set<TMemoCard*>(cards.begin(), cards.end()));
  for (std::size_t i = 0; i < cards.size(); ++i) {
    EXPECT_EQ(cards[i]->pos(), places[i]);
    EXPECT_EQ(cards[i]->isVisible(), i != 1);
  }
  const QObjectList children = f.panel->children();
  EXPECT_LT(children.indexOf(note), children.indexOf(shuffled.first()));

  // A card passes the presses on its picture on as its own.
  QSignalSpy down(cards[0], &TMemoCard::MouseDown);
  QTest::mousePress(cards[0]->CardImage(), Qt::RightButton, Qt::ShiftModifier, QPoint(3, 4));
  ASSERT_EQ(down.size(), 1);
  EXPECT_EQ(down[0][0].value<TMemoCard*>(), cards[0]);
  EXPECT_EQ(down[0][1].value<Qt::MouseButton>(), Qt::RightButton);
  EXPECT_EQ(down[0][2].value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
  EXPECT_EQ(down[0][3].toPoint(), QPoint(3, 4));

  f.panel->DeleteCards();
  EXPECT_TRUE(f.panel->Cards().isEmpty());
  EXPECT_EQ(note->parentWidget(), f.panel);
}

TEST(MemoPanel, TilesItsBitmapOverTheBackground) {
  PanelForm f(50, 30);
  const QRgb plain = Render(*f.panel).pixel(25, 15);
  QImage tile(20, 20, QImage::Format_RGB32);
  tile.fill(qRgb(200, 0, 0));
  tile.setPixel(0, 0, qRgb(0, 200, 0));
  f.panel->SetPanelBmp(tile);
  const QImage image = Render(*f.panel);
  for (const QPoint p : {QPoint(0, 0), QPoint(20, 0), QPoint(40, 20), QPoint(20, 20)})
    EXPECT_EQ(image.pixel(p), qRgb(0, 200, 0)) << p.x() << "," << p.y();
  EXPECT_EQ(image.pixel(45, 25), qRgb(200, 0, 0));
  EXPECT_EQ(image.pixel(49, 29), qRgb(200, 0, 0));
  f.panel->SetPanelBmp(QImage());
  EXPECT_EQ(Render(*f.panel).pixel(25, 15), plain);
}

// The 16 colours of the VGA palette: 0 black, 7 silver, 8 grey, 15 white.
QList<QRgb> VgaPalette() {
  return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
          qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
          qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
          qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

// A 4 by 4 picture whose pixel (x, y) has palette index x + 4y.
QImage IconPicture() {
  QImage picture(4, 4, QImage::Format_Indexed8);
  picture.setColorTable(VgaPalette());
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) picture.setPixel(x, y, static_cast<uint>(x + 4 * y));
  return picture;
}

const QRgb kGround = qRgb(10, 90, 30);

// A masked image on a form filled with kGround.
struct ImageForm {
  QWidget form;
  TMaskedImage* image = new TMaskedImage(&form);
  ImageForm() {
    QPalette p = form.palette();
    p.setColor(QPalette::Window, QColor(kGround));
    form.setPalette(p);
    form.setAutoFillBackground(true);
    form.resize(200, 200);
    image->move(10, 10);
  }
  // The control's area as drawn over the form.
  QImage Shot() { return Render(form).copy(image->geometry()); }
};

TEST(MaskedImage, ShowsTheBackgroundWhereThePictureIsTransparent) {
  const QList<QRgb> palette = VgaPalette();
  struct Case {
    TMaskStyle style;
    int transparentIndex;
    QRgb mask;  // the fill of the Masked style's mask
    std::set<int> clear;
  };
  const std::vector<Case> cases = {
      {TMaskStyle::Transparent, 7, 0, {7}},
      // Black as the transparent colour leaves every other colour visible.
      {TMaskStyle::Transparent, 0, 0, {0}},
      {TMaskStyle::Transparent, 200, 0, {}},  // no such palette entry
      {TMaskStyle::Masked, 7, qRgb(255, 255, 255), {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
      {TMaskStyle::Masked, 7, qRgb(0, 0, 0), {}},
  };
  for (const Case& c : cases) {
    ImageForm f;
    QImage mask(4, 4, QImage::Format_RGB32);
    mask.fill(c.mask);
    f.image->SetMask(mask);
    f.image->SetStyle(c.style);
    f.image->SetTransparentIndex(static_cast<std::uint8_t>(c.transparentIndex));
    f.image->SetPicture(IconPicture());
    EXPECT_EQ(f.image->Picture().format(), QImage::Format_Indexed8);
    const QImage shot = f.Shot();
    for (int i = 0; i < 16; ++i) {
      const QRgb want = c.clear.count(i) ? kGround : palette[i];
      EXPECT_EQ(shot.pixel(i % 4, i / 4), want) << "index " << i << " transparent " << c.transparentIndex;
    }
    EXPECT_EQ(shot.pixel(50, 50), kGround);  // outside the unstretched picture
  }
  // An empty picture draws nothing.
  ImageForm f;
  f.image->SetPicture(QImage());
  const QImage shot = f.Shot();
  EXPECT_EQ(shot.pixel(0, 0), kGround);
  EXPECT_EQ(shot.pixel(104, 104), kGround);
}

TEST(MaskedImage, StretchCenterAndAutoSize) {
  const QList<QRgb> palette = VgaPalette();
  ImageForm f;
  f.image->resize(40, 80);
  f.image->SetTransparentIndex(7);
  f.image->SetPicture(IconPicture());
  f.image->SetCenter(true);
  QImage shot = f.Shot();
  EXPECT_EQ(shot.pixel(18, 38), palette[0]);
  EXPECT_EQ(shot.pixel(21, 41), palette[15]);
  EXPECT_EQ(shot.pixel(21, 39), kGround);  // index 7
  EXPECT_EQ(shot.pixel(17, 38), kGround);

  // Stretched, picture and mask fill the control and Center has no effect.
  f.image->SetStretch(true);
  shot = f.Shot();
  EXPECT_EQ(shot.pixel(0, 0), palette[0]);
  EXPECT_EQ(shot.pixel(39, 79), palette[15]);
  EXPECT_EQ(shot.pixel(35, 25), kGround);  // index 7 spans x 30..39, y 20..39
  EXPECT_EQ(shot.pixel(29, 25), palette[6]);
  EXPECT_EQ(shot.pixel(35, 45), palette[11]);

  // Auto-sized, the control takes the picture's size and keeps its place.
  QImage big(64, 64, QImage::Format_Indexed8);
  big.setColorTable(VgaPalette());
  big.fill(3);
  f.image->SetStretch(false);
  f.image->SetAutoSize(true);
  f.image->SetPicture(big);
  EXPECT_EQ(f.image->geometry(), QRect(10, 10, 64, 64));

  // Recolouring goes by colour: every entry of that colour changes.
  QImage twin = IconPicture();
  twin.setColor(9, palette[1]);
  TMaskedImage::RecolorIndex(twin, 1, qRgb(1, 2, 3));
  EXPECT_EQ(twin.pixel(1, 0), qRgb(1, 2, 3));
  EXPECT_EQ(twin.pixel(1, 2), qRgb(1, 2, 3));
  EXPECT_EQ(twin.pixel(2, 0), palette[2]);
  TMaskedImage::RecolorIndex(twin, 16, qRgb(1, 2, 3));
  EXPECT_EQ(twin.colorTable().size(), 16);
}

}  // namespace
}  // namespace vocatrix
