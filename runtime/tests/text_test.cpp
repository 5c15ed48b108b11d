#include "runtime/text.h"

#include <gtest/gtest.h>

namespace runtime {
namespace {

struct CutCase {
  const char* text;
  int32_t n;
  const char* left;
  const char* right;
};

// "汉化" is four GBK bytes: BA BA BB AF.
const CutCase kCuts[] = {
    {"abc", 2, "ab", "bc"},
    {"abc", 3, "abc", "abc"},
    {"abc", 10, "abc", "abc"},       // n larger than the text: the whole text
    {"abc", 0, "", ""},              // n 0: empty
    {"abc", -4, "", ""},             // n negative: empty
    {"", 3, "", ""},
    {"\xBA\xBA\xBB\xAF", 1, "\xBA", "\xAF"},  // a cut inside a two-byte character keeps one byte
    {"\xBA\xBA\xBB\xAF", 3, "\xBA\xBA\xBB", "\xBA\xBB\xAF"},
};

TEST(TextCuts, LeftAndRightCountBytes) {
  for (const CutCase& c : kCuts) {
    SCOPED_TRACE(testing::Message() << "text=" << c.text << " n=" << c.n);
    EXPECT_EQ(leftText(c.text, c.n), c.left);
    EXPECT_EQ(rightText(c.text, c.n), c.right);
  }
}

TEST(TextCuts, LengthStopsAtFirstZeroByte) {
  EXPECT_EQ(textLength(Text("ab\0cd", 5)), 2);
  EXPECT_EQ(textLength(""), 0);
  EXPECT_EQ(textLength("\xBA\xBA"), 2);
  EXPECT_EQ(leftText(Text("ab\0cd", 5), 4), "ab");
  EXPECT_EQ(rightText(Text("ab\0cd", 5), 1), "b");
}

struct CompareCase {
  const char* a;
  const char* b;
  int32_t expected;
};

const CompareCase kCompares[] = {
    {"", "", 0},
    {"Unturned", "Unturned", 0},
    {"Unturned", "unturned", -1},  // case-sensitive: 'U' < 'u'
    {"unturned", "Unturned", 1},
    {"abc", "abcd", -1},           // the terminating zero takes part
    {"\xBA", "a", 1},              // bytes compare unsigned
};

TEST(TextCompare, ByteWiseUnsignedAndCaseSensitive) {
  for (const CompareCase& c : kCompares) {
    SCOPED_TRACE(testing::Message() << c.a << " vs " << c.b);
    EXPECT_EQ(compareText(c.a, c.b), c.expected);
  }
}

TEST(TextJoin, JoinsInOrder) {
  EXPECT_EQ(joinText(Text("C:"), "\\", Text("Games")), "C:\\Games");
  EXPECT_EQ(joinText(Text(), Text()), "");
}

}  // namespace
}  // namespace runtime
