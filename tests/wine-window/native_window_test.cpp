// The native window, driven from another process: a test window program
// whose handlers log every event into a label (test_window_main.cpp).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "test_window_description.h"
#include "window_expectations.h"
#include "window_session.h"

namespace window_test {
namespace {

using namespace test_window;

std::string DesktopName() {
  return std::string("vemtra-") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

// Long enough for the window to handle what was posted to it (and what it
// posts to itself meanwhile) before a check that nothing happened.
constexpr DWORD kSettleMs = 300;

class NativeWindowTest : public ::testing::Test {
 protected:
  NativeWindowTest() : session_(DesktopName(), description_) {}

  void SetUp() override {
    ASSERT_NE(session_.Window(), nullptr);
    ASSERT_TRUE(session_.WaitForText(kLog, "created")) << "log: " << Log();
  }

  std::string Log() const { return session_.Text(kLog); }

  // Waits until the log is `before` followed by `events`; with no events,
  // waits a moment and checks that the log stayed as it was.
  void ExpectEvents(const std::string& before, const std::string& events) {
    const std::string expected = events.empty() ? before : before + " " + events;
    if (events.empty()) Sleep(kSettleMs);
    EXPECT_TRUE(session_.WaitForText(kLog, expected)) << "log: " << Log() << "\nexpected: " << expected;
  }

  const ui::WindowDescription description_ = Description();
  WindowSession session_;
};

TEST_F(NativeWindowTest, OpensAsDescribedWithTheCreatedEventFirst) {
  const uidriver::WindowInfo window = session_.DescribeWindow();
  ExpectWindowFrame(window, description_, kDesktopWidth, kDesktopHeight);
  std::vector<ExpectedControl> expected = ExpectedControls(description_);
  Named(expected, kLog).text = "created";
  ExpectControls(window.controls, expected);
}

TEST_F(NativeWindowTest, ButtonAndCheckBoxClicksRaiseClickedWithTheNewMark) {
  ASSERT_TRUE(uidriver::Click(session_.Control(kButton)));
  ExpectEvents("created", "click");
  ASSERT_TRUE(uidriver::Click(session_.Control(kSwitch)));
  ExpectEvents("created click", "box=1");
  EXPECT_EQ(session_.Describe(kSwitch).checked, 1);
  ASSERT_TRUE(uidriver::Click(session_.Control(kSwitch)));
  ExpectEvents("created click box=1", "box=0");
  EXPECT_EQ(session_.Describe(kSwitch).checked, 0);
}

TEST_F(NativeWindowTest, ListRaisesOneSelectedEventPerCompletedPick) {
  HWND list = session_.Control(kList);
  auto moveInOpenList = [&](WPARAM key, int steps, int landsOn) {
    for (int i = 0; i < steps; ++i) PostMessageW(list, WM_KEYDOWN, key, 1);
    // The keys must be handled before the list is closed by a sent message.
    ASSERT_TRUE(uidriver::WaitUntil([&] { return session_.Describe(kList).selected == landsOn; }, 5000));
  };
  struct Step {
    const char* what;
    std::function<void()> act;
    std::string events;
    int selectedAfter;
  };
  const std::vector<Step> steps = {
      {"closed list, another item", [&] { uidriver::Pick(list, 3); }, "pick=3:丁", 3},
      {"closed list, the same item", [&] { uidriver::Pick(list, 3); }, "", 3},
      {"open list, arrow keys over three items, Enter", [&] { uidriver::PickFromOpenList(list, 0); },
       "popup=3 pick=0:甲", 0},
      {"open list, Enter on the selected item", [&] { uidriver::PickFromOpenList(list, 0); }, "popup=0", 0},
      {"open list, mouse click on an item", [&] { uidriver::ClickItemInOpenList(list, 4); }, "popup=0 pick=4:戊", 4},
      {"open list, mouse click on the selected item", [&] { uidriver::ClickItemInOpenList(list, 4); },
       "popup=4 pick=4:戊", 4},
      {"opened and closed without a choice",
       [&] {
         uidriver::OpenList(list);
         uidriver::CloseList(list);
       },
       "popup=4", 4},
      {"opened, moved with the arrow keys, closed without Enter",
       [&] {
         uidriver::OpenList(list);
         moveInOpenList(VK_UP, 2, 2);
         uidriver::CloseList(list);
       },
       // The list keeps the item the user moved to, so the window takes it.
       "popup=4 pick=2:丙", 2},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    const std::string before = Log();
    step.act();
    ExpectEvents(before, step.events);
    EXPECT_EQ(session_.Describe(kList).selected, step.selectedAfter);
  }
}

TEST_F(NativeWindowTest, PropertyWritesShowAtOnceAndRaiseNoEvent) {
  ASSERT_TRUE(uidriver::Click(session_.Control(kWrite)));
  ExpectEvents("created", "wrote");
  EXPECT_EQ(session_.Describe(kSwitch).checked, 1);
  EXPECT_EQ(session_.Describe(kList).selected, 4);
  EXPECT_EQ(session_.Text(kList), "戊");
  EXPECT_EQ(session_.Text(kStatus), "已写");
  EXPECT_FALSE(session_.Describe(kButton).enabled);

  // A disabled button ignores a click; the timer click after it is a marker.
  PostMessageW(session_.Control(kButton), BM_CLICK, 0, 0);
  ASSERT_TRUE(uidriver::Click(session_.Control(kStartTimer)));
  ExpectEvents("created wrote", "timer tick tick tick");
  // Period 0 stopped the timer.
  ExpectEvents("created wrote timer tick tick tick", "");
}

TEST_F(NativeWindowTest, TicksRunWhileAMessageBoxIsOpen) {
  ASSERT_TRUE(uidriver::Click(session_.Control(kStartTimer)));
  ASSERT_TRUE(uidriver::Click(session_.Control(kAsk)));
  std::optional<uidriver::MessageBoxInfo> box = uidriver::FindMessageBox("确认", 5000);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, "要继续吗？");
  ExpectEvents("created", "timer tick tick tick");
  EXPECT_TRUE(IsWindow(box->handle)) << "the ticks came while the box was open";
  ASSERT_TRUE(uidriver::AnswerMessageBox(box->handle, uidriver::Answer::Ok));
  ExpectEvents("created timer tick tick tick", "box-ok");

  ASSERT_TRUE(uidriver::Click(session_.Control(kAsk)));
  box = uidriver::FindMessageBox("确认", 5000);
  ASSERT_TRUE(box);
  ASSERT_TRUE(uidriver::AnswerMessageBox(box->handle, uidriver::Answer::Close));
  ExpectEvents("created timer tick tick tick box-ok", "box-cancel");
}

TEST_F(NativeWindowTest, CloseRequestEndsTheMessageLoop) {
  const std::optional<DWORD> exitCode = session_.Close();
  ASSERT_TRUE(exitCode) << "the program did not end";
  EXPECT_EQ(*exitCode, 0u);
}

}  // namespace
}  // namespace window_test

int main(int argc, char** argv) { return window_test::RunTestsOnProgram(argc, argv, "TEST-WINDOW-PROGRAM"); }
