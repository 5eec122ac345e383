// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/language/textproperties.h"

#include "components/clonedlabel.h"
#include "components/memopanel.h"
#include "components/multilabel.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTextBlock>

#include "ui/common/qtstrings.h"

namespace vocatrix::ui {
namespace {

const char kHintProperty[] = "hint";
const char kDataProperty[] = "vocatrixData";

template <class T>
const T* As(const QObject* object) {
  return qobject_cast<const T*>(object);
}
template <class T>
T* As(QObject* object) {
  return qobject_cast<T*>(object);
}

// --- Caption ---
// A window's own title. A frame showing a maximised child window has Qt's
// title of both, "Frame - [Child]": the child's part is no text of the frame.
QString OwnTitle(const QWidget* window) {
  const QString title = window->windowTitle();
  if (!As<QMainWindow>(window)) return title;
  const QString format = QMdiSubWindow::tr("%1 - [%2]");
  for (const QMdiSubWindow* child : window->findChildren<QMdiSubWindow*>()) {
    if (!child->isMaximized() || child->windowTitle().isEmpty()) continue;
    const QString childPart = QString(format).replace("%1", QString()).replace("%2", child->windowTitle());
    if (format.startsWith("%1") && title.endsWith(childPart)) return title.chopped(childPart.size());
    if (format.endsWith("%1") && title.startsWith(childPart)) return title.mid(childPart.size());
  }
  return title;
}

QString GetCaption(const QObject* o) {
  if (auto* w = dynamic_cast<const TCustomClonedLabel*>(o)) return w->Caption();
  if (auto* w = dynamic_cast<const TMemoPanel*>(o)) return w->Caption();
  if (auto* w = As<QMenu>(o)) return w->title();
  if (auto* w = As<QAction>(o)) return w->text();
  if (auto* w = As<QLabel>(o)) return w->text();
  if (auto* w = As<QAbstractButton>(o)) return w->text();
  if (auto* w = As<QGroupBox>(o)) return w->title();
  if (auto* w = As<QWidget>(o)) return OwnTitle(w);
  return {};
}
void SetCaption(QObject* o, const QString& text) {
  if (auto* w = dynamic_cast<TCustomClonedLabel*>(o)) w->SetCaption(text);
  else if (auto* w = dynamic_cast<TMemoPanel*>(o)) w->SetCaption(text);
  else if (auto* w = As<QMenu>(o)) w->setTitle(text);
  else if (auto* w = As<QAction>(o)) w->setText(text);
  else if (auto* w = As<QLabel>(o)) {
    w->setText(text);
    if (w->property(kAutoSizeProperty).toBool()) w->resize(w->sizeHint().width(), w->height());
  }
  else if (auto* w = As<QAbstractButton>(o)) w->setText(text);
  else if (auto* w = As<QGroupBox>(o)) w->setTitle(text);
  else if (auto* w = As<QWidget>(o)) w->setWindowTitle(text);
}

// --- Text of a multi-line label ---
QStringList GetLabelLines(const QObject* o) { return dynamic_cast<const TMultiLabel*>(o)->Text(); }
bool SetLabelLine(QObject* o, int line, const QString& text) {
  auto* label = dynamic_cast<TMultiLabel*>(o);
  QStringList lines = label->Text();
  if (line < 0 || line >= lines.size()) return false;
  lines[line] = text;
  label->SetText(lines);
  return true;
}

// --- Hint ---
QString GetHint(const QObject* o) { return o->property(kHintProperty).toString(); }
void SetHintOf(QObject* o, const QString& text) {
  if (auto* w = As<QWidget>(o)) SetHint(w, text);
}

// --- Text ---
QString GetText(const QObject* o) { return As<QLineEdit>(o)->text(); }
void SetText(QObject* o, const QString& text) { As<QLineEdit>(o)->setText(text); }

// --- Items ---
QStringList GetItems(const QObject* o) {
  const auto* combo = As<QComboBox>(o);
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}
bool SetItem(QObject* o, int line, const QString& text) {
  auto* combo = As<QComboBox>(o);
  if (line < 0 || line >= combo->count()) return false;
  combo->setItemText(line, text);
  return true;
}

// --- Lines ---
QStringList GetLines(const QObject* o) {
  const QString text = As<QPlainTextEdit>(o)->toPlainText();
  return text.isEmpty() ? QStringList() : text.split('\n');
}
bool SetLine(QObject* o, int line, const QString& text) {
  auto* memo = As<QPlainTextEdit>(o);
  const QTextBlock block = memo->document()->findBlockByNumber(line);
  if (!block.isValid() || memo->toPlainText().isEmpty()) return false;
  QTextCursor cursor(block);
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  cursor.insertText(text);
  return true;
}

// --- Tabs ---
QStringList GetTabs(const QObject* o) {
  const auto* bar = As<QTabBar>(o);
  QStringList tabs;
  for (int i = 0; i < bar->count(); ++i) tabs << bar->tabText(i);
  return tabs;
}
bool SetTab(QObject* o, int line, const QString& text) {
  auto* bar = As<QTabBar>(o);
  if (line < 0 || line >= bar->count()) return false;
  bar->setTabText(line, text);
  return true;
}

// --- Filter, Title ---
QString GetFilter(const QObject* o) { return static_cast<const TFileDialogTexts*>(o)->Filter; }
void SetFilter(QObject* o, const QString& text) { static_cast<TFileDialogTexts*>(o)->Filter = text; }
QString GetTitle(const QObject* o) { return static_cast<const TFileDialogTexts*>(o)->Title; }
void SetTitle(QObject* o, const QString& text) { static_cast<TFileDialogTexts*>(o)->Title = text; }

const TextProperty kCaption{"Caption", false, GetCaption, SetCaption};
const TextProperty kFilter{"Filter", false, GetFilter, SetFilter};
const TextProperty kHint{"Hint", false, GetHint, SetHintOf};
const TextProperty kItems{"Items", true, nullptr, nullptr, GetItems, SetItem};
const TextProperty kLines{"Lines", true, nullptr, nullptr, GetLines, SetLine};
const TextProperty kTabs{"Tabs", true, nullptr, nullptr, GetTabs, SetTab};
const TextProperty kText{"Text", false, GetText, SetText};
const TextProperty kTitle{"Title", false, GetTitle, SetTitle};
const TextProperty kLabelText{"Text", true, nullptr, nullptr, GetLabelLines, SetLabelLine};

bool HasCaption(const QObject* o) {
  if (auto* action = As<QAction>(o)) return !action->isSeparator();
  if (As<QMenu>(o) || As<QLabel>(o) || As<QAbstractButton>(o) || As<QGroupBox>(o) || As<QMainWindow>(o) ||
      As<QDialog>(o) || As<QMdiSubWindow>(o) || dynamic_cast<const TCustomClonedLabel*>(o) ||
      dynamic_cast<const TMemoPanel*>(o))
    return true;
  const auto* widget = As<QWidget>(o);
  return widget && widget->windowType() == Qt::Window;
}

}  // namespace

std::vector<const TextProperty*> TextPropertiesOf(const QObject* object) {
  std::vector<const TextProperty*> properties;
  const QString name = object->objectName();
  if (name.isEmpty() || name.startsWith("qt_")) return properties;
  if (dynamic_cast<const TFileDialogTexts*>(object)) return {&kFilter, &kTitle};
  const bool data = IsData(object);
  // In the order of their names: Caption, Hint, Items, Lines, Tabs, Text.
  if (HasCaption(object) && !data) properties.push_back(&kCaption);
  if (As<QWidget>(object)) properties.push_back(&kHint);
  if (As<QComboBox>(object) && !data) properties.push_back(&kItems);
  if (As<QPlainTextEdit>(object) && !data) properties.push_back(&kLines);
  if (As<QTabBar>(object)) properties.push_back(&kTabs);
  if (As<QLineEdit>(object) && !data) properties.push_back(&kText);
  if (dynamic_cast<const TMultiLabel*>(object) && !data) properties.push_back(&kLabelText);
  return properties;
}

void SetHint(QWidget* widget, const QString& hint) {
  widget->setProperty(kHintProperty, hint);
  widget->setToolTip(hint.section('|', 0, 0));
}

void MarkAsData(QObject* object) { object->setProperty(kDataProperty, true); }
bool IsData(const QObject* object) { return object->property(kDataProperty).toBool(); }

TFileDialogTexts::TFileDialogTexts(QObject* owner, const char* name, const QString& filter, const QString& title)
    : QObject(owner), Filter(filter), Title(title) {
  setObjectName(name);
}

FileDialogRequest TFileDialogTexts::OpenRequest(int filterIndex) const {
  FileDialogRequest request;
  request.Title = Title;
  request.Filter = Filter;
  request.FilterIndex = filterIndex;
  return request;
}

FileDialogRequest TFileDialogTexts::SaveRequest(const std::string& fileName, int filterIndex,
                                                const QString& defaultExtension) const {
  FileDialogRequest request = OpenRequest(filterIndex);
  request.FileName = FileNameToQString(fileName);
  request.DefaultExtension = defaultExtension;
  request.OverwritePrompt = true;
  request.RefuseReadOnly = true;
  return request;
}

}  // namespace vocatrix::ui
