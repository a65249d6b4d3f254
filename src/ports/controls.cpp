// Control names as text, and the headless controls: plain values.
#include "ports/controls.h"

#include <ostream>

namespace kestrin {

namespace {

std::string key_of(const ControlName& name) { return to_string(name); }

}  // namespace

std::string to_string(const ControlName& name) {
  std::string s(name.form);
  s += '.';
  s += name.control;
  return s;
}

std::ostream& operator<<(std::ostream& out, const ControlName& name) { return out << to_string(name); }

std::string HeadlessControls::text(ControlName name) const {
  ++traffic_.reads;
  auto it = texts_.find(key_of(name));
  return it == texts_.end() ? std::string() : it->second;
}

void HeadlessControls::set_text(ControlName name, std::string_view text) {
  ++traffic_.writes;
  std::string& held = texts_[key_of(name)];
  if (held == text) return;
  held = std::string(text);
  changed(name);
}

bool HeadlessControls::checked(ControlName name) const {
  ++traffic_.reads;
  auto it = checks_.find(key_of(name));
  return it != checks_.end() && it->second;
}

void HeadlessControls::set_checked(ControlName name, bool on) {
  ++traffic_.writes;
  const std::string key = key_of(name);
  const auto found = checks_.find(key);
  const bool was = found != checks_.end() && found->second;
  const auto g = radio_group_.find(key);
  const bool radio = g != radio_group_.end();
  if (on && radio)
    for (auto& [other, group] : radio_group_)
      if (group == g->second) checks_[other] = false;
  checks_[key] = on;
  if (on != was) changed(name);
}

int HeadlessControls::item_index(ControlName name) const {
  ++traffic_.reads;
  auto it = indexes_.find(key_of(name));
  return it == indexes_.end() ? -1 : it->second;
}

void HeadlessControls::set_item_index(ControlName name, int index) {
  ++traffic_.writes;
  const auto [it, added] = indexes_.try_emplace(key_of(name), index);
  if (!added && it->second == index) return;
  it->second = index;
  changed(name);
}

void HeadlessControls::add_radio_group(std::span<const ControlName> names) {
  ++groups_;
  for (const ControlName& n : names) radio_group_[key_of(n)] = groups_;
}

}  // namespace kestrin
