// vemtra-uidriver: reads and drives the open main window of
// vemtra-autostart.exe from the command line, for tests and soak runs.
// Arguments are the system's ANSI bytes; output is UTF-8.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "ansi_text.h"
#include "app/main_window.h"
#include "desktop_scope.h"
#include "ui_driver.h"

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

const char kUsageText[] =
    "usage: vemtra-uidriver [--desktop NAME] [--title TITLE] [--timeout MS] COMMAND [ARGS]\n"
    "  list                       the window and every control\n"
    "  get NAME                   one control\n"
    "  click NAME                 a button or check box (posted)\n"
    "  pick NAME INDEX            select an item with the list closed\n"
    "  pick-open NAME INDEX       open the list, arrow keys to the item, Enter\n"
    "  pick-click NAME INDEX      open the list, click the item with the mouse\n"
    "  open-list NAME | close-list NAME\n"
    "  wait NAME FIELD VALUE      until text, enabled, checked, selected or visible equals VALUE\n"
    "  msgbox [ok|cancel|close|none] [BOX-TITLE]\n"
    "                             print a message box's title and text, then answer it\n"
    "  stats                      GUI objects, handles and memory of the window's process\n"
    "  close                      WM_CLOSE, wait for the process, print its exit code\n"
    "Exit code: 0 done, 1 failed or timed out, 2 usage.\n";

struct Options {
  std::string desktop;
  std::string title = MainWindowTemplate().title;
  DWORD timeoutMs = 10000;
  std::vector<std::string> command;
};

void Print(const std::string& ansiText) { std::fputs(uidriver::AnsiToUtf8(ansiText).c_str(), stdout); }

std::string BoxText(const uidriver::Box& box) {
  return std::to_string(box.left) + "," + std::to_string(box.top) + "," + std::to_string(box.width) + "," +
         std::to_string(box.height);
}

std::string Field(const uidriver::ControlInfo& control, const std::string& field) {
  if (field == "text") return control.text;
  if (field == "enabled") return control.enabled ? "1" : "0";
  if (field == "visible") return control.visible ? "1" : "0";
  if (field == "checked") return std::to_string(control.checked);
  if (field == "selected") return std::to_string(control.selected);
  return {};
}

void PrintControl(const uidriver::ControlInfo& control) {
  std::string line = "name=" + (control.name.empty() ? "#" + std::to_string(control.id) : control.name) +
                     "\tkind=" + control.kind + "\tbox=" + BoxText(control.box) +
                     "\tvisible=" + Field(control, "visible") + "\tenabled=" + Field(control, "enabled");
  if (control.kind == "CheckBox") line += "\tchecked=" + Field(control, "checked");
  if (control.kind == "Static") line += std::string("\tcentered=") + (control.centered ? "1" : "0");
  if (control.kind == "ComboBox") {
    std::string items;
    for (const std::string& item : control.items) items += (items.empty() ? "" : "|") + item;
    line += "\tselected=" + Field(control, "selected") + "\titems=" + items +
            "\tlistReach=" + std::to_string(control.listReach) + "\tlistOpen=" + (control.listOpen ? "1" : "0");
  }
  line += "\ttext=" + control.text + "\n";
  Print(line);
}

void PrintWindow(const uidriver::WindowInfo& window) {
  char style[16];
  std::snprintf(style, sizeof(style), "0x%08lx", static_cast<unsigned long>(window.style));
  Print("window\ttitle=" + window.title + "\touter=" + BoxText(window.outer) + "\tclient=" + BoxText(window.client) +
        "\tstyle=" + style + "\tpid=" + std::to_string(window.processId) + "\n");
  for (const uidriver::ControlInfo& control : window.controls) PrintControl(control);
}

std::optional<int> ParseIndex(const std::string& text) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0') return std::nullopt;
  return static_cast<int>(value);
}

int RunMessageBoxCommand(const Options& options) {
  const std::string answer = options.command.size() > 1 ? options.command[1] : "none";
  const std::string title = options.command.size() > 2 ? options.command[2] : "";
  if (answer != "none" && answer != "ok" && answer != "cancel" && answer != "close") return kUsage;
  const std::optional<uidriver::MessageBoxInfo> box = uidriver::FindMessageBox(title, options.timeoutMs);
  if (!box) {
    std::fputs("no message box\n", stderr);
    return kFailed;
  }
  Print("title=" + box->title + "\ttext=" + box->text + "\n");
  if (answer == "none") return kDone;
  const uidriver::Answer reply = answer == "ok" ? uidriver::Answer::Ok
                                 : answer == "cancel" ? uidriver::Answer::Cancel
                                                      : uidriver::Answer::Close;
  return uidriver::AnswerMessageBox(box->handle, reply) ? kDone : kFailed;
}

int RunWindowCommand(const Options& options, HWND window) {
  const ui::WindowDescription& description = MainWindowTemplate();
  const std::vector<std::string>& args = options.command;
  const std::string& verb = args[0];
  if (verb == "list" && args.size() == 1) {
    PrintWindow(uidriver::DescribeWindow(window, description));
    return kDone;
  }
  if (verb == "stats" && args.size() == 1) {
    const std::optional<uidriver::ProcessStats> stats = uidriver::StatsOfWindowProcess(window);
    if (!stats) return kFailed;
    std::printf("userObjects=%lu\tgdiObjects=%lu\thandles=%lu\tworkingSet=%llu\tprivateBytes=%llu\n",
                static_cast<unsigned long>(stats->userObjects), static_cast<unsigned long>(stats->gdiObjects),
                static_cast<unsigned long>(stats->kernelHandles), static_cast<unsigned long long>(stats->workingSet),
                static_cast<unsigned long long>(stats->privateBytes));
    return kDone;
  }
  if (verb == "close" && args.size() == 1) {
    const std::optional<DWORD> exitCode = uidriver::CloseAndWait(window, options.timeoutMs);
    if (!exitCode) return kFailed;
    std::printf("exitCode=%lu\n", static_cast<unsigned long>(*exitCode));
    return kDone;
  }
  if (args.size() < 2) return kUsage;
  HWND control = uidriver::FindControl(window, description, args[1]);
  if (!control) {
    std::fputs("no such control\n", stderr);
    return kFailed;
  }
  if (verb == "get" && args.size() == 2) {
    PrintControl(uidriver::DescribeControl(control, description));
    return kDone;
  }
  if (verb == "click" && args.size() == 2) return uidriver::Click(control) ? kDone : kFailed;
  if (verb == "open-list" && args.size() == 2) return uidriver::OpenList(control) ? kDone : kFailed;
  if (verb == "close-list" && args.size() == 2) return uidriver::CloseList(control) ? kDone : kFailed;
  if ((verb == "pick" || verb == "pick-open" || verb == "pick-click") && args.size() == 3) {
    const std::optional<int> index = ParseIndex(args[2]);
    if (!index) return kUsage;
    const bool done = verb == "pick"        ? uidriver::Pick(control, *index)
                      : verb == "pick-open" ? uidriver::PickFromOpenList(control, *index)
                                            : uidriver::ClickItemInOpenList(control, *index);
    return done ? kDone : kFailed;
  }
  if (verb == "wait" && args.size() == 4) {
    const bool reached = uidriver::WaitUntil(
        [&] { return Field(uidriver::DescribeControl(control, description), args[2]) == args[3]; }, options.timeoutMs);
    if (!reached) PrintControl(uidriver::DescribeControl(control, description));
    return reached ? kDone : kFailed;
  }
  return kUsage;
}

std::optional<Options> ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--desktop" && hasValue) {
      options.desktop = argv[++i];
    } else if (arg == "--title" && hasValue) {
      options.title = argv[++i];
    } else if (arg == "--timeout" && hasValue) {
      const std::optional<int> value = ParseIndex(argv[++i]);
      if (!value || *value < 0) return std::nullopt;
      options.timeoutMs = static_cast<DWORD>(*value);
    } else {
      options.command.push_back(arg);
    }
  }
  if (options.command.empty()) return std::nullopt;
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Options> options = ParseOptions(argc, argv);
  if (!options) {
    std::fputs(kUsageText, stderr);
    return kUsage;
  }
  std::optional<uidriver::DesktopScope> desktop;
  if (!options->desktop.empty()) {
    desktop.emplace(options->desktop, options->timeoutMs);
    if (!desktop->Entered()) {
      std::fputs("cannot enter the desktop\n", stderr);
      return kFailed;
    }
  }
  int result = kUsage;
  if (options->command[0] == "msgbox") {
    result = RunMessageBoxCommand(*options);
  } else {
    HWND window = uidriver::FindWindowByTitle(options->title, options->timeoutMs);
    if (!window) {
      std::fputs("window not found\n", stderr);
      return kFailed;
    }
    result = RunWindowCommand(*options, window);
  }
  if (result == kUsage) std::fputs(kUsageText, stderr);
  std::fflush(stdout);
  return result;
}
