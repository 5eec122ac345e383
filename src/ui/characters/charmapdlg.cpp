// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/characters/charmapdlg.h"

#include <QFontMetrics>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <optional>
#include <utility>

#include "base/errors.h"
#include "base/messages.h"
#include "ui/characters/charcompose.h"
#include "ui/dialogs/helpwindow.h"
#include "ui/language/textproperties.h"
#include "ui/mainwindow/mainform.h"
#include "ui/common/qtstrings.h"

namespace vocatrix::ui {
namespace {

// Hands every change of a cell's editor to the dialog while it is edited,
// and the text it leaves when the edit ends. A character cell holds one
// character, a code cell up to ten.
class LiveEditDelegate : public QStyledItemDelegate {
 public:
  using Handler = std::function<void(int column, int row, const QString& text)>;
  LiveEditDelegate(QObject* parent, Handler edited, Handler ended)
      : QStyledItemDelegate(parent), edited_(std::move(edited)), ended_(std::move(ended)) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
      edit->setMaxLength(index.row() == 0 ? 1 : 10);
      const int column = index.column();
      const int row = index.row();
      connect(edit, &QLineEdit::textEdited, edit,
              [this, column, row](const QString& text) { edited_(column, row, text); });
    }
    return editor;
  }

  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
    QStyledItemDelegate::setModelData(editor, model, index);
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) ended_(index.column(), index.row(), edit->text());
  }

 private:
  Handler edited_;
  Handler ended_;
};

// The class library's conversion of a code: decimal, or hexadecimal after "$".
bool ParseCode(const QString& text, long long& value) {
  const QString t = text.trimmed();
  bool ok = false;
  if (t.startsWith('$')) value = t.mid(1).toLongLong(&ok, 16);
  else value = t.toLongLong(&ok, 10);
  return ok && !t.isEmpty();
}

// A code cell's text as a character code: empty is code 0; nothing for a
// text that is no code of Windows-1252.
std::optional<unsigned char> CodeOfCell(const QString& text) {
  if (text.trimmed().isEmpty()) return 0;
  long long value = 0;
  if (!ParseCode(text, value) || value < 0 || value > 255) return std::nullopt;
  return static_cast<unsigned char>(value);
}

QString IntegerError(const QString& text) {
  return Utf8ToQString(TranslateMessage("ErrInteger", "'%s' ist kein gültiger Integerwert", {text.toStdString()}));
}

}  // namespace

TCharmapDlg::TCharmapDlg(MainForm* mainForm) : QDialog(mainForm), main_(mainForm) {
  setObjectName("CharmapDlg");
  setWindowTitle("Charmap");
  SetHelpTopic(this, "accents");
  setFixedSize(384, 179);
  QFont font = mainForm->font();
  font.setBold(false);
  setFont(font);

  auto* bevel = new QFrame(this);
  bevel->setObjectName("Bevel1");
  bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
  bevel->setGeometry(8, 8, 280, 163);
  Label1 = new QLabel("Select the umlauts to be shown below the input   field:", this);
  Label1->setObjectName("Label1");
  Label1->setWordWrap(true);
  Label1->setGeometry(16, 14, 264, 34);

  StringGrid1 = new QTableWidget(2, 9, this);
  StringGrid1->setObjectName("StringGrid1");
  StringGrid1->horizontalHeader()->hide();
  StringGrid1->verticalHeader()->hide();
  StringGrid1->horizontalHeader()->setMinimumSectionSize(10);
  StringGrid1->verticalHeader()->setMinimumSectionSize(10);
  for (int column = 0; column < 9; ++column) StringGrid1->setColumnWidth(column, 25);
  for (int row = 0; row < 2; ++row) StringGrid1->setRowHeight(row, 17);
  StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  StringGrid1->setEditTriggers(QAbstractItemView::AllEditTriggers);
  StringGrid1->setGeometry(16, 56, 9 * 25 + 2 * StringGrid1->frameWidth(), 2 * 17 + 2 * StringGrid1->frameWidth());
  // The characters look as they do on the buttons.
  StringGrid1->setFont(mainForm->SpeedPanelFont());
  SetHint(StringGrid1, "Geben Sie hier das Zeichen oder den ANSI-Code ein.");
  MarkAsData(StringGrid1);
  StringGrid1->setItemDelegate(new LiveEditDelegate(
      StringGrid1, [this](int column, int row, const QString& text) { EditedByUser(column, row, text); },
      [this](int column, int row, const QString& text) { EditEnded(column, row, text); }));
  refusalTimer_ = new QTimer(this);
  refusalTimer_->setSingleShot(true);
  connect(refusalTimer_, &QTimer::timeout, this, &TCharmapDlg::ShowRefusal);

  const auto makeButton = [this](const char* name, const QString& caption, const QRect& geometry) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
  };
  ButtonGerman = makeButton("ButtonGerman", "German", QRect(16, 110, 80, 25));
  ButtonFrench = makeButton("ButtonFrench", "French", QRect(104, 110, 80, 25));
  ButtonSpanish = makeButton("ButtonSpanish", "Spanish", QRect(192, 110, 80, 25));
  OKBtn = makeButton("OKBtn", "OK", QRect(296, 8, 80, 25));
  OKBtn->setDefault(true);
  CancelBtn = makeButton("CancelBtn", "Cancel", QRect(296, 40, 80, 25));
  Button1 = makeButton("Button1", "Charmap Off", QRect(296, 146, 80, 25));
  connect(ButtonGerman, &QPushButton::clicked, this, [this] { ShowCharSet(kGermanSet); });
  connect(ButtonFrench, &QPushButton::clicked, this, [this] { ShowCharSet(kFrenchSet); });
  connect(ButtonSpanish, &QPushButton::clicked, this, [this] { ShowCharSet(kSpanishSet); });
  connect(OKBtn, &QPushButton::clicked, this, &TCharmapDlg::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(Button1, &QPushButton::clicked, this, &TCharmapDlg::Button1Click);
  setTabOrder(StringGrid1, OKBtn);
}

void TCharmapDlg::SetCell(int column, int row, const QString& text) {
  QTableWidgetItem* item = StringGrid1->item(row, column);
  if (!item) StringGrid1->setItem(row, column, item = new QTableWidgetItem);
  item->setText(text);
  item->setTextAlignment(Qt::AlignCenter);
  if (row == 1) {
    // Three digits fit the narrow column in a small plain font; a longer
    // code gets a smaller one, so that all of what was typed shows.
    QFont small = StringGrid1->font();
    small.setBold(false);
    const int margins = 2 * (StringGrid1->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, StringGrid1) + 1);
    const int room = StringGrid1->columnWidth(column) - margins;
    int pixels = 10;
    do {
      small.setPixelSize(pixels);
    } while (QFontMetrics(small).horizontalAdvance(text) > room && --pixels >= 6);
    item->setFont(small);
  }
}

void TCharmapDlg::ShowCharSet(const std::string& set) {
  for (int column = 0; column < 9; ++column) {
    const unsigned char code = column < static_cast<int>(set.size()) ? static_cast<unsigned char>(set[column]) : 0;
    SetCell(column, 0, code ? QString(CharOfCode(code)) : QString());
    SetCell(column, 1, QString::number(code));
  }
}

void TCharmapDlg::FormShow() {
  refused_ = {};
  ShowCharSet(main_->GetCharSet());
  StringGrid1->setCurrentCell(0, 0);
  StringGrid1->setFocus();
}

void TCharmapDlg::StringGrid1SetEditText(int column, int row, const QString& edited) {
  const QString text = edited.left(10);
  if (row == 0) {
    // The code of the first character; an emptied cell is code 0.
    const int code = text.isEmpty() ? 0 : static_cast<unsigned char>(ToLessonString(text.left(1))[0]);
    SetCell(column, 1, QString::number(code));
  } else if (row == 1) {
    // A sign or "$" alone is a number still being typed.
    if (text == "$" || text == "-" || text == "+") return;
    const std::optional<unsigned char> code = CodeOfCell(text);
    SetCell(column, 0, code && *code ? QString(CharOfCode(*code)) : QString());
    if (!code) throw Exception(IntegerError(text).toStdString());
  }
}

void TCharmapDlg::EditedByUser(int column, int row, const QString& text) {
  try {
    StringGrid1SetEditText(column, row, text);
  } catch (const std::exception&) {
    // Said when the edit ends: a box now would take the keys still typed.
  }
}

void TCharmapDlg::EditEnded(int column, int row, const QString& text) {
  if (row != 1) return;
  // In the font that shows all of it.
  SetCell(column, 1, text);
  QString& refused = refused_[static_cast<std::size_t>(column)];
  if (CodeOfCell(text)) {
    refused.clear();
    return;
  }
  // The same text again (the cell losing the focus to the error's own box)
  // is refused once.
  if (refused == text) return;
  refused = text;
  RefuseLater(text);
}

void TCharmapDlg::RefuseLater(const QString& code) {
  // Not from here: the cell's editor is still closing, and a box's event
  // loop would delete it under that code. The cell keeps what was typed.
  refusal_ = IntegerError(code);
  refusalTimer_->start(0);
}

void TCharmapDlg::ShowRefusal() {
  if (refusal_.isEmpty()) return;
  // A press on a button (Cancel) ended the edit: its click comes first.
  for (const QPushButton* button : findChildren<QPushButton*>())
    if (button->isDown()) {
      refusalTimer_->start(50);
      return;
    }
  main_->InformLater(this, MessageKind::Error, std::exchange(refusal_, QString()));
}

void TCharmapDlg::done(int result) {
  refusal_.clear();
  refusalTimer_->stop();
  QDialog::done(result);
}

int TCharmapDlg::RefusedColumn() const {
  for (int column = 0; column < 9; ++column) {
    const QTableWidgetItem* item = StringGrid1->item(1, column);
    if (item && !CodeOfCell(item->text())) return column;
  }
  return -1;
}

std::string TCharmapDlg::GridSet() const {
  std::string set;
  for (int column = 0; column < 9; ++column) {
    const QTableWidgetItem* item = StringGrid1->item(0, column);
    const QString text = item ? item->text() : QString();
    set += text.isEmpty() ? '\0' : ToLessonString(text.left(1))[0];
  }
  return set;
}

void TCharmapDlg::OKBtnClick() {
  // A cell still being edited (OK by its access key) ends its edit first.
  StringGrid1->setCurrentIndex(QModelIndex());
  if (const int column = RefusedColumn(); column >= 0) {
    const QString code = StringGrid1->item(1, column)->text();
    refused_[static_cast<std::size_t>(column)] = code;
    StringGrid1->setCurrentCell(1, column);
    RefuseLater(code);
    return;
  }
  main_->ChangeCharSet(GridSet());
  main_->SpeedPanel()->setVisible(true);
  accept();
}

void TCharmapDlg::Button1Click() {
  main_->SpeedPanel()->setVisible(false);
  reject();
}

}  // namespace vocatrix::ui
