// A small window on the native Win32 view whose handlers write every event
// they receive into the label "记录", so that a driver in another process
// sees which events came, in which order, and what the model held when the
// handler ran. It links only the window seam and the control model.
#include <windows.h>

#include <string>

#include "test_window_description.h"
#include "ui/control_model.h"
#include "ui/window_host.h"

namespace {

ui::ControlModel* g_window = nullptr;
int g_ticks = 0;

ui::ControlModel& Window() { return *g_window; }

void Log(const std::string& token) {
  Text log = Window().Caption(test_window::kLog);
  Window().SetCaption(test_window::kLog, log.empty() ? token : log + " " + token);
}

void OnCreated() { Log("created"); }

void OnButtonClicked() { Log("click"); }

void OnSwitchClicked() { Log("box=" + std::to_string(Window().Checked(test_window::kSwitch))); }

void OnListWillPopUp() { Log("popup=" + std::to_string(Window().SelectedIndex(test_window::kList))); }

void OnListItemSelected() {
  Log("pick=" + std::to_string(Window().SelectedIndex(test_window::kList)) + ":" + Window().Content(test_window::kList));
}

// Writes one property of each kind; none of them raises an event.
void OnWriteClicked() {
  Window().SetChecked(test_window::kSwitch, 1);
  Window().SetSelectedIndex(test_window::kList, 4);
  Window().SetCaption(test_window::kStatus, "已写");
  Window().SetDisabled(test_window::kButton, 1);
  Log("wrote");
}

// Ticks three times, then stops its timer.
void OnTimerClicked() {
  g_ticks = 0;
  Window().SetPeriod(test_window::kTimer, 100);
  Log("timer");
}

void OnTick() {
  Log("tick");
  if (++g_ticks == 3) Window().SetPeriod(test_window::kTimer, 0);
}

// A box modal for the program, as the program's own confirmation is.
void OnAskClicked() {
  const int answer = MessageBoxA(nullptr, "要继续吗？", "确认", MB_OKCANCEL | MB_TASKMODAL);
  Log(answer == IDOK ? "box-ok" : "box-cancel");
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const ui::WindowDescription description = test_window::Description({
      {test_window::kWindowName, ui::Event::Created, OnCreated},
      {test_window::kButton, ui::Event::Clicked, OnButtonClicked},
      {test_window::kSwitch, ui::Event::Clicked, OnSwitchClicked},
      {test_window::kList, ui::Event::ListWillPopUp, OnListWillPopUp},
      {test_window::kList, ui::Event::ListItemSelected, OnListItemSelected},
      {test_window::kWrite, ui::Event::Clicked, OnWriteClicked},
      {test_window::kStartTimer, ui::Event::Clicked, OnTimerClicked},
      {test_window::kAsk, ui::Event::Clicked, OnAskClicked},
      {test_window::kTimer, ui::Event::Tick, OnTick},
  });
  ui::InitWindowing();
  ui::ControlModel window(description);
  g_window = &window;
  ui::RunWindow(window);
  g_window = nullptr;
  return 0;
}
