// Text index keys in the General sort orders, checked against the keys
// Access wrote into real files, against codes read by hand from the Jackcess
// code tables, for the order they give, and end to end through CREATE TABLE.
#include "jet/collation/text_key.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "fixture_pages.h"
#include "index_audit.h"
#include "jet/database/database.h"
#include "jet/database/database_writer.h"
#include "jet/error.h"
#include "oracles.h"
#include "scratch_copy.h"
#include "temp_dir.h"

namespace jet::collation {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes keyOf(std::u16string_view text, const CodeTable& table, bool ascending = true) {
  Bytes key;
  appendTextKey(text, table, ascending, key);
  return key;
}

// A key made of one run of inline bytes and the end marks, as most single
// letters give.
Bytes plainKey(Bytes inlineBytes) {
  inlineBytes.insert(inlineBytes.end(), {0x01, 0x00});
  return inlineBytes;
}

std::u16string ascii(const std::string& s) {
  return {s.begin(), s.end()};
}

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
  for (const Bytes& e :
       jetwrite_test::leafEntries(jetwrite_test::readFile(jetwrite_test::fixturePath(file)), 2)) {
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

TEST(TextKey, EqualsTheKeysAccessWroteForCyrillicGreekAndJapaneseText) {
  // The second index of this Access 2003 table is over its Text column, whose
  // eight values hold Cyrillic, polytonic Greek, kanji with kana, Finnish
  // letters, control characters and every code unit up to U+00FF.
  const auto audit =
      jetwrite_test::auditIndex(jetwrite_test::fixturePath("jet4/testUnicodeCompV2003.mdb"), "Table", 1);
  EXPECT_EQ(audit.entries, 8u);
  EXPECT_TRUE(audit.sound()) << audit.report();
}

TEST(TextKey, LegacyAsciiIgnoresCaseAndEndsWithMarks) {
  // "Tables" as Access 2000-2007 keys it.
  EXPECT_EQ(keyOf(u"Tables", kLegacyCodeTable), (Bytes{0x6D, 0x4A, 0x4C, 0x5E, 0x51, 0x6B, 0x01, 0x00}));
  EXPECT_EQ(keyOf(u"TABLES", kLegacyCodeTable), keyOf(u"tables", kLegacyCodeTable));
  EXPECT_EQ(keyOf(u"", kLegacyCodeTable), (Bytes{0x01, 0x00}));
}

// Expected bytes below are read off the lines of Jackcess's
// index_codes_ext_genleg.txt / index_codes_ext_gen.txt for each code unit
// (line = code unit - 0x100), not taken from this engine's tables.
TEST(TextKey, LettersOfOtherScriptsTakeTheirTableCodes) {
  // Cyrillic Zhe: legacy "S7938", 2010 "S101B"; both orders ignore its case.
  EXPECT_EQ(keyOf(u"\u0416", kLegacyCodeTable), plainKey({0x79, 0x38}));
  EXPECT_EQ(keyOf(u"\u0436", kLegacyCodeTable), plainKey({0x79, 0x38}));
  EXPECT_EQ(keyOf(u"\u0416", kGeneralCodeTable), plainKey({0x10, 0x1B}));
  EXPECT_EQ(keyOf(u"\u0436", kGeneralCodeTable), plainKey({0x10, 0x1B}));
  // Greek alpha and omega: legacy "S790C", "S7923"; 2010 "SF02", "SF32".
  EXPECT_EQ(keyOf(u"\u03B1\u03C9", kLegacyCodeTable), plainKey({0x79, 0x0C, 0x79, 0x23}));
  EXPECT_EQ(keyOf(u"\u03B1\u03C9", kGeneralCodeTable), plainKey({0x0F, 0x02, 0x0F, 0x32}));
  // Alpha with tonos: "I790C,5" / "IF02,5", the accent after the text.
  EXPECT_EQ(keyOf(u"\u03AC", kLegacyCodeTable), (Bytes{0x79, 0x0C, 0x01, 0x05, 0x00}));
  EXPECT_EQ(keyOf(u"\u03AC", kGeneralCodeTable), (Bytes{0x0F, 0x02, 0x01, 0x05, 0x00}));
  // Hebrew alef: "S7994" / "S2802".
  EXPECT_EQ(keyOf(u"\u05D0", kLegacyCodeTable), plainKey({0x79, 0x94}));
  EXPECT_EQ(keyOf(u"\u05D0", kGeneralCodeTable), plainKey({0x28, 0x02}));
  // The ideograph "middle": legacy "S9F3D", 2010 "SFDFF3C97".
  EXPECT_EQ(keyOf(u"\u4E2D", kLegacyCodeTable), plainKey({0x9F, 0x3D}));
  EXPECT_EQ(keyOf(u"\u4E2D", kGeneralCodeTable), plainKey({0xFD, 0xFF, 0x3C, 0x97}));
  // The euro sign: legacy "S35A1", 2010 "S7A9".
  EXPECT_EQ(keyOf(u"\u20AC", kLegacyCodeTable), plainKey({0x35, 0xA1}));
  EXPECT_EQ(keyOf(u"\u20AC", kGeneralCodeTable), plainKey({0x07, 0xA9}));
}

TEST(TextKey, KanaCarryTheirCrazyFlagsAfterTheText) {
  for (const CodeTable* table : {&kLegacyCodeTable, &kGeneralCodeTable}) {
    // Katakana KA, "Z7F0A,,": its flag (3) is dropped at the end, leaving
    // only the marks and the fixed suffix.
    EXPECT_EQ(keyOf(u"\u30AB", *table),
              (Bytes{0x7F, 0x0A, 0x01, 0x01, 0x01, 0xFF, 0x02, 0x80, 0xFF, 0x80, 0x00}));
    // GA, "Z7F0A,3,": the voicing mark is an extra code.
    EXPECT_EQ(keyOf(u"\u30AC", *table),
              (Bytes{0x7F, 0x0A, 0x01, 0x03, 0x01, 0x01, 0xFF, 0x02, 0x80, 0xFF, 0x80, 0x00}));
    // Small A, "Z7F02,,1": flag 2 in the top pair of a 0x80 byte.
    EXPECT_EQ(keyOf(u"\u30A1", *table),
              (Bytes{0x7F, 0x02, 0x01, 0x01, 0x01, 0xA0, 0xFF, 0x02, 0x80, 0xFF, 0x80, 0x00}));
    // Three flags share a byte: small A (2), A (3), small A (2).
    EXPECT_EQ(keyOf(u"\u30A1\u30A2\u30A1", *table), (Bytes{0x7F, 0x02, 0x7F, 0x02, 0x7F, 0x02, 0x01, 0x01,
                                                           0x01, 0xAE, 0xFF, 0x02, 0x80, 0xFF, 0x80, 0x00}));
  }
}

TEST(TextKey, CombiningMarksModifyThePreviousExtraCode) {
  // Combining acute, legacy "PC", added to the placeholder of the "e"
  // before it: the same key as the precomposed e-acute ("I51,E").
  EXPECT_EQ(keyOf(u"e\u0301", kLegacyCodeTable), keyOf(u"\u00E9", kLegacyCodeTable));
  EXPECT_EQ(keyOf(u"e\u0301", kLegacyCodeTable), (Bytes{0x51, 0x01, 0x0E, 0x00}));
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
  // So is the en dash, "U89" in both variants.
  EXPECT_EQ(keyOf(u"a\u2013b", kLegacyCodeTable),
            (Bytes{0x4A, 0x4C, 0x01, 0x01, 0x01, 0x01, 0x80, 0x0B, 0x06, 0x89, 0x00}));
  const Bytes general = keyOf(u"a\u2013b", kGeneralCodeTable);
  EXPECT_EQ(Bytes(general.end() - 5, general.end()), (Bytes{0x80, 0x0B, 0x06, 0x89, 0x00}));
}

bool sortsBefore(std::u16string_view a, std::u16string_view b, const CodeTable& table) {
  return keyOf(a, table) < keyOf(b, table);
}

TEST(TextKey, OrdersLettersAsTheGeneralSortOrderDoes) {
  for (const CodeTable* table : {&kLegacyCodeTable, &kGeneralCodeTable}) {
    EXPECT_TRUE(sortsBefore(u"a", u"\u00E4", *table));       // a < ä
    EXPECT_TRUE(sortsBefore(u"\u00E4", u"b", *table));       // ä < b
    EXPECT_TRUE(sortsBefore(u"\u00E4z", u"b", *table));      // the accent decides last
    EXPECT_TRUE(sortsBefore(u"\u0430", u"\u0431", *table));  // а < б
    EXPECT_TRUE(sortsBefore(u"\u0435", u"\u0451", *table));  // е < ё
    EXPECT_TRUE(sortsBefore(u"\u0451", u"\u0436", *table));  // ё < ж
    EXPECT_TRUE(sortsBefore(u"\u03B1", u"\u03B2", *table));  // α < β
    EXPECT_TRUE(sortsBefore(u"\u304B", u"\u304C", *table));  // か < が
    EXPECT_TRUE(sortsBefore(u"\u304C", u"\u304D", *table));  // が < き
    EXPECT_TRUE(sortsBefore(u"\u4E00", u"\u4E01", *table));  // 一 < 丁
    EXPECT_TRUE(sortsBefore(u"z", u"\u03B1", *table));       // Latin before Greek
    EXPECT_TRUE(sortsBefore(u"\u03C9", u"\u0430", *table));  // Greek before Cyrillic
    EXPECT_TRUE(sortsBefore(u"\uAC00", u"\uAC01", *table));  // 가 < 각
    EXPECT_TRUE(sortsBefore(u"\uAC01", u"\uB098", *table));  // 각 < 나
    EXPECT_EQ(keyOf(u"\u0416\u0423\u041A", *table), keyOf(u"\u0436\u0443\u043A", *table));  // ЖУК = жук
  }
}

TEST(TextKey, DescendingKeysAreInverted) {
  const Bytes up = keyOf(u"Ab\u0416", kLegacyCodeTable);
  const Bytes down = keyOf(u"Ab\u0416", kLegacyCodeTable, false);
  ASSERT_EQ(down.size(), up.size() + 1);
  for (std::size_t i = 0; i + 1 < up.size(); ++i) EXPECT_EQ(down[i], static_cast<std::uint8_t>(~up[i]));
  EXPECT_EQ(down[down.size() - 2], 0xFF);
  EXPECT_EQ(down.back(), 0x00);
}

TEST(TextKey, OnlyTheFirst255UnitsCount) {
  const std::u16string longer(300, u'\u0436');
  EXPECT_EQ(keyOf(longer, kGeneralCodeTable), keyOf(longer.substr(0, 255), kGeneralCodeTable));
  // A character outside the BMP past the 255th unit is never looked at.
  EXPECT_NO_THROW(keyOf(std::u16string(255, u'a') + u"\U0001F600", kLegacyCodeTable));
}

TEST(TextKey, RefusesCharactersOutsideTheBmp) {
  for (const CodeTable* table : {&kLegacyCodeTable, &kGeneralCodeTable}) {
    EXPECT_THROW(keyOf(u"a\U0001F600", *table), Error);  // surrogate pair
    EXPECT_THROW(keyOf(u"\xDC00", *table), Error);       // lone low half
    try {
      keyOf(u"\U0001F600", *table);
      ADD_FAILURE() << "no error";
    } catch (const Error& e) {
      EXPECT_NE(std::string(e.what()).find("U+D83D"), std::string::npos) << e.what();
    }
  }
  EXPECT_NO_THROW(keyOf(u"\uD7FF\uE000\uFFFD", kGeneralCodeTable));  // the neighbours have codes
}

// One line of a Jackcess code file, as the packed tables must give it back.
CharCodes codesOfLine(const std::string& line) {
  CharCodes c;
  const auto hexBytes = [&c](std::string hex, std::uint8_t& length) {
    if (hex.size() % 2) hex.insert(hex.begin(), '0');
    for (std::size_t i = 0; i < hex.size(); i += 2) {
      c.bytes[c.firstLength + c.secondLength] =
          static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16));
      ++length;
    }
  };
  std::vector<std::string> parts;
  std::istringstream fields(line.substr(1));
  for (std::string part; std::getline(fields, part, ',');) parts.push_back(part);
  switch (line[0]) {
    case 'X': return c;
    case 'S': c.kind = CodeKind::Simple; break;
    case 'U': c.kind = CodeKind::Unprintable; break;
    case 'P': c.kind = CodeKind::Modifier; break;
    case 'I': c.kind = CodeKind::International; break;
    default: c.kind = CodeKind::InternationalExt; c.crazyFlag = parts.size() > 2 && parts[2] == "1" ? 2 : 3;
  }
  hexBytes(parts.at(0), c.firstLength);
  if (line[0] == 'I' || line[0] == 'Z') hexBytes(parts.size() > 1 ? parts[1] : "", c.secondLength);
  return c;
}

TEST(CodeTables, GiveBackEveryLineOfTheJackcessFiles) {
  const std::string data = std::string(FERROVALE_TEST_DATA) + "/../../../src/jet/collation/data/";
  for (const auto& [table, base, ext] :
       {std::tuple{&kLegacyCodeTable, "index_codes_genleg.txt", "index_codes_ext_genleg.txt"},
        std::tuple{&kGeneralCodeTable, "index_codes_gen.txt", "index_codes_ext_gen.txt"}}) {
    std::ifstream baseFile(data + base), extFile(data + ext);
    std::string line;
    std::size_t mismatches = 0;
    for (std::uint32_t unit = 0; unit <= 0xFFFF; ++unit) {
      const CharCodes got = table->lookup(static_cast<char16_t>(unit));
      if (unit >= 0xD800 && unit <= 0xDFFF) {
        mismatches += got.kind != CodeKind::Surrogate;
        continue;
      }
      ASSERT_TRUE(std::getline(unit < 0x100 ? baseFile : extFile, line)) << ext << " ends early";
      const CharCodes want = codesOfLine(line);
      const bool same = got.kind == want.kind && got.crazyFlag == want.crazyFlag &&
                        std::ranges::equal(got.first(), want.first()) &&
                        std::ranges::equal(got.second(), want.second());
      if (!same && ++mismatches < 5) ADD_FAILURE() << ext << " U+" << std::hex << unit << ": " << line;
    }
    EXPECT_EQ(mismatches, 0u) << ext;
    EXPECT_FALSE(std::getline(extFile, line)) << ext << " has lines past U+FFFF";
  }
}

TEST(TextKeyEndToEnd, TablesNamedInOtherScriptsAreListedEverywhere) {
  const std::vector<std::string> names = {"Ελληνικά", "Русский склад", "中文表格", "Prix €–2024"};
  for (const char* fixture : {"jet4/empty2003.mdb", "ace14/empty2010.accdb"}) {
    jetwrite_test::TempDir dir;
    const std::string path = jetwrite_test::copyFixture(dir, fixture);
    {
      write::DatabaseWriter writer(path, "");
      for (const std::string& name : names) {
        jetwrite_test::run(writer, "CREATE TABLE `" + name + "`(`id` COUNTER, `note` TEXT(20))");
        jetwrite_test::run(writer, "INSERT INTO `" + name + "` VALUES(NULL, 'Ζ')");
      }
    }
    EXPECT_EQ(jetwrite_test::indexFaults(path), "") << fixture;
    auto db = Database::open(path, "");
    const auto listed = jetwrite_test::runCommand("mdb-tables -1 " + jetwrite_test::quoted(path));
    for (const std::string& name : names) {
      EXPECT_NE(listed.output.find(name + "\n"), std::string::npos) << fixture << ": " << listed.output;
      std::vector<Value> row;
      RowCursor rows = db->table(name).rows();
      ASSERT_TRUE(rows.next(row)) << name;
      EXPECT_EQ(row[1], Value(std::string("Ζ"))) << name;
    }
  }
}

TEST(TextKeyEndToEnd, ATableNameOutsideTheBmpIsRefusedAndLeavesTheFileAlone) {
  jetwrite_test::TempDir dir;
  const std::string path = jetwrite_test::copyFixture(dir, "ace14/empty2010.accdb");
  const Bytes before = jetwrite_test::readFile(path);
  {
    write::DatabaseWriter writer(path, "");
    EXPECT_THROW(jetwrite_test::run(writer, "CREATE TABLE `Smile 😀`(`id` COUNTER)"), Error);
  }
  EXPECT_EQ(jetwrite_test::indexFaults(path), "");
  EXPECT_THROW(Database::open(path, "")->table("Smile 😀"), Error);
  EXPECT_EQ(jetwrite_test::readFile(path).size(), before.size());
}

}  // namespace
}  // namespace jet::collation
