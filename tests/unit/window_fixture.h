// A fresh simulated machine with the main window open on a headless view:
// drives C:, D: and E: are empty host folders, no service exists, the clock
// is at its boot value and the program state holds its initial values.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

#include "app/controls.h"
#include "app/main_window.h"
#include "app/program_state.h"
#include "platform/sim/headless_window.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_scm.h"
#include "platform/sim/sim_system.h"

class SimulatedMachine : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::ResetSystem();
    sim::ResetServiceManager();
    ResetProgramState();
    root_ = std::filesystem::temp_directory_path() /
            ("vemtra-unit-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(root_);
    for (char drive : {'C', 'D', 'E'}) {
      std::filesystem::create_directories(root_ / std::string(1, drive));
      sim::MapDrive(drive, root_ / std::string(1, drive));
    }
  }

  void TearDown() override {
    std::filesystem::remove_all(root_);
    sim::ResetServiceManager();
    sim::ResetSystem();
    ResetProgramState();
  }

  std::filesystem::path root_;
};

class MainWindowTest : public SimulatedMachine {
 protected:
  void SetUp() override {
    SimulatedMachine::SetUp();
    State().Services = std::make_unique<ServiceController>();
    model_ = std::make_unique<ui::ControlModel>(MainWindowTemplate());
    AttachMainWindow(model_.get());
    window_ = std::make_unique<sim::HeadlessWindow>(*model_);
  }

  void TearDown() override {
    window_.reset();
    AttachMainWindow(nullptr);
    model_.reset();
    SimulatedMachine::TearDown();
  }

  ui::ControlModel& Model() { return *model_; }
  sim::HeadlessWindow& Window() { return *window_; }

  std::unique_ptr<ui::ControlModel> model_;
  std::unique_ptr<sim::HeadlessWindow> window_;
};
