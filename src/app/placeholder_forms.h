// Windows whose contents are not built yet: each is an empty, hidden form with its class
// and form name, so the program creates all of its windows in their fixed order and
// "show" commands find them. Each is replaced by its real window as that is built.
#pragma once

#include "platform/gui/form.h"

namespace kestrin::app {

// A window that is not built yet. Its controls are headless values (see WindowControls).
class TPlaceholderForm : public kgui::TForm {
public:
  using kgui::TForm::TForm;
};

// The placeholder windows, in creation order; X(Class) is applied to each.
#define KESTRIN_PLACEHOLDER_FORMS(X) \

#define KESTRIN_DECLARE_PLACEHOLDER(Class)   \
  class Class : public TPlaceholderForm {   \
  public:                                   \
    explicit Class(kgui::TComponent* owner); \
  };
KESTRIN_PLACEHOLDER_FORMS(KESTRIN_DECLARE_PLACEHOLDER)
#undef KESTRIN_DECLARE_PLACEHOLDER

}  // namespace kestrin::app
