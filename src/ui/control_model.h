// The controls of one window and their properties, with the property rules
// in one place. Writing a property from code raises no event; the views
// (native or headless) feed the user's input back through the User* calls,
// which update the property first and then raise the event.
#pragma once

#include <string_view>
#include <vector>

#include "support/text.h"
#include "ui/window_description.h"

namespace ui {

enum class Property { Caption, Disabled, Checked, Selection, Period };

struct ControlState {
  const ControlDescription* description;
  Text caption;
  std::vector<Text> items;
  int selected = -1;
  bool checked = false;
  bool disabled = false;
  int period = 0;
};

// Told about every property change so a view can mirror it.
class ControlObserver {
 public:
  virtual void PropertyChanged(const ControlState& control, Property property) = 0;

 protected:
  ~ControlObserver() = default;
};

class ControlModel {
 public:
  explicit ControlModel(const WindowDescription& description);

  const WindowDescription& Description() const { return description_; }
  const std::vector<ControlState>& Controls() const { return controls_; }
  const ControlState& Control(std::string_view name) const;

  Text Caption(std::string_view name) const;
  void SetCaption(std::string_view name, const Text& caption);

  bool Disabled(std::string_view name) const;
  void SetDisabled(std::string_view name, int disabled);

  int Checked(std::string_view name) const;
  void SetChecked(std::string_view name, int checked);

  // Text of the selected item; empty when none is selected.
  Text Content(std::string_view name) const;
  int SelectedIndex(std::string_view name) const;
  // Above the last item selects the last one; below -1 counts as -1.
  void SetSelectedIndex(std::string_view name, int index);
  // Empty for an index outside the list.
  Text ListItemText(std::string_view name, int index) const;
  int ItemCount(std::string_view name) const;

  int Period(std::string_view name) const;
  // Negative counts as 0; writing the current value changes nothing.
  void SetPeriod(std::string_view name, int milliseconds);

  // Runs the handler bound to the control's event, if any.
  void Raise(std::string_view name, Event event);
  bool IsBound(std::string_view name, Event event) const;

  // The user toggled a check box or picked a list item: the property takes
  // the new value and the event follows.
  void UserSetChecked(std::string_view name, int checked);
  void UserSelected(std::string_view name, int index);

  void SetObserver(ControlObserver* observer) { observer_ = observer; }

 private:
  ControlState& Find(std::string_view name);
  void Notify(const ControlState& control, Property property);

  const WindowDescription& description_;
  std::vector<ControlState> controls_;
  ControlObserver* observer_ = nullptr;
};

}  // namespace ui
