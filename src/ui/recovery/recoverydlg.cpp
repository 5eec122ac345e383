// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/recovery/recoverydlg.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLocale>
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
                                  Utf8ToQString(TranslateMessage("RecoveryFolder", "Folder")),
                                  Utf8ToQString(TranslateMessage("RecoveryTime", "Time")),
                                  Utf8ToQString(TranslateMessage("RecoveryEntries", "Entries"))});
  for (const TLeftRecovery& recovery : found) {
    auto* item = new QTreeWidgetItem(ListRecovered);
    if (!recovery.Error.empty()) {
      item->setText(0, FileNameToQString(ExtractFileName(recovery.NoteFile)) + " (" +
                           Utf8ToQString(TranslateMessage("RecoveryDamaged", "damaged")) + ")");
      item->setToolTip(0, Utf8ToQString(recovery.Error));
      item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable & ~Qt::ItemIsEnabled);
      continue;
    }
    const TRecoveryNote& note = recovery.Note;
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, Qt::Checked);
    item->setText(0, Utf8ToQString(note.Caption));
    if (!note.FileName.empty()) {
      item->setToolTip(0, FileNameToQString(note.FileName));
      QString folder = FileNameToQString(FolderOf(note.FileName));
      if (folder.size() > 1 && folder.endsWith('/')) folder.chop(1);
      item->setText(1, folder);
      item->setToolTip(1, folder);
    }
    // The time as the interface language writes it.
    const QDateTime time = QDateTime::fromString(QString::fromStdString(note.Time), "yyyy-MM-dd HH:mm:ss");
    item->setText(2, time.isValid() ? QLocale().toString(time, QLocale::ShortFormat) : Utf8ToQString(note.Time));
    if (note.Kind == TRecoveryNote::kLessonWindow) item->setText(3, QString::number(note.Entries));
    item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
  }
  for (int column = 0; column < 4; ++column) ListRecovered->resizeColumnToContents(column);
  ListRecovered->header()->setStretchLastSection(false);
  ListRecovered->header()->setSectionResizeMode(1, QHeaderView::Stretch);

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
  resize(560, 260);
}

std::vector<bool> TRecoveryDlg::Ticked() const {
  std::vector<bool> ticked;
  for (int i = 0; i < ListRecovered->topLevelItemCount(); ++i)
    ticked.push_back(ListRecovered->topLevelItem(i)->checkState(0) == Qt::Checked);
  return ticked;
}

}  // namespace vocatrix::ui
