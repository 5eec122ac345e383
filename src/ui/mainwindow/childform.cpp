// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mainwindow/childform.h"

#include <QMdiArea>

#include <map>
#include <set>
#include <typeinfo>
#include <typeindex>

namespace vocatrix::ui {
namespace {

// The numbers unnamed windows hold, per kind of window. Only the interface
// thread makes and names windows.
std::set<int>& NumbersInUse(const TChildForm& form) {
  static std::map<std::type_index, std::set<int>> numbers;
  return numbers[std::type_index(typeid(form))];
}

}  // namespace

TChildForm::TChildForm(QWidget* parent) : QMdiSubWindow(parent) {
  static int lastSlot = 0;
  recoverySlot_ = ++lastSlot;
}

TChildForm::~TChildForm() { ReleaseNumber(); }

void TChildForm::ReleaseNumber() {
  if (unnamedNumber_ == 0) return;
  numbers_->erase(unnamedNumber_);
  unnamedNumber_ = 0;
}

void TChildForm::SetCaption(const QString& caption) {
  ReleaseNumber();
  caption_ = caption;
  ShowCaption();
}

void TChildForm::SetUnnamedCaption(const QString& base) {
  if (unnamedNumber_ == 0) {
    // The kind is known here, not in the destructor: the pool is kept.
    numbers_ = &NumbersInUse(*this);
    int number = 1;
    while (numbers_->count(number)) ++number;
    numbers_->insert(number);
    unnamedNumber_ = number;
  }
  caption_ = unnamedNumber_ == 1 ? base : QString("%1 %2").arg(base).arg(unnamedNumber_);
  ShowCaption();
}

bool TChildForm::UpdateModifiedMark() {
  const bool modified = HasUnsavedChanges();
  if (modified == marked_) return false;
  marked_ = modified;
  ShowCaption();
  return true;
}

void TChildForm::BringToFront() {
  if (isMinimized()) showNormal();
  if (QMdiArea* area = mdiArea()) area->setActiveSubWindow(this);
  raise();
}

void TChildForm::ShowCaption() { setWindowTitle(marked_ ? "*" + caption_ : caption_); }

}  // namespace vocatrix::ui
