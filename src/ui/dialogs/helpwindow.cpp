// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/helpwindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/messages.h"
#include "base/settings.h"
#include "ui/language/textproperties.h"
#include "ui/common/qtstrings.h"

namespace vocatrix::ui {
namespace {

QToolButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QString& hint) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setText(caption);
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  SetHint(button, hint);
  return button;
}

}  // namespace

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("HelpForm");
  setWindowTitle("Hilfe");
  resize(640, 560);

  BackBtn = MakeButton(this, "BackBtn", "< Zurück", "Zurück");
  ForwardBtn = MakeButton(this, "ForwardBtn", "Vor >", "Vor");
  ContentsBtn = MakeButton(this, "ContentsBtn", "Inhalt", "Inhaltsverzeichnis");
  auto* searchLabel = new QLabel("&Suchen:", this);
  searchLabel->setObjectName("LabelSearch");
  EditSearch = new QLineEdit(this);
  EditSearch->setObjectName("EditSearch");
  MarkAsData(EditSearch);
  searchLabel->setBuddy(EditSearch);
  FindBtn = MakeButton(this, "FindBtn", "Weitersuchen", "Nächste Fundstelle (F3)");
  LabelNotFound = new QLabel(this);
  LabelNotFound->setObjectName("LabelNotFound");
  MarkAsData(LabelNotFound);
  LabelNotFound->hide();
  Browser = new QTextBrowser(this);
  Browser->setObjectName("Browser");
  Browser->setOpenExternalLinks(true);

  auto* bar = new QHBoxLayout;
  for (QWidget* w : std::initializer_list<QWidget*>{BackBtn, ForwardBtn, ContentsBtn}) bar->addWidget(w);
  bar->addSpacing(12);
  bar->addWidget(searchLabel);
  bar->addWidget(EditSearch, 1);
  bar->addWidget(FindBtn);
  bar->addWidget(LabelNotFound);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(Browser, 1);

  BackBtn->setEnabled(false);
  ForwardBtn->setEnabled(false);
  connect(BackBtn, &QToolButton::clicked, Browser, &QTextBrowser::backward);
  connect(ForwardBtn, &QToolButton::clicked, Browser, &QTextBrowser::forward);
  connect(Browser, &QTextBrowser::backwardAvailable, BackBtn, &QToolButton::setEnabled);
  connect(Browser, &QTextBrowser::forwardAvailable, ForwardBtn, &QToolButton::setEnabled);
  connect(ContentsBtn, &QToolButton::clicked, this, [this] { ShowTopic(helpFile_, "hc_Contents"); });
  connect(EditSearch, &QLineEdit::returnPressed, this, &THelpWindow::FindNext);
  connect(EditSearch, &QLineEdit::textEdited, this, [this] { ShowFound(true); });
  connect(FindBtn, &QToolButton::clicked, this, &THelpWindow::FindNext);
  auto* findAgain = new QShortcut(QKeySequence(Qt::Key_F3), this);
  connect(findAgain, &QShortcut::activated, this, &THelpWindow::FindNext);
  auto* find = new QShortcut(QKeySequence::Find, this);
  connect(find, &QShortcut::activated, this, [this] {
    EditSearch->setFocus();
    EditSearch->selectAll();
  });
}

void THelpWindow::ShowTopic(const QString& helpFile, const QString& topic) {
  helpFile_ = helpFile;
  if (!QFileInfo(helpFile).isReadable()) {
    Browser->setPlainText(Utf8ToQString(
        TranslateMessage("ErrHelpFile", "The help file %s cannot be read.", {QStringToFileName(helpFile)})));
    return;
  }
  QUrl address = QUrl::fromLocalFile(helpFile);
  address.setFragment(topic);
  // The help files are HTML whatever their extension.
  Browser->setSource(address, QTextDocument::HtmlResource);
  if (!topic.isEmpty()) Browser->scrollToAnchor(topic);
}

bool THelpWindow::FindNext() {
  const QString text = EditSearch->text();
  if (text.isEmpty()) return false;
  bool found = Browser->find(text);
  if (!found) {
    // Wraps to the top once.
    QTextCursor cursor = Browser->textCursor();
    cursor.movePosition(QTextCursor::Start);
    Browser->setTextCursor(cursor);
    found = Browser->find(text);
  }
  ShowFound(found);
  return found;
}

void THelpWindow::ShowFound(bool found) {
  QPalette palette = EditSearch->palette();
  palette.setColor(QPalette::Base, found ? QApplication::palette().color(QPalette::Base) : QColor(255, 200, 200));
  EditSearch->setPalette(palette);
  if (!found) LabelNotFound->setText(Utf8ToQString(TranslateMessage("HelpNotFound", "Not found")));
  LabelNotFound->setVisible(!found);
}

void THelpWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void SetHelpTopic(QWidget* window, const char* topic) { window->setProperty("helpTopic", QString(topic)); }

QString HelpTopicOf(const QWidget* window) { return window->property("helpTopic").toString(); }

QUrl HomepageAddress(const std::string& language) {
  // The project's own pages: until it has a web site, the start pages of the
  // installed help.
  return QUrl::fromLocalFile(FileNameToQString(ProgramDataFolder() + (language == "Deutsch" ? "German.html" : "English.html")));
}

bool ShowHomepage(const Platform& platform, QWidget* parent, const std::string& language) {
  const QUrl address = HomepageAddress(language);
  if (!address.isLocalFile()) return platform.web.Open(address);
  platform.help.ShowTopic(parent, address.toLocalFile(), "hc_Contents");
  return true;
}

}  // namespace vocatrix::ui
