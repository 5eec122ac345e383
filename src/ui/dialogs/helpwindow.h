// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The help window: a help file (HTML, one anchor per topic key) shown at a
// topic, with back, forward, contents and search in the page. The program's
// home pages are the installed help's start pages until it has a web site.

#include <QUrl>
#include <QWidget>
#include <string>

#include "ui/platform/platform.h"

class QKeyEvent;
class QLabel;
class QLineEdit;
class QTextBrowser;
class QToolButton;

namespace vocatrix::ui {

class THelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit THelpWindow(QWidget* parent = nullptr);

  // Shows `helpFile` at the anchor `topic`; a file that cannot be read shows
  // a line saying so.
  void ShowTopic(const QString& helpFile, const QString& topic);
  // Finds the text of the search field after the cursor, from the top again
  // at the end; false when it is nowhere in the page, which the window says
  // beside the field until the text is changed.
  bool FindNext();

  QTextBrowser* Browser = nullptr;
  QToolButton* BackBtn = nullptr;
  QToolButton* ForwardBtn = nullptr;
  QToolButton* ContentsBtn = nullptr;
  QLineEdit* EditSearch = nullptr;
  QToolButton* FindBtn = nullptr;
  QLabel* LabelNotFound = nullptr;

 protected:
  // Esc closes the window.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ShowFound(bool found);

  QString helpFile_;
};

// The help topic a window (a dialog) opens with F1, and the topic of a
// window: empty for none.
void SetHelpTopic(QWidget* window, const char* topic);
QString HelpTopicOf(const QWidget* window);

// The maker's web page for an interface language: the German one for
// exactly "Deutsch", the English one for every other language.
QUrl HomepageAddress(const std::string& language);

// Shows the maker's page: a page of the installed help in the help window,
// which is there with or without a browser; a web address in the browser.
// False when no browser took a web address.
bool ShowHomepage(const Platform& platform, QWidget* parent, const std::string& language);

}  // namespace vocatrix::ui
