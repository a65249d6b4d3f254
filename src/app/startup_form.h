// TfrmStartUp: the start-up form, created at start and left hidden.
#pragma once

#include "platform/gui/form.h"

namespace kgui {
class TLabel;
class TTimer;
}  // namespace kgui

namespace kestrin::app {

class TfrmStartUp : public kgui::TForm {
public:
  explicit TfrmStartUp(kgui::TComponent* owner);

  kgui::TLabel* Label1 = nullptr;
  kgui::TTimer* Timer1 = nullptr;  // disabled at creation
};

}  // namespace kestrin::app
