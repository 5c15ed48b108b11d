#include "runtime/bytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace runtime {
namespace {

ByteView viewOf(const std::string& s) {
  return ByteView{reinterpret_cast<const uint8_t*>(s.data()), static_cast<int32_t>(s.size())};
}

std::string stringOf(ByteView v) {
  return v.empty() ? std::string() : std::string(reinterpret_cast<const char*>(v.data), v.size);
}

std::vector<std::string> piecesOf(const ByteList& list) {
  std::vector<std::string> pieces;
  for (int32_t i = 1; i <= list.count(); ++i) pieces.push_back(stringOf(list.piece(i)));
  return pieces;
}

TEST(Bytes, BlankAndLeft) {
  EXPECT_TRUE(blankBytes(0).empty());
  EXPECT_TRUE(blankBytes(-3).empty());
  EXPECT_EQ(blankBytes(0).block(), nullptr);  // an empty ByteSet has no storage
  ByteSet blank = blankBytes(255);
  ASSERT_EQ(blank.size(), 255);
  EXPECT_EQ(blank.block()->dimensions, 1);
  EXPECT_EQ(blank.block()->count, 255);
  EXPECT_EQ(stringOf(blank.view()), std::string(255, '\0'));

  const std::string abc = "abc";
  EXPECT_EQ(stringOf(leftBytes(viewOf(abc), 2).view()), "ab");
  EXPECT_EQ(stringOf(leftBytes(viewOf(abc), 9).view()), "abc");
  EXPECT_TRUE(leftBytes(viewOf(abc), 0).empty());
  EXPECT_TRUE(leftBytes(viewOf(abc), -1).empty());
  EXPECT_TRUE(leftBytes(ByteView{}, 4).empty());
}

struct SplitCase {
  const char* label;
  std::string data;
  bool separatorGiven;
  std::string separator;
  bool maxGiven;
  int32_t max;
  std::vector<std::string> pieces;
};

const std::string kNul(1, '\0');

const SplitCase kSplits[] = {
    {"drive list", std::string("C:\\\0D:\\\0", 8), false, "", false, 0, {"C:\\", "D:\\"}},
    {"empty pieces", std::string("\0\0A", 3), false, "", false, 0, {"", "", "A"}},
    {"max 1", std::string("C:\\\0D:\\\0", 8), false, "", true, 1, {"C:\\"}},
    {"max 0", "a,b", true, ",", true, 0, {}},
    {"negative max counts as 0", "a,b", true, ",", true, -2, {}},
    {"max 2 of 3", "a,b,c", true, ",", true, 2, {"a", "b"}},
    {"empty separator", "abc", true, "", false, 0, {"abc"}},
    {"empty data", "", false, "", false, 0, {}},
    {"no separator present", "abc", true, ",", false, 0, {"abc"}},
    {"trailing separator", "a,", true, ",", false, 0, {"a"}},
    {"leading separator", ",a", true, ",", false, 0, {"", "a"}},
    {"two-byte separator", "a::b:c", true, "::", false, 0, {"a", "b:c"}},
    {"separator longer than data", "a", true, "abc", false, 0, {"a"}},
    {"partial match then match", "aab", true, "ab", false, 0, {"a"}},
};

TEST(Bytes, SplitTable) {
  for (const SplitCase& c : kSplits) {
    SCOPED_TRACE(c.label);
    const ByteList list = splitBytes(viewOf(c.data),
                                     c.separatorGiven ? std::optional<ByteView>(viewOf(c.separator)) : std::nullopt,
                                     c.maxGiven ? std::optional<int32_t>(c.max) : std::nullopt);
    EXPECT_EQ(piecesOf(list), c.pieces);
  }
}

TEST(Bytes, ListLayoutIsHeaderThenReferences) {
  const std::string data("x\0\0yz", 5);
  const ByteList list = splitBytes(viewOf(data));
  ASSERT_EQ(list.count(), 3);
  EXPECT_TRUE(list.piece(2).empty());  // two touching separators: an absent element
  EXPECT_EQ(stringOf(list.piece(3)), "yz");
  EXPECT_TRUE(list.piece(0).empty());   // numbered from 1
  EXPECT_TRUE(list.piece(4).empty());
}

struct ToTextCase {
  std::string bytes;
  const char* text;
};

const ToTextCase kToText[] = {
    {std::string("AB\0X", 4), "AB"},
    {"AB", "AB"},
    {std::string("\0AB", 3), ""},
    {"", ""},
};

TEST(Bytes, ToTextStopsAtZero) {
  for (const ToTextCase& c : kToText) EXPECT_EQ(toText(viewOf(c.bytes)), c.text);
}

TEST(Bytes, ConstantIsNeverReleased) {
  static const struct {
    ByteSetHeader header;
    uint8_t bytes[3];
  } image = {{1, 3}, {'P', 'K', 3}};
  {
    ByteSet constant = ByteSet::constant(&image.header);
    EXPECT_EQ(constant.size(), 3);
    EXPECT_EQ(constant.data(), image.bytes);
    EXPECT_EQ(constant.mutableData(), nullptr);
    ByteSet moved = std::move(constant);
    EXPECT_EQ(moved.data(), image.bytes);
  }  // released: nothing happens to the image
  EXPECT_EQ(image.header.count, 3);
  EXPECT_EQ(image.bytes[0], 'P');
}

}  // namespace
}  // namespace runtime
