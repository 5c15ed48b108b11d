// Thousands of damaged variants of one real archive (bytes flipped, cut at every length,
// header fields rewritten), each unpacked on a drive of its own: no crash or hang, only the
// three results, nothing outside the target, and a run that succeeds writes only data that
// some original entry holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "unzip/tests/test_support.h"
#include "unzip/unzip_component.h"

namespace {

using unziptest::Bytes;

struct Field {
  size_t offset;
  int width;  // 2 or 4
};

// The header fields of the archive that say where and how big things are.
std::vector<Field> headerFields(const Bytes& zip) {
  std::vector<Field> fields;
  const size_t end = zip.rfind(Bytes("PK\x05\x06", 4));
  if (end == Bytes::npos) return fields;
  for (size_t at : {8, 10, 12, 16}) fields.push_back({end + at, at >= 12 ? 4 : 2});
  size_t central = unziptest::get32(zip, end + 16);
  while (central + 46 <= zip.size() && unziptest::get32(zip, central) == 0x02014B50) {
    for (Field f : {Field{8, 2}, Field{10, 2}, Field{16, 4}, Field{20, 4}, Field{24, 4}, Field{28, 2}, Field{30, 2},
                    Field{32, 2}, Field{38, 4}, Field{42, 4}}) {
      fields.push_back({central + f.offset, f.width});
    }
    const size_t local = unziptest::get32(zip, central + 42);
    for (Field f : {Field{6, 2}, Field{8, 2}, Field{14, 4}, Field{18, 4}, Field{22, 4}, Field{26, 2}, Field{28, 2}}) {
      fields.push_back({local + f.offset, f.width});
    }
    const size_t nameLength = static_cast<unsigned char>(zip[central + 28]) | (static_cast<unsigned char>(zip[central + 29]) << 8);
    const size_t extraLength = static_cast<unsigned char>(zip[central + 30]) | (static_cast<unsigned char>(zip[central + 31]) << 8);
    const size_t commentLength = static_cast<unsigned char>(zip[central + 32]) | (static_cast<unsigned char>(zip[central + 33]) << 8);
    central += 46 + nameLength + extraLength + commentLength;
  }
  return fields;
}

std::vector<Bytes> variantsOf(const Bytes& zip) {
  std::vector<Bytes> variants;
  // Every length through the first header and the directory at the end, every fourth in between.
  for (size_t length = 0; length < zip.size(); ++length) {
    if (length < 64 || length + 256 >= zip.size() || length % 4 == 0) variants.push_back(zip.substr(0, length));
  }

  std::mt19937 random(20261209);
  for (int i = 0; i < 1000; ++i) {
    Bytes v = zip;
    const int flips = 1 + static_cast<int>(random() % 3);
    for (int k = 0; k < flips; ++k) v[random() % v.size()] ^= static_cast<char>(1 + random() % 255);
    variants.push_back(v);
  }

  for (const Field& field : headerFields(zip)) {
    const uint32_t original = field.width == 4 ? unziptest::get32(zip, field.offset)
                                               : (unziptest::get32(zip, field.offset) & 0xFFFF);
    const uint32_t values[] = {0, 1, original + 1, original - 1, original * 2, 0x7FFFFFFF, 0xFFFFFFFF,
                               static_cast<uint32_t>(zip.size()), static_cast<uint32_t>(random())};
    for (uint32_t value : values) {
      Bytes v = zip;
      if (field.width == 4) {
        unziptest::put32(v, field.offset, value);
      } else {
        unziptest::put16(v, field.offset, static_cast<uint16_t>(value));
      }
      if (v != zip) variants.push_back(v);
    }
  }
  return variants;
}

TEST(CorruptionSweep, DamagedArchivesFailSafely) {
  Bytes zip;
  ASSERT_TRUE(unziptest::readFile(unziptest::programFolder() + "fixtures\\sweep.zip", zip));
  const std::map<std::string, Bytes> originals = unziptest::readTree(unziptest::programFolder() + "fixtures\\sweep-source");
  ASSERT_EQ(originals.size(), 4u);
  std::set<Bytes> contents;
  for (const auto& item : originals) contents.insert(item.second);

  const std::vector<Bytes> variants = variantsOf(zip);
  ASSERT_GE(variants.size(), 2000u);
  int results[3] = {0, 0, 0};
  for (size_t i = 0; i < variants.size(); ++i) {
    unziptest::removeTree("E:\\sweep");
    ASSERT_TRUE(unziptest::writeFile("E:\\sweep.zip", variants[i]));
    unziptest::FakeOwner owner;
    const int32_t result = unzip::unzipArchive(&owner, "E:\\sweep.zip", "E:\\sweep\\t");

    ASSERT_TRUE(result == -1 || result == 0 || result == 1) << "variant " << i << " gave " << result;
    ++results[result + 1];
    for (int32_t percent : owner.percents) ASSERT_TRUE(percent >= 0 && percent <= 100) << "variant " << i;

    for (const std::string& path : unziptest::listTree("E:\\")) {
      ASSERT_TRUE(path == "sweep.zip" || path == "sweep\\" || path.compare(0, 8, "sweep\\t\\") == 0)
          << "variant " << i << " wrote " << path;
      ASSERT_EQ(path.find("~uz"), std::string::npos) << "variant " << i << " left " << path;
    }
    if (result != 1) continue;
    for (const auto& file : unziptest::readTree("E:\\sweep\\t")) {
      const auto same = originals.find(file.first);
      if (same != originals.end()) {
        ASSERT_EQ(file.second, same->second) << "variant " << i << ": " << file.first;
      } else {
        // A damaged name may still carry intact data.
        ASSERT_TRUE(contents.count(file.second) == 1) << "variant " << i << ": " << file.first;
      }
    }
  }
  // The sweep reaches every kind of outcome.
  EXPECT_GT(results[0] + results[1], 1000) << results[0] << " " << results[1] << " " << results[2];
  EXPECT_GT(results[2], 50);
  std::printf("%zu variants: %d gave -1, %d gave 0, %d gave 1\n", variants.size(), results[0], results[1], results[2]);
}

}  // namespace
