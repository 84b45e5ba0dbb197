// What the scenarios share: a clean ground before and after each, the tool
// started in a virtual desktop of its own, a drive D: for the scenario, and
// the uninstall confirmation.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "ui_driver.h"
#include "window_session.h"
#include "wine_drive.h"
#include "wine_test_support.h"

namespace e2e {

// Roots under which scenarios lay out bundles; the tool's own candidates
// C:\vemtra_pro and C:\vemtra among them.
inline constexpr char kRootFrom8[] = "C:\\vemtra_pro";
inline constexpr char kRootOnD[] = "D:\\vemtra";
inline constexpr char kScenarioFolder[] = "C:\\vemtra-e2e";

// Before a scenario: no bundle service, no bundle at the tool's candidate
// roots on C:, no scenario folder and no drive D: left by an earlier run.
// After it: no bundle service and no scenario folder.
class CleanSlate {
 public:
  CleanSlate();
  ~CleanSlate();
  CleanSlate(const CleanSlate&) = delete;
  CleanSlate& operator=(const CleanSlate&) = delete;
};

// A drive D: mapped to a scratch folder for the scenario.
class ScenarioDriveD {
 public:
  ScenarioDriveD();
  bool Ok() const { return mapping_.Ok(); }
  const std::string& Error() const { return mapping_.Error(); }

 private:
  wine_test::ScratchFolder folder_;
  WineDriveMapping mapping_;
};

// A name for a virtual desktop, unique within the run.
std::string DesktopName();

// The tool, started in a desktop of its own; closed when it goes.
class Tool {
 public:
  Tool();
  window_test::WindowSession& Session() { return *session_; }
  const window_test::WindowSession& Session() const { return *session_; }
  bool Started() const { return session_->Window() != nullptr; }
  DWORD ThreadId() const { return GetWindowThreadProcessId(session_->Window(), nullptr); }

  // Waits for the first tick of the status monitor (the status line is
  // empty until then) and gives the first text it wrote; empty on timeout.
  std::string WaitForFirstTick() const;

  // Closes the window; false when the program did not end with code 0.
  bool Close();

 private:
  std::optional<window_test::WindowSession> session_;
};

// Clicks a control of the tool.
bool ClickControl(const Tool& tool, const char* name);

// Auto-start with 按钮3, then waits until both services run and the window
// shows them running.
bool AutoStartBothServices(const Tool& tool, std::string& failure);

// Clicks 按钮7 and answers the confirmation box; its text in `boxText`.
bool UninstallAnswering(const Tool& tool, uidriver::Answer answer, std::string& boxText);

}  // namespace e2e
