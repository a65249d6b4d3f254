// TComboBox, TListBox, TMemo, TScrollBar, TProgressBar and TSpinEdit over QComboBox,
// QListWidget, QPlainTextEdit, QScrollBar, QProgressBar and QSpinBox.
#include "platform/gui/list_controls.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QSpinBox>
#include <QTextBlock>
#include <QValidator>

#include "platform/classes/kept_props.h"
#include "platform/classes/property_builders.h"
#include "platform/gui/guard.h"
#include "platform/gui/qt_convert.h"

namespace kgui {

static void setBase(QWidget* w, TColor c) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::Base, toQColor(c));
  w->setPalette(pal);
}

// ---- TComboBox ----

namespace {

// A combo box that tells its control before its list opens.
class ComboWidget : public QComboBox {
public:
  std::function<void()> before_popup;
  void showPopup() override {
    if (before_popup) before_popup();
    QComboBox::showPopup();
  }
};

// Keeps the edit part's text in one case, as the user types or pastes.
class CaseValidator : public QValidator {
public:
  CaseValidator(QObject* parent, int char_case) : QValidator(parent), char_case_(char_case) {}
  State validate(QString& input, int&) const override {
    input = char_case_ == ecUpperCase ? input.toUpper() : input.toLower();
    return Acceptable;
  }

private:
  int char_case_;
};

}  // namespace

const ClassInfo& TComboBox::staticClassInfo() {
  using T = TComboBox;
  static const ClassInfo info(
      "TComboBox", &TWinControl::staticClassInfo(),
      {ordProp<T, int>("DropDownCount", PropKind::Integer, &T::dropDownCount,
                       &T::setDropDownCount, nullptr, 8),
       ordProp<T, int>("ItemIndex", PropKind::Integer, &T::itemIndex, &T::setItemIndex, nullptr, -1),
       classProp<T, TStrings>("Items", &T::items),
       ordProp<T, int>("Style", PropKind::Enumeration, &T::style, &T::setStyle,
                       &comboBoxStyleType(), csDropDown),
       ordProp<T, int>("CharCase", PropKind::Enumeration, &T::charCase, &T::setCharCase,
                       &editCharCaseType(), ecNormal),
       strProp<T>("Text", &T::text, nullptr), eventProp<T>("OnChange", &T::OnChange),
       eventProp<T>("OnDropDown", &T::OnDropDown)});
  return info;
}

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner, new ComboWidget()) {
  auto* cb = static_cast<QComboBox*>(widget());
  static_cast<ComboWidget*>(cb)->before_popup = [this] { fire(OnDropDown, this); };
  items_ = std::make_unique<TCallbackStrings>(
      "TComboBoxStrings",
      TCallbackStrings::Ops{[cb] { return cb->count(); },
                            [cb](int i) { return ss(cb->itemText(i)); },
                            [cb](int i, const std::string& s) { cb->setItemText(i, qs(s)); },
                            [cb](int i, const std::string& s) { cb->insertItem(i, qs(s)); },
                            [cb](int i) { cb->removeItem(i); }, [cb] { cb->clear(); }});
  // activated is the user's choice only; code changes of the index stay silent.
  QObject::connect(cb, &QComboBox::activated, [this] { fire(OnChange, this); });
  setColor(clWindow);
  setStyle(csDropDown);
  setDropDownCount(8);
  setBounds(0, 0, 145, 21);
}

int TComboBox::itemIndex() const { return static_cast<QComboBox*>(widget())->currentIndex(); }

void TComboBox::setItemIndex(int index) {
  if (loading()) {
    pending_index_ = index;
    return;
  }
  auto* cb = static_cast<QComboBox*>(widget());
  cb->setCurrentIndex(index >= 0 && index < cb->count() ? index : -1);
}

void TComboBox::loaded() {
  TWinControl::loaded();
  if (pending_index_) setItemIndex(*pending_index_);
  pending_index_.reset();
}

std::string TComboBox::text() const { return ss(static_cast<QComboBox*>(widget())->currentText()); }

void TComboBox::setStyle(int style) {
  style_ = style;
  static_cast<QComboBox*>(widget())->setEditable(style == csDropDown || style == csSimple);
  setCharCase(char_case_);  // a new edit part takes the case too
}

void TComboBox::setCharCase(int c) {
  char_case_ = std::clamp(c, static_cast<int>(ecNormal), static_cast<int>(ecLowerCase));
  QLineEdit* edit = static_cast<QComboBox*>(widget())->lineEdit();
  if (!edit) return;
  const QValidator* old = edit->validator();
  edit->setValidator(nullptr);
  if (dynamic_cast<const CaseValidator*>(old)) delete old;
  if (char_case_ == ecNormal) return;
  edit->setValidator(new CaseValidator(edit, char_case_));
  const QString text = edit->text();
  edit->setText(char_case_ == ecUpperCase ? text.toUpper() : text.toLower());
}

bool TComboBox::droppedDown() const {
  auto* cb = static_cast<QComboBox*>(widget());
  return cb->view() && cb->view()->isVisible();
}

void TComboBox::setDroppedDown(bool d) {
  auto* cb = static_cast<QComboBox*>(widget());
  if (d == droppedDown()) return;
  d ? cb->showPopup() : cb->hidePopup();
}

int TComboBox::dropDownCount() const { return static_cast<QComboBox*>(widget())->maxVisibleItems(); }
void TComboBox::setDropDownCount(int n) { static_cast<QComboBox*>(widget())->setMaxVisibleItems(std::max(1, n)); }
void TComboBox::applyColor() { setBase(widget(), color()); }

// ---- TListBox ----

const ClassInfo& TListBox::staticClassInfo() {
  using T = TListBox;
  static const ClassInfo info(
      "TListBox", &TWinControl::staticClassInfo(),
      {keptProp("ItemHeight", PropKind::Integer, nullptr, nullptr, PropValue(int64_t{13})),
       ordProp<T, int>("ItemIndex", PropKind::Integer, &T::itemIndex, &T::setItemIndex, nullptr, -1),
       classProp<T, TStrings>("Items", &T::items),
       boolProp<T>("MultiSelect", &T::multiSelect, &T::setMultiSelect, false)});
  return info;
}

TListBox::TListBox(TComponent* owner) : TWinControl(owner, new QListWidget()) {
  auto* lw = static_cast<QListWidget*>(widget());
  items_ = std::make_unique<TCallbackStrings>(
      "TListBoxStrings",
      TCallbackStrings::Ops{[lw] { return lw->count(); },
                            [lw](int i) { return ss(lw->item(i)->text()); },
                            [lw](int i, const std::string& s) { lw->item(i)->setText(qs(s)); },
                            [lw](int i, const std::string& s) { lw->insertItem(i, qs(s)); },
                            [lw](int i) { delete lw->takeItem(i); }, [lw] { lw->clear(); }});
  watch(lw->viewport());
  // The platform's list box runs OnClick when the user changes the selection.
  QObject::connect(lw, &QListWidget::itemClicked, [this] { click(); });
  setColor(clWindow);
  setBounds(0, 0, 121, 97);
}

QWidget* TListBox::mouseWidget() const { return static_cast<QListWidget*>(widget())->viewport(); }
int TListBox::itemIndex() const { return static_cast<QListWidget*>(widget())->currentRow(); }

void TListBox::setItemIndex(int index) {
  if (loading()) {
    pending_index_ = index;
    return;
  }
  auto* lw = static_cast<QListWidget*>(widget());
  lw->setCurrentRow(index >= 0 && index < lw->count() ? index : -1);
}

void TListBox::loaded() {
  TWinControl::loaded();
  if (pending_index_) setItemIndex(*pending_index_);
  pending_index_.reset();
}

bool TListBox::multiSelect() const {
  return static_cast<QListWidget*>(widget())->selectionMode() != QAbstractItemView::SingleSelection;
}

void TListBox::setMultiSelect(bool m) {
  static_cast<QListWidget*>(widget())->setSelectionMode(
      m ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

bool TListBox::selected(int index) const {
  items_->get(index);  // index check with the platform's message
  return static_cast<QListWidget*>(widget())->item(index)->isSelected();
}

void TListBox::setSelected(int index, bool s) {
  items_->get(index);
  static_cast<QListWidget*>(widget())->item(index)->setSelected(s);
}

int TListBox::selCount() const {
  return static_cast<int>(static_cast<QListWidget*>(widget())->selectedItems().size());
}

int TListBox::topIndex() const {
  auto* lw = static_cast<QListWidget*>(widget());
  QListWidgetItem* item = lw->itemAt(0, 0);
  return item ? lw->row(item) : 0;
}

void TListBox::applyColor() { setBase(widget(), color()); }

// ---- TCheckListBox ----

namespace {
// The state the item had when last seen, to tell the user's check changes from others.
constexpr int kKnownState = Qt::UserRole + 1;

Qt::CheckState qtState(int s) {
  return s == cbChecked ? Qt::Checked : s == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked;
}
int vclState(Qt::CheckState s) { return s == Qt::Checked ? cbChecked : s == Qt::PartiallyChecked ? cbGrayed : cbUnchecked; }
}  // namespace

const ClassInfo& TCheckListBox::staticClassInfo() {
  using T = TCheckListBox;
  static const ClassInfo info("TCheckListBox", &TListBox::staticClassInfo(),
                              {boolProp<T>("AllowGrayed", &T::allowGrayed, &T::setAllowGrayed, false),
                               eventProp<T>("OnClickCheck", &T::OnClickCheck)});
  return info;
}

TCheckListBox::TCheckListBox(TComponent* owner) : TListBox(owner) {
  auto* lw = static_cast<QListWidget*>(widget());
  // New items get their check box as they come.
  QObject::connect(lw->model(), &QAbstractItemModel::rowsInserted, [this] { prepareItems(); });
  QObject::connect(lw, &QListWidget::itemChanged, [this](QListWidgetItem* item) {
    if (quiet_) return;
    const int now = vclState(item->checkState());
    if (item->data(kKnownState).toInt() == now) return;
    quiet_ = true;
    item->setData(kKnownState, now);
    quiet_ = false;
    fire(OnClickCheck, this);
  });
}

void TCheckListBox::prepareItems() {
  auto* lw = static_cast<QListWidget*>(widget());
  quiet_ = true;
  for (int i = 0; i < lw->count(); ++i) {
    QListWidgetItem* item = lw->item(i);
    Qt::ItemFlags flags = item->flags() | Qt::ItemIsUserCheckable;
    flags.setFlag(Qt::ItemIsUserTristate, allow_grayed_);
    item->setFlags(flags);
    if (!item->data(kKnownState).isValid()) {
      item->setCheckState(Qt::Unchecked);
      item->setData(kKnownState, static_cast<int>(cbUnchecked));
    }
  }
  quiet_ = false;
}

void TCheckListBox::setAllowGrayed(bool a) {
  allow_grayed_ = a;
  prepareItems();
}

int TCheckListBox::state(int index) const {
  items()->get(index);  // index check with the platform's message
  return vclState(static_cast<QListWidget*>(widget())->item(index)->checkState());
}

void TCheckListBox::setState(int index, int s) {
  items()->get(index);
  QListWidgetItem* item = static_cast<QListWidget*>(widget())->item(index);
  quiet_ = true;
  item->setCheckState(qtState(s));
  item->setData(kKnownState, vclState(qtState(s)));
  quiet_ = false;
}

bool TCheckListBox::itemEnabled(int index) const {
  items()->get(index);
  return static_cast<QListWidget*>(widget())->item(index)->flags().testFlag(Qt::ItemIsEnabled);
}

void TCheckListBox::setItemEnabled(int index, bool e) {
  items()->get(index);
  QListWidgetItem* item = static_cast<QListWidget*>(widget())->item(index);
  quiet_ = true;
  Qt::ItemFlags flags = item->flags();
  flags.setFlag(Qt::ItemIsEnabled, e);
  item->setFlags(flags);
  quiet_ = false;
}

// ---- TMemo ----

const ClassInfo& TMemo::staticClassInfo() {
  using T = TMemo;
  static const ClassInfo info(
      "TMemo", &TWinControl::staticClassInfo(),
      {classProp<T, TStrings>("Lines", &T::lines),
       boolProp<T>("ReadOnly", &T::readOnly, &T::setReadOnly, false),
       ordProp<T, int>("ScrollBars", PropKind::Enumeration, &T::scrollBars, &T::setScrollBars,
                       &scrollStyleType(), ssNone),
       boolProp<T>("WordWrap", &T::wordWrap, &T::setWordWrap, true),
       eventProp<T>("OnChange", &T::OnChange)});
  return info;
}

static QPlainTextEdit* plain(QWidget* w) { return static_cast<QPlainTextEdit*>(w); }

// A memo's lines over the document: an empty document has no lines.
static TCallbackStrings::Ops memoOps(QPlainTextEdit* e) {
  // An empty document is either no line or one empty line; `has_line` tells them apart.
  auto has_line = std::make_shared<bool>(false);
  auto count = [e, has_line] { return e->document()->isEmpty() && !*has_line ? 0 : e->document()->blockCount(); };
  auto block = [e](int i) { return e->document()->findBlockByNumber(i); };
  TCallbackStrings::Ops ops;
  ops.count = count;
  ops.get = [block](int i) { return ss(block(i).text()); };
  ops.put = [block](int i, const std::string& s) {
    QTextCursor c(block(i));
    c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    c.insertText(qs(s));
  };
  ops.insert = [e, count, block, has_line](int i, const std::string& s) {
    int n = count();
    if (n == 0) {
      e->setPlainText(qs(s));
    } else if (i >= n) {
      if (e->document()->isEmpty())
        e->setPlainText(QLatin1Char('\n') + qs(s));  // appending to one empty line adds no block
      else
        e->appendPlainText(qs(s));
    } else {
      QTextCursor c(block(i));
      c.insertText(qs(s) + "\n");
    }
    *has_line = true;
  };
  ops.remove = [e, count, block, has_line](int i) {
    int n = count();
    if (n == 1) {
      e->clear();
      *has_line = false;
      return;
    }
    QTextCursor c(block(i));
    if (i == n - 1) {
      c.movePosition(QTextCursor::PreviousBlock);
      c.movePosition(QTextCursor::EndOfBlock);
      c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    } else {
      c.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    }
    c.removeSelectedText();
  };
  ops.clear = [e, has_line] {
    e->clear();
    *has_line = false;
  };
  return ops;
}

TMemo::TMemo(TComponent* owner) : TWinControl(owner, new QPlainTextEdit()) {
  auto* e = plain(widget());
  e->setMaximumBlockCount(0);  // no limit: the log keeps everything until cleared
  lines_ = std::make_unique<TCallbackStrings>("TMemoStrings", memoOps(e));
  watch(e->viewport());
  QObject::connect(e, &QPlainTextEdit::textChanged, [this] { fire(OnChange, this); });
  setColor(clWindow);
  setScrollBars(ssNone);
  setBounds(0, 0, 185, 89);
}

QWidget* TMemo::mouseWidget() const { return plain(widget())->viewport(); }

std::string TMemo::text() const { return lines_->text(); }
void TMemo::setText(const std::string& text) { lines_->setText(text); }
bool TMemo::readOnly() const { return plain(widget())->isReadOnly(); }
void TMemo::setReadOnly(bool r) { plain(widget())->setReadOnly(r); }
void TMemo::clear() { lines_->clear(); }

void TMemo::setScrollBars(int s) {
  scroll_bars_ = s;
  bool h = s == ssHorizontal || s == ssBoth, v = s == ssVertical || s == ssBoth;
  plain(widget())->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  plain(widget())->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

bool TMemo::wordWrap() const {
  return plain(widget())->lineWrapMode() != QPlainTextEdit::NoWrap;
}

void TMemo::setWordWrap(bool w) {
  plain(widget())->setLineWrapMode(w ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::applyColor() { setBase(widget(), color()); }

// ---- TScrollBar ----

const ClassInfo& TScrollBar::staticClassInfo() {
  using T = TScrollBar;
  static const ClassInfo info(
      "TScrollBar", &TWinControl::staticClassInfo(),
      {ordProp<T, int>("Kind", PropKind::Enumeration, &T::kind, &T::setKind,
                       &scrollBarKindType(), sbHorizontal),
       ordProp<T, int>("LargeChange", PropKind::Integer, &T::largeChange, &T::setLargeChange,
                       nullptr, 1),
       ordProp<T, int>("Max", PropKind::Integer, &T::max, &T::setMax, nullptr, 100),
       ordProp<T, int>("Min", PropKind::Integer, &T::min, &T::setMin, nullptr, 0),
       ordProp<T, int>("Position", PropKind::Integer, &T::position, &T::setPosition, nullptr, 0),
       ordProp<T, int>("SmallChange", PropKind::Integer, &T::smallChange, &T::setSmallChange,
                       nullptr, 1),
       eventProp<T>("OnChange", &T::OnChange)});
  return info;
}

static QScrollBar* bar(QWidget* w) { return static_cast<QScrollBar*>(w); }

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner, new QScrollBar(Qt::Horizontal)) {
  bar(widget())->setRange(0, 100);
  bar(widget())->setPageStep(1);
  QObject::connect(bar(widget()), &QScrollBar::valueChanged, [this] { fire(OnChange, this); });
  setBounds(0, 0, 121, 17);
}

void TScrollBar::setKind(int kind) {
  kind_ = kind;
  bar(widget())->setOrientation(kind == sbVertical ? Qt::Vertical : Qt::Horizontal);
}

int TScrollBar::min() const { return bar(widget())->minimum(); }
void TScrollBar::setMin(int v) { bar(widget())->setMinimum(v); }
int TScrollBar::max() const { return bar(widget())->maximum(); }
void TScrollBar::setMax(int v) { bar(widget())->setMaximum(v); }
int TScrollBar::position() const { return bar(widget())->value(); }
void TScrollBar::setPosition(int v) { bar(widget())->setValue(v); }
int TScrollBar::smallChange() const { return bar(widget())->singleStep(); }
void TScrollBar::setSmallChange(int v) { bar(widget())->setSingleStep(v); }
int TScrollBar::largeChange() const { return bar(widget())->pageStep(); }
void TScrollBar::setLargeChange(int v) { bar(widget())->setPageStep(v); }

void TScrollBar::setParams(int position, int min, int max) {
  bar(widget())->setRange(min, max);
  bar(widget())->setValue(position);
}

// ---- TProgressBar ----

const ClassInfo& TProgressBar::staticClassInfo() {
  using T = TProgressBar;
  static const ClassInfo info(
      "TProgressBar", &TWinControl::staticClassInfo(),
      {ordProp<T, int>("Max", PropKind::Integer, &T::max, &T::setMax, nullptr, 100),
       ordProp<T, int>("Min", PropKind::Integer, &T::min, &T::setMin, nullptr, 0),
       ordProp<T, int>("Position", PropKind::Integer, &T::position, &T::setPosition, nullptr, 0),
       ordProp<T, int>("Step", PropKind::Integer, &T::step, &T::setStep, nullptr, 10)});
  return info;
}

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner, new QProgressBar()) {
  static_cast<QProgressBar*>(widget())->setTextVisible(false);
  apply();
  setBounds(0, 0, 150, 16);
}

void TProgressBar::apply() {
  auto* bar = static_cast<QProgressBar*>(widget());
  bar->setRange(min_, std::max(min_, max_));
  bar->setValue(position_);
}

void TProgressBar::setMin(int v) {
  min_ = v;
  position_ = std::max(position_, min_);
  apply();
}

void TProgressBar::setMax(int v) {
  max_ = v;
  position_ = std::min(position_, std::max(min_, max_));
  apply();
}

void TProgressBar::setPosition(int v) {
  if (loading()) {
    pending_position_ = v;
    return;
  }
  position_ = std::clamp(v, min_, std::max(min_, max_));
  apply();
}

void TProgressBar::loaded() {
  TWinControl::loaded();
  if (pending_position_) setPosition(*pending_position_);
  pending_position_.reset();
}

void TProgressBar::stepIt() {
  const int64_t next = static_cast<int64_t>(position_) + step_;
  position_ = next > max_ ? min_ : static_cast<int>(next);
  apply();
}

void TProgressBar::stepBy(int delta) {
  const int64_t next = static_cast<int64_t>(position_) + delta;
  position_ = static_cast<int>(std::clamp<int64_t>(next, min_, std::max(min_, max_)));
  apply();
}

// ---- TSpinEdit ----

static QSpinBox* spin(QWidget* w) { return static_cast<QSpinBox*>(w); }

const ClassInfo& TSpinEdit::staticClassInfo() {
  using T = TSpinEdit;
  static const ClassInfo info(
      "TSpinEdit", &TWinControl::staticClassInfo(),
      {ordProp<T, int>("Increment", PropKind::Integer, &T::increment, &T::setIncrement, nullptr, 1),
       ordProp<T, int>("MaxValue", PropKind::Integer, &T::maxValue, &T::setMaxValue, nullptr, 0),
       ordProp<T, int>("MinValue", PropKind::Integer, &T::minValue, &T::setMinValue, nullptr, 0),
       ordProp<T, int>("Value", PropKind::Integer, &T::value, &T::setValue, nullptr, 0),
       eventProp<T>("OnChange", &T::OnChange)});
  return info;
}

TSpinEdit::TSpinEdit(TComponent* owner) : TWinControl(owner, new QSpinBox()) {
  applyRange();
  QObject::connect(spin(widget()), &QSpinBox::valueChanged, [this] { fire(OnChange, this); });
  setBounds(0, 0, 121, 22);
}

void TSpinEdit::applyRange() {
  if (min_value_ == max_value_) spin(widget())->setRange(INT_MIN, INT_MAX);
  else spin(widget())->setRange(min_value_, std::max(min_value_, max_value_));
}

void TSpinEdit::setMinValue(int v) {
  min_value_ = v;
  applyRange();
}

void TSpinEdit::setMaxValue(int v) {
  max_value_ = v;
  applyRange();
}

int TSpinEdit::value() const { return spin(widget())->value(); }
void TSpinEdit::setValue(int v) {
  if (loading()) {
    pending_value_ = v;
    return;
  }
  if (loading()) {
    pending_value_ = v;
    return;
  }
  spin(widget())->setValue(v);
}

void TSpinEdit::loaded() {
  TWinControl::loaded();
  if (pending_value_) setValue(*pending_value_);
  pending_value_.reset();
}

int TSpinEdit::increment() const { return spin(widget())->singleStep(); }
void TSpinEdit::setIncrement(int v) { spin(widget())->setSingleStep(v); }

}  // namespace kgui
