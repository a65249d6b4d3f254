// TfrmMask: the ring grid, its buttons and the hidden crystal part.
#include "app/mask_form.h"

#include <algorithm>

#include "app/form_lookup.h"
#include "commands/mask_form_commands.h"
#include "model/state.h"
#include "ports/names/mask_form_names.h"

namespace kestrin::app {

using namespace kgui;

namespace {

// Rows the grids offer at least, heading included, so rings can be typed in below a file's.
constexpr int kGridRows = 21;

TStringGrid* make_grid(TForm* form, ControlName name, int cols, int left, int top, int width, int height) {
  auto* g = new TStringGrid(form);
  g->setName(std::string(name.control));
  g->setParent(form);
  g->setBounds(left, top, width, height);
  g->setColCount(cols);
  g->setRowCount(kGridRows);
  g->setColWidth(0, 40);
  g->setOptions(g->options() | (1u << goEditing));
  return g;
}

// Clears every cell, then writes the rows from the top; the grid keeps one free row below.
void fill_grid(TStringGrid& g, const GridTexts& rows) {
  g.setRowCount(std::max(kGridRows, int(rows.size()) + 1));
  for (int r = 0; r < g.rowCount(); ++r)
    for (int c = 0; c < g.colCount(); ++c) g.setCell(c, r, std::string());
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t c = 0; c < rows[r].size() && int(c) < g.colCount(); ++c) g.setCell(int(c), int(r), rows[r][c]);
}

}  // namespace

TfrmMask::TfrmMask(TComponent* owner) : TForm(owner) {
  setVisible(false);
  setName(std::string(frmMask::form));
  setCaption("KES for Windows (Mask)");
  setClientWidth(360);
  setClientHeight(320);
  createRingPart();
  createCrystalPart();
  connectHandlers();
  state().rings = RingList{};
  show_ring_grid(ring_grid_texts(state().rings));
}

void TfrmMask::createRingPart() {
  pbtnOpenRingMaskFile = make_panel_button(this, std::string(frmMask::pbtnOpenRingMaskFile.control), "Open Ring Mask File",
                                           8, 8, 160, 25);
  sgridReplaceSetting = make_grid(this, frmMask::sgridReplaceSetting, 4, 8, 40, 344, 240);
  pbtnUpdate = make_panel_button(this, std::string(frmMask::pbtnUpdate.control), "Update", 8, 288, 80, 25);
  pbtnSubtract = make_panel_button(this, std::string(frmMask::pbtnSubtract.control), "Subtract", 96, 288, 80, 25);
}

// The crystal part sits to the right of the client area and stays hidden.
void TfrmMask::createCrystalPart() {
  pbtnOpenCrystalFile = make_panel_button(this, std::string(frmMask::pbtnOpenCrystalFile.control), "Open Crystal File",
                                          368, 8, 140, 25);
  cmbMaterial = new TComboBox(this);
  cmbMaterial->setName(std::string(frmMask::cmbMaterial.control));
  cmbMaterial->setParent(this);
  cmbMaterial->setBounds(516, 10, 140, 21);
  cmbMaterial->setStyle(csDropDownList);
  sgridMillerIndexList = make_grid(this, frmMask::sgridMillerIndexList, 5, 368, 40, 340, 240);
  pbtnMask = make_panel_button(this, std::string(frmMask::pbtnMask.control), "Mask", 368, 288, 80, 25);
  for (TControl* c : std::initializer_list<TControl*>{pbtnOpenCrystalFile, cmbMaterial, sgridMillerIndexList, pbtnMask}) c->hide();
}

void TfrmMask::connectHandlers() {
  pbtnOpenRingMaskFile->OnClick = [](TComponent*) { open_ring_mask_file_command(); };
  pbtnUpdate->OnClick = [](TComponent*) { update_ring_list(); };
  pbtnSubtract->OnClick = [](TComponent*) { subtract_rings_command(); };
  pbtnOpenCrystalFile->OnClick = [](TComponent*) { open_crystal_file_command(); };
  cmbMaterial->OnChange = [](TComponent*) { material_chosen(); };
  pbtnMask->OnClick = [](TComponent*) { mask_reflections_command(); };
  // Both grids' edits reach the Miller-index handler; ring edits count only at Update.
  for (TStringGrid* g : {sgridReplaceSetting, sgridMillerIndexList})
    g->OnSetEditText = [](TComponent*, int, int row, const std::string& value) { miller_cell_edited(row, value); };
}

void TfrmMask::show_ring_grid(const GridTexts& rows) { fill_grid(*sgridReplaceSetting, rows); }

GridTexts TfrmMask::ring_grid() const {
  const TStringGrid& g = *sgridReplaceSetting;
  GridTexts rows(size_t(g.rowCount()));
  for (int r = 0; r < g.rowCount(); ++r)
    for (int c = 0; c < g.colCount(); ++c) rows[size_t(r)].push_back(g.cell(c, r));
  return rows;
}

void TfrmMask::show_materials(const std::vector<std::string>& names) {
  cmbMaterial->items()->clear();
  for (const std::string& n : names) cmbMaterial->items()->add(n);
}

void TfrmMask::show_miller_grid(const GridTexts& rows) { fill_grid(*sgridMillerIndexList, rows); }

namespace {

TfrmMask* mask_form() { return form_of<TfrmMask>(); }

}  // namespace

void MaskFormPort::show() {
  if (TfrmMask* f = mask_form()) f->showForm();
}

void MaskFormPort::show_ring_grid(const GridTexts& rows) {
  if (TfrmMask* f = mask_form()) f->show_ring_grid(rows);
}

GridTexts MaskFormPort::ring_grid() const {
  const TfrmMask* f = mask_form();
  return f ? f->ring_grid() : GridTexts{};
}

void MaskFormPort::show_materials(const std::vector<std::string>& names) {
  if (TfrmMask* f = mask_form()) f->show_materials(names);
}

void MaskFormPort::show_miller_grid(const GridTexts& rows) {
  if (TfrmMask* f = mask_form()) f->show_miller_grid(rows);
}

}  // namespace kestrin::app
