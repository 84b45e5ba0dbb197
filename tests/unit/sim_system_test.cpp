// The simulated system facilities: the drive-mapped file system, fake
// programs, scripted dialogs, recorded addresses, the event hook and the
// virtual clock. Literals are GBK bytes.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_system.h"
#include "support/system.h"

namespace {

namespace fs = std::filesystem;

// 運 is DF 5C in GBK: its trail byte is a backslash.
const Text kYun = "運";

// Drives C: and D: mapped to empty host folders; nothing registered or scripted.
class SimSystem : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::ResetSystem();
    root_ = fs::temp_directory_path() / ("vemtra-sim-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    for (char drive : {'C', 'D'}) {
      fs::create_directories(root_ / std::string(1, drive));
      sim::MapDrive(drive, root_ / std::string(1, drive));
    }
  }

  void TearDown() override {
    sim::ResetSystem();
    fs::remove_all(root_);
  }

  // A host path under a drive's folder, from UTF-8 components.
  fs::path Host(char drive, const std::string& relative = "") const {
    return relative.empty() ? root_ / std::string(1, drive) : root_ / std::string(1, drive) / relative;
  }

  fs::path root_;
};

// Records what the facilities ask of the window's event dispatch.
class RecordingPump final : public sim::EventPump {
 public:
  RecordingPump() { sim::SetEventPump(this); }
  ~RecordingPump() { sim::SetEventPump(nullptr); }
  RecordingPump(const RecordingPump&) = delete;
  RecordingPump& operator=(const RecordingPump&) = delete;

  void DispatchPending() override { ++dispatches; }
  void RunModalLoop(uint64_t milliseconds) override {
    modalLoops.push_back(milliseconds);
    sim::AdvanceClock(milliseconds);
  }
  bool InputWaiting() const override { return inputWaiting; }

  int dispatches = 0;
  std::vector<uint64_t> modalLoops;
  bool inputWaiting = false;
};

// ---------------------------------------------------------------- file system

TEST_F(SimSystem, PathsAreLookedUpByDriveIgnoringCaseAndRepeatedSeparators) {
  const std::string yun = sim::GbkToUtf8(kYun);
  fs::create_directories(Host('C', "Vemtra/Extensions/" + yun + "/bin"));
  std::ofstream(Host('C', "Vemtra/Extensions/" + yun + "/bin/httpd.exe"));
  fs::create_directories(Host('D', "only-on-d"));
  std::ofstream(Host('C', "Vemtra/readme.txt"));

  struct Case {
    Text path;
    bool directory;
  } cases[] = {
      {"C:\\Vemtra\\Extensions", true},
      {"c:\\VEMTRA\\extensions", true},
      {"C:/Vemtra//Extensions\\\\", true},
      {"C:\\\\\\Vemtra", true},
      {"C:\\Vemtra\\Extensions\\" + kYun, true},
      {"C:\\Vemtra\\Extensions\\" + kYun + "\\BIN", true},
      {"C:\\Vemtra\\Extensions\\" + kYun + "\\bin\\httpd.exe", false},
      {"C:\\Vemtra\\readme.txt", false},
      {"C:\\Vemtra\\readme.txt\\", false},
      {"C:\\Vemtra\\Extensions\\..\\Extensions", true},
      {"C:\\", true},
      {"C:", true},
      {"d:\\ONLY-ON-D", true},
      {"C:\\only-on-d", false},
      {"\\Vemtra", true},  // no drive letter: the current drive's root
      {"Vemtra\\Extensions", true},
      {"\\only-on-d", false},
      {"E:\\", false},  // not mapped
      {"C:\\Vemtra\\Missing", false},
      {"C:\\Vemtra\\Extensions\\\xDF", false},  // a lead byte alone is not valid GBK
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsDirectory(c.path), c.directory) << sim::GbkToUtf8(c.path);

  EXPECT_TRUE(sim::FindHostPath("C:\\Vemtra\\Extensions\\" + kYun + "\\bin\\HTTPD.EXE"));
  EXPECT_FALSE(sim::FindHostPath(""));
}

TEST_F(SimSystem, CurrentDriveDecidesWherePathsWithoutALetterStart) {
  fs::create_directories(Host('D', "only-on-d"));
  EXPECT_FALSE(IsDirectory("\\only-on-d"));
  sim::SetCurrentDrive('d');
  EXPECT_TRUE(IsDirectory("\\only-on-d"));
  EXPECT_TRUE(IsDirectory("only-on-d"));
  EXPECT_FALSE(IsDirectory("C:only-on-d"));
  sim::ResetSystem();  // unmaps the drives and goes back to C:
  EXPECT_FALSE(IsDirectory("D:\\"));
}

TEST_F(SimSystem, CaseIsFoldedOnlyForSingleByteLetters) {
  // 乤 is 81 61 and 丄 is 81 41: their trail bytes are "a" and "A".
  fs::create_directories(Host('C', sim::GbkToUtf8("\x81\x61") + "Ab"));
  EXPECT_TRUE(IsDirectory("C:\\\x81\x61" "aB"));
  EXPECT_TRUE(IsDirectory("C:\\\x81\x61" "AB"));
  EXPECT_FALSE(IsDirectory("C:\\\x81\x41" "Ab")) << "a trail byte is not a letter";
}

TEST_F(SimSystem, CreatedFoldersAndFilesAreFoundAgain) {
  sim::CreateDirectories("D:\\web dir\\Extensions\\" + kYun);
  sim::CreateFile("d:\\WEB DIR\\Extensions\\" + kYun + "\\my.ini");
  EXPECT_TRUE(fs::is_directory(Host('D', "web dir/Extensions/" + sim::GbkToUtf8(kYun))));
  EXPECT_TRUE(IsDirectory("D:\\Web Dir\\extensions\\" + kYun));
  EXPECT_FALSE(IsDirectory("D:\\web dir\\Extensions\\" + kYun + "\\my.ini"));
  EXPECT_TRUE(sim::FindHostPath("D:\\web dir\\Extensions\\" + kYun + "\\MY.INI"));

  // Creating again in another letter case finds what exists, as on Windows.
  sim::CreateDirectories("D:\\WEB DIR\\EXTENSIONS");
  sim::CreateFile("D:\\web dir\\Extensions\\" + kYun + "\\MY.INI");
  int entries = 0;
  for (const auto& entry : fs::directory_iterator(Host('D'))) entries += entry.is_directory() ? 1 : 0;
  EXPECT_EQ(entries, 1);
  int files = 0;
  for (const auto& entry : fs::directory_iterator(Host('D', "web dir/Extensions/" + sim::GbkToUtf8(kYun)))) {
    files += entry.is_regular_file() ? 1 : 0;
  }
  EXPECT_EQ(files, 1);

  EXPECT_THROW(sim::CreateDirectories("E:\\unmapped"), std::runtime_error);
  EXPECT_THROW(sim::CreateFile("C:\\missing folder\\file.txt"), std::runtime_error);
}

TEST(SimPaths, SamePathNormalisesSeparatorsAndCase) {
  struct Case {
    Text a, b;
    bool same;
  } cases[] = {
      {"C:\\Web Dir\\bin\\httpd.exe", "c:/web dir//BIN\\HTTPD.EXE", true},
      {"C:\\a\\" + kYun + "\\x", "C:\\A\\" + kYun + "\\X", true},
      {"C:\\" + kYun + "\\x", "C:\\" + kYun + "x", false},  // 運's trail byte is no separator
      {"C:\\" + kYun + "a", "c:\\" + kYun + "A", true},
      {"C:\\\x81\x61", "C:\\\x81\x41", false},
      {"C:\\a", "D:\\a", false},
      {"C:\\ab", "C:\\a\\b", false},
  };
  for (const Case& c : cases) EXPECT_EQ(sim::SamePath(c.a, c.b), c.same) << c.a << " | " << c.b;
}

TEST(SimPaths, GbkNamesRoundTripThroughTheHost) {
  EXPECT_EQ(sim::GbkToUtf8(kYun), "\xE9\x81\x8B");
  EXPECT_EQ(sim::Utf8ToGbk("\xE9\x81\x8B"), kYun);
  EXPECT_EQ(sim::Utf8ToGbk(sim::GbkToUtf8("8.0后\\Extensions")), "8.0后\\Extensions");
  EXPECT_THROW(sim::GbkToUtf8("\xDF"), std::runtime_error);
}

// ---------------------------------------------------------------- programs

TEST(SimPrograms, TheProgramTokenIsTheQuotedTextOrTheFirstWord) {
  struct Case {
    Text commandLine, program;
  } cases[] = {
      {"\"D:\\web dir\\bin\\httpd.exe\" -k install", "D:\\web dir\\bin\\httpd.exe"},
      {"D:\\web dir\\bin\\httpd.exe -k install", "D:\\web"},
      {"  \t\"C:\\a b\\x.exe\"", "C:\\a b\\x.exe"},
      {"\"C:\\unterminated quote\\x.exe -k", "C:\\unterminated quote\\x.exe -k"},
      {"cmd /c dir", "cmd"},
      {"C:\\x.exe\targ", "C:\\x.exe"},
      {"", ""},
      {"   ", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(sim::ProgramOfCommandLine(c.commandLine), c.program) << c.commandLine;
}

TEST_F(SimSystem, RunProgramStartsOnlyRegisteredPrograms) {
  std::vector<Text> received;
  auto record = [&received](const Text& commandLine) { received.push_back(commandLine); };
  sim::RegisterProgram("D:\\web dir\\bin\\httpd.exe", record, 3000);
  sim::RegisterProgram("C:\\tools\\setup.exe", record);

  const Text quoted = "\"d:\\Web Dir\\BIN\\httpd.exe\" -k install";
  EXPECT_TRUE(RunProgram(quoted, true, kShowHidden));
  EXPECT_TRUE(RunProgram("C:\\tools\\setup /quiet", false));  // ".exe" is added as the platform does
  EXPECT_FALSE(RunProgram("D:\\web dir\\bin\\httpd.exe -k install", true, kShowHidden))
      << "an unquoted path with a blank names the program D:\\web";
  EXPECT_FALSE(RunProgram("C:\\tools\\missing.exe", true));
  EXPECT_FALSE(RunProgram("", true));

  EXPECT_EQ(received, (std::vector<Text>{quoted, "C:\\tools\\setup /quiet"}));
  ASSERT_EQ(sim::ProgramRuns().size(), 2u);
  EXPECT_EQ(sim::ProgramRuns()[0].commandLine, quoted);
  EXPECT_TRUE(sim::ProgramRuns()[0].wait);
  EXPECT_EQ(sim::ProgramRuns()[0].showMode, kShowHidden);
  EXPECT_FALSE(sim::ProgramRuns()[1].wait);
  EXPECT_EQ(sim::ProgramRuns()[1].showMode, kShowNormal) << "the omitted show mode";
  EXPECT_EQ(sim::CommandLinesTried().size(), 5u) << "every attempt is recorded, started or not";
}

TEST_F(SimSystem, RunProgramWaitingTakesTheProgramsTimeWithoutDispatching) {
  RecordingPump pump;
  sim::RegisterProgram("C:\\slow.exe", [](const Text&) {}, 3000);
  uint32_t before = GetUptime();
  EXPECT_TRUE(RunProgram("C:\\slow.exe", true, kShowHidden));
  EXPECT_EQ(GetUptime() - before, 3000u);
  EXPECT_TRUE(RunProgram("C:\\slow.exe", false));
  EXPECT_EQ(GetUptime() - before, 3000u) << "without waiting no time passes";
  EXPECT_EQ(pump.dispatches, 0);
  EXPECT_TRUE(pump.modalLoops.empty());
}

TEST_F(SimSystem, RunProgramClampsTheShowMode) {
  sim::RegisterProgram("C:\\p.exe", [](const Text&) {});
  const int modes[][2] = {{-7, 1}, {0, 1}, {1, 1}, {4, 4}, {6, 6}, {7, 6}, {1000, 6}};
  for (const auto& mode : modes) {
    ASSERT_TRUE(RunProgram("C:\\p.exe", true, mode[0]));
    EXPECT_EQ(sim::ProgramRuns().back().showMode, mode[1]) << "show mode " << mode[0];
  }
}

// ---------------------------------------------------------------- dialogs and addresses

TEST_F(SimSystem, MessageBoxesAnswerAsScriptedOrAreClosed) {
  sim::QueueMessageAnswer(kAnswerOk);
  EXPECT_EQ(ShowMessage("确定准备卸载吗", kButtonsOkCancel), kAnswerOk);
  EXPECT_EQ(ShowMessage("确定准备卸载吗", kButtonsOkCancel), kAnswerCancel) << "unscripted: closed";
  EXPECT_EQ(ShowMessage("完成", kButtonsOk, "标题"), kAnswerOk) << "closing a box with only OK";

  ASSERT_EQ(sim::MessagesShown().size(), 3u);
  EXPECT_EQ(sim::MessagesShown()[0].message, "确定准备卸载吗");
  EXPECT_EQ(sim::MessagesShown()[0].buttons, kButtonsOkCancel);
  EXPECT_EQ(sim::MessagesShown()[0].title, "信息：");
  EXPECT_EQ(sim::MessagesShown()[2].title, "标题");
}

TEST_F(SimSystem, ModalDialogsKeepDispatchingWhileOpen) {
  {
    RecordingPump pump;
    sim::QueueMessageAnswer(kAnswerCancel, 2500);
    sim::QueueFolderChoice("D:\\", 1200);
    EXPECT_EQ(ShowMessage("?", kButtonsOkCancel), kAnswerCancel);
    EXPECT_EQ(BrowseForFolder("请选择"), "D:\\");
    EXPECT_EQ(pump.modalLoops, (std::vector<uint64_t>{2500, 1200}));
  }
  // Without a window the time passes all the same.
  uint32_t before = GetUptime();
  sim::QueueMessageAnswer(kAnswerOk, 700);
  ShowMessage("?", kButtonsOk);
  EXPECT_EQ(GetUptime() - before, 700u);
}

TEST_F(SimSystem, FolderChooserGivesTheScriptedChoiceOrNothing) {
  sim::QueueFolderChoice("D:\\");
  sim::QueueFolderChoice("C:\\web dir");
  EXPECT_EQ(BrowseForFolder("请选择Vemtra目录"), "D:\\");
  EXPECT_EQ(BrowseForFolder("second", true), "C:\\web dir");
  EXPECT_EQ(BrowseForFolder("third"), "") << "unscripted: cancelled";
  EXPECT_EQ(sim::FolderPrompts(), (std::vector<Text>{"请选择Vemtra目录", "second", "third"}));
}

TEST_F(SimSystem, OpenedAddressesAreRecordedInOrder) {
  OpenUrl("http://localhost/phpMyAdmin4.8.5/");
  OpenUrl("http://localhost/phpMyAdmin/");
  EXPECT_EQ(sim::OpenedUrls(),
            (std::vector<Text>{"http://localhost/phpMyAdmin4.8.5/", "http://localhost/phpMyAdmin/"}));
}

TEST_F(SimSystem, ResetForgetsProgramsScriptsAndRecords) {
  sim::RegisterProgram("C:\\p.exe", [](const Text&) {});
  RunProgram("C:\\p.exe", true);
  sim::QueueMessageAnswer(kAnswerOk);
  sim::QueueFolderChoice("C:\\");
  OpenUrl("http://x/");
  sim::SetNow(5);
  sim::ResetSystem();
  EXPECT_TRUE(sim::ProgramRuns().empty());
  EXPECT_TRUE(sim::CommandLinesTried().empty());
  EXPECT_TRUE(sim::OpenedUrls().empty());
  EXPECT_FALSE(RunProgram("C:\\p.exe", true));
  EXPECT_EQ(ShowMessage("?", kButtonsOkCancel), kAnswerCancel);
  EXPECT_EQ(BrowseForFolder("?"), "");
  EXPECT_EQ(GetUptime(), 1'000'000u);
}

// ---------------------------------------------------------------- events and clock

TEST_F(SimSystem, ProcessEventsAndInputGoThroughTheWindowsPump) {
  ProcessEvents();  // no window: nothing to do
  EXPECT_FALSE(IsInputWaiting());
  RecordingPump pump;
  ProcessEvents();
  ProcessEvents();
  EXPECT_EQ(pump.dispatches, 2);
  EXPECT_FALSE(IsInputWaiting());
  pump.inputWaiting = true;
  EXPECT_TRUE(IsInputWaiting());
}

TEST_F(SimSystem, UptimeWrapsAndSleepingHandlesNoEvent) {
  RecordingPump pump;
  sim::SetNow((uint64_t{1} << 32) - 10);
  EXPECT_EQ(GetUptime(), 0xFFFFFFF6u);
  SleepFor(25);
  EXPECT_EQ(GetUptime(), 15u) << "wraps to 0 after 2^32 ms";
  EXPECT_EQ(sim::Now(), (uint64_t{1} << 32) + 15);

  SleepFor(-100);
  SleepFor(INT32_MIN);
  SleepFor(0);
  EXPECT_EQ(GetUptime(), 15u) << "a negative time counts as 0";
  EXPECT_EQ(pump.dispatches, 0);
  EXPECT_TRUE(pump.modalLoops.empty());
}

}  // namespace
