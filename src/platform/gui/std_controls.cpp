// Panels, group boxes, labels, edits, buttons, check boxes, radio buttons and radio groups.
#include "platform/gui/std_controls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>

#include "platform/classes/kept_props.h"
#include "platform/classes/property_builders.h"
#include "platform/gui/form.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/guard.h"
#include "platform/gui/qt_convert.h"

namespace kgui {

static Qt::Alignment qtLabelAlignment(int a) {
  return a == taCenter ? Qt::AlignHCenter : a == taRightJustify ? Qt::AlignRight : Qt::AlignLeft;
}

// ---- TPanel ----

const ClassInfo& TPanel::staticClassInfo() {
  using T = TPanel;
  static const ClassInfo info(
      "TPanel", &TWinControl::staticClassInfo(),
      {ordProp<T, int>("Alignment", PropKind::Enumeration, &T::alignment, &T::setAlignment,
                       &alignmentType(), taCenter),
       ordProp<T, int>("BevelInner", PropKind::Enumeration, &T::bevelInner, &T::setBevelInner,
                       &bevelCutType(), bvNone),
       ordProp<T, int>("BevelOuter", PropKind::Enumeration, &T::bevelOuter, &T::setBevelOuter,
                       &bevelCutType(), bvRaised),
       ordProp<T, int>("BevelWidth", PropKind::Integer, &T::bevelWidth, &T::setBevelWidth,
                       nullptr, 1),
       captionProp(), eventProp<TControl>("OnCanResize", &TControl::OnCanResize),
       eventProp<TControl>("OnConstrainedResize", &TControl::OnConstrainedResize)});
  return info;
}

TPanel::TPanel(TComponent* owner) : TWinControl(owner, new QFrame()) {
  label_ = new QLabel(widget());
  label_->setAttribute(Qt::WA_TransparentForMouseEvents);
  label_->lower();
  label_->show();
  click_on_release_ = true;
  setColor(clBtnFace);
  applyBevel();
  setAlignment(taCenter);
  setBounds(0, 0, 185, 41);
}

void TPanel::applyBevel() {
  auto* f = static_cast<QFrame*>(widget());
  int cut = bevel_outer_ != bvNone ? bevel_outer_ : bevel_inner_;
  if (cut == bvNone || cut == bvSpace) {
    f->setFrameStyle(QFrame::NoFrame);
    return;
  }
  f->setFrameStyle(QFrame::Panel | (cut == bvLowered ? QFrame::Sunken : QFrame::Raised));
  f->setLineWidth(bevel_width_ * ((bevel_inner_ != bvNone && bevel_outer_ != bvNone) ? 2 : 1));
}

void TPanel::setBevelInner(int b) {
  bevel_inner_ = b;
  applyBevel();
}

void TPanel::setBevelOuter(int b) {
  bevel_outer_ = b;
  applyBevel();
}

void TPanel::setBevelWidth(int w) {
  bevel_width_ = std::max(1, w);
  applyBevel();
}

void TPanel::setAlignment(int a) {
  alignment_ = a;
  label_->setAlignment(qtLabelAlignment(a) | Qt::AlignVCenter);
}

void TPanel::applyCaption() { label_->setText(qs(caption())); }

bool TPanel::handleEvent(QObject* target, QEvent* event) {
  if (target == widget() && event->type() == QEvent::Resize)
    label_->setGeometry(0, 0, width(), height());
  return TWinControl::handleEvent(target, event);
}

// ---- TGroupBox ----

const ClassInfo& TGroupBox::staticClassInfo() {
  static const ClassInfo info("TGroupBox", &TWinControl::staticClassInfo(), {captionProp()});
  return info;
}

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner, new QGroupBox()) {
  click_on_release_ = true;
  setColor(clBtnFace);
  setBounds(0, 0, 185, 105);
}

void TGroupBox::applyCaption() { static_cast<QGroupBox*>(widget())->setTitle(qs(caption())); }

TRect TGroupBox::alignRect() const {
  int caption_h = std::abs(font()->height()) + 4;
  return {2, caption_h, std::max(2, clientWidth() - 2), std::max(caption_h, clientHeight() - 2)};
}

// ---- TLabel ----

const ClassInfo& TLabel::staticClassInfo() {
  using T = TLabel;
  static const ClassInfo info(
      "TLabel", &TControl::staticClassInfo(),
      {ordProp<T, int>("Alignment", PropKind::Enumeration, &T::alignment, &T::setAlignment,
                       &alignmentType(), taLeftJustify),
       boolProp<T>("AutoSize", &T::autoSize, &T::setAutoSize, true), captionProp(),
       boolProp<T>("WordWrap", &T::wordWrap, &T::setWordWrap, false)});
  return info;
}

TLabel::TLabel(TComponent* owner) : TControl(owner, new QLabel()) {
  click_on_release_ = true;
  label()->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setBounds(0, 0, 65, 13);
}

QLabel* TLabel::label() const { return static_cast<QLabel*>(widget()); }

void TLabel::adjustSize() {
  if (!auto_size_ || word_wrap_) return;
  QSize s = label()->sizeHint();
  setBounds(left(), top(), s.width(), s.height());
}

void TLabel::setAutoSize(bool a) {
  auto_size_ = a;
  adjustSize();
}

void TLabel::setAlignment(int a) {
  alignment_ = a;
  label()->setAlignment(qtLabelAlignment(a) | Qt::AlignTop);
}

void TLabel::setWordWrap(bool w) {
  word_wrap_ = w;
  label()->setWordWrap(w);
}

void TLabel::applyCaption() {
  // A label shows "&x" as an accelerator mark; "&&" is one ampersand.
  QString text = qs(caption());
  label()->setText(text.replace("&&", "\x01").remove('&').replace('\x01', '&'));
  adjustSize();
}

void TLabel::applyFont() {
  TControl::applyFont();
  adjustSize();
}

// ---- TEdit ----

const ClassInfo& TEdit::staticClassInfo() {
  using T = TEdit;
  static const ClassInfo info(
      "TEdit", &TWinControl::staticClassInfo(),
      {keptProp("AutoSelect", PropKind::Enumeration, &booleanType(), nullptr, PropValue(int64_t{1})),
       keptProp("AutoSize", PropKind::Enumeration, &booleanType(), nullptr, PropValue(int64_t{1})),
       ordProp<T, int>("BorderStyle", PropKind::Enumeration, &T::borderStyle, &T::setBorderStyle,
                       &formBorderStyleType(), bsSingle),
       ordProp<T, int>("MaxLength", PropKind::Integer, &T::maxLength, &T::setMaxLength, nullptr, 0),
       ordProp<T, int>("PasswordChar", PropKind::Char, &T::passwordChar, &T::setPasswordChar,
                       nullptr, 0),
       boolProp<T>("ReadOnly", &T::readOnly, &T::setReadOnly, false),
       strProp<T>("Text", &T::text, &T::setText), eventProp<T>("OnChange", &T::OnChange)});
  return info;
}

TEdit::TEdit(TComponent* owner) : TWinControl(owner, new QLineEdit()) {
  auto* e = static_cast<QLineEdit*>(widget());
  // No validator: one would swallow Return before OnKeyDown sees it.
  QObject::connect(e, &QLineEdit::textChanged, [this] { fire(OnChange, this); });
  setColor(clWindow);
  setBounds(0, 0, 121, 21);
}

std::string TEdit::text() const { return ss(static_cast<QLineEdit*>(widget())->text()); }
// Text set by code puts the caret before its first character, so a long number shows its
// start, as the platform's edits do.
void TEdit::setText(const std::string& text) {
  auto* e = static_cast<QLineEdit*>(widget());
  e->setText(qs(text));
  e->setCursorPosition(0);
}
bool TEdit::readOnly() const { return static_cast<QLineEdit*>(widget())->isReadOnly(); }
void TEdit::setReadOnly(bool r) { static_cast<QLineEdit*>(widget())->setReadOnly(r); }
void TEdit::selectAll() { static_cast<QLineEdit*>(widget())->selectAll(); }

void TEdit::setMaxLength(int n) {
  max_length_ = std::max(0, n);
  static_cast<QLineEdit*>(widget())->setMaxLength(max_length_ > 0 ? max_length_ : 32767);
}

namespace {

// Draws a line edit's hidden text with a given character in place of the style's own.
class PasswordStyle : public QProxyStyle {
public:
  PasswordStyle(char32_t mask, QObject* owner) : mask_(mask) { setParent(owner); }
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* ret) const override {
    if (hint == SH_LineEdit_PasswordCharacter) return static_cast<int>(mask_);
    return QProxyStyle::styleHint(hint, option, widget, ret);
  }

private:
  char32_t mask_;
};

}  // namespace

void TEdit::setPasswordChar(int c) {
  password_char_ = c;
  auto* e = static_cast<QLineEdit*>(widget());
  e->setEchoMode(c ? QLineEdit::Password : QLineEdit::Normal);
  if (c) e->setStyle(new PasswordStyle(static_cast<char32_t>(c), e));
}

void TEdit::setBorderStyle(int s) {
  border_style_ = s;
  static_cast<QLineEdit*>(widget())->setFrame(s != bsNone);
}

void TEdit::applyColor() {
  QPalette pal = widget()->palette();
  pal.setColor(QPalette::Base, toQColor(color()));
  widget()->setPalette(pal);
}

// ---- TButton ----

const ClassInfo& TButton::staticClassInfo() {
  using T = TButton;
  static const ClassInfo info(
      "TButton", &TWinControl::staticClassInfo(),
      {boolProp<T>("Cancel", &T::cancel, &T::setCancel, false), captionProp(),
       boolProp<T>("Default", &T::isDefault, &T::setDefault, false),
       ordProp<T, int>("ModalResult", PropKind::Integer, &T::modalResult, &T::setModalResult,
                       nullptr, 0)});
  return info;
}

TButton::TButton(TComponent* owner) : TWinControl(owner, new QPushButton()) {
  auto* b = static_cast<QPushButton*>(widget());
  b->setAutoDefault(false);
  QObject::connect(b, &QPushButton::clicked, [this] { click(); });
  setBounds(0, 0, 75, 25);
}

void TButton::setDefault(bool d) {
  default_ = d;
  static_cast<QPushButton*>(widget())->setDefault(d);
}

void TButton::applyCaption() { static_cast<QPushButton*>(widget())->setText(qs(caption())); }

void TButton::click() {
  if (modal_result_ != mrNone)
    if (TForm* form = parentForm(this)) form->setModalResult(modal_result_);
  TWinControl::click();
}

// ---- TCheckBox ----

const ClassInfo& TCheckBox::staticClassInfo() {
  using T = TCheckBox;
  static const ClassInfo info(
      "TCheckBox", &TWinControl::staticClassInfo(),
      {boolProp<T>("AllowGrayed", &T::allowGrayed, &T::setAllowGrayed, false), captionProp(),
       boolProp<T>("Checked", &T::checked, &T::setChecked, false),
       ordProp<T, int>("State", PropKind::Enumeration, &T::state, &T::setState,
                       &checkBoxStateType(), cbUnchecked)});
  return info;
}

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner, new QCheckBox()) {
  QObject::connect(static_cast<QCheckBox*>(widget()), &QCheckBox::stateChanged,
                   [this] { click(); });
  setBounds(0, 0, 97, 17);
}

int TCheckBox::state() const {
  switch (static_cast<QCheckBox*>(widget())->checkState()) {
    case Qt::Checked: return cbChecked;
    case Qt::PartiallyChecked: return cbGrayed;
    default: return cbUnchecked;
  }
}

void TCheckBox::setState(int s) {
  static_cast<QCheckBox*>(widget())->setCheckState(
      s == cbChecked ? Qt::Checked : s == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
}

bool TCheckBox::allowGrayed() const { return static_cast<QCheckBox*>(widget())->isTristate(); }
void TCheckBox::setAllowGrayed(bool a) { static_cast<QCheckBox*>(widget())->setTristate(a); }
void TCheckBox::applyCaption() { static_cast<QCheckBox*>(widget())->setText(qs(caption())); }

// ---- TRadioButton ----

const ClassInfo& TRadioButton::staticClassInfo() {
  using T = TRadioButton;
  static const ClassInfo info("TRadioButton", &TWinControl::staticClassInfo(),
                              {captionProp(), boolProp<T>("Checked", &T::checked, &T::setChecked, false)});
  return info;
}

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner, new QRadioButton()) {
  QObject::connect(static_cast<QRadioButton*>(widget()), &QRadioButton::toggled, [this](bool on) {
    if (on) click();
  });
  setBounds(0, 0, 113, 17);
}

bool TRadioButton::checked() const { return static_cast<QRadioButton*>(widget())->isChecked(); }

void TRadioButton::setChecked(bool c) {
  auto* r = static_cast<QRadioButton*>(widget());
  if (c) {
    r->setChecked(true);
    return;
  }
  // Qt will not uncheck the checked button of an exclusive group; the platform does.
  r->setAutoExclusive(false);
  r->setChecked(false);
  r->setAutoExclusive(true);
}

void TRadioButton::applyCaption() { static_cast<QRadioButton*>(widget())->setText(qs(caption())); }

// ---- TRadioGroup ----

const ClassInfo& TRadioGroup::staticClassInfo() {
  using T = TRadioGroup;
  static const ClassInfo info(
      "TRadioGroup", &TWinControl::staticClassInfo(),
      {captionProp(),
       ordProp<T, int>("Columns", PropKind::Integer, &T::columns, &T::setColumns, nullptr, 1),
       ordProp<T, int>("ItemIndex", PropKind::Integer, &T::itemIndex, &T::setItemIndex, nullptr, -1),
       classProp<T, TStrings>("Items", &T::items)});
  return info;
}

TRadioGroup::TRadioGroup(TComponent* owner)
    : TWinControl(owner, new QGroupBox()), items_(std::make_unique<TStringList>()),
      group_(new QButtonGroup(widget())) {
  items_->OnChange = [this](TStringList*) { rebuild(); };
  QObject::connect(group_, &QButtonGroup::idToggled,
                   [this](int id, bool on) { buttonToggled(id, on); });
  setColor(clBtnFace);
  setBounds(0, 0, 185, 105);
}

TRadioGroup::~TRadioGroup() { items_->OnChange = nullptr; }

void TRadioGroup::rebuild() {
  updating_ = true;
  for (QAbstractButton* b : group_->buttons()) delete b;
  for (int i = 0; i < items_->count(); ++i) {
    auto* b = new QRadioButton(qs(items_->get(i)), widget());
    group_->addButton(b, i);
    b->show();
  }
  if (item_index_ >= items_->count()) item_index_ = -1;
  if (item_index_ >= 0) group_->button(item_index_)->setChecked(true);
  updating_ = false;
  arrange();
}

void TRadioGroup::arrange() {
  int n = items_->count();
  if (n == 0) return;
  int cols = std::max(1, columns_);
  int rows = (n + cols - 1) / cols;
  TRect r{8, std::abs(font()->height()) + 6, width() - 8, height() - 4};
  int col_w = std::max(1, r.width() / cols);
  int row_h = std::max(1, r.height() / rows);
  for (int i = 0; i < n; ++i) {
    QAbstractButton* b = group_->button(i);
    b->setGeometry(r.left + (i / rows) * col_w, r.top + (i % rows) * row_h, col_w, std::min(row_h, 20));
  }
}

void TRadioGroup::setColumns(int c) {
  columns_ = std::max(1, c);
  arrange();
}

void TRadioGroup::setItemIndex(int index) {
  if (loading()) {
    pending_index_ = index;
    return;
  }
  index = std::clamp(index, -1, items_->count() - 1);
  if (index == item_index_) return;
  if (index < 0) {
    updating_ = true;
    group_->setExclusive(false);
    for (QAbstractButton* b : group_->buttons()) b->setChecked(false);
    group_->setExclusive(true);
    updating_ = false;
    item_index_ = -1;
    return;
  }
  group_->button(index)->setChecked(true);  // runs OnClick through buttonToggled
}

void TRadioGroup::loaded() {
  TWinControl::loaded();
  if (pending_index_) setItemIndex(*pending_index_);
  pending_index_.reset();
}

void TRadioGroup::buttonToggled(int index, bool on) {
  if (!on || updating_) return;
  item_index_ = index;
  click();
}

void TRadioGroup::applyCaption() { static_cast<QGroupBox*>(widget())->setTitle(qs(caption())); }

bool TRadioGroup::handleEvent(QObject* target, QEvent* event) {
  if (target == widget() && event->type() == QEvent::Resize) arrange();
  return TWinControl::handleEvent(target, event);
}

}  // namespace kgui
