// libFuzzer target for the text routines: every result is checked against a
// plain model written for clarity, not speed, straight from the rules:
//  - a character is one byte below 0x80, or a byte of 0x80 or above together
//    with the byte after it (a last lone lead byte is one character);
//  - searches try a match only where a character begins, counting
//    characters from where the scan starts;
//  - positions are 1-based bytes; out-of-range positions give nothing.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "support/text.h"

namespace {

// "#引号" in GBK: the marker word that stands for a double quote.
const std::string kQuoteWord = "#\xD2\xFD\xBA\xC5";

bool IsLead(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// The byte offsets where characters begin when `s` is read from `from` on.
std::vector<size_t> CharacterStarts(const std::string& s, size_t from) {
  std::vector<size_t> starts;
  size_t i = from;
  while (i < s.size()) {
    starts.push_back(i);
    i += (IsLead(s[i]) && i + 1 < s.size()) ? 2 : 1;
  }
  return starts;
}

std::string ModelUpper(const std::string& s) {
  std::string result = s;
  for (size_t i : CharacterStarts(s, 0)) {
    if (result[i] >= 'a' && result[i] <= 'z') result[i] = static_cast<char>(result[i] - 'a' + 'A');
  }
  return result;
}

int64_t ModelFind(const std::string& text, const std::string& needle, int64_t start, bool ignoreCase) {
  int64_t from = start >= 1 ? start - 1 : 0;
  if (from >= static_cast<int64_t>(text.size())) return -1;
  if (needle.empty()) return 1;
  // Folding case before the scan is the same as folding per comparison: a
  // fold never turns a byte below 0x80 into one above, so both sides keep
  // their characters' shape.
  std::string rest = text.substr(static_cast<size_t>(from));
  std::string wanted = needle;
  if (ignoreCase) {
    rest = ModelUpper(rest);
    wanted = ModelUpper(wanted);
  }
  for (size_t i : CharacterStarts(rest, 0)) {
    if (i + wanted.size() > rest.size()) break;
    if (rest.compare(i, wanted.size(), wanted) == 0) return from + static_cast<int64_t>(i) + 1;
  }
  return -1;
}

std::string ModelMid(const std::string& text, int64_t start, int64_t length) {
  if (start < 1 || length <= 0) return std::string();
  std::string result;
  for (int64_t position = 1; position <= static_cast<int64_t>(text.size()); ++position) {
    if (position >= start && position < start + length) result += text[static_cast<size_t>(position - 1)];
  }
  return result;
}

std::string ModelReplace(const std::string& text, const std::string& find, const std::string& replacement) {
  if (text.empty() || find.empty()) return text;
  std::string result;
  std::string rest = text;
  while (!rest.empty()) {
    if (rest.compare(0, find.size(), find) == 0) {
      result += replacement;
      rest.erase(0, find.size());
    } else {
      size_t width = (IsLead(rest[0]) && rest.size() > 1) ? 2 : 1;
      result += rest.substr(0, width);
      rest.erase(0, width);
    }
  }
  return result;
}

std::string ModelBetween(const std::string& text, const std::string& startMarker, const std::string& endMarker,
                         int64_t start, bool ignoreCase) {
  std::string opening = ModelReplace(startMarker, kQuoteWord, "\"");
  std::string closing = ModelReplace(endMarker, kQuoteWord, "\"");
  int64_t p = ModelFind(text, opening, start, ignoreCase);
  if (p == -1) return std::string();
  p += static_cast<int64_t>(opening.size());
  int64_t q = ModelFind(text, closing, p, ignoreCase);
  if (q == -1) return std::string();
  return ModelMid(text, p, q - p);
}

int ModelCompare(const std::string& a, const std::string& b) {
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::string Printable(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    char hex[8];
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += static_cast<char>(c);
    } else {
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

struct Inputs {
  std::string text, needle, replacement, startMarker, endMarker;
  int32_t start, length;
  bool ignoreCase;
};

[[noreturn]] void Fail(const char* what, const Inputs& in, const std::string& got, const std::string& expected) {
  std::fprintf(stderr,
               "%s differs from the model\n  text=\"%s\"\n  needle=\"%s\" replacement=\"%s\"\n"
               "  markers=\"%s\" \"%s\"\n  start=%d length=%d ignoreCase=%d\n  got=\"%s\"\n  expected=\"%s\"\n",
               what, Printable(in.text).c_str(), Printable(in.needle).c_str(), Printable(in.replacement).c_str(),
               Printable(in.startMarker).c_str(), Printable(in.endMarker).c_str(), in.start, in.length,
               in.ignoreCase, Printable(got).c_str(), Printable(expected).c_str());
  std::abort();
}

void Check(const char* what, const Inputs& in, const std::string& got, const std::string& expected) {
  if (got != expected) Fail(what, in, got, expected);
}

void Check(const char* what, const Inputs& in, int64_t got, int64_t expected) {
  if (got != expected) Fail(what, in, std::to_string(got), std::to_string(expected));
}

// A position: mostly small, sometimes an extreme of the integer range.
int32_t ConsumePosition(FuzzedDataProvider& data) {
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  switch (data.ConsumeIntegralInRange<int>(0, 7)) {
    case 0: return kMin;
    case 1: return kMax;
    case 2: return kMax - 1;
    case 3: return data.ConsumeIntegral<int32_t>();
    default: return data.ConsumeIntegralInRange<int32_t>(-3, 40);
  }
}

// A marker built from fuzzed bytes, sometimes with the quote word in it.
std::string ConsumeMarker(FuzzedDataProvider& data, const std::string& base) {
  switch (data.ConsumeIntegralInRange<int>(0, 4)) {
    case 1: return kQuoteWord;
    case 2: return base + kQuoteWord;
    case 3: return kQuoteWord + base;
    default: return base;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  FuzzedDataProvider data(bytes, size);
  Inputs in;
  in.start = ConsumePosition(data);
  in.length = ConsumePosition(data);
  in.ignoreCase = data.ConsumeBool();
  in.needle = data.ConsumeRandomLengthString(24);
  in.replacement = data.ConsumeRandomLengthString(24);
  in.startMarker = ConsumeMarker(data, in.needle);
  in.endMarker = ConsumeMarker(data, in.replacement);
  in.text = data.ConsumeRemainingBytesAsString();

  Check("FindText", in, FindText(in.text, in.needle, in.start, in.ignoreCase),
        ModelFind(in.text, in.needle, in.start, in.ignoreCase));
  Check("FindText from the start", in, FindText(in.text, in.replacement), ModelFind(in.text, in.replacement, 0, false));
  Check("MidText", in, MidText(in.text, in.start, in.length), ModelMid(in.text, in.start, in.length));
  Check("ReplaceText", in, ReplaceText(in.text, in.needle, in.replacement),
        ModelReplace(in.text, in.needle, in.replacement));
  Check("ReplaceText by itself", in, ReplaceText(in.text, in.needle, in.needle), in.text);
  Check("ToUpper", in, ToUpper(in.text), ModelUpper(in.text));
  Check("TextBetween", in, TextBetween(in.text, in.startMarker, in.endMarker, in.start, in.ignoreCase),
        ModelBetween(in.text, in.startMarker, in.endMarker, in.start, in.ignoreCase));
  Check("TextLength", in, TextLength(in.text), static_cast<int64_t>(in.text.size()));
  Check("ConcatText", in, ConcatText(in.needle, in.text, in.replacement), in.needle + in.text + in.replacement);
  Check("CompareText", in, CompareText(in.text, in.needle), ModelCompare(in.text, in.needle));
  return 0;
}
