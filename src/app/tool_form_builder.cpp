// The tool windows' control helpers.
#include "app/tool_form_builder.h"

#include <algorithm>

namespace kestrin::app {

using namespace kgui;

namespace {

constexpr TColor kEditColour = 0xECFFFE;

template <class Control>
Control* make(TForm* form, TWinControl* parent, std::string_view name, int left, int top, int width, int height) {
  auto* c = new Control(form);
  if (!name.empty()) c->setName(std::string(name));
  c->setParent(parent);
  c->setBounds(left, top, width, height);
  return c;
}

}  // namespace

std::string ToolFormBuilder::start_text(ControlName name) const {
  for (const ControlText& t : texts_)
    if (t.name == name) return std::string(t.text);
  return {};
}

TGroupBox* ToolFormBuilder::group(TWinControl* parent, const char* caption, int left, int top, int width, int height) {
  auto* g = make<TGroupBox>(form_, parent, {}, left, top, width, height);
  g->setCaption(caption);
  return g;
}

TLabel* ToolFormBuilder::label(TWinControl* parent, std::string_view caption, int left, int top) {
  auto* l = make<TLabel>(form_, parent, {}, left, top + 3, int(caption.size()) * 7 + 8, 16);
  l->setCaption(std::string(caption));
  return l;
}

TLabel* ToolFormBuilder::label(TWinControl* parent, ControlName name, int left, int top) {
  auto* l = make<TLabel>(form_, parent, name.control, left, top + 3, 160, 16);
  l->setCaption(start_text(name));
  return l;
}

TEdit* ToolFormBuilder::edit(TWinControl* parent, ControlName name, int left, int top, int width) {
  auto* e = make<TEdit>(form_, parent, name.control, left, top, width, 21);
  e->setColor(kEditColour);
  e->setText(start_text(name));
  return e;
}

TPanelButton* ToolFormBuilder::button(TWinControl* parent, ControlName name, const char* caption, int left, int top,
                                      int width, int height) {
  return make_panel_button(parent, std::string(name.control), caption, left, top, width, height);
}

TRadioButton* ToolFormBuilder::radio(TWinControl* parent, ControlName name, const char* caption, int left, int top,
                                     int width) {
  auto* r = make<TRadioButton>(form_, parent, name.control, left, top, width, 20);
  r->setCaption(caption);
  return r;
}

TCheckBox* ToolFormBuilder::check(TWinControl* parent, ControlName name, const char* caption, int left, int top,
                                  int width) {
  auto* c = make<TCheckBox>(form_, parent, name.control, left, top, width, 20);
  c->setCaption(caption);
  return c;
}

TStringGrid* ToolFormBuilder::grid(TWinControl* parent, ControlName name, int left, int top, int width, int height) {
  auto* g = make<TStringGrid>(form_, parent, name.control, left, top, width, height);
  g->setFixedCols(0);
  g->setFixedRows(1);
  g->setRowCount(2);
  return g;
}

TPanel* ToolFormBuilder::panel(TWinControl* parent, ControlName name, int left, int top, int width, int height) {
  auto* p = make<TPanel>(form_, parent, name.control, left, top, width, height);
  p->setColor(kToolFormColour);
  return p;
}

TPaintBox* ToolFormBuilder::paint_box(TWinControl* parent, ControlName name, int left, int top, int width,
                                      int height) {
  return make<TPaintBox>(form_, parent, name.control, left, top, width, height);
}

TScrollBar* ToolFormBuilder::scroll_bar(TWinControl* parent, ControlName name, int left, int top, int width,
                                        int height, bool vertical) {
  auto* s = make<TScrollBar>(form_, parent, name.control, left, top, width, height);
  s->setKind(vertical ? sbVertical : sbHorizontal);
  return s;
}

TComboBox* ToolFormBuilder::combo(TWinControl* parent, ControlName name, int left, int top, int width,
                                  std::initializer_list<const char*> items) {
  auto* c = make<TComboBox>(form_, parent, name.control, left, top, width, 21);
  c->setStyle(csDropDownList);
  for (const char* item : items) c->items()->add(item);
  return c;
}

TMemo* ToolFormBuilder::memo(TWinControl* parent, ControlName name, int left, int top, int width, int height) {
  return make<TMemo>(form_, parent, name.control, left, top, width, height);
}

void ToolFormBuilder::labelled_edits(TWinControl* parent, std::span<const LabelledEdit> rows, int label_left,
                                     int edit_left, int top, int step) {
  for (const LabelledEdit& r : rows) {
    label(parent, r.label, label_left, top);
    *r.edit = edit(parent, r.name, edit_left, top);
    top += step;
  }
}

void show_table(TStringGrid& grid, const StringGrid& table) {
  size_t columns = 1;
  for (const auto& row : table) columns = std::max(columns, row.size());
  grid.setColCount(int(columns));
  grid.setRowCount(std::max<int>(int(table.size()), 2));  // a heading row and at least one more
  for (size_t r = 0; r < table.size(); ++r)
    for (size_t c = 0; c < columns; ++c) grid.setCell(int(c), int(r), c < table[r].size() ? table[r][c] : std::string());
  for (int r = int(table.size()); r < grid.rowCount(); ++r)
    for (size_t c = 0; c < columns; ++c) grid.setCell(int(c), r, {});
}

}  // namespace kestrin::app
