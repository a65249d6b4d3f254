// TfrmPrompt and TfrmTextArea: fixed dialog frames with "MS UI Gothic" (the installed Japanese
// Gothic font stands in for it), client areas of 492 x 73 and 492 x 275, and controls
// anchored so that a wider dialog widens the text and keeps the buttons at the right edge.
#include "script/gui/prompt_forms.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

#include "platform/classes/type_tables.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/std_controls.h"

namespace kestrin::script {
namespace {

using kgui::setOf;

// The dialogs' font: "MS UI Gothic", Shift-JIS, 12 pixels high.
void DialogFont(kgui::TForm& form) {
  form.font()->setName("MS UI Gothic");
  form.font()->setCharset(128);
  form.font()->setHeight(-12);
  QWidget* w = form.widget();
  w->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                    Qt::WindowCloseButtonHint);
}

template <class T>
T* Place(kgui::TForm& form, const char* name, int left, int top, int width, int height) {
  auto* control = new T(&form);
  control->setName(name);
  control->setParent(&form);
  control->setBounds(left, top, width, height);
  return control;
}

kgui::TButton* Button(kgui::TForm& form, const char* name, const char* caption, int left, int top, int result) {
  auto* b = Place<kgui::TButton>(form, name, left, top, 75, 25);
  b->setCaption(caption);
  b->setModalResult(result);
  b->setAnchors(setOf({kgui::akTop, kgui::akRight}));
  return b;
}

}  // namespace

void CentreOnOwner(kgui::TForm& form) {
  QRect area;
  if (QWidget* owner = QApplication::activeWindow(); owner && owner != form.widget()) area = owner->frameGeometry();
  else if (QScreen* screen = QGuiApplication::primaryScreen()) area = screen->availableGeometry();
  form.setLeft(area.x() + (area.width() - form.width()) / 2);
  form.setTop(area.y() + (area.height() - form.height()) / 2);
}

TfrmPrompt::TfrmPrompt(kgui::TComponent* owner) : TForm(owner) {
  setName("frmPrompt");
  DialogFont(*this);
  setClientWidth(492);
  setClientHeight(73);
  createControls();
}

void TfrmPrompt::createControls() {
  lblText = Place<kgui::TLabel>(*this, "lblText", 12, 8, 381, 29);
  lblText->setAutoSize(false);
  lblText->setWordWrap(true);
  lblText->setAnchors(setOf({kgui::akLeft, kgui::akTop, kgui::akRight}));
  edtPrompt = Place<kgui::TEdit>(*this, "edtPrompt", 10, 41, 385, 20);
  edtPrompt->setAnchors(setOf({kgui::akLeft, kgui::akTop, kgui::akRight}));
  btnOK = Button(*this, "btnOK", "OK", 408, 8, kgui::mrOk);
  btnOK->setDefault(true);
  btnCancel = Button(*this, "btnCancel", "Cancel", 408, 40, kgui::mrCancel);
  btnCancel->setCancel(true);
  // The edit comes first in the tab order.
  QWidget::setTabOrder(edtPrompt->widget(), btnOK->widget());
  QWidget::setTabOrder(btnOK->widget(), btnCancel->widget());
  OnShow = [this](kgui::TComponent*) { edtPrompt->setFocus(); };
}

TfrmTextArea::TfrmTextArea(kgui::TComponent* owner) : TForm(owner) {
  setName("frmTextArea");
  DialogFont(*this);
  setClientWidth(492);
  setClientHeight(275);
  createControls();
}

void TfrmTextArea::createControls() {
  lblText = Place<kgui::TLabel>(*this, "lblText", 10, 8, 65, 13);
  mmText = Place<kgui::TMemo>(*this, "mmText", 6, 26, 395, 243);
  mmText->setAnchors(setOf({kgui::akLeft, kgui::akTop, kgui::akRight, kgui::akBottom}));
  mmText->setScrollBars(kgui::ssVertical);
  // OK is not the default button: Enter makes a line break in the memo.
  btnOK = Button(*this, "btnOK", "OK", 410, 28, kgui::mrOk);
  btnCancel = Button(*this, "btnCancel", "Cancel", 410, 59, kgui::mrCancel);
  btnCancel->setCancel(true);
  btnClear = Button(*this, "btnClear", "Clear", 410, 91, kgui::mrNone);
  btnClear->OnClick = [this](kgui::TComponent* sender) { btnClearClick(sender); };
  QWidget::setTabOrder(mmText->widget(), btnOK->widget());
  OnShow = [this](kgui::TComponent*) { mmText->setFocus(); };
}

void TfrmTextArea::btnClearClick(kgui::TComponent*) { mmText->clear(); }

TfrmCheckList::TfrmCheckList(kgui::TComponent* owner) : TForm(owner) {
  setName("frmCheckList");
  DialogFont(*this);
  setClientWidth(416);
  setClientHeight(243);
  createControls();
}

void TfrmCheckList::createControls() {
  lblText = Place<kgui::TLabel>(*this, "lblText", 12, 8, 305, 13);
  lblText->setAnchors(setOf({kgui::akLeft, kgui::akTop, kgui::akRight}));
  lbCheck = Place<kgui::TCheckListBox>(*this, "lbCheck", 12, 28, 305, 203);
  lbCheck->setAnchors(setOf({kgui::akLeft, kgui::akTop, kgui::akRight, kgui::akBottom}));
  btnOK = Button(*this, "btnOK", "OK", 330, 28, kgui::mrOk);
  btnOK->setDefault(true);
  btnCancel = Button(*this, "btnCancel", "Cancel", 330, 60, kgui::mrCancel);
  btnCancel->setCancel(true);
}

}  // namespace kestrin::script
