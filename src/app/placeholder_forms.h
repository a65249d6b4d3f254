// Windows whose contents are not built yet: each is an empty, hidden form with its class
// and form name, so the program creates all of its windows in their fixed order and
// "show" commands find them. Each is replaced by its real window as that is built.
#pragma once

#include "platform/gui/form.h"

namespace kestrin::app {

#define KESTRIN_PLACEHOLDER_FORM(Class)               \
  class Class : public kgui::TForm {                  \
  public:                                             \
    explicit Class(kgui::Component* owner);           \
  };

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

#undef KESTRIN_PLACEHOLDER_FORM

}  // namespace kestrin::app
