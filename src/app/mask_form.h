// TfrmMask: the ring-mask window. The ring grid between "Open Ring Mask File" and the
// Update and Subtract buttons; beside it the crystal part (material list, Miller-index grid,
// "Open Crystal File" and "Mask"), built but hidden. Every action calls the ring-mask
// commands; the grids show the tables those commands make.
#pragma once

#include <string>
#include <vector>

#include "app/panel_button.h"
#include "platform/gui/form.h"
#include "platform/gui/grid.h"
#include "platform/gui/list_controls.h"
#include "ports/views.h"

namespace kestrin::app {

class TfrmMask : public kgui::TForm {
public:
  explicit TfrmMask(kgui::TComponent* owner);

  TPanelButton *pbtnOpenRingMaskFile, *pbtnUpdate, *pbtnSubtract;
  kgui::TStringGrid* sgridReplaceSetting;
  TPanelButton *pbtnOpenCrystalFile, *pbtnMask;
  kgui::TComboBox* cmbMaterial;
  kgui::TStringGrid* sgridMillerIndexList;

  // What the window's port asks for.
  void show_ring_grid(const GridTexts& rows);
  GridTexts ring_grid() const;
  void show_materials(const std::vector<std::string>& names);
  void show_miller_grid(const GridTexts& rows);

private:
  void createRingPart();
  void createCrystalPart();
  void connectHandlers();
};

// The mask window's port over the application's TfrmMask.
class MaskFormPort : public MaskWindowPort {
public:
  void show() override;
  void show_ring_grid(const GridTexts& rows) override;
  GridTexts ring_grid() const override;
  void show_materials(const std::vector<std::string>& names) override;
  void show_miller_grid(const GridTexts& rows) override;
};

}  // namespace kestrin::app
