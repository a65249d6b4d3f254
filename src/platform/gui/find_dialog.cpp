// The find and replace dialogs: a tool window of our own with the platform's fields,
// shown without blocking.
#include "platform/gui/find_dialog.h"

#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/classes/property_builders.h"
#include "platform/gui/guard.h"
#include "platform/gui/qt_convert.h"

namespace kgui {

const EnumInfo& findOptionType() {
  static const EnumInfo info{"TFindOption",
                             {"frDown", "frFindNext", "frHideMatchCase", "frHideWholeWord", "frHideUpDown",
                              "frMatchCase", "frDisableMatchCase", "frDisableUpDown", "frDisableWholeWord",
                              "frReplace", "frReplaceAll", "frWholeWord", "frShowHelp"},
                             "TFindOptions"};
  return info;
}

namespace {
constexpr uint32_t bit(TFindOption o) { return 1u << o; }
}  // namespace

// The window and its fields, each with the object name of its property or button.
struct TFindDialog::Window {
  QDialog* dialog = nullptr;
  QLineEdit* find = nullptr;
  QLineEdit* replace = nullptr;
  QCheckBox* match_case = nullptr;
  QCheckBox* whole_word = nullptr;
  QRadioButton* up = nullptr;
  QRadioButton* down = nullptr;
  // Cleared when the component goes: the window's signals then reach nothing.
  std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};

const ClassInfo& TFindDialog::staticClassInfo() {
  using T = TFindDialog;
  static const ClassInfo info(
      "TFindDialog", &TComponent::staticClassInfo(),
      {strProp<T>("FindText", &T::findText, &T::setFindText),
       ordProp<T, uint32_t>("Options", PropKind::Set, &T::options, &T::setOptions, &findOptionType(), bit(frDown)),
       eventProp<T>("OnClose", &T::OnClose), eventProp<T>("OnFind", &T::OnFind), eventProp<T>("OnShow", &T::OnShow)});
  return info;
}

const ClassInfo& TReplaceDialog::staticClassInfo() {
  using T = TReplaceDialog;
  static const ClassInfo info("TReplaceDialog", &TFindDialog::staticClassInfo(),
                              {strProp<T>("ReplaceText", &T::replaceText, &T::setReplaceText),
                               eventProp<TFindDialog>("OnReplace", &T::OnReplace)});
  return info;
}

TFindDialog::TFindDialog(TComponent* owner) : TComponent(owner) {}

TFindDialog::~TFindDialog() {
  if (!window_) return;
  *window_->alive = false;
  // A handler of the window's own buttons may free the component: the window goes later.
  window_->dialog->hide();
  window_->dialog->deleteLater();
}

QDialog* TFindDialog::window() const { return window_ ? window_->dialog : nullptr; }

void TFindDialog::setFindText(const std::string& s) {
  find_text_ = s;
  if (window_) window_->find->setText(qs(s));
}

void TFindDialog::setReplaceText(const std::string& s) {
  replace_text_ = s;
  if (window_ && window_->replace) window_->replace->setText(qs(s));
}

void TFindDialog::setOptions(uint32_t o) {
  options_ = o;
  if (!window_) return;
  window_->match_case->setChecked(o & bit(frMatchCase));
  window_->whole_word->setChecked(o & bit(frWholeWord));
  (o & bit(frDown) ? window_->down : window_->up)->setChecked(true);
}

void TFindDialog::build() {
  window_ = std::make_unique<Window>();
  Window& w = *window_;
  w.dialog = new QDialog(nullptr, Qt::Tool);
  w.dialog->setObjectName(replacing() ? "ReplaceDialog" : "FindDialog");
  w.dialog->setWindowTitle(replacing() ? "Replace" : "Find");
  auto* grid = new QGridLayout(w.dialog);
  auto add_edit = [&](const char* name, int row) {
    auto* e = new QLineEdit(w.dialog);
    e->setObjectName(name);
    grid->addWidget(e, row, 0);
    return e;
  };
  w.find = add_edit("FindText", 0);
  if (replacing()) w.replace = add_edit("ReplaceText", 1);
  auto add_check = [&](QAbstractButton* b, const char* name, int row) {
    b->setObjectName(name);
    grid->addWidget(b, row, 0);
  };
  w.match_case = new QCheckBox("Match case", w.dialog);
  add_check(w.match_case, "MatchCase", 2);
  w.whole_word = new QCheckBox("Whole word only", w.dialog);
  add_check(w.whole_word, "WholeWord", 3);
  w.up = new QRadioButton("Up", w.dialog);
  add_check(w.up, "Up", 4);
  w.down = new QRadioButton("Down", w.dialog);
  add_check(w.down, "Down", 5);
  std::weak_ptr<bool> alive = w.alive;
  auto add_button = [&](const char* name, const char* caption, int row, auto action) {
    auto* b = new QPushButton(caption, w.dialog);
    b->setObjectName(name);
    grid->addWidget(b, row, 1);
    QObject::connect(b, &QPushButton::clicked, [alive, action] {
      if (auto a = alive.lock(); a && *a) action();
    });
  };
  add_button("FindNext", "Find Next", 0, [this] {
    takeInput(bit(frFindNext));
    fire(OnFind, this);
  });
  if (replacing()) {
    add_button("Replace", "Replace", 1, [this] {
      takeInput(bit(frReplace));
      fire(OnReplace, this);
    });
    add_button("ReplaceAll", "Replace All", 2, [this] {
      takeInput(bit(frReplaceAll));
      fire(OnReplace, this);
    });
  }
  add_button("Cancel", "Cancel", 3, [this] { closeDialog(); });
  QObject::connect(w.dialog, &QDialog::finished, [alive, this] {
    if (auto a = alive.lock(); a && *a) fire(OnClose, this);
  });
}

// The fields into FindText, ReplaceText and Options, with the action's flag alone among
// frFindNext, frReplace and frReplaceAll.
void TFindDialog::takeInput(uint32_t action_bits) {
  find_text_ = ss(window_->find->text());
  if (window_->replace) replace_text_ = ss(window_->replace->text());
  uint32_t o = options_ & ~(bit(frFindNext) | bit(frReplace) | bit(frReplaceAll) | bit(frMatchCase) |
                            bit(frWholeWord) | bit(frDown));
  if (window_->match_case->isChecked()) o |= bit(frMatchCase);
  if (window_->whole_word->isChecked()) o |= bit(frWholeWord);
  if (window_->down->isChecked()) o |= bit(frDown);
  options_ = o | action_bits;
}

bool TFindDialog::execute() {
  if (!window_) build();
  setFindText(find_text_);
  setReplaceText(replace_text_);
  setOptions(options_);
  window_->match_case->setVisible(!(options_ & bit(frHideMatchCase)));
  window_->whole_word->setVisible(!(options_ & bit(frHideWholeWord)));
  window_->up->setVisible(!(options_ & bit(frHideUpDown)));
  window_->down->setVisible(!(options_ & bit(frHideUpDown)));
  window_->dialog->show();
  fire(OnShow, this);
  return true;
}

void TFindDialog::closeDialog() {
  if (window_ && window_->dialog->isVisible()) window_->dialog->done(QDialog::Rejected);
}

}  // namespace kgui
