// The script classes of the tabbed controls (tab controls, page controls and their tab
// sheets) and of status bars with their panels, as rows (vcl_class.h). A tab control's
// `tabs` is a Strings object over the native tab list (for a page control a read-only view
// of the pages' captions). Page controls are collections of their pages: pc[i] is page i,
// the caster's one wrapper of the sheet, undefined out of range. A status bar's `panels` is
// the one status-panels object of the wrapper; panels[i] is a plain wrapper of panel i
// (null out of range), and panels[i] = panel and items(i, panel) copy a panel into item i.
#pragma once

#include "script/gui/vcl_class.h"

namespace kestrin::script {

extern const VCLClassDef kVCLTabControl, kVCLPageControl, kVCLTabSheet, kVCLStatusBar, kVCLStatusPanels;

}  // namespace kestrin::script
