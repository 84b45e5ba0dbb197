// vemtra-svc.exe: the entry point of the service command line. The command
// line writes ANSI text; on a console whose output code page differs from
// the ANSI code page the text is converted to the console's, and when the
// output goes to a file or a pipe the ANSI bytes pass unchanged.
#include <windows.h>

#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "platform/win32/dll_search.h"
#include "svccli/svc_cli.h"

namespace {

// ANSI text re-encoded in another code page.
std::string ToCodePage(const std::string& ansi, UINT codePage) {
  int wideLength = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), wideLength);
  int length = WideCharToMultiByte(codePage, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  std::string converted(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), wideLength, converted.data(), length, nullptr, nullptr);
  return converted;
}

// Writes to a standard handle a line at a time, so that a double-byte
// character is never split between two writes.
class StandardOutput : public std::streambuf {
 public:
  explicit StandardOutput(DWORD which) : handle_(GetStdHandle(which)) {
    DWORD mode = 0;
    isConsole_ = GetConsoleMode(handle_, &mode) != FALSE;
  }
  StandardOutput(const StandardOutput&) = delete;
  StandardOutput& operator=(const StandardOutput&) = delete;
  ~StandardOutput() override { WriteOut(pending_.size()); }

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char byte = traits_type::to_char_type(c);
    xsputn(&byte, 1);
    return c;
  }

  std::streamsize xsputn(const char* bytes, std::streamsize count) override {
    pending_.append(bytes, static_cast<size_t>(count));
    size_t lineEnd = pending_.rfind('\n');
    if (lineEnd != std::string::npos) WriteOut(lineEnd + 1);
    return count;
  }

  int sync() override {
    WriteOut(pending_.size());
    return 0;
  }

 private:
  void WriteOut(size_t length) {
    if (length == 0) return;
    std::string bytes = pending_.substr(0, length);
    pending_.erase(0, length);
    UINT consolePage = isConsole_ ? GetConsoleOutputCP() : 0;
    if (consolePage != 0 && consolePage != GetACP()) bytes = ToCodePage(bytes, consolePage);
    DWORD written = 0;
    WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }

  HANDLE handle_;
  bool isConsole_ = false;
  std::string pending_;
};

}  // namespace

int main(int argc, char** argv) {
  win32::LoadDllsFromSystemDirectoryOnly();
  std::vector<Text> args(argv + 1, argv + argc);
  StandardOutput outBuffer(STD_OUTPUT_HANDLE);
  StandardOutput errBuffer(STD_ERROR_HANDLE);
  std::ostream out(&outBuffer);
  std::ostream err(&errBuffer);
  int code = RunServiceCli(args, out, err);
  out.flush();
  err.flush();
  return code;
}
