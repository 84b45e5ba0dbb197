#include "scenario_support.h"

#include <gtest/gtest.h>

#include "ansi_text.h"
#include "app/controls.h"
#include "app/main_window.h"
#include "bundle/bundle_tree.h"
#include "service_probe.h"
#include "tool_window.h"

namespace e2e {

using namespace controls;

namespace {

// A file in the folder behind a scenario's drive D:, so that a later run
// knows a leftover D: as its own.
constexpr char kDriveMarker[] = "vemtra-e2e-drive.marker";

constexpr DWORD kBoxTimeoutMs = 5000;
constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kFirstTickTimeoutMs = 5000;

void RemoveFolder(const std::string& path) {
  if (!bundle::RemoveTree(path)) ADD_FAILURE() << "cannot remove " << path;
}

}  // namespace

CleanSlate::CleanSlate() {
  RemoveBundleServices();
  for (const char* root : {kRootFrom8, "C:\\vemtra", kScenarioFolder}) RemoveFolder(root);
  if (wine_test::FileExists(std::string("D:\\") + kDriveMarker) && !UnmapWineDrive('D')) {
    ADD_FAILURE() << "cannot take away the drive D: left by an earlier run";
  }
}

CleanSlate::~CleanSlate() {
  RemoveBundleServices();
  RemoveFolder(kScenarioFolder);
}

namespace {

const std::string& MarkedAsScenarioDrive(const wine_test::ScratchFolder& folder) {
  wine_test::CreateEmptyFile(folder / kDriveMarker);
  return folder.Path();
}

}  // namespace

ScenarioDriveD::ScenarioDriveD() : mapping_('D', MarkedAsScenarioDrive(folder_)) {}

std::string DesktopName() {
  static int count = 0;
  return "vemtra-e2e-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count);
}

Tool::Tool() { session_.emplace(DesktopName(), MainWindowTemplate()); }

std::string Tool::WaitForFirstTick() const {
  std::string first;
  uidriver::WaitUntil([&] { return !(first = session_->Text(透明标签1)).empty(); }, kFirstTickTimeoutMs);
  return first;
}

bool Tool::Close() {
  const std::optional<DWORD> exitCode = session_->Close();
  return exitCode && *exitCode == 0;
}

bool ClickControl(const Tool& tool, const char* name) { return uidriver::Click(tool.Session().Control(name)); }

bool AutoStartBothServices(const Tool& tool, std::string& failure) {
  if (!ClickControl(tool, 按钮3)) {
    failure = "the auto-start button cannot be clicked";
    return false;
  }
  if (!WaitForServiceState(kApache, 4, kStartTimeoutMs) || !WaitForServiceState(kMySql, 4, kStartTimeoutMs)) {
    failure = "the services do not run: Apache state " + std::to_string(ServiceState(kApache)) + ", MySQL state " +
              std::to_string(ServiceState(kMySql));
    return false;
  }
  WindowReading reading;
  if (!WaitUntilWindowIsTruthful(tool.Session(), kTwoTicksMs, reading) || !ShowsStates(reading, true, true)) {
    failure = "the window does not show both services running: " + Describe(reading);
    return false;
  }
  return true;
}

bool UninstallAnswering(const Tool& tool, uidriver::Answer answer, std::string& boxText) {
  if (!ClickControl(tool, 按钮7)) return false;
  const std::optional<uidriver::MessageBoxInfo> box = uidriver::FindMessageBox("", kBoxTimeoutMs);
  if (!box) return false;
  boxText = box->text;
  return uidriver::AnswerMessageBox(box->handle, answer) &&
         uidriver::WaitUntil([&] { return !IsWindow(box->handle); }, kBoxTimeoutMs);
}

}  // namespace e2e
