// System facilities used by the handlers and the service library. Each
// platform implements them: src/platform/win32 on the real Windows calls,
// src/platform/sim on a simulated file system, dialogs, programs and clock.
#pragma once

#include <cstdint>

#include "support/text.h"

// True only for a path that names an existing directory.
bool IsDirectory(const Text& path);

// How the first window of a started program is shown.
enum ShowMode : int {
  kShowHidden = 1,
  kShowNormal = 2,
  kShowMinimized = 3,
  kShowMaximized = 4,
  kShowNoActivate = 5,
  kShowMinNoActive = 6,
};

// Starts the command line (split into program and arguments the way the
// platform does). With `wait`, blocks until the program has ended, without
// a time limit; otherwise waits until it is ready for input, at most 1 s.
// False when the program could not be started; the exit code is not read.
bool RunProgram(const Text& commandLine, bool wait, int showMode = kShowNormal);

// Message box button sets (the platform's style values).
enum MessageButtons : int { kButtonsOk = 0, kButtonsOkCancel = 1 };

// Codes of the button pressed.
enum MessageAnswer : int {
  kAnswerOk = 0, kAnswerCancel = 1, kAnswerAbort = 2, kAnswerRetry = 3,
  kAnswerIgnore = 4, kAnswerYes = 5, kAnswerNo = 6,
};

// A message box, modal for the whole program, with no owner window. The
// title is "信息：" when none is given. Esc or the close button count as
// Cancel in a set that has one, as OK in the set that has only OK.
int ShowMessage(const Text& message, int buttons, const Text& title = Text());

// A folder chooser with `prompt` as its instruction. The chosen path (with a
// trailing separator only for a drive root), or empty when cancelled or the
// chosen item has no file-system path.
Text BrowseForFolder(const Text& prompt, bool includeFiles = false);

// Opens the address with the system's default handler; reports nothing.
void OpenUrl(const Text& address);

// Dispatches the window events already pending, then returns. A quit
// request stays queued for the message loop.
void ProcessEvents();

// Whether keyboard or mouse input is waiting for the program's thread.
bool IsInputWaiting();

// Milliseconds since the system started; wraps after about 49.7 days.
uint32_t GetUptime();

// Suspends the thread; no event is handled meanwhile. Negative counts as 0.
void SleepFor(int32_t milliseconds);
