#include "platform/sim/sim_files.h"

#include <iconv.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <stdexcept>
#include <vector>

namespace sim {

namespace fs = std::filesystem;

namespace {

std::map<char, fs::path> g_drives;
char g_currentDrive = 'C';

std::string Convert(const std::string& input, const char* from, const char* to) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  std::string output(input.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  char* out = output.data();
  size_t outLeft = output.size();
  size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1)) throw std::runtime_error("text is not valid in its code page");
  output.resize(output.size() - outLeft);
  return output;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

char DriveLetter(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

struct ParsedPath {
  char drive;
  std::vector<Text> components;
};

// Splits a Windows path into its drive and components, stepping over
// double-byte characters so that a trail byte of 0x5C is not a separator.
std::optional<ParsedPath> Parse(const Text& path) {
  if (path.empty()) return std::nullopt;
  ParsedPath parsed{g_currentDrive, {}};
  size_t i = 0;
  if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
    parsed.drive = DriveLetter(path[0]);
    i = 2;
  }
  Text component;
  auto finish = [&] {
    if (component == "..") {
      if (!parsed.components.empty()) parsed.components.pop_back();
    } else if (!component.empty() && component != ".") {
      parsed.components.push_back(component);
    }
    component.clear();
  };
  while (i < path.size()) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (c >= 0x80 && i + 1 < path.size()) {
      component.append(path, i, 2);
      i += 2;
    } else if (IsSeparator(path[i])) {
      finish();
      ++i;
    } else {
      component += path[i++];
    }
  }
  finish();
  return parsed;
}

// Letter case folded for the single-byte letters of a GBK name.
Text FoldName(const Text& name) {
  Text folded = name;
  for (size_t i = 0; i < folded.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(folded[i]);
    if (c >= 0x80) {
      ++i;
    } else {
      folded[i] = static_cast<char>(std::toupper(c));
    }
  }
  return folded;
}

std::optional<fs::path> FindEntry(const fs::path& folder, const Text& gbkName) {
  std::error_code ec;
  fs::path exact = folder / GbkToUtf8(gbkName);
  if (fs::exists(exact, ec)) return exact;
  Text wanted = FoldName(gbkName);
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    Text name;
    try {
      name = Utf8ToGbk(entry.path().filename().string());
    } catch (const std::runtime_error&) {
      continue;
    }
    if (FoldName(name) == wanted) return entry.path();
  }
  return std::nullopt;
}

Text Normalised(const Text& path) {
  Text result;
  bool afterSeparator = false;  // not result.back(): a trail byte may be 0x5C
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    bool separator = IsSeparator(path[i]);
    if (c >= 0x80 && i + 1 < path.size()) {
      result.append(path, i, 2);
      ++i;
    } else if (separator) {
      if (!afterSeparator) result += '\\';
    } else {
      result += path[i];
    }
    afterSeparator = separator;
  }
  return FoldName(result);
}

}  // namespace

std::string GbkToUtf8(const Text& gbk) { return Convert(gbk, "GBK", "UTF-8"); }
Text Utf8ToGbk(const std::string& utf8) { return Convert(utf8, "UTF-8", "GBK"); }

void MapDrive(char letter, const fs::path& hostFolder) { g_drives[DriveLetter(letter)] = hostFolder; }
void UnmapAllDrives() {
  g_drives.clear();
  g_currentDrive = 'C';
}
void SetCurrentDrive(char letter) { g_currentDrive = DriveLetter(letter); }

std::optional<fs::path> FindHostPath(const Text& windowsPath) {
  std::optional<ParsedPath> parsed;
  try {
    parsed = Parse(windowsPath);
  } catch (const std::runtime_error&) {
    return std::nullopt;
  }
  if (!parsed) return std::nullopt;
  auto drive = g_drives.find(parsed->drive);
  if (drive == g_drives.end()) return std::nullopt;
  fs::path current = drive->second;
  for (const Text& component : parsed->components) {
    std::optional<fs::path> next;
    try {
      next = FindEntry(current, component);
    } catch (const std::runtime_error&) {
      return std::nullopt;  // bytes that are not GBK name nothing on disk
    }
    if (!next) return std::nullopt;
    current = *next;
  }
  return current;
}

void CreateDirectories(const Text& windowsPath) {
  std::optional<ParsedPath> parsed = Parse(windowsPath);
  if (!parsed || !g_drives.count(parsed->drive)) throw std::runtime_error("path is not on a mapped drive");
  fs::path current = g_drives[parsed->drive];
  for (const Text& component : parsed->components) {
    std::optional<fs::path> next = FindEntry(current, component);
    current = next ? *next : current / GbkToUtf8(component);
    fs::create_directories(current);
  }
}

void CreateFile(const Text& windowsPath) {
  std::optional<ParsedPath> parsed = Parse(windowsPath);
  if (!parsed || parsed->components.empty()) throw std::runtime_error("not a file path");
  Text name = parsed->components.back();
  Text folder(1, parsed->drive);
  folder += ":";
  for (size_t i = 0; i + 1 < parsed->components.size(); ++i) folder += "\\" + parsed->components[i];
  std::optional<fs::path> hostFolder = FindHostPath(folder + "\\");
  if (!hostFolder) throw std::runtime_error("folder of the file does not exist");
  std::optional<fs::path> existing = FindEntry(*hostFolder, name);  // in any letter case
  std::ofstream(existing ? *existing : *hostFolder / GbkToUtf8(name));
}

bool SamePath(const Text& a, const Text& b) { return Normalised(a) == Normalised(b); }

}  // namespace sim
