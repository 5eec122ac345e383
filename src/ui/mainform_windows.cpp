// The main window's child windows: new, open, drop, start-up files, save
// all, close all, exit, arrangement, the Window menu and menu merging, and
// the character buttons acting on the active window.

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QToolButton>

#include "base/inifile.h"
#include "base/cp1252.h"
#include "base/messages.h"
#include "files/lessonfiles.h"
#include "files/lessontext.h"
#include "model/exceptions.h"
#include "operations/catalogue.h"
#include "ui/editform.h"
#include "ui/importdlg.h"
#include "ui/platform/fileaccess.h"
#include "base/settings.h"
#include "ui/charcompose.h"
#include "ui/mainform.h"
#include "ui/menumerge.h"
#include "ui/qtstrings.h"
#include "ui/vocabeditform.h"

namespace vocatrix::ui {
namespace {

bool HasLocalFiles(const QMimeData* data) {
  if (!data || !data->hasUrls()) return false;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) return true;
  return false;
}

}  // namespace

QList<VocabEditForm*> MainForm::LessonWindows() const {
  QList<VocabEditForm*> windows;
  // Stacking order runs from the bottom to the top window.
  const QList<QMdiSubWindow*> stack = clientArea_->subWindowList(QMdiArea::StackingOrder);
  for (auto it = stack.rbegin(); it != stack.rend(); ++it)
    if (auto* form = qobject_cast<VocabEditForm*>(*it)) windows.push_back(form);
  return windows;
}

VocabEditForm* MainForm::ActiveEditForm() const {
  return qobject_cast<VocabEditForm*>(clientArea_->currentSubWindow());
}

QString MainForm::NewChildName(const QString& base) const {
  QStringList taken;
  for (QMdiSubWindow* window : clientArea_->subWindowList()) taken << window->objectName();
  QString name = base;
  for (int n = 1; taken.contains(name); ++n) name = QString("%1_%2").arg(base).arg(n);
  return name;
}

void MainForm::ChildClosing(TChildForm* form) {
  const QList<QMdiSubWindow*> windows = clientArea_->subWindowList();
  if (windows.size() == 1 && windows.first() == form) SetLessonControlsEnabled(false);
}

bool MainForm::IsReadOnly(QWidget* parent, const std::string& fileName) {
  if (!FileIsReadOnly(fileName)) return false;
  platform_.dialogs.ShowWarning(parent, FileNameToQString(ExtractFileName(fileName)) + " is read only.");
  return true;
}

TEditForm* MainForm::NewTextWindow() {
  auto* form = new TEditForm(this);
  AddChild(form);
  return form;
}

void MainForm::MenuBrowseClick() {
  FileDialogRequest request = openFileDialog_->OpenRequest();
  request.MultiSelect = true;
  request.MustExist = false;
  const std::optional<QString> chosen = platform_.dialogs.OpenFileName(this, request);
  if (!chosen) return;
  const TCatalogue catalogue = MakeCatalogue(FolderOf(QStringToFileName(*chosen)));
  QStringList lines;
  for (const std::string& line : catalogue.Lines) lines << ToQString(line);
  TEditForm* form = NewTextWindow();
  form->AddLines(lines);
  // The window with the lines made so far is shown before the error that
  // ended the walk.
  if (!catalogue.Errors.empty()) platform_.dialogs.ShowError(this, Utf8ToQString(catalogue.Errors.front().Message));
}

VocabEditForm* MainForm::NewChild() {
  auto* form = new VocabEditForm(this);
  AddChild(form);
  return form;
}

void MainForm::AddChild(TChildForm* form) {
  clientArea_->addSubWindow(form);
  form->show();
  PlaceNewWindow(form);
  clientArea_->setActiveSubWindow(form);
  SetLessonControlsEnabled(true);
}

void MainForm::PlaceNewWindow(QMdiSubWindow* window) {
  // Cascades from the window made last, one title bar down and right; a
  // window that would stick out of the client area starts again at the top
  // left corner.
  QMdiSubWindow* last = nullptr;
  for (QMdiSubWindow* other : clientArea_->subWindowList(QMdiArea::CreationOrder))
    if (other != window && other->isVisible() && !other->isMinimized() && !other->isMaximized()) last = other;
  const QRect area = clientArea_->viewport()->rect();
  const int step = std::max(window->contentsMargins().top(), 16);
  QPoint at(0, 0);
  if (last) at = last->pos() + QPoint(step, step);
  if (at.x() < 0 || at.y() < 0 || at.x() + window->width() > area.width() || at.y() + window->height() > area.height())
    at = QPoint(0, 0);
  window->move(at);
}

void MainForm::OpenChild() {
  if (const std::optional<QString> chosen = platform_.dialogs.OpenFileName(this, openFileDialog_->OpenRequest()))
    OpenFile(QStringToFileName(*chosen));
}

VocabEditForm* MainForm::OpenFile(const std::string& fileName) {
  VocabEditForm* form = nullptr;
  try {
    // A lesson file is read before its window exists, and the window opens
    // straight on it; text goes onto the Text page of a new window.
    if (FileKind(fileName) == kLessonFile) {
      form = new VocabEditForm(this, VocabEditForm::ReadLessonFile(fileName), fileName);
    } else {
      form = new VocabEditForm(this);
      form->Open(fileName);
    }
  } catch (const std::exception& e) {
    platform_.dialogs.ShowError(this, Utf8ToQString(e.what()));
    delete form;
    return nullptr;
  }
  AddChild(form);
  return form;
}

void MainForm::MenuImportClick() {
  if (const std::optional<QString> chosen = platform_.dialogs.OpenFileName(this, importFileDialog_->OpenRequest()))
    ImportFile(QStringToFileName(*chosen));
}

VocabEditForm* MainForm::ImportFile(const std::string& fileName) {
  TransferReport report;
  std::unique_ptr<TMeanCollection> lesson;
  try {
    // Delimited text is read as the user lays it out in the import dialog.
    ReadOptions options;
    if (IsDelimitedText(fileName) && !TImportDlg::Ask(this, fileName, options.Csv)) return nullptr;
    lesson = IsDelimitedText(fileName) ? ReadDelimitedText(fileName, options, report)
                                       : ReadLessonByFormat(fileName, options, report);
  } catch (const std::exception& e) {
    platform_.dialogs.ShowError(this, Utf8ToQString(e.what()));
    return nullptr;
  }
  // Words whose characters a lesson cannot hold would all be "?": asked first.
  if (report.LostAny() &&
      platform_.dialogs.Message(this, MessageKind::Confirmation, MessageButtons::YesNo,
                                Utf8ToQString(LostCharactersMessage(report) + " " +
                                              TranslateMessage("ImportAnyway", "Import anyway?"))) !=
          MessageAnswer::Yes)
    return nullptr;
  lesson->DblDel(report.LossyWords);
  if (lesson->EntryCount() > TMeanCollection::kMaxEntries) {
    // The window counts entries in 16 bits, as the lesson file does.
    platform_.dialogs.ShowError(
        this, Utf8ToQString(ELessonTooLarge::ForEntries(lesson->EntryCount(), TMeanCollection::kMaxEntries).what()));
    return nullptr;
  }
  // Not yet saved anywhere as a lesson: closing asks to save it.
  lesson->LessonFileName.clear();
  lesson->Modified = true;
  auto* form = new VocabEditForm(this);
  form->SetLesson(std::move(lesson));
  AddChild(form);
  WarnTransfer(form, fileName, report);
  return form;
}

void MainForm::WarnTransfer(QWidget* parent, const std::string& fileName, const TransferReport& report) {
  std::vector<std::string> notes = ReadNotes(report, fileName, false);
  if (const std::string uncarried = UncarriedMessage(report, fileName); !uncarried.empty()) notes.push_back(uncarried);
  std::string text;
  for (const std::string& note : notes) text += (text.empty() ? "" : "\n") + note;
  if (!text.empty()) platform_.dialogs.ShowWarning(parent, Utf8ToQString(text));
}

void MainForm::OpenStartupFiles(const QStringList& arguments) {
  if (!arguments.isEmpty()) {
    for (const QString& argument : arguments) OpenFile(ExpandFileName(QStringToFileName(argument)));
    return;
  }
  std::vector<std::string> files;
  for (const std::string& line : IniFile(ProgramSettingsFile()).ReadSectionValues("Lessons")) {
    std::string key, value;
    if (SplitIniLine(line, key, value) && !value.empty()) files.push_back(PathFromSettings(value));
  }
  for (auto it = files.rbegin(); it != files.rend(); ++it) OpenFile(*it);
}

void MainForm::DropFiles(const QList<QUrl>& urls) {
  for (const QUrl& url : urls)
    if (url.isLocalFile()) OpenFile(QStringToFileName(url.toLocalFile()));
}

bool MainForm::PreviewEvent(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != this) return false;
  auto* drop = static_cast<QDropEvent*>(event);
  if (!HasLocalFiles(drop->mimeData())) return false;
  // Files dropped anywhere on the window open as lessons.
  drop->setDropAction(Qt::CopyAction);
  drop->accept();
  if (type == QEvent::Drop) DropFiles(drop->mimeData()->urls());
  return true;
}

void MainForm::SaveAllLessons() {
  const QList<VocabEditForm*> windows = LessonWindows();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) (*it)->MenuSaveClick();
}

void MainForm::CloseAllLessons() {
  const QList<VocabEditForm*> windows = LessonWindows();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) (*it)->close();
}

void MainForm::MenuExitClick() { close(); }

void MainForm::closeEvent(QCloseEvent* event) {
  // Every child window, text windows too, may keep the program open.
  QList<TChildForm*> windows;
  const QList<QMdiSubWindow*> stack = clientArea_->subWindowList(QMdiArea::StackingOrder);
  for (auto it = stack.rbegin(); it != stack.rend(); ++it)
    if (auto* form = qobject_cast<TChildForm*>(*it)) windows << form;
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    if (!(*it)->FormCloseQuery()) {
      event->ignore();
      return;
    }
  }
  event->accept();
}

void MainForm::SetLessonControlsEnabled(bool enabled) {
  for (QToolButton* button : {saveBtn_, printBtn_, cutBtn_, copyBtn_, pasteBtn_}) button->setEnabled(enabled);
  for (QToolButton* button : charButtons_) button->setEnabled(enabled);
  menuWindows_->menuAction()->setVisible(enabled);
}

void MainForm::CascadeClick() { clientArea_->cascadeSubWindows(); }

void MainForm::TileVerticalClick() { Tile(Qt::Horizontal); }

void MainForm::TileHorizontalClick() { Tile(Qt::Vertical); }

void MainForm::Tile(Qt::Orientation direction) {
  QList<QMdiSubWindow*> windows;
  for (QMdiSubWindow* window : clientArea_->subWindowList())
    if (!window->isMinimized() && window->isVisible()) windows << window;
  if (windows.isEmpty()) return;
  const QRect area = clientArea_->viewport()->rect();
  const int count = static_cast<int>(windows.size());
  const bool sideBySide = direction == Qt::Horizontal;
  const QSize slot = sideBySide ? QSize(area.width() / count, area.height()) : QSize(area.width(), area.height() / count);
  // Each window takes its share as far as its size limits allow; a window
  // of fixed size keeps it, and the next one starts where it ends, so none
  // covers another (the client area scrolls to what lies beyond its edge).
  int offset = 0;
  for (QMdiSubWindow* window : windows) {
    window->showNormal();
    const QSize size = slot.expandedTo(window->minimumSize()).boundedTo(window->maximumSize());
    window->setGeometry(QRect(sideBySide ? QPoint(offset, 0) : QPoint(0, offset), size));
    offset += sideBySide ? size.width() : size.height();
  }
}

void MainForm::ArrangeIconsClick() {
  // Minimised windows line up along the bottom edge, left to right.
  const QRect area = clientArea_->viewport()->rect();
  int x = 0;
  int y = area.bottom();
  for (QMdiSubWindow* window : clientArea_->subWindowList()) {
    if (!window->isMinimized()) continue;
    const QSize size = window->size();
    if (x > 0 && x + size.width() > area.width()) {
      x = 0;
      y -= size.height();
    }
    window->move(x, y - size.height() + 1);
    x += size.width();
  }
}

void MainForm::UpdateWindowMenu() {
  for (QAction* item : windowListItems_) {
    menuWindows_->removeAction(item);
    delete item;
  }
  windowListItems_.clear();
  delete windowListGroup_;
  windowListGroup_ = nullptr;
  const QList<QMdiSubWindow*> windows = clientArea_->subWindowList(QMdiArea::CreationOrder);
  if (windows.isEmpty()) return;
  windowListItems_ << menuWindows_->addSeparator();
  // Only the active window carries a mark, the round one of a choice.
  windowListGroup_ = new QActionGroup(menuWindows_);
  windowListGroup_->setExclusive(true);
  int number = 1;
  for (QMdiSubWindow* window : windows) {
    QString caption = window->windowTitle();
    QAction* item = menuWindows_->addAction(QString("&%1 %2").arg(number++).arg(caption.replace('&', "&&")));
    if (window == clientArea_->currentSubWindow()) {
      item->setCheckable(true);
      item->setChecked(true);
      windowListGroup_->addAction(item);
    }
    connect(item, &QAction::triggered, this, [this, target = QPointer<QMdiSubWindow>(window)] {
      if (target) clientArea_->setActiveSubWindow(target);
    });
    windowListItems_ << item;
  }
}

void MainForm::RefreshMenuBar() {
  const std::vector<GroupedMenu<QMenu*>> frame = {{0, menuFile_}, {0, menuExtras_}, {8, menuWindows_}, {9, menuHelp_}};
  std::vector<GroupedMenu<QMenu*>> child;
  if (auto* form = qobject_cast<TChildForm*>(clientArea_->currentSubWindow())) child = form->MenuGroups();
  menuBar()->clear();
  for (QMenu* menu : MergeMenus(frame, child)) menuBar()->addMenu(menu);
}

void MainForm::CharmapClick(int button) {
  if (button < 0 || button >= kCharButtons || charSet_[button].empty()) return;
  QMdiSubWindow* window = clientArea_->currentSubWindow();
  if (!window) return;
  InsertCharacter(window->focusWidget(), static_cast<unsigned char>(charSet_[button][0]));
}

}  // namespace vocatrix::ui
