// TfrmMergeImage ("frmMergeImage"): the same rectangle of a list of images merged into one
// picture, shown with its own grey-level gauge and magnification, and saved as BMP.
#pragma once

#include "app/panel_button.h"
#include "image/display/display.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/form.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/paint_box.h"
#include "platform/gui/std_controls.h"

namespace kestrin::app {

class TfrmMergeImage : public kgui::TForm {
public:
  explicit TfrmMergeImage(kgui::TComponent* owner);

  TPanelButton *pbtnFileSelect, *PanelButton1, *pbtnMergeImage, *pbtnSaveMergeImage;
  kgui::TButton* btnSort;
  kgui::TMemo* memFileName;
  kgui::TPanel* pnlSetting;
  kgui::TEdit *edtX0, *edtY0, *edtX1, *edtY1, *edtLowEdge, *edtHighEdge;
  kgui::TComboBox* cmbRotation;
  kgui::TRadioButton *rbtnLinearScale, *rbtnLogScale;
  kgui::TPaintBox *pbxMergeImage, *pbxMergeGradationGauge;
  kgui::TLabel *lblLowIndex, *lblHighIndex, *Label1;
  kgui::TScrollBar* scrMagni;
  kgui::TOpenDialog* opdImageFile;
  kgui::TSaveDialog* svdMergeImage;

  // The gauge and the picture drawn again from the merge state.
  void drawGauge();
  void drawPicture();

private:
  void createFileList();
  void createSettingPanel();
  void createScaleGroup();
  void createGauge();
  void createPicture();
  void createDialogs();
  // The picture box takes the merged size times the magnification.
  void sizePicture();
};

}  // namespace kestrin::app
