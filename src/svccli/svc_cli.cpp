#include "svccli/svc_cli.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <ostream>
#include <string_view>

#include "svcctl/scm.h"
#include "svcctl/service_controller.h"

namespace {

const char kProgram[] = "vemtra-svc";

// The arguments of one command, split into positionals and options.
struct Invocation {
  std::vector<Text> positionals;
  std::vector<std::pair<std::string_view, Text>> options;  // in the order given

  bool Has(std::string_view option) const {
    return std::any_of(options.begin(), options.end(), [&](const auto& o) { return o.first == option; });
  }
  // The value of the last occurrence of the option.
  std::optional<Text> Value(std::string_view option) const {
    for (auto it = options.rbegin(); it != options.rend(); ++it) {
      if (it->first == option) return it->second;
    }
    return std::nullopt;
  }
};

struct Io {
  std::ostream& out;
  std::ostream& err;
};

using Runner = int (*)(ServiceController&, const Invocation&, Io&);

struct Option {
  std::string_view name;
  bool takesValue;
};

struct Command {
  std::string_view name;
  size_t positionals;
  std::vector<Option> options;
  const char* arguments;  // shown in the usage line after the command
  const char* summary;
  Runner run;
};

// ---------------------------------------------------------------------------
// Output

// Columns padded to the widest cell; in GBK a character's bytes are its
// display width, so byte counts line them up. The last column is not padded.
void PrintTable(std::ostream& out, const std::vector<std::vector<Text>>& rows) {
  std::vector<size_t> widths;
  for (const auto& row : rows) {
    widths.resize(std::max(widths.size(), row.size()));
    for (size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
  }
  for (const auto& row : rows) {
    Text line;
    for (size_t i = 0; i < row.size(); ++i) {
      line += row[i];
      if (i + 1 < row.size()) line += Text(widths[i] - row[i].size() + 2, ' ');
    }
    out << line << '\n';
  }
}

int Fail(Io& io, const Text& message) {
  io.err << kProgram << ": " << message << '\n';
  return kCliFailed;
}

// A failure of a platform call, with the code it left.
int FailWithCode(Io& io, const Text& message) {
  return Fail(io, message + " (错误 " + std::to_string(scm::LastError()) + ")");
}

int BadUsage(Io& io, const Text& message) {
  io.err << kProgram << ": " << message << '\n';
  return kCliBadUsage;
}

// ---------------------------------------------------------------------------
// Arguments

std::optional<int32_t> ParseInt(const Text& text) {
  if (text.empty() || text.size() > 11) return std::nullopt;
  size_t at = text[0] == '-' ? 1 : 0;
  if (at == text.size()) return std::nullopt;
  int64_t value = 0;
  for (; at < text.size(); ++at) {
    if (text[at] < '0' || text[at] > '9') return std::nullopt;
    value = value * 10 + (text[at] - '0');
  }
  if (text[0] == '-') value = -value;
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<int32_t>(value);
}

// The state filter of --active, --inactive or --all, the last one given;
// all services when none is.
int32_t StateFilter(const Invocation& invocation) {
  int32_t filter = scm::kStateAll;
  for (const auto& [option, value] : invocation.options) {
    if (option == "--active") filter = scm::kStateActive;
    if (option == "--inactive") filter = scm::kStateInactive;
    if (option == "--all") filter = scm::kStateAll;
  }
  return filter;
}

// An integer option; false (after saying why) when it is given malformed.
bool IntOption(const Invocation& invocation, std::string_view option, std::optional<int32_t>& value, Io& io) {
  std::optional<Text> text = invocation.Value(option);
  if (!text) return true;
  value = ParseInt(*text);
  if (!value) BadUsage(io, Text(option) + " 需要一个整数: " + *text);
  return value.has_value();
}

// ---------------------------------------------------------------------------
// Commands

int RunList(ServiceController& services, const Invocation& invocation, Io& io) {
  const int32_t filter = StateFilter(invocation);
  std::vector<std::vector<Text>> rows;
  int32_t count = 0;
  if (invocation.Has("--pid")) {
    std::vector<ServiceRecordEx> records;
    count = services.EnumerateServicesEx(filter, records);
    rows.push_back({"服务名", "状态", "启动类型", "登录账户", "进程ID", "显示名称"});
    for (const ServiceRecordEx& r : records) {
      rows.push_back({r.Name, r.StateText, r.StartTypeText, r.AccountText, std::to_string(r.ProcessId), r.DisplayName});
    }
  } else {
    std::vector<ServiceRecord> records;
    count = services.EnumerateServices(filter, records);
    rows.push_back({"服务名", "状态", "启动类型", "登录账户", "显示名称"});
    for (const ServiceRecord& r : records) {
      rows.push_back({r.Name, r.StateText, r.StartTypeText, r.AccountText, r.DisplayName});
    }
  }
  if (count == 0) return Fail(io, "没有列出任何服务");
  PrintTable(io.out, rows);
  io.out << "共 " << count << " 个服务\n";
  return kCliSucceeded;
}

int RunCount(ServiceController& services, const Invocation& invocation, Io& io) {
  int32_t count = services.CountServices(StateFilter(invocation));
  if (count == 0) return Fail(io, "没有数到任何服务");
  io.out << count << '\n';
  return kCliSucceeded;
}

int RunShow(ServiceController& services, const Invocation& invocation, Io& io) {
  const Text& name = invocation.positionals[0];
  ServiceRecordEx record;
  services.FindServiceRecord(name, scm::kStateAll, record);
  if (record.Name.empty()) return Fail(io, "找不到服务 " + name + " (服务名区分大小写)");
  PrintTable(io.out, {
                         {"服务名", record.Name},
                         {"显示名称", record.DisplayName},
                         {"描述", record.Description},
                         {"进程ID", std::to_string(record.ProcessId)},
                         {"程序路径", record.BinaryPath},
                         {"启动类型", record.StartTypeText},
                         {"状态", record.StateText},
                         {"登录账户", record.AccountText},
                         {"服务类型", std::to_string(services.GetServiceType(name))},
                         {"启动类型代码", std::to_string(services.GetStartTypeCode(name))},
                     });
  return kCliSucceeded;
}

int RunDeps(ServiceController& services, const Invocation& invocation, Io& io) {
  const Text& name = invocation.positionals[0];
  if (!services.Exists(name)) return FailWithCode(io, "找不到服务 " + name);
  std::vector<ServiceRecord> records;
  if (services.EnumerateDependents(name, records) == 0) {
    io.out << "没有依赖 " << name << " 的服务\n";
    return kCliSucceeded;
  }
  std::vector<std::vector<Text>> rows = {{"服务名", "状态", "启动类型", "显示名称"}};
  for (const ServiceRecord& r : records) rows.push_back({r.Name, r.StateText, r.StartTypeText, r.DisplayName});
  PrintTable(io.out, rows);
  return kCliSucceeded;
}

int RunKeyName(ServiceController& services, const Invocation& invocation, Io& io) {
  Text keyName = services.GetKeyName(invocation.positionals[0]);
  if (keyName.empty()) return FailWithCode(io, "找不到显示名称为 " + invocation.positionals[0] + " 的服务");
  io.out << keyName << '\n';
  return kCliSucceeded;
}

int RunState(ServiceController& services, const Invocation& invocation, Io& io) {
  const Text& name = invocation.positionals[0];
  int32_t state = services.QueryState(name);
  if (state == 0) return FailWithCode(io, "读不到 " + name + " 的状态");
  io.out << services.StateName(state) << " (" << state << ")\n";
  return kCliSucceeded;
}

// A request to one service: the library's bool is the outcome.
template <bool (ServiceController::*Operation)(const Text&)>
int RunRequest(ServiceController& services, const Invocation& invocation, Io& io, const char* verb) {
  const Text& name = invocation.positionals[0];
  if (!(services.*Operation)(name)) return FailWithCode(io, Text(verb) + " " + name + " 失败");
  io.out << verb << "请求已接受: " << name << '\n';
  return kCliSucceeded;
}

int RunStart(ServiceController& s, const Invocation& i, Io& io) {
  return RunRequest<&ServiceController::Start>(s, i, io, "启动");
}
int RunStop(ServiceController& s, const Invocation& i, Io& io) {
  return RunRequest<&ServiceController::Stop>(s, i, io, "停止");
}
int RunPause(ServiceController& s, const Invocation& i, Io& io) {
  return RunRequest<&ServiceController::Pause>(s, i, io, "暂停");
}
int RunResume(ServiceController& s, const Invocation& i, Io& io) {
  return RunRequest<&ServiceController::Resume>(s, i, io, "继续");
}
int RunRestart(ServiceController& s, const Invocation& i, Io& io) {
  return RunRequest<&ServiceController::Restart>(s, i, io, "重启");
}
int RunDelete(ServiceController& s, const Invocation& i, Io& io) {
  return RunRequest<&ServiceController::Delete>(s, i, io, "删除");
}

int RunCreate(ServiceController& services, const Invocation& invocation, Io& io) {
  std::optional<int32_t> serviceType;
  std::optional<int32_t> startType;
  if (!IntOption(invocation, "--type", serviceType, io) || !IntOption(invocation, "--start", startType, io)) {
    return kCliBadUsage;
  }
  Text dependencies = invocation.Value("--depend").value_or(Text());
  std::replace(dependencies.begin(), dependencies.end(), ',', '\0');
  const Text& name = invocation.positionals[0];
  if (!services.Create(name, invocation.positionals[1], invocation.positionals[2],
                       invocation.Value("--description").value_or(Text()), invocation.Has("--interactive"),
                       serviceType, startType, dependencies, invocation.Value("--account").value_or(Text()),
                       invocation.Value("--password").value_or(Text()))) {
    return FailWithCode(io, "创建 " + name + " 失败");
  }
  io.out << "已创建服务: " << name << '\n';
  return kCliSucceeded;
}

int RunSet(ServiceController& services, const Invocation& invocation, Io& io) {
  const Text& name = invocation.positionals[0];
  std::optional<int32_t> startType;
  if (!IntOption(invocation, "--start-type", startType, io)) return kCliBadUsage;
  std::optional<Text> description = invocation.Value("--description");
  std::optional<Text> binaryPath = invocation.Value("--binary-path");
  if (!startType && !description && !binaryPath) return BadUsage(io, "没有给出要修改的设置");
  if (startType && !services.SetStartType(name, *startType)) return FailWithCode(io, "修改 " + name + " 的启动类型失败");
  if (description && !services.SetDescription(name, *description)) {
    return FailWithCode(io, "修改 " + name + " 的描述失败");
  }
  if (binaryPath && !services.SetBinaryPath(name, *binaryPath)) {
    return FailWithCode(io, "修改 " + name + " 的程序路径失败");
  }
  io.out << "已修改服务: " << name << '\n';
  return kCliSucceeded;
}

int RunStopDependents(ServiceController& services, const Invocation& invocation, Io& io) {
  const Text& name = invocation.positionals[0];
  if (!services.Exists(name)) return FailWithCode(io, "找不到服务 " + name);
  services.StopDependents(name);
  io.out << "已停止依赖 " << name << " 的服务\n";
  return kCliSucceeded;
}

int RunHelp(ServiceController&, const Invocation&, Io& io);

const Option kFilterOptions[] = {{"--active", false}, {"--inactive", false}, {"--all", false}};

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"list", 0, {kFilterOptions[0], kFilterOptions[1], kFilterOptions[2], {"--pid", false}},
       "[--active|--inactive|--all] [--pid]", "列出服务(默认全部)", RunList},
      {"count", 0, {kFilterOptions[0], kFilterOptions[1], kFilterOptions[2]}, "[--active|--inactive|--all]",
       "服务个数", RunCount},
      {"show", 1, {}, "服务名", "服务的全部信息", RunShow},
      {"deps", 1, {}, "服务名", "依赖该服务的服务", RunDeps},
      {"keyname", 1, {}, "显示名称", "显示名称对应的服务名", RunKeyName},
      {"state", 1, {}, "服务名", "服务状态", RunState},
      {"start", 1, {}, "服务名", "启动服务", RunStart},
      {"stop", 1, {}, "服务名", "停止服务", RunStop},
      {"pause", 1, {}, "服务名", "暂停服务", RunPause},
      {"resume", 1, {}, "服务名", "继续已暂停的服务", RunResume},
      {"restart", 1, {}, "服务名", "停止后再启动服务", RunRestart},
      {"delete", 1, {}, "服务名", "删除服务(停止后消失)", RunDelete},
      {"create", 3,
       {{"--description", true},
        {"--interactive", false},
        {"--type", true},
        {"--start", true},
        {"--depend", true},
        {"--account", true},
        {"--password", true}},
       "服务名 显示名称 程序路径 [--description 描述] [--interactive] [--type N] [--start N] "
       "[--depend 甲,乙] [--account 账户] [--password 密码]",
       "创建服务", RunCreate},
      {"set", 1, {{"--start-type", true}, {"--description", true}, {"--binary-path", true}},
       "服务名 --start-type N | --description 描述 | --binary-path 路径", "修改服务设置", RunSet},
      {"stop-dependents", 1, {}, "服务名", "停止依赖该服务的服务", RunStopDependents},
      {"help", 0, {}, "", "本说明", RunHelp},
  };
  return commands;
}

void PrintUsageLine(std::ostream& to, const Command& command) {
  to << "用法: " << kProgram << ' ' << command.name;
  if (*command.arguments) to << ' ' << command.arguments;
  to << '\n';
}

void PrintGeneralUsage(std::ostream& to) {
  to << "用法: " << kProgram << " 命令 [参数]   (" << kProgram << " help 列出全部命令)\n";
}

int RunHelp(ServiceController&, const Invocation&, Io& io) {
  io.out << kProgram << ": 以 sc.exe 的方式查看和控制 Windows 服务\n";
  PrintGeneralUsage(io.out);
  std::vector<std::vector<Text>> rows;
  for (const Command& command : Commands()) {
    Text call = Text(command.name) + (*command.arguments ? " " : "") + command.arguments;
    rows.push_back({"  " + call, command.summary});
  }
  PrintTable(io.out, rows);
  io.out << "退出代码: 0 成功, 1 操作失败, 2 用法错误\n";
  return kCliSucceeded;
}

// Splits the arguments after the command by its option table; an empty
// result (after saying why) on a usage error.
std::optional<Invocation> Parse(const Command& command, const std::vector<Text>& args, Io& io) {
  Invocation invocation;
  for (size_t i = 1; i < args.size(); ++i) {
    const Text& arg = args[i];
    if (arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
      invocation.positionals.push_back(arg);
      continue;
    }
    auto option = std::find_if(command.options.begin(), command.options.end(),
                               [&](const Option& o) { return o.name == arg; });
    if (option == command.options.end()) {
      BadUsage(io, "未知选项: " + arg);
      return std::nullopt;
    }
    if (!option->takesValue) {
      invocation.options.emplace_back(option->name, Text());
    } else if (i + 1 < args.size()) {
      invocation.options.emplace_back(option->name, args[++i]);
    } else {
      BadUsage(io, arg + " 缺少值");
      return std::nullopt;
    }
  }
  if (invocation.positionals.size() != command.positionals) {
    BadUsage(io, invocation.positionals.size() < command.positionals ? "缺少参数" : "多余的参数");
    return std::nullopt;
  }
  return invocation;
}

}  // namespace

int RunServiceCli(const std::vector<Text>& args, std::ostream& out, std::ostream& err) {
  Io io{out, err};
  if (args.empty()) {
    BadUsage(io, "缺少命令");
    PrintGeneralUsage(err);
    return kCliBadUsage;
  }
  const auto& commands = Commands();
  auto command = std::find_if(commands.begin(), commands.end(), [&](const Command& c) { return c.name == args[0]; });
  if (command == commands.end()) {
    BadUsage(io, "未知命令: " + args[0]);
    PrintGeneralUsage(err);
    return kCliBadUsage;
  }
  std::optional<Invocation> invocation = Parse(*command, args, io);
  int code = kCliBadUsage;
  if (invocation) {
    ServiceController services;
    code = command->run(services, *invocation, io);
  }
  if (code == kCliBadUsage) PrintUsageLine(err, *command);
  return code;
}
