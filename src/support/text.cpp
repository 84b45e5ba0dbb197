#include "support/text.h"

#include <algorithm>

namespace {

bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// Bytes taken by the character that begins at `i`: 2 for a lead byte that
// has a byte after it, else 1.
size_t CharWidth(std::string_view s, size_t i) {
  return (IsLeadByte(s[i]) && i + 1 < s.size()) ? 2 : 1;
}

char FoldCase(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

// Whether `needle` matches `text` at `at`, both taken to begin a character.
// Ignoring case folds single-byte letters only, never a byte that belongs
// to a double-byte character.
bool MatchesAt(std::string_view text, size_t at, std::string_view needle, bool ignoreCase) {
  if (!ignoreCase) return text.compare(at, needle.size(), needle) == 0;
  size_t j = 0;
  while (j < needle.size()) {
    size_t width = CharWidth(needle, j);
    if (width == 2) {
      if (text[at + j] != needle[j] || text[at + j + 1] != needle[j + 1]) return false;
    } else if (FoldCase(text[at + j]) != FoldCase(needle[j])) {
      return false;
    }
    j += width;
  }
  return true;
}

}  // namespace

int32_t TextLength(std::string_view text) { return static_cast<int32_t>(text.size()); }

Text text_detail::Concat(std::initializer_list<std::string_view> parts) {
  size_t total = 0;
  for (auto part : parts) total += part.size();
  Text joined;
  joined.reserve(total);
  for (auto part : parts) joined.append(part);
  return joined;
}

int CompareText(std::string_view a, std::string_view b) {
  int order = a.compare(b);  // char_traits<char>::compare orders bytes as unsigned
  return (order > 0) - (order < 0);
}

int32_t FindText(std::string_view text, std::string_view needle, int32_t start, bool ignoreCase) {
  size_t from = start >= 1 ? static_cast<size_t>(start) - 1 : 0;
  if (from >= text.size()) return -1;
  if (needle.empty()) return 1;
  for (size_t i = from; i + needle.size() <= text.size(); i += CharWidth(text, i)) {
    if (MatchesAt(text, i, needle, ignoreCase)) return static_cast<int32_t>(i + 1);
  }
  return -1;
}

Text MidText(std::string_view text, int32_t start, int32_t length) {
  if (start < 1 || length <= 0 || static_cast<size_t>(start) > text.size()) return Text();
  size_t from = static_cast<size_t>(start) - 1;
  size_t count = std::min(static_cast<size_t>(length), text.size() - from);
  return Text(text.substr(from, count));
}

Text ReplaceText(std::string_view text, std::string_view find, std::string_view replacement) {
  if (text.empty() || find.empty()) return Text(text);
  Text result;
  result.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (i + find.size() <= text.size() && text.compare(i, find.size(), find) == 0) {
      result.append(replacement);
      i += find.size();
    } else {
      size_t width = CharWidth(text, i);
      result.append(text.substr(i, width));
      i += width;
    }
  }
  return result;
}

Text ToUpper(std::string_view text) {
  Text result(text);
  for (size_t i = 0; i < result.size(); i += CharWidth(result, i)) {
    if (!IsLeadByte(result[i])) result[i] = FoldCase(result[i]);
  }
  return result;
}

Text TextBetween(std::string_view text, std::string_view startMarker, std::string_view endMarker,
                 int32_t start, bool ignoreCase) {
  static constexpr std::string_view kQuoteWord = "#引号";
  Text opening = ReplaceText(startMarker, kQuoteWord, "\"");
  Text closing = ReplaceText(endMarker, kQuoteWord, "\"");
  int32_t p = FindText(text, opening, start, ignoreCase);
  if (p == -1) return Text();
  p += TextLength(opening);
  int32_t q = FindText(text, closing, p, ignoreCase);
  if (q == -1) return Text();
  return MidText(text, p, q - p);
}
