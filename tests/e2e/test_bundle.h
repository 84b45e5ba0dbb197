// A bundle tree of the fixture's fake servers for one scenario: laid out
// when made (over whatever an earlier run left), removed when it goes,
// after the bundle's services, which run from it.
#pragma once

#include <string>
#include <vector>

#include "bundle/bundle_tree.h"
#include "bundle/fault_switches.h"
#include "bundle/run_log.h"

namespace e2e {

class TestBundle {
 public:
  TestBundle(std::string root, bundle::BundleContents contents);
  ~TestBundle();
  TestBundle(const TestBundle&) = delete;
  TestBundle& operator=(const TestBundle&) = delete;

  bool Ok() const { return ok_; }
  const std::string& Root() const { return root_; }
  bundle::Generation Generation() const { return contents_.generation; }

  std::string ApacheDir() const { return bundle::ApacheDirOf(root_, contents_.generation); }
  std::string MySqlDir(const std::string& version = bundle::kDefaultMySqlVersion) const {
    return bundle::MySqlDirOf(root_, contents_.generation, version);
  }
  std::string Httpd() const { return bundle::HttpdPathIn(ApacheDir()); }
  std::string Mysqld() const { return bundle::MysqldPathIn(MySqlDir()); }

  std::vector<bundle::RunRecord> Runs(const std::string& program) const;
  bool SetFaults(const std::string& program, const bundle::FaultSwitches& switches) const;

 private:
  std::string root_;
  bundle::BundleContents contents_;
  bool ok_ = false;
};

// The registered binary path the fixture's installer writes for a program.
std::string ExpectedBinaryPath(const std::string& program, const char* serviceArguments);

}  // namespace e2e
