// The tool windows' control builders.
#include "app/tool_form_controls.h"

#include "app/tool_form_builder.h"

namespace kestrin::app {

using namespace kgui;

namespace {

template <class Control>
Control* place(TForm* form, TWinControl* parent, ControlName name, int left, int top, int width, int height) {
  auto* c = new Control(form);
  if (!name.control.empty()) c->setName(std::string(name.control));
  c->setParent(parent);
  c->setBounds(left, top, width, height);
  return c;
}

}  // namespace

void set_up_tool_form(TForm* form, std::string_view name, const std::string& caption, int width, int height) {
  form->setVisible(false);
  form->setName(std::string(name));
  form->setCaption(caption);
  form->setColor(kToolFormColour);
  form->setClientWidth(width);
  form->setClientHeight(height);
}

TLabel* add_label(TForm* form, TWinControl* parent, const std::string& caption, int left, int top) {
  auto* l = place<TLabel>(form, parent, {}, left, top, 65, 13);
  l->setCaption(caption);
  return l;
}

TEdit* add_edit(TForm* form, TWinControl* parent, ControlName name, std::string_view text, int left, int top,
                int width) {
  auto* e = place<TEdit>(form, parent, name, left, top, width, 21);
  e->setText(std::string(text));
  return e;
}

TButton* add_button(TForm* form, TWinControl* parent, ControlName name, const std::string& caption, int left,
                    int top, int width, int height) {
  auto* b = place<TButton>(form, parent, name, left, top, width, height);
  b->setCaption(caption);
  return b;
}

TCheckBox* add_check_box(TForm* form, TWinControl* parent, ControlName name, const std::string& caption, int left,
                         int top, int width) {
  auto* c = place<TCheckBox>(form, parent, name, left, top, width, 17);
  c->setCaption(caption);
  return c;
}

TRadioButton* add_radio_button(TForm* form, TWinControl* parent, ControlName name, const std::string& caption,
                               int left, int top, int width) {
  auto* r = place<TRadioButton>(form, parent, name, left, top, width, 17);
  r->setCaption(caption);
  return r;
}

TGroupBox* add_group_box(TForm* form, TWinControl* parent, const std::string& caption, int left, int top, int width,
                         int height) {
  auto* g = place<TGroupBox>(form, parent, {}, left, top, width, height);
  g->setCaption(caption);
  return g;
}

TMemo* add_memo(TForm* form, TWinControl* parent, ControlName name, int left, int top, int width, int height) {
  auto* m = place<TMemo>(form, parent, name, left, top, width, height);
  m->setScrollBars(ssBoth);
  m->setColor(0xECFFFE);
  return m;
}

std::string_view start_text(std::span<const ControlText> texts, ControlName name) {
  for (const ControlText& t : texts)
    if (t.name == name) return t.text;
  return {};
}

}  // namespace kestrin::app
