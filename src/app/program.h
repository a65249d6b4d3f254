// The program's start: the ports over the windows, then the twenty forms in their fixed
// order, the main window first (its creation runs before any other form exists).
#pragma once

#include <vector>

namespace kgui {
class TApplication;
class TForm;
}  // namespace kgui

namespace kestrin::app {

// Installs the window ports and creates the forms, owned by the application, in order:
// TfrmMain, TfrmStartUp, TfrmLog, TfrmNaxGraph, TfrmPeak, TfrmImage, TfrmImageWhole,
// TfrmCake, TfrmOption, TfrmPeakFitting, TfrmScript, TfrmBG, TfrmSpot, TfrmOptionColor,
// TfrmOscAna, TfrmSpotAnalyze, TfrmMask, TfrmMergeImage, TfrmBatchFiles, TfrmImageSpread.
std::vector<kgui::TForm*> start_program(kgui::TApplication& app);

}  // namespace kestrin::app
