#include "ui/control_model.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace ui {

namespace {

[[noreturn]] void UnknownControl(std::string_view name) {
  std::fprintf(stderr, "no control named %.*s\n", static_cast<int>(name.size()), name.data());
  std::abort();
}

}  // namespace

ControlModel::ControlModel(const WindowDescription& description) : description_(description) {
  controls_.reserve(description.controls.size());
  for (const ControlDescription& control : description.controls) {
    ControlState state{&control, control.caption ? control.caption : ""};
    for (const char* item : control.items) state.items.emplace_back(item);
    state.selected = std::clamp(control.selected, -1, static_cast<int>(state.items.size()) - 1);
    controls_.push_back(std::move(state));
  }
}

const ControlState& ControlModel::Control(std::string_view name) const {
  for (const ControlState& control : controls_) {
    if (name == control.description->name) return control;
  }
  UnknownControl(name);
}

ControlState& ControlModel::Find(std::string_view name) {
  return const_cast<ControlState&>(static_cast<const ControlModel*>(this)->Control(name));
}

void ControlModel::Notify(const ControlState& control, Property property) {
  if (observer_) observer_->PropertyChanged(control, property);
}

Text ControlModel::Caption(std::string_view name) const { return Control(name).caption; }

void ControlModel::SetCaption(std::string_view name, const Text& caption) {
  ControlState& control = Find(name);
  control.caption = caption;
  Notify(control, Property::Caption);
}

bool ControlModel::Disabled(std::string_view name) const { return Control(name).disabled; }

void ControlModel::SetDisabled(std::string_view name, int disabled) {
  ControlState& control = Find(name);
  control.disabled = disabled != 0;
  Notify(control, Property::Disabled);
}

int ControlModel::Checked(std::string_view name) const { return Control(name).checked ? 1 : 0; }

void ControlModel::SetChecked(std::string_view name, int checked) {
  ControlState& control = Find(name);
  control.checked = checked != 0;
  Notify(control, Property::Checked);
}

Text ControlModel::Content(std::string_view name) const {
  const ControlState& control = Control(name);
  return ListItemText(name, control.selected);
}

int ControlModel::SelectedIndex(std::string_view name) const { return Control(name).selected; }

void ControlModel::SetSelectedIndex(std::string_view name, int index) {
  ControlState& control = Find(name);
  int last = static_cast<int>(control.items.size()) - 1;
  control.selected = index > last ? last : std::max(index, -1);
  Notify(control, Property::Selection);
}

Text ControlModel::ListItemText(std::string_view name, int index) const {
  const ControlState& control = Control(name);
  if (index < 0 || index >= static_cast<int>(control.items.size())) return Text();
  return control.items[static_cast<size_t>(index)];
}

int ControlModel::ItemCount(std::string_view name) const {
  return static_cast<int>(Control(name).items.size());
}

int ControlModel::Period(std::string_view name) const { return Control(name).period; }

void ControlModel::SetPeriod(std::string_view name, int milliseconds) {
  ControlState& control = Find(name);
  int period = std::max(milliseconds, 0);
  if (period == control.period) return;
  control.period = period;
  Notify(control, Property::Period);
}

bool ControlModel::IsBound(std::string_view name, Event event) const {
  return std::any_of(description_.bindings.begin(), description_.bindings.end(), [&](const Binding& binding) {
    return binding.event == event && name == binding.control;
  });
}

void ControlModel::Raise(std::string_view name, Event event) {
  for (const Binding& binding : description_.bindings) {
    if (binding.event == event && name == binding.control) {
      binding.handler();
      return;
    }
  }
}

void ControlModel::UserSetChecked(std::string_view name, int checked) {
  Find(name).checked = checked != 0;
  Raise(name, Event::Clicked);
}

void ControlModel::UserSelected(std::string_view name, int index) {
  ControlState& control = Find(name);
  if (index < 0 || index >= static_cast<int>(control.items.size())) return;
  control.selected = index;
  Raise(name, Event::ListItemSelected);
}

}  // namespace ui
