// Property rules of the control model and event timing of the headless
// window: what the main window looks like when it opens, writes that raise
// no event, clamping of the selected index, and timer ticks.
#include <gtest/gtest.h>

#include <functional>

#include "app/controls.h"
#include "app/main_window.h"
#include "app/program_state.h"
#include "platform/sim/headless_window.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_scm.h"
#include "platform/sim/sim_system.h"
#include "support/system.h"
#include "window_fixture.h"

using namespace controls;

namespace {

using MainWindowOpening = MainWindowTest;

TEST_F(MainWindowOpening, ControlsStartAsTheTemplateSetsThem) {
  const ui::ControlModel& model = Model();
  for (const char* box : {选择框Apache, 选择框MySQL}) {
    EXPECT_EQ(model.Checked(box), 0) << box;
    EXPECT_FALSE(model.Disabled(box)) << box;
  }
  for (const char* control : {按钮1, 按钮2, 按钮3, 按钮4, 按钮5, 按钮7, 组合框Vemtra版本, 组合框apche版本, 组合框mysql版本}) {
    EXPECT_FALSE(model.Disabled(control)) << control;
  }
  EXPECT_EQ(model.Content(组合框Vemtra版本), "8.0后");
  EXPECT_EQ(model.Content(组合框apche版本), "2.4.39");
  EXPECT_EQ(model.Content(组合框mysql版本), "5.7.26");
  for (const char* label : {标签1, 标签2, 标签3, 透明标签1}) EXPECT_EQ(model.Caption(label), "") << label;
  EXPECT_EQ(model.Caption(透明标签2), "Vemtra  目录");
  EXPECT_EQ(model.Caption(透明标签4), "MySQL 目录");
  EXPECT_EQ(model.Period(时钟1), 0);
  EXPECT_EQ(State().MySqlPrevIndex, 0);
}

TEST_F(MainWindowOpening, TemplateHasTheControlsInStackingOrderWithoutOverlap) {
  const ui::WindowDescription& description = MainWindowTemplate();
  EXPECT_STREQ(description.title, "Vemtra自启动器");
  EXPECT_EQ(description.outerWidth, 514);
  EXPECT_EQ(description.outerHeight, 316);
  EXPECT_EQ(description.background, (ui::Rgb{0, 136, 255}));
  const char* stacking[] = {按钮5, 组合框Vemtra版本, 按钮7, 选择框MySQL, 选择框Apache, 时钟1, 组合框apche版本,
                            组合框mysql版本, 透明标签4, 透明标签3, 透明标签2, 按钮4, 标签3, 透明标签1,
                            标签2, 标签1, 按钮3, 按钮2, 按钮1};
  ASSERT_EQ(description.controls.size(), std::size(stacking));
  for (size_t i = 0; i < description.controls.size(); ++i) EXPECT_STREQ(description.controls[i].name, stacking[i]);
  for (size_t i = 0; i < description.controls.size(); ++i) {
    for (size_t j = i + 1; j < description.controls.size(); ++j) {
      const ui::Rect& a = description.controls[i].rect;
      const ui::Rect& b = description.controls[j].rect;
      bool overlap = a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
                     b.top < a.top + a.height;
      EXPECT_FALSE(overlap) << description.controls[i].name << " overlaps " << description.controls[j].name;
    }
  }
}

using PropertyWrites = MainWindowTest;

TEST_F(PropertyWrites, CheckedFromCodeRaisesNoClick) {
  State().ApacheServiceName = "Apache2.4";
  Model().SetChecked(选择框Apache, 1);
  EXPECT_EQ(Model().Checked(选择框Apache), 1);
  EXPECT_TRUE(sim::Requests().empty());
  EXPECT_EQ(Model().Caption(透明标签1), "");
}

TEST_F(PropertyWrites, SelectedIndexIsClampedAndRaisesNoEvent) {
  struct Case {
    int written;
    int selected;
    const char* content;
  };
  const Case cases[] = {{7, 4, "8.0.12"}, {4, 4, "8.0.12"}, {0, 0, "5.0.96"}, {-1, -1, ""}, {-5, -1, ""}};
  for (const Case& c : cases) {
    Model().SetSelectedIndex(组合框mysql版本, c.written);
    EXPECT_EQ(Model().SelectedIndex(组合框mysql版本), c.selected) << c.written;
    EXPECT_EQ(Model().Content(组合框mysql版本), c.content) << c.written;
  }
  EXPECT_EQ(Model().Caption(透明标签1), "");  // OnMySqlVersionSelected never ran

  Model().SetSelectedIndex(组合框Vemtra版本, 1);
  EXPECT_EQ(State().LayoutGeneration, "");  // OnGenerationSelected never ran
}

TEST_F(PropertyWrites, ListItemTextOutsideTheListIsEmpty) {
  EXPECT_EQ(Model().ListItemText(组合框mysql版本, 0), "5.0.96");
  EXPECT_EQ(Model().ListItemText(组合框mysql版本, 4), "8.0.12");
  EXPECT_EQ(Model().ListItemText(组合框mysql版本, 5), "");
  EXPECT_EQ(Model().ListItemText(组合框mysql版本, -1), "");
}

TEST_F(PropertyWrites, DisabledControlsIgnoreTheUser) {
  Model().SetDisabled(按钮3, 1);
  EXPECT_FALSE(Window().Click(按钮3));
  Model().SetDisabled(选择框Apache, 1);
  EXPECT_FALSE(Window().Click(选择框Apache));
  EXPECT_EQ(Model().Checked(选择框Apache), 0);
  Model().SetDisabled(选择框Apache, 0);
  EXPECT_TRUE(Window().Click(选择框Apache));
  EXPECT_EQ(Model().Checked(选择框Apache), 1);  // toggled before the handler ran
}

// A window of its own with one timer whose handler the test chooses.
class TimerWindow : public SimulatedMachine {
 protected:
  static void Tick() { onTick(); }
  static inline std::function<void()> onTick;

  void SetUp() override {
    SimulatedMachine::SetUp();
    onTick = [] {};
    description_ = ui::WindowDescription{"W", "W", 100, 100, {}, {{"t", ui::Kind::Timer, {}}}, {{"t", ui::Event::Tick, &Tick}}};
    model_ = std::make_unique<ui::ControlModel>(description_);
    window_ = std::make_unique<sim::HeadlessWindow>(*model_);
  }
  void TearDown() override {
    window_.reset();
    model_.reset();
    SimulatedMachine::TearDown();
  }

  ui::WindowDescription description_;
  std::unique_ptr<ui::ControlModel> model_;
  std::unique_ptr<sim::HeadlessWindow> window_;
};

TEST_F(TimerWindow, TicksOnePeriodAfterThePeriodIsWritten) {
  model_->SetPeriod("t", 1000);
  window_->RunFor(999);
  EXPECT_EQ(window_->TicksRaised(), 0);
  window_->RunFor(1);
  EXPECT_EQ(window_->TicksRaised(), 1);
  window_->RunFor(3000);
  EXPECT_EQ(window_->TicksRaised(), 4);
}

TEST_F(TimerWindow, WritingTheSamePeriodDoesNotDelayTheNextTick) {
  model_->SetPeriod("t", 1000);
  window_->RunFor(600);
  model_->SetPeriod("t", 1000);
  window_->RunFor(400);
  EXPECT_EQ(window_->TicksRaised(), 1);
}

TEST_F(TimerWindow, ANewPeriodRestartsTheCountdownAndZeroStops) {
  model_->SetPeriod("t", 1000);
  window_->RunFor(600);
  model_->SetPeriod("t", 500);
  window_->RunFor(499);
  EXPECT_EQ(window_->TicksRaised(), 0);
  window_->RunFor(1);
  EXPECT_EQ(window_->TicksRaised(), 1);
  model_->SetPeriod("t", -20);  // negative counts as 0
  EXPECT_EQ(model_->Period("t"), 0);
  window_->RunFor(5000);
  EXPECT_EQ(window_->TicksRaised(), 1);
}

TEST_F(TimerWindow, ABusyHandlerIsFollowedByOneTickNotThree) {
  int ticks = 0;
  onTick = [&] {
    if (++ticks == 1) SleepFor(3000);  // the thread is busy for three periods
  };
  model_->SetPeriod("t", 1000);
  window_->RunFor(1000);  // first tick at +1000, busy until +4000
  EXPECT_EQ(ticks, 1);
  window_->RunFor(0);  // the one tick that waited
  EXPECT_EQ(ticks, 2);
  window_->RunFor(999);
  EXPECT_EQ(ticks, 2);
  window_->RunFor(1);
  EXPECT_EQ(ticks, 3);
}

TEST_F(TimerWindow, TicksRunNestedInsideModalLoopsAndProcessEvents) {
  int ticks = 0;
  onTick = [&] { ++ticks; };
  model_->SetPeriod("t", 1000);

  sim::QueueMessageAnswer(kAnswerOk, 2500);
  EXPECT_EQ(ShowMessage("?", kButtonsOkCancel), kAnswerOk);
  EXPECT_EQ(ticks, 2);

  sim::QueueFolderChoice("C:\\", 1000);
  BrowseForFolder("prompt");
  EXPECT_EQ(ticks, 3);

  SleepFor(1500);  // busy: nothing runs
  EXPECT_EQ(ticks, 3);
  ProcessEvents();  // the tick that fell due meanwhile
  EXPECT_EQ(ticks, 4);
  ProcessEvents();
  EXPECT_EQ(ticks, 4);
}

TEST_F(TimerWindow, NoTickWhileAProgramIsWaitedFor) {
  int ticks = 0;
  onTick = [&] { ++ticks; };
  sim::RegisterProgram("C:\\slow.exe", [](const Text&) {}, 5000);
  model_->SetPeriod("t", 1000);
  EXPECT_TRUE(RunProgram("C:\\slow.exe", true, kShowHidden));
  EXPECT_EQ(ticks, 0);
  window_->RunFor(0);
  EXPECT_EQ(ticks, 1);  // the five periods that passed give one tick
}

}  // namespace
