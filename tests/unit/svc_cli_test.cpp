// The vemtra-svc command line on the simulated service manager: parsing,
// exit codes and the exact texts it prints.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_scm.h"
#include "platform/sim/sim_system.h"
#include "svccli/svc_cli.h"
#include "svcctl/service_controller.h"

namespace {

const char kProgram[] = "C:\\svc\\demo.exe";

struct CliRun {
  int code;
  std::string out;
  std::string err;
};

class ServiceCli : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::ResetSystem();
    sim::ResetServiceManager();
    sim::RegisterServiceProgram(kProgram, [](const Text& binaryPath) {
      sim::ServiceBehaviour behaviour;
      if (binaryPath.find("--slow-stop") != Text::npos) behaviour.stopDelayMs = 5000;
      return behaviour;
    });
  }

  CliRun Run(std::vector<Text> args) {
    std::ostringstream out;
    std::ostringstream err;
    int code = RunServiceCli(args, out, err);
    return {code, out.str(), err.str()};
  }

  ServiceController services_;
};

TEST_F(ServiceCli, BadUsageExitsWith2AndTheCommandsUsageLine) {
  struct Case {
    std::vector<Text> args;
    const char* complaint;
    const char* usage;  // the usage line that follows
  };
  const Case cases[] = {
      {{}, "缺少命令", "用法: vemtra-svc 命令 [参数]"},
      {{"frobnicate"}, "未知命令: frobnicate", "用法: vemtra-svc 命令 [参数]"},
      {{"list", "--bogus"}, "未知选项: --bogus", "用法: vemtra-svc list [--active|--inactive|--all] [--pid]"},
      {{"list", "extra"}, "多余的参数", "用法: vemtra-svc list"},
      {{"show"}, "缺少参数", "用法: vemtra-svc show 服务名"},
      {{"start", "a", "b"}, "多余的参数", "用法: vemtra-svc start 服务名"},
      {{"stop", "--pid", "a"}, "未知选项: --pid", "用法: vemtra-svc stop 服务名"},
      {{"create", "a", "b"}, "缺少参数", "用法: vemtra-svc create 服务名 显示名称 程序路径"},
      {{"create", "a", "b", "c", "--start"}, "--start 缺少值", "用法: vemtra-svc create"},
      {{"create", "a", "b", "c", "--type", "1x"}, "--type 需要一个整数: 1x", "用法: vemtra-svc create"},
      {{"create", "a", "b", "c", "--start", "99999999999"}, "--start 需要一个整数", "用法: vemtra-svc create"},
      {{"set", "a"}, "没有给出要修改的设置", "用法: vemtra-svc set 服务名 --start-type N"},
      {{"set", "a", "--start-type", ""}, "--start-type 需要一个整数", "用法: vemtra-svc set"},
      {{"set", "a", "--start-type", "-"}, "--start-type 需要一个整数", "用法: vemtra-svc set"},
      {{"help", "me"}, "多余的参数", "用法: vemtra-svc help"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.complaint);
    CliRun run = Run(c.args);
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.find(std::string("vemtra-svc: ") + c.complaint), 0u) << run.err;
    EXPECT_NE(run.err.find(std::string("\n") + c.usage), std::string::npos) << run.err;
  }
  EXPECT_TRUE(sim::AllServices().empty());
  EXPECT_TRUE(sim::Requests().empty());
}

TEST_F(ServiceCli, HelpListsEveryCommand) {
  CliRun run = Run({"help"});
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.err, "");
  for (const char* command : {"list", "count", "show", "deps", "keyname", "state", "start", "stop", "pause",
                              "resume", "restart", "delete", "create", "set", "stop-dependents", "help"}) {
    EXPECT_NE(run.out.find(std::string("\n  ") + command + " "), std::string::npos) << command;
  }
  EXPECT_NE(run.out.find("退出代码: 0 成功, 1 操作失败, 2 用法错误"), std::string::npos);
}

TEST_F(ServiceCli, CreateThenShowEveryField) {
  CliRun created = Run({"create", "Demo", "演示服务", std::string(kProgram) + " --x", "--description", "演示用",
                        "--start", "2", "--account", "NT AUTHORITY\\NetworkService"});
  EXPECT_EQ(created.code, 0);
  EXPECT_EQ(created.out, "已创建服务: Demo\n");

  CliRun shown = Run({"show", "Demo"});
  EXPECT_EQ(shown.code, 0);
  EXPECT_EQ(shown.err, "");
  EXPECT_EQ(shown.out,
            "服务名        Demo\n"
            "显示名称      演示服务\n"
            "描述          演示用\n"
            "进程ID        0\n"
            "程序路径      C:\\svc\\demo.exe --x\n"
            "启动类型      自动(延迟启动)\n"
            "状态          已停止\n"
            "登录账户      网络服务\n"
            "服务类型      16\n"
            "启动类型代码  2\n");
}

TEST_F(ServiceCli, CreatePassesTypeInteractiveAndDependencies) {
  ASSERT_EQ(Run({"create", "Base1", "基础一", kProgram}).code, 0);
  ASSERT_EQ(Run({"create", "Base2", "基础二", kProgram}).code, 0);
  CliRun run = Run({"create", "Top", "顶层", kProgram, "--type", "32", "--interactive", "--start", "3", "--depend",
                    "Base1,Base2", "--account", ".\\someone", "--password", "pw"});
  EXPECT_EQ(run.code, 0);
  std::optional<sim::ServiceSnapshot> top = sim::FindService("Top");
  ASSERT_TRUE(top);
  EXPECT_EQ(top->serviceType, 288u);
  EXPECT_EQ(top->startType, 3u);
  EXPECT_EQ(top->dependencies, (std::vector<Text>{"Base1", "Base2"}));
  EXPECT_EQ(top->account, ".\\someone");

  CliRun deps = Run({"deps", "Base2"});
  EXPECT_EQ(deps.code, 0);
  EXPECT_EQ(deps.out,
            "服务名  状态    启动类型  显示名称\n"
            "Top     已停止  手动      顶层\n");
  CliRun none = Run({"deps", "Top"});
  EXPECT_EQ(none.code, 0);
  EXPECT_EQ(none.out, "没有依赖 Top 的服务\n");
}

TEST_F(ServiceCli, ListAlignsColumnsByBytes) {
  ASSERT_TRUE(services_.Create("Alpha", "甲服务", kProgram));
  ASSERT_TRUE(services_.Create("B", "乙", kProgram, "", false, std::nullopt, 2));
  ASSERT_TRUE(services_.Start("Alpha"));

  CliRun all = Run({"list"});
  EXPECT_EQ(all.code, 0);
  EXPECT_EQ(all.out,
            "服务名  状态    启动类型        登录账户  显示名称\n"
            "Alpha   正运行  手动            本地系统  甲服务\n"
            "B       已停止  自动(延迟启动)  本地系统  乙\n"
            "共 2 个服务\n");
  EXPECT_EQ(Run({"list", "--all"}).out, all.out);

  CliRun active = Run({"list", "--inactive", "--active", "--pid"});  // the last filter counts
  EXPECT_EQ(active.code, 0);
  ASSERT_EQ(sim::FindService("Alpha")->processId, 1004u);
  EXPECT_EQ(active.out,
            "服务名  状态    启动类型  登录账户  进程ID  显示名称\n"
            "Alpha   正运行  手动      本地系统  1004    甲服务\n"
            "共 1 个服务\n");

  CliRun inactive = Run({"list", "--inactive"});
  EXPECT_NE(inactive.out.find("\nB "), std::string::npos);
  EXPECT_EQ(inactive.out.find("Alpha"), std::string::npos);

  EXPECT_EQ(Run({"count"}).out, "2\n");
  EXPECT_EQ(Run({"count", "--active"}).out, "1\n");
  EXPECT_EQ(Run({"count", "--inactive"}).out, "1\n");
}

TEST_F(ServiceCli, AListingThatGivesNothingFails) {
  sim::SetRights(sim::Rights::User);  // the full listing needs an administrator
  ASSERT_FALSE(services_.Create("X", "x", kProgram));
  CliRun run = Run({"list"});
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "vemtra-svc: 没有列出任何服务\n");
  EXPECT_EQ(Run({"count"}).code, 1);
}

TEST_F(ServiceCli, ControlCommandsReportTheLibrarysResult) {
  ASSERT_TRUE(services_.Create("Web", "网页", kProgram));
  struct Step {
    std::vector<Text> args;
    int code;
    const char* out;
    const char* err;
  };
  const Step steps[] = {
      {{"state", "Web"}, 0, "已停止 (1)\n", ""},
      {{"stop", "Web"}, 1, "", "vemtra-svc: 停止 Web 失败 (错误 1062)\n"},
      {{"start", "Web"}, 0, "启动请求已接受: Web\n", ""},
      {{"state", "Web"}, 0, "正运行 (4)\n", ""},
      {{"start", "Web"}, 1, "", "vemtra-svc: 启动 Web 失败 (错误 1056)\n"},
      {{"pause", "Web"}, 0, "暂停请求已接受: Web\n", ""},
      {{"state", "Web"}, 0, "已暂停 (7)\n", ""},
      {{"resume", "Web"}, 0, "继续请求已接受: Web\n", ""},
      {{"restart", "Web"}, 0, "重启请求已接受: Web\n", ""},
      {{"state", "web"}, 0, "正运行 (4)\n", ""},
      {{"keyname", "网页"}, 0, "Web\n", ""},
      {{"keyname", "Web"}, 1, "", "vemtra-svc: 找不到显示名称为 Web 的服务 (错误 1060)\n"},
      {{"delete", "Web"}, 0, "删除请求已接受: Web\n", ""},
      {{"delete", "Web"}, 1, "", "vemtra-svc: 删除 Web 失败 (错误 1072)\n"},
      {{"stop", "Web"}, 0, "停止请求已接受: Web\n", ""},
      {{"state", "Web"}, 1, "", "vemtra-svc: 读不到 Web 的状态 (错误 1060)\n"},
      {{"show", "Web"}, 1, "", "vemtra-svc: 找不到服务 Web (服务名区分大小写)\n"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.args[0] + " " + step.args[1]);
    CliRun run = Run(step.args);
    EXPECT_EQ(run.code, step.code);
    EXPECT_EQ(run.out, step.out);
    EXPECT_EQ(run.err, step.err);
  }
}

TEST_F(ServiceCli, ShowNeedsTheExactKeyName) {
  ASSERT_TRUE(services_.Create("Exact", "精确", kProgram));
  EXPECT_EQ(Run({"show", "Exact"}).code, 0);
  EXPECT_EQ(Run({"show", "exact"}).code, 1);
  EXPECT_EQ(Run({"show", "精确"}).code, 1);
}

TEST_F(ServiceCli, SetChangesEachSettingAndRefusesBadStartTypes) {
  ASSERT_TRUE(services_.Create("Conf", "配置", kProgram));
  for (const char* refused : {"0", "1", "5", "99"}) {
    SCOPED_TRACE(refused);
    CliRun run = Run({"set", "Conf", "--start-type", refused});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "vemtra-svc: 修改 Conf 的启动类型失败 (错误 87)\n");
  }
  for (const char* accepted : {"2", "4", "3"}) {
    SCOPED_TRACE(accepted);
    CliRun run = Run({"set", "Conf", "--start-type", accepted});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "已修改服务: Conf\n");
    EXPECT_EQ(sim::FindService("Conf")->startType, static_cast<uint32_t>(std::stoi(accepted)));
  }
  // -1 is the platform's "no change": accepted, and nothing changes.
  EXPECT_EQ(Run({"set", "Conf", "--start-type", "-1"}).code, 0);
  EXPECT_EQ(sim::FindService("Conf")->startType, 3u);
  EXPECT_EQ(Run({"set", "Conf", "--description", "新说明", "--binary-path", std::string(kProgram) + " -n"}).code, 0);
  EXPECT_EQ(sim::FindService("Conf")->description, "新说明");
  EXPECT_EQ(sim::FindService("Conf")->binaryPath, std::string(kProgram) + " -n");
  EXPECT_EQ(Run({"set", "Conf", "--description", ""}).code, 0);  // leaves it
  EXPECT_EQ(sim::FindService("Conf")->description, "新说明");
  EXPECT_EQ(Run({"set", "Missing", "--description", "x"}).err, "vemtra-svc: 修改 Missing 的描述失败 (错误 1060)\n");
}

TEST_F(ServiceCli, StopDependentsStopsThemAndNeedsAnExistingService) {
  ASSERT_TRUE(services_.Create("Db", "数据库", kProgram));
  ASSERT_TRUE(services_.Create("App", "应用", kProgram, "", false, std::nullopt, std::nullopt, "Db"));
  ASSERT_TRUE(services_.Start("App"));
  ASSERT_EQ(services_.QueryState("Db"), 4);

  CliRun run = Run({"stop-dependents", "Db"});
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out, "已停止依赖 Db 的服务\n");
  EXPECT_EQ(services_.QueryState("App"), 1);
  EXPECT_EQ(services_.QueryState("Db"), 4);

  CliRun missing = Run({"stop-dependents", "Nope"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.err, "vemtra-svc: 找不到服务 Nope (错误 1060)\n");
  EXPECT_EQ(Run({"deps", "Nope"}).code, 1);
}

TEST_F(ServiceCli, BadNamesFailWithoutHarm) {
  ASSERT_TRUE(services_.Create("Keep", "保留", kProgram));
  for (const Text& name : {Text(), Text("a\\b"), Text("a/b"), Text(300, 'x'), Text("保留")}) {
    SCOPED_TRACE(name.size());
    for (const char* command : {"state", "start", "stop", "pause", "resume", "restart", "delete", "show", "deps",
                                "stop-dependents"}) {
      EXPECT_EQ(Run({command, name}).code, 1) << command;
    }
    EXPECT_EQ(Run({"set", name, "--start-type", "2"}).code, 1);
  }
  for (const Text& name : {Text(), Text("a\\b"), Text("a/b"), Text(300, 'x')}) {
    EXPECT_EQ(Run({"create", name, "显示 " + name, kProgram}).code, 1);
  }
  EXPECT_EQ(services_.QueryState("Keep"), 1);
  EXPECT_EQ(Run({"keyname", ""}).code, 1);
}

}  // namespace
