// The placeholder windows: a form name taken from the class name ("TfrmLog" -> "frmLog").
#include "app/placeholder_forms.h"

namespace kestrin::app {

#define KESTRIN_DEFINE_PLACEHOLDER(Class)                          \
  Class::Class(kgui::TComponent* owner) : TPlaceholderForm(owner) { \
    setName(std::string(#Class).substr(1));                        \
    setCaption(std::string(#Class).substr(1));                     \
  }
KESTRIN_PLACEHOLDER_FORMS(KESTRIN_DEFINE_PLACEHOLDER)
#undef KESTRIN_DEFINE_PLACEHOLDER

}  // namespace kestrin::app
