#include "test_bundle.h"

#include <gtest/gtest.h>

#include "bundle/fixture_paths.h"
#include "e2e_env.h"
#include "service_probe.h"

namespace e2e {

TestBundle::TestBundle(std::string root, bundle::BundleContents contents) : root_(std::move(root)), contents_(std::move(contents)) {
  bundle::RemoveTree(root_);
  std::string error;
  ok_ = bundle::LayOutBundle(root_, contents_, Env().bundleProgramDir, error);
  if (!ok_) ADD_FAILURE() << "cannot lay out the bundle at " << root_ << ": " << error;
}

TestBundle::~TestBundle() {
  // The fake servers run from the tree.
  RemoveBundleServices();
  if (!bundle::RemoveTree(root_)) ADD_FAILURE() << "cannot remove the bundle at " << root_;
}

std::vector<bundle::RunRecord> TestBundle::Runs(const std::string& program) const {
  return bundle::ReadRuns(bundle::RunLogPathOf(program));
}

bool TestBundle::SetFaults(const std::string& program, const bundle::FaultSwitches& switches) const {
  return bundle::WriteFaultSwitches(bundle::FaultsPathOf(program), switches);
}

std::string ExpectedBinaryPath(const std::string& program, const char* serviceArguments) {
  return "\"" + program + "\" " + serviceArguments;
}

}  // namespace e2e
