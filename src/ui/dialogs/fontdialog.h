// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The font dialog of the language fonts. It edits a TFont itself, so a face
// that is not installed keeps its name, and it offers the font's colour.

#include <QDialog>

#include "base/font.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;

namespace vocatrix::ui {

class TFontDialog : public QDialog {
  Q_OBJECT
 public:
  explicit TFontDialog(const TFont& font, QWidget* parent = nullptr);

  // The font as the fields show it. A field left as it was keeps the value
  // the dialog started with; a new face sets the pitch from that face.
  TFont Font() const;

  QComboBox* ComboFace = nullptr;   // installed faces; any name can be typed
  QComboBox* ComboSize = nullptr;   // points
  QComboBox* ComboColor = nullptr;  // the sixteen named colours, then the font's own if it is none of them
  QCheckBox* CheckBold = nullptr;
  QCheckBox* CheckItalic = nullptr;
  QCheckBox* CheckUnderline = nullptr;
  QCheckBox* CheckStrikeOut = nullptr;
  QLabel* LabelSample = nullptr;
  QDialogButtonBox* Buttons = nullptr;

 private:
  void ShowSample();

  const TFont font_;  // the font the dialog started with
};

}  // namespace vocatrix::ui
