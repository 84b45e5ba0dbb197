// The system facilities on the real Windows calls, run under Wine. Literals
// are GBK bytes, the ANSI code page of the test prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <string>

#include "support/system.h"
#include "wine_test_support.h"

namespace {

using wine_test::DialogAnswerer;
using wine_test::ScratchFolder;
using wine_test::TestWindow;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string SleeperPath() { return wine_test::ProgramFolder() + "\\sleep_and_report.exe"; }

// What the sleep_and_report fixture wrote about its start.
struct StartReport {
  std::string commandLine;
  DWORD processId = 0;
  bool showWindowGiven = false;
  int showCommand = -1;
};

StartReport ParseReport(const std::string& content) {
  std::vector<std::string> lines = wine_test::Lines(content);
  StartReport report;
  if (lines.size() < 3) return report;
  report.commandLine = lines[0];
  report.processId = static_cast<DWORD>(std::stoul(lines[1]));
  report.showWindowGiven = lines[2].substr(0, 1) == "1";
  report.showCommand = std::stoi(lines[2].substr(2));
  return report;
}

// ---------------------------------------------------------------- IsDirectory

TEST(IsDirectory, TellsFoldersFromFilesAndMissingPaths) {
  ScratchFolder scratch;
  CreateDirectoryA((scratch / "運").c_str(), nullptr);  // GBK DF 5C: trail byte is a backslash
  wine_test::CreateEmptyFile(scratch / "file.txt");
  wine_test::CreateEmptyFile(scratch / "運\\inner.txt");
  struct Case {
    std::string path;
    bool expected;
  } cases[] = {
      {scratch.Path(), true},
      {scratch.Path() + "\\", true},
      {scratch / "運", true},
      {"C:\\", true},
      {"c:\\WINDOWS", true},
      {scratch / "file.txt", false},
      {scratch / "運\\inner.txt", false},
      {scratch / "missing", false},
      {scratch / "missing\\deeper", false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsDirectory(c.path), c.expected) << c.path;
}

// ---------------------------------------------------------------- RunProgram

TEST(RunProgram, WithWaitReturnsOnlyAfterTheProgramEnded) {
  ScratchFolder scratch;
  const std::string report = scratch / "report.txt";
  const std::string commandLine = Quoted(SleeperPath()) + " 400 " + Quoted(report);
  DWORD before = GetTickCount();
  ASSERT_TRUE(RunProgram(commandLine, true, kShowHidden));
  DWORD elapsed = GetTickCount() - before;

  std::optional<std::string> content = wine_test::ReadWholeFile(report);
  ASSERT_TRUE(content) << "the program had not even started its work";
  StartReport started = ParseReport(*content);
  EXPECT_EQ(started.commandLine, commandLine) << "the command line is passed unchanged";
  EXPECT_GE(elapsed, 300u) << "returned before the program's sleep was over";
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, started.processId);
  if (process) {  // a process that has ended may also be gone altogether
    EXPECT_EQ(WaitForSingleObject(process, 0), WAIT_OBJECT_0) << "the program still runs";
    CloseHandle(process);
  }
}

TEST(RunProgram, WithoutWaitReturnsWhileTheProgramRuns) {
  ScratchFolder scratch;
  const std::string report = scratch / "report.txt";
  ASSERT_TRUE(RunProgram(Quoted(SleeperPath()) + " 60000 " + Quoted(report), false, kShowHidden));
  std::optional<std::string> content = wine_test::WaitForFile(report);
  ASSERT_TRUE(content);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, ParseReport(*content).processId);
  ASSERT_NE(process, nullptr);
  EXPECT_EQ(WaitForSingleObject(process, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  TerminateProcess(process, 0);
  WaitForSingleObject(process, INFINITE);
  CloseHandle(process);
}

TEST(RunProgram, FailsAtOnceWhenTheProgramCannotStart) {
  ScratchFolder scratch;
  const std::string blankFolder = scratch / "with blank";
  CreateDirectoryA(blankFolder.c_str(), nullptr);
  const char* commandLines[] = {
      "C:\\vemtra-missing\\nothing.exe 1",
      "\"C:\\vemtra missing\\nothing.exe\" -k install",
      "",
      "   ",
  };
  for (const char* commandLine : commandLines) {
    EXPECT_FALSE(RunProgram(commandLine, true, kShowHidden)) << commandLine;
  }
  // A folder is no program either.
  EXPECT_FALSE(RunProgram(Quoted(blankFolder), true, kShowHidden));
}

TEST(RunProgram, RunsAQuotedProgramPathWithABlank) {
  ScratchFolder scratch;
  const std::string folder = scratch / "web dir";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string program = folder + "\\sleep_and_report.exe";
  ASSERT_TRUE(CopyFileA(SleeperPath().c_str(), program.c_str(), FALSE));
  const std::string report = scratch / "report.txt";
  const std::string commandLine = Quoted(program) + "  install " + Quoted(report);

  ASSERT_TRUE(RunProgram(commandLine, true, kShowHidden));
  std::optional<std::string> content = wine_test::ReadWholeFile(report);
  ASSERT_TRUE(content);
  EXPECT_EQ(ParseReport(*content).commandLine, commandLine);
}

TEST(RunProgram, ShowModeBecomesTheFirstWindowsShowCommand) {
  struct Case {
    int showMode;
    int showCommand;
  } cases[] = {
      {-5, SW_HIDE},          {0, SW_HIDE},
      {1, SW_HIDE},           {2, SW_SHOWNORMAL},
      {3, SW_SHOWMINIMIZED},  {4, SW_SHOWMAXIMIZED},
      {5, SW_SHOWNOACTIVATE}, {6, SW_SHOWMINNOACTIVE},
      {7, SW_SHOWMINNOACTIVE}, {1000, SW_SHOWMINNOACTIVE},
  };
  ScratchFolder scratch;
  const std::string report = scratch / "report.txt";
  const std::string commandLine = Quoted(SleeperPath()) + " 0 " + Quoted(report);
  for (const Case& c : cases) {
    DeleteFileA(report.c_str());
    ASSERT_TRUE(RunProgram(commandLine, true, c.showMode));
    StartReport started = ParseReport(wine_test::ReadWholeFile(report).value_or(""));
    EXPECT_TRUE(started.showWindowGiven) << "show mode " << c.showMode;
    EXPECT_EQ(started.showCommand, c.showCommand) << "show mode " << c.showMode;
  }
  DeleteFileA(report.c_str());
  ASSERT_TRUE(RunProgram(commandLine, true));
  EXPECT_EQ(ParseReport(wine_test::ReadWholeFile(report).value_or("")).showCommand, SW_SHOWNORMAL)
      << "an omitted show mode is normal";
}

// ---------------------------------------------------------------- ShowMessage

// Ways of answering a message box from outside.
enum class Press { kEscape, kClose, kOk, kCancel, kYes, kNo, kAbort, kRetry, kIgnore };

void Answer(HWND box, Press press) {
  auto click = [box](int id) { PostMessageA(GetDlgItem(box, id), BM_CLICK, 0, 0); };
  switch (press) {
    case Press::kEscape: PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 1); break;
    case Press::kClose: PostMessageA(box, WM_CLOSE, 0, 0); break;
    case Press::kOk: click(IDOK); break;
    case Press::kCancel: click(IDCANCEL); break;
    case Press::kYes: click(IDYES); break;
    case Press::kNo: click(IDNO); break;
    case Press::kAbort: click(IDABORT); break;
    case Press::kRetry: click(IDRETRY); break;
    case Press::kIgnore: click(IDIGNORE); break;
  }
}

TEST(ShowMessage, GivesTheCodeOfTheButtonPressed) {
  struct Case {
    int buttons;
    Press press;
    int expected;
  } cases[] = {
      {kButtonsOkCancel, Press::kEscape, kAnswerCancel},
      {kButtonsOkCancel, Press::kClose, kAnswerCancel},
      {kButtonsOkCancel, Press::kOk, kAnswerOk},
      {kButtonsOkCancel, Press::kCancel, kAnswerCancel},
      {kButtonsOk, Press::kEscape, kAnswerOk},
      {kButtonsOk, Press::kClose, kAnswerOk},
      {kButtonsOk, Press::kOk, kAnswerOk},
      {MB_ABORTRETRYIGNORE, Press::kAbort, kAnswerAbort},
      {MB_ABORTRETRYIGNORE, Press::kRetry, kAnswerRetry},
      {MB_ABORTRETRYIGNORE, Press::kIgnore, kAnswerIgnore},
      {MB_YESNO, Press::kYes, kAnswerYes},
      {MB_YESNOCANCEL, Press::kNo, kAnswerNo},
      {MB_YESNOCANCEL, Press::kEscape, kAnswerCancel},
  };
  const char* title = "vemtra 按钮测试";
  int index = 0;
  for (const Case& c : cases) {
    DialogAnswerer answerer([&c](HWND box) { Answer(box, c.press); }, title);
    int answer = ShowMessage("确定准备卸载吗", c.buttons, title);
    EXPECT_TRUE(answerer.Finish()) << "case " << index;
    EXPECT_EQ(answer, c.expected) << "case " << index;
    ++index;
  }
}

TEST(ShowMessage, ShowsTextAndDefaultTitleModalForTheProgram) {
  TestWindow window("vemtra owner candidate");
  ASSERT_TRUE(IsWindowEnabled(window.Handle()));
  std::string text;
  HWND owner = window.Handle();
  BOOL windowEnabledMeanwhile = TRUE;
  DialogAnswerer answerer(
      [&](HWND box) {
        text = wine_test::WindowText(GetDlgItem(box, 0xFFFF));
        owner = GetWindow(box, GW_OWNER);
        windowEnabledMeanwhile = IsWindowEnabled(window.Handle());
        Answer(box, Press::kOk);
      },
      "信息：");
  EXPECT_EQ(ShowMessage("确定准备卸载吗", kButtonsOkCancel), kAnswerOk);
  ASSERT_TRUE(answerer.Finish()) << "no box titled 信息： appeared";
  EXPECT_EQ(text, "确定准备卸载吗");
  EXPECT_EQ(owner, nullptr);
  EXPECT_FALSE(windowEnabledMeanwhile) << "the program's windows are disabled while the box is open";
  EXPECT_TRUE(IsWindowEnabled(window.Handle()));
}

// ---------------------------------------------------------------- BrowseForFolder

std::string SelectedTreeItemText(HWND tree) {
  char text[MAX_PATH] = {};
  TVITEMA item{};
  item.mask = TVIF_TEXT;
  item.hItem = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  item.pszText = text;
  item.cchTextMax = sizeof text;
  if (!item.hItem || !SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return "";
  return text;
}

// Selects `path` in the folder chooser and presses OK. The chooser may still
// be filling its tree when it first shows, so the selection is asked for
// again until the tree shows the path's last component selected.
void ChooseInFolderChooser(HWND chooser, const std::string& path) {
  HWND tree = FindWindowExA(chooser, nullptr, WC_TREEVIEWA, nullptr);
  const std::string leaf = path.substr(path.find_last_of('\\') + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    SendMessageA(chooser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
    if (leaf.empty() || !tree || lstrcmpiA(SelectedTreeItemText(tree).c_str(), leaf.c_str()) == 0) break;
    Sleep(20);
  }
  PostMessageA(chooser, WM_COMMAND, IDOK, 0);
}

TEST(BrowseForFolder, DisablesTheProgramsWindowsAndRestoresThem) {
  TestWindow active("vemtra active");
  TestWindow other("vemtra other");
  TestWindow alreadyDisabled("vemtra disabled");
  EnableWindow(alreadyDisabled.Handle(), FALSE);
  SetForegroundWindow(active.Handle());
  SetActiveWindow(active.Handle());
  ASSERT_EQ(GetActiveWindow(), active.Handle());

  HWND owner = nullptr;
  BOOL activeEnabled = TRUE, otherEnabled = TRUE;
  bool hasPrompt = false;
  DialogAnswerer answerer([&](HWND chooser) {
    owner = GetWindow(chooser, GW_OWNER);
    activeEnabled = IsWindowEnabled(active.Handle());
    otherEnabled = IsWindowEnabled(other.Handle());
    hasPrompt = FindWindowExA(chooser, nullptr, "Static", "请选择Vemtra目录") != nullptr;
    PostMessageA(chooser, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(BrowseForFolder("请选择Vemtra目录"), "") << "cancelled";
  ASSERT_TRUE(answerer.Finish()) << "no folder chooser appeared";

  EXPECT_EQ(owner, active.Handle());
  EXPECT_FALSE(activeEnabled);
  EXPECT_FALSE(otherEnabled);
  EXPECT_TRUE(hasPrompt) << "the prompt is the chooser's instruction text";
  EXPECT_TRUE(IsWindowEnabled(active.Handle()));
  EXPECT_TRUE(IsWindowEnabled(other.Handle()));
  EXPECT_FALSE(IsWindowEnabled(alreadyDisabled.Handle())) << "a disabled window stays disabled";
  EXPECT_EQ(GetActiveWindow(), active.Handle());
}

TEST(BrowseForFolder, GivesTheChosenFolder) {
  ScratchFolder scratch;
  const std::string folder = scratch / "vemtra 運";
  CreateDirectoryA(folder.c_str(), nullptr);
  struct Case {
    std::string choose;
    std::string expected;
  } cases[] = {
      {folder, folder},
      {"C:\\", "C:\\"},
  };
  for (const Case& c : cases) {
    DialogAnswerer answerer([&c](HWND chooser) { ChooseInFolderChooser(chooser, c.choose); });
    Text chosen = BrowseForFolder("请选择Vemtra目录");
    ASSERT_TRUE(answerer.Finish());
    EXPECT_EQ(lstrcmpiA(chosen.c_str(), c.expected.c_str()), 0) << chosen << " for " << c.choose;
  }
}

TEST(BrowseForFolder, GivesAChosenFileWhenFilesAreIncluded) {
  ScratchFolder scratch;
  const std::string file = scratch / "httpd.conf";
  wine_test::CreateEmptyFile(file);
  DialogAnswerer answerer([&file](HWND chooser) { ChooseInFolderChooser(chooser, file); });
  Text chosen = BrowseForFolder("请选择文件", true);
  ASSERT_TRUE(answerer.Finish());
  EXPECT_EQ(lstrcmpiA(chosen.c_str(), file.c_str()), 0) << chosen;
}

TEST(BrowseForFolder, GivesNothingForAnItemOutsideTheFileSystem) {
  PIDLIST_ABSOLUTE computer = nullptr;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer), S_OK);
  DialogAnswerer answerer([computer](HWND chooser) {
    SendMessageA(chooser, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(computer));
    PostMessageA(chooser, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(BrowseForFolder("请选择Vemtra目录"), "");
  ASSERT_TRUE(answerer.Finish());
  CoTaskMemFree(computer);
}

// ---------------------------------------------------------------- OpenUrl

TEST(OpenUrl, HandsTheAddressToTheDefaultHandler) {
  ScratchFolder scratch;
  const std::string report = scratch / "opened.txt";
  const std::string recorder = wine_test::ProgramFolder() + "\\url_recorder.exe";
  wine_test::RegistryValue handler(HKEY_LOCAL_MACHINE, "Software\\Classes\\http\\shell\\open\\command", "",
                                   Quoted(recorder) + " " + Quoted(report) + " \"%1\"");
  ASSERT_TRUE(handler.Ok());
  const std::string address = "http://localhost/phpMyAdmin4.8.5/";
  OpenUrl(address);
  std::optional<std::string> opened = wine_test::WaitForFile(report);
  ASSERT_TRUE(opened) << "the recorder was not started";
  EXPECT_EQ(*opened, address);
}

// ---------------------------------------------------------------- ProcessEvents

int g_dispatched = 0;

LRESULT CALLBACK CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) {
    ++g_dispatched;
    if (wParam == 1) PostMessageA(window, WM_APP, 0, 0);  // posted while events are processed
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST(ProcessEvents, DispatchesPendingMessagesAndLeavesQuitQueued) {
  TestWindow window("vemtra events", CountingProcedure);
  ProcessEvents();  // whatever creating the window left pending
  g_dispatched = 0;
  PostMessageA(window.Handle(), WM_APP, 0, 0);
  PostQuitMessage(42);
  PostMessageA(window.Handle(), WM_APP, 1, 0);
  ProcessEvents();
  EXPECT_EQ(g_dispatched, 3);

  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 42u);

  ProcessEvents();  // nothing pending: returns at once
  EXPECT_EQ(g_dispatched, 3);
}

// ---------------------------------------------------------------- GetUptime, SleepFor

TEST(Clock, SleepForPassesAtLeastTheTimeOnTheUptimeCounter) {
  uint32_t before = GetUptime();
  SleepFor(300);
  uint32_t slept = GetUptime() - before;
  EXPECT_GE(slept, 250u) << "allowing for the counter's granularity";

  before = GetUptime();
  SleepFor(-1);  // would be about 49 days if passed on unchanged
  SleepFor(0);
  EXPECT_LT(GetUptime() - before, 60'000u);
}

TEST(Clock, UptimeFollowsTheSystemCounter) {
  uint32_t uptime = GetUptime();
  uint32_t system = static_cast<uint32_t>(GetTickCount64());
  EXPECT_LT(system - uptime, 1'000u) << "the same counter, read a moment later";
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  wine_test::PrivateDesktop desktop("vemtra-system-tests");
  return RUN_ALL_TESTS();
}
