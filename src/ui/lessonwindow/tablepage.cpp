// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/lessonwindow/tablepage.h"

#include <QAction>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "model/language.h"
#include "model/lesson.h"
#include "operations/entrytable.h"
#include "ui/common/eventpreview.h"
#include "ui/common/menuitems.h"
#include "ui/common/qtfonts.h"
#include "ui/common/qtstrings.h"
#include "ui/language/textproperties.h"
#include "ui/lessonwindow/entrytablemodel.h"
#include "ui/lessonwindow/pagecontrols.h"
#include "ui/lessonwindow/vocabeditform.h"

namespace vocatrix::ui {
namespace {

// A cell is edited in the font it is shown in: its language's.
class TCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (const QVariant font = index.data(Qt::FontRole); editor && font.isValid()) editor->setFont(font.value<QFont>());
    return editor;
  }
};

}  // namespace

TTablePage::TTablePage(VocabEditForm& form) : form_(form) {
  setObjectName("PageTable");
  LabelTableFilter = new QLabel("Fi&lter:", this);
  LabelTableFilter->setObjectName("LabelTableFilter");
  EditTableFilter = new QLineEdit(this);
  EditTableFilter->setObjectName("EditTableFilter");
  // What the user types to filter by is no text of the interface language.
  MarkAsData(EditTableFilter);
  SetHint(EditTableFilter, "Zeigt nur die Zeilen, die diesen Text enthalten");
  LabelTableFilter->setBuddy(EditTableFilter);

  TableView = new QTableView(this);
  TableView->setObjectName("TableView");
  // The headings in the small font of the tab strip: six of them share the window's width.
  TableView->setFont(PixelFont("MS Sans Serif", 12, false));
  model_ = new TEntryTableModel(this);
  model_->SetEditHandler([&form, this](int entry, int column, const QString& text) {
    committing_ = true;
    const bool stored = form.TableCellEdit(entry, column, text);
    committing_ = false;
    return stored;
  });
  TableView->setModel(model_);
  TableView->setItemDelegate(new TCellDelegate(TableView));
  ConfigureEntryTableView(TableView);
  // The word columns share the width; form and number keep what they need.
  QHeaderView* headings = TableView->horizontalHeader();
  for (int column = kColumnSynonyms; column <= kColumnAntonymTranslations; ++column)
    headings->setSectionResizeMode(column, QHeaderView::Stretch);
  headings->setMinimumSectionSize(40);
  // A heading wider than its column shows its start (and in full as its tip).
  headings->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  TableView->setContextMenuPolicy(Qt::CustomContextMenu);
  headings->setContextMenuPolicy(Qt::CustomContextMenu);

  auto* filter = new QHBoxLayout;
  filter->setSpacing(6);
  filter->addWidget(LabelTableFilter);
  filter->addWidget(EditTableFilter, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 6, 8, 6);
  layout->setSpacing(6);
  layout->addLayout(filter);
  layout->addWidget(TableView, 1);

  TablePopUp = MakeMenu(this, "TablePopUp", {});
  sortLesson_ = AddItem(TablePopUp, "MenuTableSortLesson", "Lektion nach dieser Spalte sortieren");
  AddSeparator(TablePopUp, "N8");
  open_ = AddItem(TablePopUp, "MenuTableOpen", "Auf der Seite Einträge zeigen");
  delete_ = AddItem(TablePopUp, "MenuTableDelete", "Einträge löschen", QKeySequence(Qt::Key_Delete));
  // Delete works on the table itself, never inside a cell being edited.
  delete_->setShortcutContext(Qt::WidgetShortcut);
  TableView->addAction(delete_);
  connect(sortLesson_, &QAction::triggered, &form, [&form, this] { form.TableSortLessonClick(menuColumn_); });
  connect(open_, &QAction::triggered, &form, [&form, this] { form.TableOpenEntry(CurrentEntry()); });
  connect(delete_, &QAction::triggered, &form, &VocabEditForm::TableDeleteClick);
  // The menu's disabled items are for the open menu only: the key goes on working.
  connect(TablePopUp, &QMenu::aboutToHide, this, [this] { delete_->setEnabled(true); });

  connect(TableView, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopUp(TableView->viewport(), at, TableView->columnAt(at.x())); });
  connect(headings, &QWidget::customContextMenuRequested, this,
          [this, headings](const QPoint& at) { PopUp(headings, at, headings->logicalIndexAt(at)); });
  connect(EditTableFilter, &QLineEdit::textChanged, model_, &TEntryTableModel::SetFilter);
  connect(TableView, &QAbstractItemView::doubleClicked, &form,
          [&form, this](const QModelIndex& index) { form.TableOpenEntry(model_->EntryOfRow(index.row())); });
  // Enter opens the current row's entry, as a double click does.
  TableView->installEventFilter(new EventPreview(this, [this](QObject*, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    // A cell's editor takes its own Enter.
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || !TableView->hasFocus()) return false;
    form_.TableOpenEntry(CurrentEntry());
    return true;
  }));
  connect(TableView->selectionModel(), &QItemSelectionModel::currentRowChanged, &form,
          [&form, this](const QModelIndex& current) {
            if (current.isValid()) form.TableCurrentChanged(model_->EntryOfRow(current.row()));
          });
  // Sorting and filtering make the rows anew; the current entry stays current.
  connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] { currentBeforeReset_ = CurrentEntry(); });
  connect(model_, &QAbstractItemModel::modelReset, this, [this] { SelectEntry(currentBeforeReset_); });
}

void TTablePage::ShowLesson(const TMeanCollection* lesson, int entry) {
  refreshLesson_ = nullptr;
  FitRows(*lesson);
  FitColumns(*lesson);
  shown_ = lesson;
  model_->SetLesson(lesson);
  SelectEntry(entry);
}

void TTablePage::Refresh(const TMeanCollection* lesson, int entry) {
  if (!shown_) return;
  if (!committing_) {
    ShowLesson(lesson, entry);
    return;
  }
  // The view is still storing its cell editor's text: making the rows anew
  // now would take the editor from under it. The rows follow right after.
  const bool posted = refreshLesson_ != nullptr;
  refreshLesson_ = lesson;
  refreshEntry_ = entry;
  if (posted) return;
  QMetaObject::invokeMethod(
      this,
      [this] {
        const TMeanCollection* lesson = refreshLesson_;
        refreshLesson_ = nullptr;
        if (shown_ && lesson) ShowLesson(lesson, refreshEntry_);
      },
      Qt::QueuedConnection);
}

void TTablePage::Release() {
  shown_ = nullptr;
  refreshLesson_ = nullptr;
  model_->SetLesson(nullptr);
}

void TTablePage::FitRows(const TMeanCollection& lesson) {
  int height = TableView->fontMetrics().height();
  for (const TLanguage* language : {&lesson.Language1, &lesson.Language2})
    height = std::max(height, QFontMetrics(ToQFont(language->Font)).height());
  TableView->verticalHeader()->setDefaultSectionSize(height + 6);
}

void TTablePage::FitColumns(const TMeanCollection& lesson) {
  const QFontMetrics headingFont(TableView->horizontalHeader()->font());
  // Room for the margins and the sort mark beside a heading.
  const int margins = 2 * headingFont.averageCharWidth() + 16;
  const QFontMetrics numberFont(TableView->font());
  const auto widest = [](const QFontMetrics& font, const QStringList& texts) {
    int width = 0;
    for (const QString& text : texts) width = std::max(width, font.horizontalAdvance(text));
    return width;
  };
  QStringList forms;
  for (const std::string& name : FormNames()) forms << ToQString(name);
  const auto heading = [this](int column) { return model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(); };
  QHeaderView* headings = TableView->horizontalHeader();
  headings->resizeSection(kColumnForm, std::max(headingFont.horizontalAdvance(heading(kColumnForm)) + margins,
                                                widest(numberFont, forms) + 12));
  headings->resizeSection(kColumnNumber,
                          std::max(headingFont.horizontalAdvance(heading(kColumnNumber)) + margins,
                                   numberFont.horizontalAdvance(QString::number(lesson.EntryCount())) + 12));
}

void TTablePage::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::LanguageChange) return;
  if (shown_) FitColumns(*shown_);
  TableView->horizontalHeader()->viewport()->update();
}

int TTablePage::CurrentEntry() const {
  const QModelIndex current = TableView->currentIndex();
  return current.isValid() ? model_->EntryOfRow(current.row()) : -1;
}

std::vector<int> TTablePage::SelectedEntries() const {
  std::vector<int> entries;
  for (const QItemSelectionRange& range : TableView->selectionModel()->selection())
    for (int row = range.top(); row <= range.bottom(); ++row) entries.push_back(model_->EntryOfRow(row));
  std::sort(entries.begin(), entries.end());
  entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
  return entries;
}

bool TTablePage::SortsDescending(int column) const {
  const QHeaderView* headings = TableView->horizontalHeader();
  return headings->sortIndicatorSection() == column && headings->sortIndicatorOrder() == Qt::DescendingOrder;
}

void TTablePage::SelectEntry(int entry) {
  const int row = entry >= 0 ? model_->RowOfEntry(entry) : -1;
  if (row < 0) return;
  const int column = std::max(0, TableView->currentIndex().column());
  const QModelIndex index = model_->index(row, column);
  TableView->selectionModel()->setCurrentIndex(index,
                                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  TableView->scrollTo(index);
}

void TTablePage::PopUp(QWidget* source, const QPoint& at, int column) {
  menuColumn_ = column;
  sortLesson_->setEnabled(column >= 0 && column != kColumnNumber);
  open_->setEnabled(CurrentEntry() >= 0);
  delete_->setEnabled(TableView->selectionModel()->hasSelection());
  TablePopUp->popup(source->mapToGlobal(at));
}

}  // namespace vocatrix::ui
