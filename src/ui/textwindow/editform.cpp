// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/textwindow/editform.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextFrame>

#include "base/cp1252.h"
#include "base/messages.h"
#include "base/safesave.h"
#include "base/settings.h"
#include "files/lessonfiles.h"
#include "ui/language/multilanguage.h"
#include "ui/language/textproperties.h"
#include "ui/mainwindow/windowhost.h"
#include "ui/common/menuitems.h"
#include "ui/platform/fileaccess.h"
#include "ui/common/qtfonts.h"
#include "ui/common/qtstrings.h"

namespace vocatrix::ui {
namespace {

const char kSaveFilter[] = "Text Files (*.txt) | *.txt | All Files (*.*) | *.*";

}  // namespace

TEditForm::TEditForm(TWindowHost& host) : host_(host), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(host_.NewChildName("EditForm"));
  resize(399, 210);
  Memo1 = new QTextEdit;
  Memo1->setObjectName("Memo1");
  Memo1->setAcceptRichText(false);
  Memo1->setFrameStyle(QFrame::NoFrame);
  Memo1->setLineWrapMode(QTextEdit::NoWrap);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QFont font("Courier New");
  font.setPixelSize(13);
  font.setBold(false);
  Memo1->setFont(font);
  Memo1->setContextMenuPolicy(Qt::CustomContextMenu);
  setWidget(Memo1);
  CreateMenus();
  saveFileDialog_ = new TFileDialogTexts(this, "SaveFileDialog", kSaveFilter);
  // The caption and the text are the window's own, not texts of a language.
  MarkAsData(this);
  MarkAsData(Memo1);
  TranslateForm(this);
  NameWindow();
  SetTextMargins();
  Memo1->document()->setModified(false);
  Memo1->setFocus();
}

TEditForm::~TEditForm() = default;

void TEditForm::CreateMenus() {
  File1 = MakeMenu(this, "File1", "&File");
  const auto frame = [this](TFrameCommand command) { return [this, command] { host_.RunFrameCommand(command); }; };
  connect(AddItem(File1, "New1", "&New"), &QAction::triggered, this, frame(TFrameCommand::New));
  connect(AddItem(File1, "Open1", "&Open"), &QAction::triggered, this, frame(TFrameCommand::Open));
  connect(AddItem(File1, "Close1", "&Close"), &QAction::triggered, this, [this] { close(); });
  AddSeparator(File1, "N1");
  connect(AddItem(File1, "Save1", "&Save", QKeySequence("Ctrl+S")), &QAction::triggered, this,
          [this] { Save1Click(); });
  connect(AddItem(File1, "SaveAs1", "Save &As..."), &QAction::triggered, this, &TEditForm::SaveAs1Click);
  AddSeparator(File1, "N2");
  connect(AddItem(File1, "Print1", "&Print", QKeySequence("Ctrl+P")), &QAction::triggered, this,
          &TEditForm::Print1Click);
  connect(AddItem(File1, "PrintSetup1", "Prin&t Setup..."), &QAction::triggered, this,
          &TEditForm::PrintSetup1Click);
  AddSeparator(File1, "N3");
  connect(AddItem(File1, "Exit1", "E&xit"), &QAction::triggered, this, frame(TFrameCommand::Exit));

  Edit1 = MakeMenu(this, "Edit1", "&Edit");
  Cut1 = AddItem(Edit1, "Cut1", "Cu&t", QKeySequence("Ctrl+X"));
  Copy1 = AddItem(Edit1, "Copy1", "&Copy", QKeySequence("Ctrl+C"));
  Paste1 = AddItem(Edit1, "Paste1", "&Paste", QKeySequence("Ctrl+V"));
  Delete1 = AddItem(Edit1, "Delete1", "De&lete");
  AddSeparator(Edit1, "N4");
  QAction* selectAll = AddItem(Edit1, "SelectAll1", "Select &All");
  connect(Edit1, &QMenu::aboutToShow, this, &TEditForm::UpdateEditItems);

  Character1 = MakeMenu(this, "Character1", "&Character");
  auto* alignment = new QActionGroup(this);
  alignment->setExclusive(true);
  Left1 = AddItem(Character1, "Left1", "&Left");
  Right1 = AddItem(Character1, "Right1", "&Right");
  Center1 = AddItem(Character1, "Center1", "&Center");
  for (QAction* item : {Left1, Right1, Center1}) {
    item->setCheckable(true);
    alignment->addAction(item);
    connect(item, &QAction::triggered, this, [this, item] { AlignClick(item); });
  }
  Left1->setChecked(true);
  AddSeparator(Character1, "N5");
  WordWrap1 = AddItem(Character1, "WordWrap1", "&WordWrap");
  WordWrap1->setCheckable(true);
  connect(WordWrap1, &QAction::triggered, this, &TEditForm::SetWordWrap);
  AddSeparator(Character1, "N6");
  connect(AddItem(Character1, "Font1", "&Font..."), &QAction::triggered, this, &TEditForm::SetFont);

  MemoPopUp = MakeMenu(this, "MemoPopUp", {});
  Cut2 = AddItem(MemoPopUp, "Cut2", "Cut");
  Copy2 = AddItem(MemoPopUp, "Copy2", "Copy");
  Paste2 = AddItem(MemoPopUp, "Paste2", "Paste");
  connect(Memo1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    UpdateEditItems();
    MemoPopUp->popup(Memo1->mapToGlobal(at));
  });

  for (QAction* item : {Cut1, Cut2}) connect(item, &QAction::triggered, Memo1, &QTextEdit::cut);
  for (QAction* item : {Copy1, Copy2}) connect(item, &QAction::triggered, Memo1, &QTextEdit::copy);
  for (QAction* item : {Paste1, Paste2}) connect(item, &QAction::triggered, Memo1, &QTextEdit::paste);
  connect(Delete1, &QAction::triggered, this, [this] { Memo1->textCursor().removeSelectedText(); });
  connect(selectAll, &QAction::triggered, Memo1, &QTextEdit::selectAll);
}

std::vector<GroupedMenu<QMenu*>> TEditForm::MenuGroups() const { return {{0, File1}, {1, Edit1}, {1, Character1}}; }

bool TEditForm::Modified() const { return Memo1->document()->isModified(); }

bool TEditForm::HasUnsavedChanges() const { return Modified(); }

void TEditForm::SetPathName(const std::string& path) {
  pathName_ = path;
  NameWindow();
}

void TEditForm::NameWindow() {
  if (pathName_.empty())
    SetUnnamedCaption(Utf8ToQString(TranslateMessage("Untitled", "Untitled")));
  else
    SetCaption(FileNameToQString(ExtractFileName(pathName_)));
}

void TEditForm::Open(const std::string& path) {
  const std::string data = ReadWholeFile(path);
  utf8_ = LooksLikeUtf8(data) && std::any_of(data.begin(), data.end(), [](char c) { return c & 0x80; });
  SetPathName(path);
  Memo1->setPlainText(utf8_ ? QString::fromUtf8(data) : ToQString(data));
  Memo1->moveCursor(QTextCursor::Start);
  SetTextMargins();
  Memo1->document()->setModified(false);
}

void TEditForm::AddLines(const QStringList& lines) {
  const bool modified = Modified();
  for (const QString& line : lines) Memo1->append(line);
  Memo1->moveCursor(QTextCursor::Start);
  Memo1->document()->setModified(modified);
}

void TEditForm::Save() {
  // Lines end in CR LF; the previous file becomes the backup only once the
  // new one is written whole.
  QString text = Memo1->toPlainText();
  text.replace(QChar::ParagraphSeparator, '\n').replace(QChar::LineSeparator, '\n');
  const QStringList lines = text.split('\n');
  std::string data;
  QString rejected;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (i) data += "\r\n";
    data += utf8_ ? lines[i].toStdString() : ToLessonString(lines[i], &rejected);
  }
  if (!text.isEmpty()) data += "\r\n";
  WriteFileAtomically(pathName_, data, BackupName(pathName_));
  Memo1->document()->setModified(false);
  host_.WorkSaved(this);
  if (!rejected.isEmpty()) host_.WarnRejectedCharacters(this, rejected);
}

bool TEditForm::Save1Click() {
  if (pathName_.empty() || host_.IsReadOnly(this, pathName_)) {
    SaveAs1Click();
    return !Modified();
  }
  try {
    Save();
  } catch (const std::exception& e) {
    host_.Services().dialogs.ShowError(this, Utf8ToQString(e.what()));
  }
  return !Modified();
}

void TEditForm::SaveAs1Click() {
  const std::optional<QString> chosen =
      host_.Services().dialogs.SaveFileName(this, saveFileDialog_->SaveRequest(pathName_, 1, "txt"));
  if (!chosen) return;
  SetPathName(QStringToFileName(*chosen));
  Save1Click();
}

void TEditForm::Print1Click() {
  if (!host_.ChoosePrinter(this, *printer_, pathName_)) return;
  printer_->setDocName(Caption());
  host_.PrintText(this, *Memo1->document(), *printer_);
}

void TEditForm::PrintSetup1Click() { host_.Services().dialogs.PrinterSetup(this, *printer_); }

void TEditForm::SetFont() {
  TFont font = FontOfQFont(Memo1->font());
  if (host_.Services().dialogs.ChooseFont(this, font)) ApplyFontTo(Memo1, font);
  SetTextMargins();
}

void TEditForm::SetWordWrap() {
  const bool wrap = Memo1->lineWrapMode() == QTextEdit::NoWrap;
  Memo1->setLineWrapMode(wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
  Memo1->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
  WordWrap1->setChecked(wrap);
  SetTextMargins();
}

void TEditForm::AlignClick(QAction* item) {
  for (QAction* other : {Left1, Right1, Center1}) other->setChecked(other == item);
  const Qt::Alignment alignment = Right1->isChecked() ? Qt::AlignRight : Center1->isChecked() ? Qt::AlignHCenter : Qt::AlignLeft;
  QTextOption option = Memo1->document()->defaultTextOption();
  option.setAlignment(alignment);
  Memo1->document()->setDefaultTextOption(option);
  // Lines typed so far follow too.
  const bool modified = Modified();
  QTextCursor cursor(Memo1->document());
  cursor.select(QTextCursor::Document);
  QTextBlockFormat format;
  format.setAlignment(alignment);
  cursor.mergeBlockFormat(format);
  Memo1->document()->setModified(modified);
}

void TEditForm::SetTextMargins() {
  QTextFrameFormat format = Memo1->document()->rootFrame()->frameFormat();
  format.setLeftMargin(3);
  format.setRightMargin(3);
  format.setTopMargin(2);
  format.setBottomMargin(2);
  const bool modified = Modified();
  Memo1->document()->setDocumentMargin(0);
  Memo1->document()->rootFrame()->setFrameFormat(format);
  Memo1->document()->setModified(modified);
}

void TEditForm::UpdateEditItems() {
  const QMimeData* clip = QApplication::clipboard()->mimeData();
  const bool paste = clip && clip->hasText();
  const bool selection = Memo1->textCursor().hasSelection();
  for (QAction* item : {Paste1, Paste2}) item->setEnabled(paste);
  for (QAction* item : {Cut1, Copy1, Delete1, Cut2, Copy2}) item->setEnabled(selection);
}

bool TEditForm::FormCloseQuery() {
  if (!Modified()) return true;
  BringToFront();
  const QString question =
      Utf8ToQString(TranslateMessage("SaveChanges", "Save Changes to '%s'?", {Caption().toStdString()}));
  switch (host_.Services().dialogs.Message(this, MessageKind::Confirmation, MessageButtons::YesNoCancel, question)) {
    case MessageAnswer::No: return true;
    // A cancelled or failed save keeps the window and its text.
    case MessageAnswer::Yes: return Save1Click();
    default: return false;
  }
}

void TEditForm::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  host_.WorkSaved(this);
  host_.ChildClosing(this);
  QMdiSubWindow::closeEvent(event);
}

std::optional<TRecoveryImage> TEditForm::RecoveryImage() const {
  if (!Modified()) return std::nullopt;
  TRecoveryImage image;
  image.Extension = ".txt";
  image.Text = Memo1->toPlainText();
  image.Note.Kind = TRecoveryNote::kTextWindow;
  image.Note.FileName = pathName_;
  image.Note.Caption = Caption().toStdString();
  image.Note.Encoding = utf8_ ? "utf8" : "cp1252";
  return image;
}

void TEditForm::Recover(const QString& text, const TRecoveryNote& note) {
  if (!note.FileName.empty()) SetPathName(note.FileName);
  utf8_ = note.Encoding == "utf8";
  Memo1->setPlainText(text);
  Memo1->moveCursor(QTextCursor::Start);
  SetTextMargins();
  Memo1->document()->setModified(true);
}

}  // namespace vocatrix::ui
