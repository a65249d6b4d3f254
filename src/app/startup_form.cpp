// The start-up form: a caption, one label and a disabled timer; it does nothing on creation.
#include "app/startup_form.h"

#include "platform/gui/std_controls.h"
#include "platform/gui/timer.h"
#include "ports/names/startup_form_names.h"

namespace kestrin::app {

using namespace kgui;

TfrmStartUp::TfrmStartUp(TComponent* owner) : TForm(owner) {
  setVisible(false);
  setName(std::string(frmStartUp::form));
  setCaption("Kestrin");
  setClientWidth(280);
  setClientHeight(60);
  Label1 = new TLabel(this);
  Label1->setParent(this);
  Label1->setName(std::string(frmStartUp::Label1.control));
  Label1->font()->setName("Times New Roman");
  Label1->font()->setSize(14);
  Label1->setCaption("Starting KES for Windows");
  Label1->setBounds(24, 18, 232, 24);
  Timer1 = new TTimer(this);
  Timer1->setName(std::string(frmStartUp::Timer1.control));
  Timer1->setEnabled(false);
}

}  // namespace kestrin::app
