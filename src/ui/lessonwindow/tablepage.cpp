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
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "base/cp1252.h"
#include "base/messages.h"
#include "document/lessoncommands.h"
#include "model/language.h"
#include "model/lesson.h"
#include "operations/entrytable.h"
#include "ui/common/backgroundwork.h"
#include "ui/common/eventpreview.h"
#include "ui/common/menuitems.h"
#include "ui/common/qtfonts.h"
#include "ui/common/qtstrings.h"
#include "ui/language/textproperties.h"
#include "ui/lessonwindow/entrytablemodel.h"
#include "ui/lessonwindow/pagecontrols.h"
#include "ui/lessonwindow/entriespage.h"
#include "ui/mainwindow/windowhost.h"

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

TTablePage::TTablePage(TPageHost& host) : TLessonPage(host) {
  setObjectName("PageTable");
  sort_ = new TBackgroundWork(this);
  LabelTableFilter = new QLabel("Fi&lter:", this);
  LabelTableFilter->setObjectName("LabelTableFilter");
  EditTableFilter = new QLineEdit(this);
  EditTableFilter->setObjectName("EditTableFilter");
  // What the user types to filter by is no text of the interface language.
  MarkAsData(EditTableFilter);
  SetHint(EditTableFilter, "Zeigt nur die Zeilen, die diesen Text enthalten");
  LabelTableFilter->setBuddy(EditTableFilter);
  LabelTableCount = new QLabel(this);
  LabelTableCount->setObjectName("LabelTableCount");
  // A count the page writes, in a message of the language.
  MarkAsData(LabelTableCount);

  TableView = new QTableView(this);
  TableView->setObjectName("TableView");
  // The headings in the small font of the tab strip: six of them share the window's width.
  TableView->setFont(PixelFont("MS Sans Serif", 12, false));
  model_ = new TEntryTableModel(this);
  model_->SetFormNames(InterfaceFormNames());
  connect(model_, &TEntryTableModel::CellEdited, this, &TTablePage::EditCell);
  connect(model_, &TEntryTableModel::CellRefused, this, &TTablePage::CellRefused);
  TableView->setModel(model_);
  TableView->setItemDelegate(new TCellDelegate(TableView));
  ConfigureEntryTableView(TableView);
  // The word columns share the width (ShareWidth); form and number keep what they need.
  QHeaderView* headings = TableView->horizontalHeader();
  for (int column = kColumnSynonyms; column <= kColumnAntonymTranslations; ++column)
    headings->setSectionResizeMode(column, QHeaderView::Fixed);
  headings->setMinimumSectionSize(40);
  TableView->viewport()->installEventFilter(new EventPreview(this, [this](QObject*, QEvent* event) {
    if (event->type() == QEvent::Resize) ShareWidth();
    return false;
  }));
  connect(headings, &QHeaderView::sectionResized, this, [this](int column) {
    if (column == kColumnForm || column == kColumnNumber) ShareWidth();
  });
  // A heading wider than its column shows its start (and in full as its tip).
  headings->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  TableView->setContextMenuPolicy(Qt::CustomContextMenu);
  headings->setContextMenuPolicy(Qt::CustomContextMenu);

  auto* filter = new QHBoxLayout;
  filter->setSpacing(6);
  filter->addWidget(LabelTableFilter);
  filter->addWidget(EditTableFilter, 1);
  filter->addWidget(LabelTableCount);
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
  connect(sortLesson_, &QAction::triggered, this, [this] { SortLessonClick(menuColumn_); });
  connect(open_, &QAction::triggered, this, [this] { emit OpenEntryRequested(CurrentEntry()); });
  connect(delete_, &QAction::triggered, this, &TTablePage::DeleteClick);
  // The menu's disabled items are for the open menu only: the key goes on working.
  connect(TablePopUp, &QMenu::aboutToHide, this, [this] { delete_->setEnabled(true); });

  connect(TableView, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopUp(TableView->viewport(), at, TableView->columnAt(at.x())); });
  connect(headings, &QWidget::customContextMenuRequested, this,
          [this, headings](const QPoint& at) { PopUp(headings, at, headings->logicalIndexAt(at)); });
  connect(EditTableFilter, &QLineEdit::textChanged, model_, &TEntryTableModel::SetFilter);
  connect(TableView, &QAbstractItemView::doubleClicked, this,
          [this](const QModelIndex& index) { emit OpenEntryRequested(model_->EntryOfRow(index.row())); });
  // Enter opens the current row's entry, as a double click does.
  TableView->installEventFilter(new EventPreview(this, [this](QObject*, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    // A cell's editor takes its own Enter.
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || !TableView->hasFocus()) return false;
    emit OpenEntryRequested(CurrentEntry());
    return true;
  }));
  // The document is at the entry of the current row.
  connect(TableView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            const int entry = current.isValid() ? model_->EntryOfRow(current.row()) : -1;
            if (shown_ && !showing_ && entry >= 0 && entry != host_.Document().Entry())
              host_.Document().SetEntry(entry);
          });
  // Sorting and filtering make the rows anew; the current entry stays
  // current, where it was. (A changed lesson is shown by ShowLesson.)
  connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
    if (!showing_) placeBeforeReset_ = Place();
  });
  connect(model_, &QAbstractItemModel::modelReset, this, [this] {
    if (showing_) return;
    RestorePlace(placeBeforeReset_);
    ShowRowCount();
  });
}

void TTablePage::Enter() {
  host_.StoreControls();
  shown_ = true;
  ShowLesson();
}

void TTablePage::Shown() { TableView->setFocus(Qt::OtherFocusReason); }

bool TTablePage::MayLeave(int) {
  Release();
  return true;
}

void TTablePage::ShowLesson() {
  refreshPosted_ = false;
  const TMeanCollection& lesson = host_.Document().Lesson();
  const int entry = host_.Document().Entry();
  FitRows(lesson);
  FitColumns(lesson);
  // The rows the view showed stay in sight: an edit or a deletion moves
  // nothing above it.
  const int top = shown_ && model_->rowCount() > 0 ? Place().Top : 0;
  // Making the rows anew moves the current row through others on the way.
  showing_ = true;
  model_->SetLesson(&lesson);
  showing_ = false;
  ScrollToRow(top);
  SelectEntry(entry);
  ShowRowCount();
}

TTablePage::TViewPlace TTablePage::Place() const {
  TViewPlace place;
  place.Top = std::max(0, TableView->rowAt(0));
  place.Entry = CurrentEntry();
  const int row = TableView->currentIndex().row();
  int bottom = TableView->rowAt(TableView->viewport()->height() - 1);
  if (bottom < 0) bottom = model_->rowCount() - 1;
  if (place.Entry >= 0 && row >= place.Top && row <= bottom) place.Offset = row - place.Top;
  return place;
}

void TTablePage::RestorePlace(const TViewPlace& place) {
  const int row = place.Entry >= 0 ? model_->RowOfEntry(place.Entry) : -1;
  if (row < 0) {
    ScrollToRow(0);
    return;
  }
  if (place.Offset >= 0) ScrollToRow(row - place.Offset);
  SelectEntry(place.Entry);
}

void TTablePage::ScrollToRow(int top) {
  const int rows = model_->rowCount();
  if (rows == 0) return;
  // The scroll range follows the new rows first.
  TableView->doItemsLayout();
  TableView->scrollTo(model_->index(std::clamp(top, 0, rows - 1), 0), QAbstractItemView::PositionAtTop);
}

void TTablePage::ShowRowCount() {
  const TMeanCollection& lesson = host_.Document().Lesson();
  LabelTableCount->setText(Utf8ToQString(TranslateMessage(
      "TableRowCount", "%s of %s rows",
      {std::to_string(shown_ ? model_->rowCount() : lesson.EntryCount()), std::to_string(lesson.EntryCount())})));
}

void TTablePage::LanguageChanged() {
  model_->SetFormNames(InterfaceFormNames());
  if (shown_) FitColumns(host_.Document().Lesson());
  ShowRowCount();
}

void TTablePage::CellRefused(int column, const QString& text) {
  TWindowHost& frame = host_.Frame();
  frame.Services().sound.Beep();
  if (column != kColumnForm) return;
  std::string forms;
  for (const std::string& name : model_->Forms().Shown) forms += (forms.empty() ? "" : ", ") + Cp1252ToUtf8(name);
  frame.ShowNote(Utf8ToQString(
      TranslateMessage("TableFormRefused", "'%s' is no form; the forms are %s.", {text.toStdString(), forms})));
}

void TTablePage::LessonChanged(const TLessonChange& change) {
  if (!shown_) return;
  if (change.What == TLessonChange::kNothing) {
    // The current row's own entry keeps the rows the user selected.
    if (change.Entry != CurrentEntry()) SelectEntry(change.Entry);
    return;
  }
  if (!committing_) {
    ShowLesson();
    return;
  }
  // The view is still storing its cell editor's text: making the rows anew
  // now would take the editor from under it. The rows follow right after.
  if (refreshPosted_) return;
  refreshPosted_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (shown_ && refreshPosted_) ShowLesson();
      },
      Qt::QueuedConnection);
}

void TTablePage::Release() {
  shown_ = false;
  refreshPosted_ = false;
  model_->SetLesson(nullptr);
}

TPageMenuState TTablePage::MenuState() const { return {TableView->selectionModel()->hasSelection(), false, false}; }

bool TTablePage::Delete() {
  DeleteClick();
  return true;
}

void TTablePage::ShowSharedChanges() {
  // The table reads the entries as they are.
  if (shown_) TableView->viewport()->update();
}

void TTablePage::EditCell(int entry, int column, const QString& text) {
  // The same words the Entries page would store: characters Windows-1252
  // cannot hold become "?" and are named, blank words are dropped.
  QString rejected;
  const std::string cell = ToLessonString(text, &rejected);
  committing_ = true;
  const std::optional<TLessonChange> change =
      vocatrix::EditCell(host_.Document(), entry, column, cell, model_->Forms());
  committing_ = false;
  if (!change) {
    host_.Frame().Services().sound.Beep();
    return;
  }
  if (!rejected.isEmpty()) host_.Frame().WarnRejectedCharacters(host_.Window(), rejected);
}

void TTablePage::DeleteClick() {
  const std::vector<int> doomed = SelectedEntries();
  TWindowHost& frame = host_.Frame();
  if (doomed.empty()) {
    frame.Services().sound.Beep();
    return;
  }
  const QString question =
      doomed.size() == 1
          ? DeleteEntryQuestion(host_.Document().Lesson(), doomed[0])
          : Utf8ToQString(TranslateMessage("DeleteEntries", "Delete %s entries?", {std::to_string(doomed.size())}));
  if (frame.Services().dialogs.Message(host_.Window(), MessageKind::Confirmation, MessageButtons::OkCancel,
                                       question) != MessageAnswer::Ok)
    return;
  // The view stays where it was; the row after the deleted ones moves up
  // into the first one's place and is the current row.
  int first = model_->rowCount();
  for (const QItemSelectionRange& range : TableView->selectionModel()->selection())
    first = std::min(first, range.top());
  const int top = Place().Top;
  DeleteEntries(host_.Document(), doomed);
  const int rows = model_->rowCount();
  if (rows == 0) return;
  ScrollToRow(top);
  SelectEntry(model_->EntryOfRow(std::min(first, rows - 1)));
}

void TTablePage::SortLessonClick(int column) {
  if (column < 0 || column >= kTableColumns) return;
  TLessonDocument& document = host_.Document();
  const bool descending = SortsDescending(column);
  // Entries of a long lesson are put in order by a worker, the window
  // answering meanwhile; the lesson takes the order once it is there.
  constexpr int kSortedHere = 4000;
  if (document.Lesson().EntryCount() < kSortedHere) {
    SortLesson(document, column, descending);
    return;
  }
  auto order = std::make_shared<std::vector<int>>();
  const TMeanCollection* lesson = &document.Lesson();
  const unsigned long revision = document.Revision();
  sort_->Start([lesson, column, descending, order](
                   TWorkProgress&) { *order = LessonSortOrder(*lesson, column, descending); },
               {[this, order, column, descending, revision] {
                 TLessonDocument& document = host_.Document();
                 // A lesson changed meanwhile is sorted as it is now.
                 if (document.Revision() != revision) SortLesson(document, column, descending);
                 else ReorderLesson(document, *order);
               }});
}

void TTablePage::LessonWillChange() { sort_->WaitForJob(); }

void TTablePage::StopWork() { sort_->Cancel(); }

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
  for (const std::string& name : model_->Forms().Shown) forms << ToQString(name);
  const auto heading = [this](int column) { return model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(); };
  QHeaderView* headings = TableView->horizontalHeader();
  headings->resizeSection(kColumnForm, std::max(headingFont.horizontalAdvance(heading(kColumnForm)) + margins,
                                                widest(numberFont, forms) + 12));
  headings->resizeSection(kColumnNumber,
                          std::max(headingFont.horizontalAdvance(heading(kColumnNumber)) + margins,
                                   numberFont.horizontalAdvance(QString::number(lesson.EntryCount())) + 12));
  ShareWidth();
}

QSize TTablePage::WantedClientSize() const {
  const QHeaderView* headings = TableView->horizontalHeader();
  const QMargins margins = layout()->contentsMargins();
  int width = margins.left() + margins.right() + 2 * TableView->frameWidth() +
              TableView->verticalScrollBar()->sizeHint().width() +
              (TableView->verticalHeader()->isHidden() ? 0 : TableView->verticalHeader()->sizeHint().width());
  for (int column = 0; column < model_->columnCount(); ++column)
    width += std::max(headings->sectionSizeHint(column), headings->sectionSize(column));
  return {std::max(kWantedWidth, width), kWantedHeight};
}

void TTablePage::ShareWidth() {
  QHeaderView* headings = TableView->horizontalHeader();
  // Each word column is as wide as its heading needs, and they share what is
  // left in equal parts. A view too narrow for the headings narrows the word
  // columns in proportion, so that form and number stay in sight.
  constexpr int kWordColumns = kColumnAntonymTranslations - kColumnSynonyms + 1;
  int needed[kWordColumns];
  const int room =
      TableView->viewport()->width() - headings->sectionSize(kColumnForm) - headings->sectionSize(kColumnNumber);
  int total = 0;
  for (int i = 0; i < kWordColumns; ++i) total += needed[i] = headings->sectionSizeHint(kColumnSynonyms + i);
  const int left = std::max(0, room - total);
  for (int i = 0; i < kWordColumns; ++i) {
    const int share = left * (i + 1) / kWordColumns - left * i / kWordColumns;
    const int width = room >= total ? needed[i] + share : needed[i] * std::max(0, room) / std::max(1, total);
    headings->resizeSection(kColumnSynonyms + i, std::max(headings->minimumSectionSize(), width));
  }
}

void TTablePage::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::LanguageChange) return;
  if (shown_) FitColumns(host_.Document().Lesson());
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
