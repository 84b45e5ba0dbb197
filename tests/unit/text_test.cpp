// The text routines, as tables of cases. Literals are GBK bytes.
#include <gtest/gtest.h>

#include "support/text.h"

namespace {

// 運 is DF 5C in GBK: its trail byte is a backslash.
const Text kYun = "運";

TEST(TextLength, CountsBytes) {
  EXPECT_EQ(TextLength(""), 0);
  EXPECT_EQ(TextLength("abc"), 3);
  EXPECT_EQ(TextLength("8.0前"), 5);
  EXPECT_EQ(kYun.size(), 2u);
  EXPECT_EQ(static_cast<unsigned char>(kYun[1]), 0x5C);
}

TEST(ConcatText, JoinsWithoutAddingAnything) {
  EXPECT_EQ(ConcatText("C:\\vemtra_pro", "\\Extensions\\", "mysql"), "C:\\vemtra_pro\\Extensions\\mysql");
  EXPECT_EQ(ConcatText(Text(), Text()), "");
  EXPECT_EQ(ConcatText("\"", "D:\\a b", "\\bin\\httpd.exe", "\"", " -k install"),
            "\"D:\\a b\\bin\\httpd.exe\" -k install");
}

struct CompareCase {
  Text a, b;
  int expected;
};

TEST(CompareText, OrdersUnsignedBytes) {
  const CompareCase cases[] = {
      {"", "", 0},
      {"abc", "abc", 0},
      {"a", "A", 1},
      {"A", "a", -1},
      {"ab", "abc", -1},
      {"abc", "ab", 1},
      {"\x7f", "\x80", -1},  // bytes compare as unsigned
      {"8.0前", "8.0后", CompareText("前", "后")},
  };
  for (const auto& c : cases) EXPECT_EQ(CompareText(c.a, c.b), c.expected) << c.a << " vs " << c.b;
  EXPECT_NE(CompareText("8.0前", "8.0后"), 0);
}

struct FindCase {
  Text text, needle;
  int32_t start;
  bool ignoreCase;
  int32_t expected;
};

TEST(FindText, PositionsStartsAndCase) {
  const FindCase cases[] = {
      {"abcabc", "c", 0, false, 3},
      {"abcabc", "c", 4, false, 6},
      {"abcabc", "c", 7, false, -1},
      {"abcabc", "c", -5, false, 3},
      {"abcabc", "c", 2147483647, false, -1},
      {"abc", "", 0, false, 1},
      {"abc", "", 1, false, 1},
      {"abc", "", 2, false, 1},
      {"abc", "", 3, false, 1},
      {"abc", "", 4, false, -1},
      {"", "", 0, false, -1},
      {"", "a", 0, false, -1},
      {"ab", "abc", 0, false, -1},
      {"D:\\vemtra\\Extensions\\mysql5.7.26", "\\MySQL", 0, false, -1},
      {"D:\\vemtra\\Extensions\\mysql5.7.26", "\\MySQL", 0, true, 21},
      {"D:\\vemtra\\Extensions\\MySQL5.7.26", "\\MySQL", 0, false, 21},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindText(c.text, c.needle, c.start, c.ignoreCase), c.expected)
        << c.text << " / " << c.needle << " from " << c.start;
  }
}

TEST(FindText, NeverMatchesInsideADoubleByteCharacter) {
  // The trail byte of 運 is a backslash; only the real separators count.
  Text path = "D:\\x" + kYun + "MySQL5.7.26";
  EXPECT_EQ(FindText(path, "\\MySQL"), -1);
  EXPECT_EQ(FindText(path, "\\MySQL", 0, true), -1);
  Text withSeparator = "D:\\x" + kYun + "\\MySQL5.7.26";
  EXPECT_EQ(FindText(withSeparator, "\\MySQL"), 7);
  EXPECT_EQ(FindText(withSeparator, "\\"), 3);
  // A one-byte needle equal to a trail byte is found only as a byte of its own.
  EXPECT_EQ(FindText(kYun + kYun + "\\", "\\"), 5);
  // Ignoring case never folds the trail byte of a character: 0x81 0x61 is
  // not 0x81 0x41.
  EXPECT_EQ(FindText("x\x81\x61", "\x81\x41", 0, true), -1);
  EXPECT_EQ(FindText("x\x81\x61" "a", "\x81\x61" "A", 0, true), 2);
}

TEST(FindText, LeadByteAsTheLastByte) {
  EXPECT_EQ(FindText("ab\x81", "\x81"), 3);
  EXPECT_EQ(FindText("ab\x81", "b\x81"), 2);
  EXPECT_EQ(FindText("\x81", "\x81\x40"), -1);
}

struct MidCase {
  Text text;
  int32_t start, length;
  Text expected;
};

TEST(MidText, BytesFromAPosition) {
  const MidCase cases[] = {
      {"abcdef", 3, 2, "cd"},   {"abcdef", 5, 10, "ef"},  {"abcdef", 0, 2, ""},
      {"abcdef", 7, 2, ""},     {"abcdef", 3, 0, ""},     {"abcdef", 3, -1, ""},
      {"abcdef", 1, 6, "abcdef"}, {"abcdef", 6, 1, "f"}, {"", 1, 1, ""},
      {"abcdef", -2147483647 - 1, 5, ""}, {"abcdef", 2, 2147483647, "bcdef"},
      {"a" + kYun, 2, 1, "\xDF"},  // may cut a character in two
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MidText(c.text, c.start, c.length), c.expected) << c.text << " " << c.start << " " << c.length;
  }
}

struct ReplaceCase {
  Text text, find, replacement, expected;
};

TEST(ReplaceText, EveryOccurrenceAtCharacterStarts) {
  const ReplaceCase cases[] = {
      {"a#引号b#引号", "#引号", "\"", "a\"b\""},
      {"aaa", "a", "aa", "aaaaaa"},  // scanning goes on after the replacement
      {"aaaa", "aa", "b", "bb"},
      {"abc", "", "x", "abc"},
      {"", "a", "x", ""},
      {"abc", "B", "x", "abc"},  // letter case counts
      {kYun + "\\", "\\", "/", kYun + "/"},
      {"x\x81", "\x81", "y", "xy"},  // a lead byte at the end stands alone
  };
  for (const auto& c : cases) EXPECT_EQ(ReplaceText(c.text, c.find, c.replacement), c.expected) << c.text;
}

TEST(ToUpper, LettersOnlyOutsideDoubleByteCharacters) {
  EXPECT_EQ(ToUpper("localsystem"), "LOCALSYSTEM");
  EXPECT_EQ(ToUpper("NT AUTHORITY\\LocalService"), "NT AUTHORITY\\LOCALSERVICE");
  EXPECT_EQ(ToUpper("\x81\x61" "a"), "\x81\x61" "A");
  EXPECT_EQ(ToUpper("a\x81"), "A\x81");
  EXPECT_EQ(ToUpper(""), "");
}

struct BetweenCase {
  Text text, startMarker, endMarker;
  Text expected;
};

TEST(TextBetween, MarkersAndQuotes) {
  const BetweenCase cases[] = {
      {"D:\\x\\Extensions\\MySQL5.7.26", "", "\\MySQL", "D:\\x\\Extensions"},
      {"D:\\x\\Extensions\\MySQL5.7.26", "Extensions\\", "", ""},
      {"D:\\MySQL\\Extensions\\MySQL5.7.26", "", "\\MySQL", "D:"},
      {"\\MySQL5.7.26", "", "\\MySQL", ""},
      {"", "", "\\MySQL", ""},
      {"D:\\x\\mysql5.7.26", "", "\\MySQL", ""},
      {"say \"hello\" and \"bye\"", "#引号", "#引号", "hello"},
      {"<a><a>", "<a>", "<a>", ""},  // end marker right after the start marker
      {"[x]", "[", "]", "x"},
      {"[x", "[", "]", ""},
      {"x]", "[", "]", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextBetween(c.text, c.startMarker, c.endMarker), c.expected)
        << c.text << " [" << c.startMarker << "] [" << c.endMarker << "]";
  }
  EXPECT_EQ(TextBetween("D:\\x\\Extensions\\mysql5.7.26", "", "\\MySQL", 0, true), "D:\\x\\Extensions");
}

TEST(TextBetween, SeparatorInsideACharacterIsNotAMarker) {
  Text path = "D:\\x" + kYun + "\\MySQL5.7.26";
  EXPECT_EQ(TextBetween(path, "", "\\MySQL"), "D:\\x" + kYun);
  EXPECT_EQ(TextBetween("D:\\x" + kYun + "MySQL5.7.26", "", "\\MySQL"), "");
}

}  // namespace
