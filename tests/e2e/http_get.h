// A plain HTTP/1.1 GET of an "http://host[:port]/path" address, for checking
// that the page the tool opened is served.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

struct HttpAnswer {
  int status = 0;      // 0 when no answer came
  std::string body;
  std::string error;   // why no answer came
};

HttpAnswer HttpGet(const std::string& address, DWORD timeoutMs);

}  // namespace e2e
