#include "window_session.h"

#include <cstdio>

#include <gtest/gtest.h>

#include "platform/win32/kernel_handle.h"

namespace window_test {

std::string g_programPath;

int RunTestsOnProgram(int argc, char** argv, const char* role) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s %s [gtest options]\n", argv[0], role);
    return 2;
  }
  g_programPath = argv[1];
  return RUN_ALL_TESTS();
}

namespace {

constexpr DWORD kStartTimeoutMs = 20000;
constexpr DWORD kCloseTimeoutMs = 10000;

}  // namespace

WindowSession::WindowSession(const std::string& desktop, const ui::WindowDescription& description)
    : description_(description),
      program_(desktop, g_programPath, "", kDesktopWidth, kDesktopHeight),
      desktop_(desktop, kStartTimeoutMs) {
  if (!program_.Started() || !desktop_.Entered()) {
    ADD_FAILURE() << "cannot start " << g_programPath << " in the desktop " << desktop;
    return;
  }
  window_ = uidriver::FindWindowByTitle(description_.title, kStartTimeoutMs);
  if (!window_) ADD_FAILURE() << "no window titled " << description_.title << " appeared";
}

WindowSession::~WindowSession() {
  if (!window_ || !IsWindow(window_)) return;
  DWORD processId = 0;
  GetWindowThreadProcessId(window_, &processId);
  if (uidriver::CloseAndWait(window_, kCloseTimeoutMs)) return;
  // A window that does not close would keep its desktop alive.
  win32::KernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, processId));
  if (process.IsValid()) TerminateProcess(process.Get(), 1);
}

HWND WindowSession::Control(std::string_view name) const { return uidriver::FindControl(window_, description_, name); }

uidriver::ControlInfo WindowSession::Describe(std::string_view name) const {
  return uidriver::DescribeControl(Control(name), description_);
}

uidriver::WindowInfo WindowSession::DescribeWindow() const { return uidriver::DescribeWindow(window_, description_); }

bool WindowSession::WaitForText(std::string_view name, const std::string& text, DWORD timeoutMs) const {
  return uidriver::WaitUntil([&] { return Text(name) == text; }, timeoutMs);
}

std::optional<DWORD> WindowSession::Close() {
  std::optional<DWORD> exitCode = uidriver::CloseAndWait(window_, kCloseTimeoutMs);
  if (exitCode) window_ = nullptr;
  return exitCode;
}

}  // namespace window_test
