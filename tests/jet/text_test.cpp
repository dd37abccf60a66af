// Text decoding: compressed unicode, surrogate pairs, code pages.
#include "jet/file/text.h"

#include <gtest/gtest.h>

#include <vector>

#include "jet/file/code_page.h"

namespace jet {
namespace {

std::string jet4(std::vector<std::uint8_t> bytes) {
  std::string out;
  appendJet4Text(bytes, out);
  return out;
}

TEST(Jet4Text, PlainUtf16) {
  EXPECT_EQ(jet4({'H', 0, 'i', 0}), "Hi");
}

TEST(Jet4Text, CompressedTextTogglesAtZeroBytes) {
  // "ab", then wide "Ж" (U+0416), then narrow "c".
  EXPECT_EQ(jet4({0xFF, 0xFE, 'a', 'b', 0x00, 0x16, 0x04, 0x00, 'c'}),
            "ab\xD0\x96"
            "c");
  EXPECT_EQ(jet4({0xFF, 0xFE, 0xE9}), "\xC3\xA9");  // narrow bytes are Latin-1
  EXPECT_EQ(jet4({0xFF, 0xFE}), "");
}

TEST(Jet4Text, SurrogatePairsBecomeOneCodePoint) {
  EXPECT_EQ(jet4({0x3D, 0xD8, 0x00, 0xDE}), "\xF0\x9F\x98\x80");  // U+1F600
  EXPECT_EQ(jet4({0xFF, 0xFE, 'a', 0x00, 0x3D, 0xD8, 0x01, 0xDE, 0x00, 'a'}),
            "a\xF0\x9F\x98\x81"
            "a");
}

TEST(Jet4Text, BrokenUnitsBecomeReplacementCharacters) {
  EXPECT_EQ(jet4({0x3D, 0xD8, 'a', 0}),
            "\xEF\xBF\xBD"
            "a");                                   // high surrogate alone
  EXPECT_EQ(jet4({0x00, 0xDE}), "\xEF\xBF\xBD");    // low surrogate alone
  EXPECT_EQ(jet4({'a', 0, 'b'}), "a\xEF\xBF\xBD");  // odd byte
}

TEST(CodePage, DecodesTheHighHalfOfEachTable) {
  const std::vector<std::uint8_t> bytes = {'A', 0x80, 0xC0};
  std::string cp1252, cp1251, unknown;
  CodePage(1252).appendUtf8Of(bytes, cp1252);
  CodePage(1251).appendUtf8Of(bytes, cp1251);
  CodePage(12345).appendUtf8Of(bytes, unknown);
  EXPECT_EQ(cp1252, "A\xE2\x82\xAC\xC3\x80");  // € À
  EXPECT_EQ(cp1251, "A\xD0\x82\xD0\x90");      // Ђ А
  EXPECT_EQ(unknown, cp1252);
  EXPECT_TRUE(CodePage::known(1250));
  EXPECT_FALSE(CodePage::known(12345));
}

}  // namespace
}  // namespace jet
