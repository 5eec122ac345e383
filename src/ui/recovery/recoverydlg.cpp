// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/recovery/recoverydlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "base/messages.h"
#include "base/settings.h"
#include "ui/language/multilanguage.h"
#include "ui/language/textproperties.h"
#include "ui/common/qtstrings.h"

namespace vocatrix::ui {

TRecoveryDlg::TRecoveryDlg(QWidget* parent, const std::vector<TLeftRecovery>& found) : QDialog(parent) {
  setObjectName("RecoveryDlg");
  setWindowTitle("Ungesicherte Arbeit wiederherstellen");
  QFont font = parent ? parent->font() : QDialog::font();
  font.setBold(false);
  setFont(font);

  LabelRecovery = new QLabel(
      "Vocatrix wurde zuletzt nicht ordnungsgemäß beendet. Diese Fenster hatten ungesicherte Änderungen:", this);
  LabelRecovery->setObjectName("LabelRecovery");
  LabelRecovery->setWordWrap(true);
  ListRecovered = new QTreeWidget(this);
  ListRecovered->setObjectName("ListRecovered");
  MarkAsData(ListRecovered);
  ListRecovered->setRootIsDecorated(false);
  ListRecovered->setSelectionMode(QAbstractItemView::NoSelection);
  ListRecovered->setHeaderLabels({Utf8ToQString(TranslateMessage("RecoveryName", "Name")),
                                  Utf8ToQString(TranslateMessage("RecoveryTime", "Time")),
                                  Utf8ToQString(TranslateMessage("RecoveryEntries", "Entries"))});
  for (const TLeftRecovery& recovery : found) {
    auto* item = new QTreeWidgetItem(ListRecovered);
    if (!recovery.Error.empty()) {
      item->setText(0, FileNameToQString(ExtractFileName(recovery.NoteFile)) + " (" +
                           Utf8ToQString(TranslateMessage("RecoveryDamaged", "damaged")) + ")");
      item->setToolTip(0, Utf8ToQString(recovery.Error));
      continue;
    }
    const TRecoveryNote& note = recovery.Note;
    item->setText(0, Utf8ToQString(note.Caption));
    if (!note.FileName.empty()) item->setToolTip(0, FileNameToQString(note.FileName));
    item->setText(1, Utf8ToQString(note.Time));
    if (note.Kind == TRecoveryNote::kLessonWindow) item->setText(2, QString::number(note.Entries));
    item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
  }
  for (int column = 0; column < 3; ++column) ListRecovered->resizeColumnToContents(column);
  ListRecovered->header()->setStretchLastSection(false);
  ListRecovered->header()->setSectionResizeMode(0, QHeaderView::Stretch);

  const auto makeButton = [this](const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    return button;
  };
  ButtonRestore = makeButton("ButtonRestore", "&Wiederherstellen");
  ButtonDiscard = makeButton("ButtonDiscard", "&Verwerfen");
  ButtonLater = makeButton("ButtonLater", "&Später");
  ButtonRestore->setDefault(true);
  connect(ButtonRestore, &QPushButton::clicked, this, &QDialog::accept);
  connect(ButtonDiscard, &QPushButton::clicked, this, [this] { done(kDiscard); });
  connect(ButtonLater, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ButtonRestore);
  buttons->addWidget(ButtonDiscard);
  buttons->addWidget(ButtonLater);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(LabelRecovery);
  layout->addWidget(ListRecovered, 1);
  layout->addLayout(buttons);
  TranslateForm(this);
  resize(480, 260);
}

}  // namespace vocatrix::ui
