// Text index keys in the General sort orders, checked against the keys
// Access wrote into the catalog index "ParentIdName" of real files, and
// against the code tables for what the fixtures do not show.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "fixture_pages.h"
#include "jet/collation/text_key.h"
#include "jet/error.h"

namespace jet::collation {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes keyOf(std::u16string_view text, const CodeTable& table, bool ascending = true) {
  Bytes key;
  appendTextKey(text, table, ascending, key);
  return key;
}

std::u16string ascii(const std::string& s) { return {s.begin(), s.end()}; }

struct CatalogNames {
  std::string file;
  const CodeTable* table;
  std::vector<std::string> names;
};

// tests/jetwrite/data/catalog_names.tsv: file, sort order variant, then
// every name in the file's MSysObjects, as mdb-reader lists them.
std::vector<CatalogNames> catalogNames() {
  std::ifstream in(std::string(FERROVALE_TEST_DATA) + "/catalog_names.tsv");
  std::vector<CatalogNames> all;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    CatalogNames c;
    std::string variant, name;
    std::getline(fields, c.file, '\t');
    std::getline(fields, variant, '\t');
    c.table = variant == "general" ? &kGeneralCodeTable : &kLegacyCodeTable;
    while (std::getline(fields, name, '\t')) c.names.push_back(name);
    all.push_back(std::move(c));
  }
  return all;
}

// ParentIdName entries: flag, ParentId (4), flag, text key, row pointer (4).
std::set<Bytes> parentIdNameKeys(const std::string& file) {
  std::set<Bytes> keys;
  for (const Bytes& e : jetwrite_test::leafEntries(jetwrite_test::readFile(
           jetwrite_test::fixturePath(file)), 2)) {
    if (e.size() <= 10 || e[0] != 0x7F || e[5] != 0x7F) continue;
    keys.emplace(e.begin() + 6, e.end() - 4);
  }
  return keys;
}

TEST(TextKey, EqualsTheCatalogKeysAccessWrote) {
  const auto all = catalogNames();
  ASSERT_EQ(all.size(), 10u);
  for (const CatalogNames& c : all) {
    std::set<Bytes> expected;
    for (const std::string& name : c.names) expected.insert(keyOf(ascii(name), *c.table));
    const std::set<Bytes> written = parentIdNameKeys(c.file);
    EXPECT_EQ(written.size(), c.names.size()) << c.file;
    EXPECT_EQ(written, expected) << c.file;
  }
}

TEST(TextKey, LegacyAsciiIgnoresCaseAndEndsWithMarks) {
  // "Tables" as Access 2000-2007 keys it.
  EXPECT_EQ(keyOf(u"Tables", kLegacyCodeTable), (Bytes{0x6D, 0x4A, 0x4C, 0x5E, 0x51, 0x6B, 0x01, 0x00}));
  EXPECT_EQ(keyOf(u"TABLES", kLegacyCodeTable), keyOf(u"tables", kLegacyCodeTable));
  EXPECT_EQ(keyOf(u"", kLegacyCodeTable), (Bytes{0x01, 0x00}));
}

TEST(TextKey, AccentsGoAfterTheTextAsExtraCodes) {
  // é: inline like e, extra code 0x0E; the a before it gets a placeholder.
  EXPECT_EQ(keyOf(u"a\u00E9", kLegacyCodeTable), (Bytes{0x4A, 0x51, 0x01, 0x02, 0x0E, 0x00}));
  // Trailing placeholders are dropped: é first, plain letters after.
  EXPECT_EQ(keyOf(u"\u00E9a", kLegacyCodeTable), (Bytes{0x51, 0x4A, 0x01, 0x0E, 0x00}));
  // Latin Extended-A: ł in the 2010 variant.
  EXPECT_EQ(keyOf(u"\u0142", kGeneralCodeTable), (Bytes{0x0E, 0x48, 0x01, 0x1F, 0x00}));
  EXPECT_NE(keyOf(u"e", kLegacyCodeTable), keyOf(u"\u00E9", kLegacyCodeTable));
}

TEST(TextKey, UnprintableCharactersCountTheirPosition) {
  // '-' has no inline code; it is listed after the text with its position.
  EXPECT_EQ(keyOf(u"a-b", kLegacyCodeTable),
            (Bytes{0x4A, 0x4C, 0x01, 0x01, 0x01, 0x01, 0x80, 0x0B, 0x06, 0x82, 0x00}));
}

TEST(TextKey, DescendingKeysAreInverted) {
  const Bytes up = keyOf(u"Ab", kLegacyCodeTable);
  const Bytes down = keyOf(u"Ab", kLegacyCodeTable, false);
  ASSERT_EQ(down.size(), up.size() + 1);
  for (std::size_t i = 0; i + 1 < up.size(); ++i) EXPECT_EQ(down[i], static_cast<std::uint8_t>(~up[i]));
  EXPECT_EQ(down[down.size() - 2], 0xFF);
  EXPECT_EQ(down.back(), 0x00);
}

TEST(TextKey, OnlyTheFirst255UnitsCount) {
  const std::u16string longer(300, u'x');
  EXPECT_EQ(keyOf(longer, kLegacyCodeTable), keyOf(longer.substr(0, 255), kLegacyCodeTable));
}

TEST(TextKey, RefusesCharactersTheTablesDoNotCover) {
  EXPECT_THROW(keyOf(u"\u0416", kLegacyCodeTable), Error);      // Cyrillic Zhe
  EXPECT_THROW(keyOf(u"a\U0001F600", kGeneralCodeTable), Error);  // surrogate pair
}

}  // namespace
}  // namespace jet::collation
