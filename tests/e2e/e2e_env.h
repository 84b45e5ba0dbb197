// What every scenario needs to know: where the tool, the bundle fixture's
// programs and the address recorder are. Set by main() from the command
// line (host or Windows paths; Windows paths are kept).
#pragma once

#include <string>

namespace e2e {

struct Environment {
  std::string bundleProgramDir;  // httpd.exe, mysqld.exe
  std::string urlRecorder;       // url_recorder.exe
};

const Environment& Env();

}  // namespace e2e
