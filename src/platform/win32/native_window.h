// The window of a control model on Win32. It builds the window and its
// controls from the model's description, mirrors every property change into the
// real controls (raising no event), and feeds the user's input back into the
// model before raising the event: a check box's new mark, a list's picked
// item. A timer is a SetTimer on the window with the control's id.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/win32/gdi_object.h"
#include "platform/win32/list_pick_tracker.h"
#include "ui/control_model.h"

namespace win32 {

class NativeWindow final : public ui::ControlObserver {
 public:
  // Registers the window class; once per process, before the first window.
  static void RegisterWindowClass();

  // Creates the window and all its controls and shows it.
  explicit NativeWindow(ui::ControlModel& model);
  ~NativeWindow();
  NativeWindow(const NativeWindow&) = delete;
  NativeWindow& operator=(const NativeWindow&) = delete;

  // Raises the created event; user input raises events from then on.
  void Open();

  // Null once the window has been destroyed.
  HWND Handle() const { return window_; }

  // ControlObserver
  void PropertyChanged(const ui::ControlState& control, ui::Property property) override;

 private:
  struct ControlView {
    HWND window = nullptr;      // none for a timer
    HWND listWindow = nullptr;  // the drop-down part of a list
    ListPickTracker picks;
    bool pickCheckPosted = false;
  };

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void CreateControl(size_t index);
  void OnCommand(size_t index, int code);
  void OnListNotification(size_t index, int code);
  void CheckListPick(size_t index);
  void OnTimer(size_t index);
  // Colours of check boxes, transparent labels and lists (WM_CTLCOLOR*).
  LRESULT OnControlColor(UINT message, WPARAM wParam, LPARAM lParam);
  void OnActivate(bool active);

  // The description index of a control or list window of this window, or -1.
  int IndexOfWindow(HWND control) const;
  const ui::ControlState& Control(size_t index) const { return model_.Controls()[index]; }

  ui::ControlModel& model_;
  GdiObject<HBRUSH> background_;
  HWND window_ = nullptr;
  HWND lastFocus_ = nullptr;
  bool open_ = false;
  std::vector<ControlView> views_;
};

}  // namespace win32
