// The placeholder windows: a form name taken from the class name ("TfrmLog" -> "frmLog").
#include "app/placeholder_forms.h"

namespace kestrin::app {

#define KESTRIN_PLACEHOLDER_FORM(Class)                          \
  Class::Class(kgui::Component* owner) : kgui::TForm(owner) {    \
    setName(std::string(#Class).substr(1));                      \
    setCaption(std::string(#Class).substr(1));                   \
  }

KESTRIN_PLACEHOLDER_FORM(TfrmNaxGraph)
KESTRIN_PLACEHOLDER_FORM(TfrmPeak)
KESTRIN_PLACEHOLDER_FORM(TfrmImage)
KESTRIN_PLACEHOLDER_FORM(TfrmImageWhole)
KESTRIN_PLACEHOLDER_FORM(TfrmCake)
KESTRIN_PLACEHOLDER_FORM(TfrmOption)
KESTRIN_PLACEHOLDER_FORM(TfrmPeakFitting)
KESTRIN_PLACEHOLDER_FORM(TfrmScript)
KESTRIN_PLACEHOLDER_FORM(TfrmBG)
KESTRIN_PLACEHOLDER_FORM(TfrmSpot)
KESTRIN_PLACEHOLDER_FORM(TfrmOptionColor)
KESTRIN_PLACEHOLDER_FORM(TfrmOscAna)
KESTRIN_PLACEHOLDER_FORM(TfrmSpotAnalyze)
KESTRIN_PLACEHOLDER_FORM(TfrmMask)
KESTRIN_PLACEHOLDER_FORM(TfrmMergeImage)
KESTRIN_PLACEHOLDER_FORM(TfrmBatchFiles)
KESTRIN_PLACEHOLDER_FORM(TfrmImageSpread)

}  // namespace kestrin::app
