// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/importdlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "base/inifile.h"
#include "base/messages.h"
#include "base/safesave.h"
#include "base/settings.h"
#include "files/csv/csvchoices.h"
#include "files/csv/csvfile.h"
#include "model/lesson.h"
#include "ui/dialogs/helpwindow.h"
#include "ui/language/multilanguage.h"
#include "ui/language/textproperties.h"
#include "ui/mainwindow/mainform.h"
#include "ui/common/qtstrings.h"

namespace vocatrix::ui {
namespace {

// The file's rows shown, and the lesson's entries.
constexpr std::size_t kShownRows = 20;
constexpr int kShownEntries = 100;
// The separators of the list, after "automatic".
constexpr std::array<char, 6> kSeparators{'\t', ',', ';', ' ', '|', ':'};
constexpr std::array<const char*, 5> kFormTexts{"v.", "s.", "adj.", "adv.", ""};

QTableWidget* MakeGrid(QWidget* parent, const char* name) {
  auto* grid = new QTableWidget(parent);
  grid->setObjectName(name);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
  grid->horizontalHeader()->setDefaultSectionSize(130);
  grid->horizontalHeader()->setStretchLastSection(true);
  grid->setWordWrap(false);
  // Shows the file's content, not a text of the language.
  MarkAsData(grid);
  return grid;
}

QString Joined(const TWordCollection& list, int from) {
  QStringList words;
  for (int i = from; i < list.Count(); ++i) words << ToQString(list.At(i)->Text());
  return words.join("; ");
}

int SeparatorIndex(char separator) {
  for (std::size_t i = 0; i < kSeparators.size(); ++i)
    if (kSeparators[i] == separator) return static_cast<int>(i) + 1;
  return 0;
}

}  // namespace

TImportDlg::TImportDlg(MainForm* mainForm, const std::string& fileName, std::string data, const IniFile& settings)
    : QDialog(mainForm), main_(mainForm), fileName_(fileName), data_(std::move(data)) {
  setObjectName("ImportDlg");
  setWindowTitle("Importieren");
  SetHelpTopic(this, "hc_Import");
  QFont font = mainForm->font();
  font.setBold(false);
  setFont(font);
  resize(780, 560);

  const auto named = [](auto* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
  };
  const auto combo = [&](const char* name, const QStringList& items) {
    auto* box = named(new QComboBox(this), name);
    box->addItems(items);
    return box;
  };
  // Both labels tell of the file, in messages of the language.
  LabelFound = named(new QLabel(this), "LabelFound");
  LabelCount = named(new QLabel(this), "LabelCount");
  MarkAsData(LabelFound);
  MarkAsData(LabelCount);
  LabelSeparator = named(new QLabel("&Trennzeichen:", this), "LabelSeparator");
  ComboBoxSeparator = combo("ComboBoxSeparator", {"Automatisch", "Tabulator", "Komma", "Semikolon", "Leerzeichen",
                                                  "Senkrechter Strich |", "Doppelpunkt"});
  LabelEncoding = named(new QLabel("&Zeichenkodierung:", this), "LabelEncoding");
  ComboBoxEncoding = combo("ComboBoxEncoding",
                           {"Automatisch", "UTF-8", "UTF-16 LE", "UTF-16 BE", "Windows-1252 (westeuropäisch)"});
  LabelHeader = named(new QLabel("&Kopfzeile:", this), "LabelHeader");
  ComboBoxHeader = combo("ComboBoxHeader", {"Automatisch", "Erste Zeile benennt die Spalten", "Keine Kopfzeile"});
  LabelLanguage1 = named(new QLabel("Sprache &1:", this), "LabelLanguage1");
  EditLanguage1 = named(new QLineEdit(this), "EditLanguage1");
  LabelLanguage2 = named(new QLabel("Sprache &2:", this), "LabelLanguage2");
  EditLanguage2 = named(new QLineEdit(this), "EditLanguage2");
  for (QLineEdit* edit : {EditLanguage1, EditLanguage2}) {
    edit->setMaxLength(255);
    MarkAsData(edit);  // the names of the file's languages
  }
  LabelColumns = named(new QLabel("&Spalten der Datei (eine anklicken, um ihre Rolle zu wählen):", this), "LabelColumns");
  GridColumns = MakeGrid(this, "GridColumns");
  GridColumns->setSelectionBehavior(QAbstractItemView::SelectColumns);
  GridColumns->setSelectionMode(QAbstractItemView::SingleSelection);
  LabelColumns->setBuddy(GridColumns);
  LabelRole = named(new QLabel("&Rolle der Spalte:", this), "LabelRole");
  ComboBoxRole = combo("ComboBoxRole", {"Wort", "Synonyme", "Übersetzungen", "Antonyme", "Antonym-Übersetzungen",
                                        "Form", "Nicht einlesen"});
  LabelNoteType = named(new QLabel("&Notiztyp:", this), "LabelNoteType");
  ComboBoxNoteType = named(new QComboBox(this), "ComboBoxNoteType");
  LabelDeck = named(new QLabel("Sta&pel:", this), "LabelDeck");
  ComboBoxDeck = named(new QComboBox(this), "ComboBoxDeck");
  // The deck's own names, after an item in the language's words.
  MarkAsData(ComboBoxNoteType);
  MarkAsData(ComboBoxDeck);
  LabelNoteType->setBuddy(ComboBoxNoteType);
  LabelDeck->setBuddy(ComboBoxDeck);
  LabelPreview = named(new QLabel("Vorschau der Einträge:", this), "LabelPreview");
  GridPreview = MakeGrid(this, "GridPreview");
  GridPreview->setColumnCount(6);
  GridPreview->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  GridPreview->setSelectionMode(QAbstractItemView::NoSelection);
  OKBtn = named(new QPushButton("OK", this), "OKBtn");
  CancelBtn = named(new QPushButton("Abbrechen", this), "CancelBtn");
  HelpBtn = named(new QPushButton("&Hilfe", this), "HelpBtn");
  OKBtn->setDefault(true);
  LabelSeparator->setBuddy(ComboBoxSeparator);
  LabelEncoding->setBuddy(ComboBoxEncoding);
  LabelHeader->setBuddy(ComboBoxHeader);
  LabelLanguage1->setBuddy(EditLanguage1);
  LabelLanguage2->setBuddy(EditLanguage2);
  LabelRole->setBuddy(ComboBoxRole);

  auto* choices = new QGridLayout;
  choices->addWidget(LabelSeparator, 0, 0);
  choices->addWidget(ComboBoxSeparator, 0, 1);
  choices->addWidget(LabelLanguage1, 0, 2);
  choices->addWidget(EditLanguage1, 0, 3);
  choices->addWidget(LabelEncoding, 1, 0);
  choices->addWidget(ComboBoxEncoding, 1, 1);
  choices->addWidget(LabelLanguage2, 1, 2);
  choices->addWidget(EditLanguage2, 1, 3);
  choices->addWidget(LabelHeader, 2, 0);
  choices->addWidget(ComboBoxHeader, 2, 1);
  choices->addWidget(LabelNoteType, 3, 0);
  choices->addWidget(ComboBoxNoteType, 3, 1);
  choices->addWidget(LabelDeck, 4, 0);
  choices->addWidget(ComboBoxDeck, 4, 1);
  choices->setColumnStretch(1, 1);
  choices->setColumnStretch(3, 1);
  auto* role = new QHBoxLayout;
  role->addWidget(LabelRole);
  role->addWidget(ComboBoxRole);
  role->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(HelpBtn);
  buttons->addStretch(1);
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(LabelFound);
  layout->addLayout(choices);
  layout->addWidget(LabelColumns);
  layout->addWidget(GridColumns, 1);
  layout->addLayout(role);
  layout->addWidget(LabelPreview);
  layout->addWidget(GridPreview, 1);
  layout->addWidget(LabelCount);
  layout->addLayout(buttons);

  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpBtn, &QPushButton::clicked, this, [this] { main_->ShowHelpTopic("hc_Import"); });
  anki_ = IsAnkiDeck(fileName_);
  for (QWidget* widget : {static_cast<QWidget*>(LabelNoteType), static_cast<QWidget*>(ComboBoxNoteType),
                          static_cast<QWidget*>(LabelDeck), static_cast<QWidget*>(ComboBoxDeck)})
    widget->setVisible(anki_);
  if (anki_) {
    SetUpAnki();
    return;
  }

  // What the file itself says; the choices kept start a file of their shape.
  found_ = ExamineCsv(data_, CsvOptionsForFile({}, fileName_), 0);
  const CsvOptions start = StartingCsvOptions(data_, fileName_, ReadKeptCsvChoices(settings));
  ComboBoxSeparator->setCurrentIndex(SeparatorIndex(start.Separator));
  ComboBoxEncoding->setCurrentIndex(static_cast<int>(start.Encoding));
  ComboBoxHeader->setCurrentIndex(static_cast<int>(start.Header));
  roles_ = start.Columns;
  Examine();
  ShowFound();

  const auto choiceChanged = [this] {
    if (!showing_) Examine();
  };
  connect(ComboBoxSeparator, &QComboBox::currentIndexChanged, this, choiceChanged);
  connect(ComboBoxEncoding, &QComboBox::currentIndexChanged, this, choiceChanged);
  connect(ComboBoxHeader, &QComboBox::currentIndexChanged, this, choiceChanged);
  connect(ComboBoxRole, &QComboBox::activated, this, &TImportDlg::RoleChosen);
  connect(GridColumns, &QTableWidget::itemSelectionChanged, this, &TImportDlg::ColumnChosen);
  connect(GridColumns->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
    GridColumns->selectColumn(column);
  });
  for (int side = 0; side < 2; ++side)
    connect(side == 0 ? EditLanguage1 : EditLanguage2, &QLineEdit::textEdited, this, [this, side] {
      nameTyped_[side] = true;
    });
}

bool TImportDlg::Ask(MainForm* mainForm, const std::string& fileName, CsvOptions& options) {
  const std::string settingsFile = ProgramSettingsFile();
  TImportDlg dialog(mainForm, fileName, ReadWholeFile(fileName), IniFile::Load(settingsFile));
  TranslateForm(&dialog);
  dialog.TextsChanged();
  if (mainForm->Services().dialogs.Exec(dialog) != QDialog::Accepted) return false;
  options = dialog.Options();
  try {
    IniFile settings = IniFile::Edit(settingsFile);
    dialog.SaveChoices(settings);
    settings.Save();
  } catch (const std::exception&) {
    // Choices not kept are no reason to refuse the import.
  }
  return true;
}

CsvOptions TImportDlg::Options() const {
  CsvOptions options;
  const int separator = ComboBoxSeparator->currentIndex();
  options.Separator = separator > 0 ? kSeparators[static_cast<std::size_t>(separator - 1)] : 0;
  options.Encoding = static_cast<TextEncoding>(std::max(0, ComboBoxEncoding->currentIndex()));
  options.Header = static_cast<HeaderRow>(std::max(0, ComboBoxHeader->currentIndex()));
  options.Columns = roles_;
  options.Language1 = ToLessonString(EditLanguage1->text().trimmed());
  options.Language2 = ToLessonString(EditLanguage2->text().trimmed());
  return options;
}

void TImportDlg::SaveChoices(IniFile& settings) const {
  KeptCsvChoices kept;
  kept.Options = Options();
  kept.Shape = CsvShape(data_, kept.Options, fileName_);
  WriteKeptCsvChoices(settings, kept);
}

void TImportDlg::SetColumnRole(int column, ColumnRole role) {
  if (column < 0 || static_cast<std::size_t>(column) >= layout_.Columns.size()) return;
  if (roles_.empty()) roles_ = layout_.Columns;
  roles_[static_cast<std::size_t>(column)] = role;
  Examine();
  GridColumns->selectColumn(column);
}

void TImportDlg::TextsChanged() {
  if (anki_) {
    ShowAnkiChoices();
    return ShowPreview();
  }
  ShowFound();
  ShowColumns();
  ShowPreview();
}

void TImportDlg::Examine() {
  CsvOptions options = CsvOptionsForFile(Options(), fileName_);
  // Names found follow the columns; names typed stay.
  for (int side = 0; side < 2; ++side)
    if (!nameTyped_[side]) (side == 0 ? options.Language1 : options.Language2).clear();
  // Roles set for another number of columns fit the file no longer.
  if (!roles_.empty()) {
    CsvOptions plain = options;
    plain.Columns.clear();
    if (ExamineCsv(data_, plain, 0).Columns.size() != roles_.size()) roles_.clear();
    options.Columns = roles_;
  }
  layout_ = ExamineCsv(data_, options, kShownRows);
  showing_ = true;
  if (!nameTyped_[0]) EditLanguage1->setText(ToQString(layout_.Language1));
  if (!nameTyped_[1]) EditLanguage2->setText(ToQString(layout_.Language2));
  showing_ = false;
  // The lesson OK makes, by the one reading that makes it.
  try {
    preview_ = ImportCsv(data_, Options(), fileName_);
    previewError_.clear();
  } catch (const std::exception& e) {
    preview_ = CsvImport();
    previewError_ = e.what();
  }
  ShowColumns();
  ShowPreview();
}

void TImportDlg::ShowFound() {
  const int separator = SeparatorIndex(found_.Separator);
  const QString separatorText = separator > 0 ? ComboBoxSeparator->itemText(separator)
                                               : "\"" + ToQString(std::string(1, found_.Separator)) + "\"";
  LabelFound->setText(Utf8ToQString(
      TranslateMessage("ImportFound", "Found in the file: separator %s, encoding %s.",
                       {separatorText.toStdString(),
                        ComboBoxEncoding->itemText(static_cast<int>(found_.Encoding)).toStdString()})));
}

QString TImportDlg::RoleText(ColumnRole role) const { return ComboBoxRole->itemText(static_cast<int>(role)); }

void TImportDlg::ShowColumns() {
  if (!GridColumns) return;
  showing_ = true;
  const int selected = GridColumns->currentColumn();
  const int columns = static_cast<int>(layout_.Columns.size());
  GridColumns->clear();
  GridColumns->setColumnCount(columns);
  GridColumns->setRowCount(static_cast<int>(layout_.Rows.size()));
  QStringList headers;
  for (int c = 0; c < columns; ++c) {
    QString header = QString::number(c + 1) + ": " + RoleText(layout_.Columns[static_cast<std::size_t>(c)]);
    if (static_cast<std::size_t>(c) < layout_.ColumnNames.size() && !layout_.ColumnNames[static_cast<std::size_t>(c)].empty())
      header += "\n" + Utf8ToQString(layout_.ColumnNames[static_cast<std::size_t>(c)]);
    headers << header;
  }
  GridColumns->setHorizontalHeaderLabels(headers);
  // A column at least as wide as its heading: the role chosen and the file's name of it.
  QHeaderView* headings = GridColumns->horizontalHeader();
  for (int c = 0; c < columns; ++c)
    headings->resizeSection(c, std::max(headings->defaultSectionSize(), headings->sectionSizeHint(c)));
  for (int r = 0; r < static_cast<int>(layout_.Rows.size()); ++r) {
    const std::vector<std::string>& row = layout_.Rows[static_cast<std::size_t>(r)];
    for (int c = 0; c < columns && static_cast<std::size_t>(c) < row.size(); ++c)
      GridColumns->setItem(r, c, new QTableWidgetItem(Utf8ToQString(row[static_cast<std::size_t>(c)])));
  }
  if (selected >= 0 && selected < columns) GridColumns->selectColumn(selected);
  showing_ = false;
  ColumnChosen();
}

void TImportDlg::ShowPreview() {
  QStringList headers;
  for (int role = 0; role <= static_cast<int>(ColumnRole::Form); ++role)
    headers << RoleText(static_cast<ColumnRole>(role));
  GridPreview->setHorizontalHeaderLabels(headers);
  const TMeanCollection* lesson = anki_ ? ankiPreview_.get() : preview_.Lesson.get();
  const int entries = lesson ? lesson->EntryCount() : 0;
  const int shown = std::min(entries, kShownEntries);
  GridPreview->setRowCount(shown);
  for (int i = 0; i < shown; ++i) {
    const TMeaning& entry = *lesson->At(i);
    const QString cells[6] = {entry.Synonyms.Count() > 0 ? ToQString(entry.Synonyms.At(0)->Text()) : QString(),
                              Joined(entry.Synonyms, 1),
                              Joined(entry.Translations, 0), Joined(entry.Antonyms, 0),
                              Joined(entry.AntonymTranslations, 0),
                              entry.Form < kFormTexts.size() ? kFormTexts[entry.Form] : ""};
    for (int c = 0; c < 6; ++c) GridPreview->setItem(i, c, new QTableWidgetItem(cells[c]));
  }
  std::string count = previewError_;
  if (lesson && anki_) {
    count = TranslateMessage("ImportAnkiCount", "Entries: %s.", {std::to_string(entries)});
    if (shown < entries) count += " " + TranslateMessage("ImportFirstShown", "The first %s are shown.",
                                                         {std::to_string(shown)});
  } else if (lesson) {
    count = TranslateMessage("ImportCount", "Entries: %s, from %s rows of the file.",
                             {std::to_string(entries), std::to_string(preview_.Rows)});
    if (shown < entries) count += " " + TranslateMessage("ImportFirstShown", "The first %s are shown.",
                                                         {std::to_string(shown)});
  }
  LabelCount->setText(Utf8ToQString(count));
}

void TImportDlg::ColumnChosen() {
  if (showing_) return;
  const int column = GridColumns->currentColumn();
  const bool any = column >= 0 && column < static_cast<int>(layout_.Columns.size());
  ComboBoxRole->setEnabled(any);
  if (any) ComboBoxRole->setCurrentIndex(static_cast<int>(layout_.Columns[static_cast<std::size_t>(column)]));
}

void TImportDlg::RoleChosen(int index) {
  if (index < 0 || index >= kColumnRoles) return;
  SetColumnRole(GridColumns->currentColumn(), static_cast<ColumnRole>(index));
}

}  // namespace vocatrix::ui
