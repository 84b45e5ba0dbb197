// Text routines on byte strings in the system's ANSI code page.
//
// A text is a std::string of ANSI bytes; the empty string also stands for
// the missing text. Lengths count bytes and positions are 1-based. The
// code page is a double-byte one: a byte of 0x80 or above begins a
// two-byte character together with the byte after it. FindText,
// ReplaceText and ToUpper step over such a pair as one character;
// TextLength, ConcatText, CompareText and MidText work on single bytes.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

using Text = std::string;

int32_t TextLength(std::string_view text);

namespace text_detail {
Text Concat(std::initializer_list<std::string_view> parts);
}

// The parts one after another, nothing added between them.
template <class... Parts>
Text ConcatText(const Parts&... parts) {
  return text_detail::Concat({std::string_view(parts)...});
}

// -1, 0 or 1, comparing unsigned bytes; a proper prefix is the smaller.
int CompareText(std::string_view a, std::string_view b);

// 1-based position of the first match at or after `start` (below 1 counts
// as 1), or -1. Matches begin only where a character begins.
int32_t FindText(std::string_view text, std::string_view needle,
                 int32_t start = 0, bool ignoreCase = false);

// Up to `length` bytes from 1-based position `start`.
Text MidText(std::string_view text, int32_t start, int32_t length);

// Every occurrence of `find` replaced, scanning left to right.
Text ReplaceText(std::string_view text, std::string_view find,
                 std::string_view replacement);

// ASCII letters upper-cased; double-byte characters copied unchanged.
Text ToUpper(std::string_view text);

// The text between the first start marker at or after `start` and the next
// end marker after it. "#引号" in a marker stands for a double quote.
Text TextBetween(std::string_view text, std::string_view startMarker,
                 std::string_view endMarker, int32_t start = 0,
                 bool ignoreCase = false);
