// The script names of the GUI wrapper classes, in their registration order. Without Qt: a
// runner that loads the GUI library only when a script first makes one of these registers
// the names up front.
#pragma once

#include <array>

namespace kestrin::script {

inline constexpr std::array<const char*, 37> kVCLClassNames = {
    "VCLForm",        "VCLEdit",          "VCLButton",      "VCLMemo",        "VCLLabel",       "VCLTimer",
    "VCLMenuItem",    "VCLMainMenu",      "VCLPopupMenu",   "VCLCheckBox",    "VCLRadioButton", "VCLListBox",
    "VCLComboBox",    "VCLGroupBox",      "VCLRadioGroup",  "VCLPanel",       "VCLSplitter",    "VCLCheckListBox",
    "VCLImage",       "VCLTabControl",    "VCLTabSheet",    "VCLPageControl", "VCLProgressBar", "VCLTreeView",
    "VCLListView",    "VCLStatusBar",     "VCLToolButton",  "VCLToolBar",     "VCLCoolBar",     "VCLAction",
    "VCLOpenDialog",  "VCLSaveDialog",    "VCLFontDialog",  "VCLFindDialog",  "VCLReplaceDialog", "VCLSpinEdit",
    "VCLUpDown",
};

}  // namespace kestrin::script
