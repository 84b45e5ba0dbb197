#include "app/controls.h"
#include "app/main_window.h"
#include "location/bundle_detection.h"
#include "location/version_selection.h"
#include "services/admin_launcher.h"
#include "services/service_setup.h"
#include "services/status_monitor.h"

namespace {

using ui::Event;
using ui::Kind;
using namespace controls;

constexpr ui::Rgb kWhite{255, 255, 255};
constexpr ui::Rgb kRed{255, 0, 0};
constexpr ui::Rgb kBlack{0, 0, 0};
constexpr int kDropDownHeight = 160;

ui::WindowDescription BuildTemplate() {
  ui::WindowDescription description{kMainWindowName, "Vemtra自启动器", 514, 316, {0, 136, 255}, {}, {}};
  // Stacking order, topmost first.
  description.controls = {
      {按钮5, Kind::Button, {304, 192, 102, 32}, "启动phpMyAdmin"},
      {组合框Vemtra版本, Kind::ComboBox, {412, 77, 60, 20}, "", {"8.0后", "8.0前"}, 0, kBlack, kDropDownHeight},
      {按钮7, Kind::Button, {235, 192, 50, 32}, "卸载"},
      {选择框MySQL, Kind::CheckBox, {319, 40, 80, 24}, "MySQL状态", {}, -1, kBlack},
      {选择框Apache, Kind::CheckBox, {174, 40, 80, 24}, "Apache状态", {}, -1, kBlack},
      {时钟1, Kind::Timer, {454, 36, 26, 26}},
      {组合框apche版本, Kind::ComboBox, {412, 117, 60, 20}, "", {"2.4.39"}, 0, kBlack, kDropDownHeight},
      {组合框mysql版本, Kind::ComboBox, {412, 157, 60, 20}, "",
       {"5.0.96", "5.1.60", "5.5.29", "5.7.26", "8.0.12"}, 3, kBlack, kDropDownHeight},
      {透明标签4, Kind::TransLabel, {35, 151, 70, 32}, "MySQL 目录", {}, -1, kWhite},
      {透明标签3, Kind::TransLabel, {35, 110, 70, 32}, "Apache目录", {}, -1, kWhite},
      {透明标签2, Kind::TransLabel, {35, 70, 70, 32}, "Vemtra  目录", {}, -1, kWhite},
      {按钮4, Kind::Button, {105, 71, 50, 32}, "浏览"},
      {标签3, Kind::Label, {165, 71, 240, 32}},
      {透明标签1, Kind::TransLabel, {98, 237, 312, 24}, "", {}, -1, kRed},
      {标签2, Kind::Label, {165, 151, 240, 32}},
      {标签1, Kind::Label, {165, 111, 240, 32}},
      {按钮3, Kind::Button, {164, 192, 50, 32}, "自启"},
      {按钮2, Kind::Button, {105, 151, 50, 32}, "浏览"},
      {按钮1, Kind::Button, {105, 111, 50, 32}, "浏览"},
  };
  description.bindings = {
      {kMainWindowName, Event::Created, OnWindowCreated},
      {按钮4, Event::Clicked, OnBrowseRootClicked},
      {按钮1, Event::Clicked, OnBrowseApacheClicked},
      {按钮2, Event::Clicked, OnBrowseMySqlClicked},
      {组合框Vemtra版本, Event::ListItemSelected, OnGenerationSelected},
      {组合框mysql版本, Event::ListItemSelected, OnMySqlVersionSelected},
      {组合框mysql版本, Event::ListWillPopUp, OnMySqlListWillPopUp},
      {按钮3, Event::Clicked, OnAutoStartClicked},
      {按钮7, Event::Clicked, OnUninstallClicked},
      {选择框Apache, Event::Clicked, OnApacheToggled},
      {选择框MySQL, Event::Clicked, OnMySqlToggled},
      {时钟1, Event::Tick, OnStatusTimer},
      {按钮5, Event::Clicked, OnOpenAdminClicked},
  };
  return description;
}

}  // namespace

const ui::WindowDescription& MainWindowTemplate() {
  static const ui::WindowDescription description = BuildTemplate();
  return description;
}
