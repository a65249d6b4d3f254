// The program's start: the ports over the windows, then the twenty forms in their fixed
// order, the main window first (its creation runs before any other form exists).
#pragma once

#include <functional>
#include <vector>

namespace kgui {
class TApplication;
class TForm;
}  // namespace kgui

namespace kestrin::app {

// Makes one form, owned by the application.
using FormMaker = std::function<kgui::TForm*(kgui::TApplication& app)>;

// Installs the window ports and creates the forms, owned by the application, in order:
// TfrmMain, TfrmStartUp, TfrmLog, TfrmNaxGraph, TfrmPeak, TfrmImage, TfrmImageWhole,
// TfrmCake, TfrmOption, TfrmPeakFitting, TfrmScript, TfrmBG, TfrmSpot, TfrmOptionColor,
// TfrmOscAna, TfrmSpotAnalyze, TfrmMask, TfrmMergeImage, TfrmBatchFiles, TfrmImageSpread.
// The script window lives above the windows' library, so the program hands in its maker;
// without one an empty form named "frmScript" stands in its place.
std::vector<kgui::TForm*> start_program(kgui::TApplication& app, const FormMaker& make_script_window = nullptr);

}  // namespace kestrin::app
