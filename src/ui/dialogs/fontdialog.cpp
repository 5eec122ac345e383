// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/fontdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

#include "ui/language/textproperties.h"
#include "ui/common/qtfonts.h"
#include "ui/common/qtstrings.h"

namespace vocatrix::ui {
namespace {

// The colours offered by name, in the order of the colour table.
constexpr TColor kNamedColors[] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                   0x808000, 0x808080, 0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF,
                                   0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

QIcon Swatch(TColor color) {
  QPixmap pixmap(24, 14);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(Qt::black);
  painter.setBrush(ToQColor(color));
  painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
  return QIcon(pixmap);
}

// "Teal" for clTeal, "WindowText" for a named system colour, else "Custom".
QString ColorCaption(TColor color) {
  const char* name = ColorName(color);
  return name ? QString::fromLatin1(name + 2) : QStringLiteral("Custom");
}

}  // namespace

TFontDialog::TFontDialog(const TFont& font, QWidget* parent) : QDialog(parent), font_(font) {
  setObjectName("FontDialog");
  setWindowTitle("Font");

  ComboFace = new QComboBox(this);
  ComboFace->setObjectName("ComboFace");
  ComboFace->setEditable(true);
  ComboFace->setInsertPolicy(QComboBox::NoInsert);
  ComboFace->addItems(QFontDatabase::families());
  // A face that is not installed (or differs in case) is listed first under
  // its own name, so it can be kept and chosen again.
  const QString face = ToQString(font.Name);
  int faceIndex = ComboFace->findText(face, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (faceIndex < 0) {
    ComboFace->insertItem(0, face);
    faceIndex = 0;
  }
  ComboFace->setCurrentIndex(faceIndex);
  MarkAsData(ComboFace);
  ComboFace->setMinimumContentsLength(20);
  ComboFace->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

  ComboSize = new QComboBox(this);
  ComboSize->setObjectName("ComboSize");
  ComboSize->setEditable(true);
  ComboSize->setInsertPolicy(QComboBox::NoInsert);
  for (int size : QFontDatabase::standardSizes()) ComboSize->addItem(QString::number(size));
  ComboSize->setValidator(new QIntValidator(1, 999, ComboSize));
  ComboSize->setEditText(QString::number(font.Size));
  MarkAsData(ComboSize);

  ComboColor = new QComboBox(this);
  ComboColor->setObjectName("ComboColor");
  for (TColor color : kNamedColors) ComboColor->addItem(Swatch(color), ColorCaption(color), color);
  int colorIndex = ComboColor->findData(font.Color);
  if (colorIndex < 0) {
    // The font's own colour stays on offer as long as no other is chosen.
    ComboColor->addItem(Swatch(font.Color), ColorCaption(font.Color), font.Color);
    colorIndex = ComboColor->count() - 1;
  }
  ComboColor->setCurrentIndex(colorIndex);

  const auto check = [this](const char* name, const QString& caption, bool on) {
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(name);
    box->setChecked(on);
    connect(box, &QCheckBox::toggled, this, &TFontDialog::ShowSample);
    return box;
  };
  CheckBold = check("CheckBold", "&Bold", font.Bold);
  CheckItalic = check("CheckItalic", "&Italic", font.Italic);
  CheckUnderline = check("CheckUnderline", "&Underline", font.Underline);
  CheckStrikeOut = check("CheckStrikeOut", "Stri&keout", font.StrikeOut);

  LabelSample = new QLabel("AaBbYyZz", this);
  LabelSample->setObjectName("LabelSample");
  LabelSample->setAlignment(Qt::AlignCenter);
  LabelSample->setFixedHeight(64);
  LabelSample->setAutoFillBackground(true);
  LabelSample->setBackgroundRole(QPalette::Base);

  Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  Buttons->setObjectName("Buttons");
  connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* fields = new QFormLayout;
  const auto addRow = [this, fields](const char* name, const QString& caption, QWidget* field) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(name);
    label->setBuddy(field);
    fields->addRow(label, field);
  };
  addRow("LabelFace", "&Font:", ComboFace);
  addRow("LabelSize", "&Size:", ComboSize);
  addRow("LabelColor", "&Color:", ComboColor);

  auto* styles = new QGroupBox("Style", this);
  styles->setObjectName("GroupStyle");
  auto* styleLayout = new QVBoxLayout(styles);
  for (QCheckBox* box : {CheckBold, CheckItalic, CheckUnderline, CheckStrikeOut}) styleLayout->addWidget(box);
  styleLayout->addStretch();

  auto* sample = new QGroupBox("Sample", this);
  sample->setObjectName("GroupSample");
  auto* sampleLayout = new QVBoxLayout(sample);
  sampleLayout->addWidget(LabelSample);

  auto* top = new QHBoxLayout;
  top->addLayout(fields, 1);
  top->addWidget(styles);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(sample);
  layout->addWidget(Buttons);

  connect(ComboFace, &QComboBox::currentTextChanged, this, &TFontDialog::ShowSample);
  connect(ComboSize, &QComboBox::currentTextChanged, this, &TFontDialog::ShowSample);
  connect(ComboColor, &QComboBox::currentIndexChanged, this, &TFontDialog::ShowSample);
  ShowSample();
}

TFont TFontDialog::Font() const {
  TFont font = font_;
  const QString face = ComboFace->currentText();
  if (face != ToQString(font_.Name)) {
    // An emptied field keeps the face; any other new face decides the pitch.
    font.SetName(ToLessonString(face.trimmed()));
    if (font.Name != font_.Name)
      font.Pitch = QFontDatabase::isFixedPitch(face.trimmed()) ? TFontPitch::Fixed : TFontPitch::Variable;
  }
  bool ok = false;
  const int size = ComboSize->currentText().trimmed().toInt(&ok);
  if (ok && size > 0) font.Size = size;
  font.Color = ComboColor->currentData().toUInt();
  font.Bold = CheckBold->isChecked();
  font.Italic = CheckItalic->isChecked();
  font.Underline = CheckUnderline->isChecked();
  font.StrikeOut = CheckStrikeOut->isChecked();
  return font;
}

void TFontDialog::ShowSample() { ApplyFontTo(LabelSample, Font()); }

}  // namespace vocatrix::ui
