#include "ui/application.h"

#include "ui/mainform.h"
#include "ui/qtstrings.h"

namespace vocatrix::ui {

void ConfigureApplication() {
  QApplication::setApplicationName(MainForm::kProductName);
  QApplication::setApplicationVersion(MainForm::kVersion);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    if (OnError) OnError(Utf8ToQString(e.what()));
  }
  return false;
}

}  // namespace vocatrix::ui
