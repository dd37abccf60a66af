// Files written through accessdb - new databases of every format and
// copies of files Access made - read back the same by accessdb, mdbtools
// and mdb-reader: every writable type at its limits, NULL everywhere,
// text beyond the Basic Multilingual Plane, long values over many pages,
// a hundred thousand rows, hundreds of tables, names with blanks and
// accented letters, and a table dropped and made again under its name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "agreement_checks.h"
#include "line_tool_reader.h"

namespace tools_test {
namespace {

using jetwrite_test::TempDir;
using oracle::Oracle;

constexpr const char* kEveryType =
    "CREATE TABLE `Typen Übersicht`(`id` COUNTER,`Name Größe` TEXT(255),`code` TEXT(10),`small` BYTE,"
    "`qty` SMALLINT,`n` INT,`price` CURRENCY,`ratio` REAL,`weight` FLOAT,`when` DATETIME,`paid` BIT,"
    "`amount` DECIMAL(28,4),`notes` MEMO,`photo` OLEOBJECT,`raw` BINARY(16),`key` GUID)";

std::string row(const std::string& values) {
  return "INSERT INTO `Typen Übersicht` VALUES(NULL, " + values + ")";
}

std::vector<std::string> everyTypeStatements() {
  std::vector<std::string> s{
      kEveryType,
      row("'O''Neil', 'A-1', '12', '-7', '123456', '1234.5678', '0.5', '-3.25', '2024-03-01 12:34:56', "
          "'True', "
          "'-12.3456', 'short', 'ab', 'xy', '{00112233-4455-6677-8899-AABBCCDDEEFF}'"),
      // The least value of every type.
      row("'', '', '0', '-32768', '-2147483648', '-922337203685477.5808', '-3.4E+38', "
          "'-1.7976931348623157E+308', '0100-01-01', 'False', '-999999999999999999999999.9999', '', '', '', "
          "'{00000000-0000-0000-0000-000000000000}'"),
      // The greatest, and the smallest magnitudes.
      row("'" + letters(255) +
          "', 'ZZZZZZZZZZ', '255', '32767', '2147483647', '922337203685477.5807', '3.4E+38', "
          "'1.7976931348623157E+308', '9999-12-31 23:59:59', 'True', '999999999999999999999999.9999', 'x', "
          "'y', "
          "'abcdefgh', '{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}'"),
      row("'tiny', NULL, '1', '-1', '-1', '0.0001', '1.4E-45', '4.9E-324', '1899-12-30 00:00:01', 'False', "
          "'0.0001', "
          "NULL, NULL, NULL, NULL"),
      // NULL wherever a column can hold it (a Yes/No column cannot).
      row("NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'False', NULL, NULL, NULL, NULL, NULL"),
      // Letters from other scripts and characters outside the BMP, stored
      // uncompressed; pure Latin-1 text is stored compressed.
      row("'中文 Ελληνικά Łódź 😀𝄞', 'Grüße', NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'True', NULL, "
          "'Emoji 😀 in a memo, 🎉 twice', '😀', NULL, NULL"),
  };
  // Memo values inline, on one long-value page and over several.
  for (const std::size_t n : {0, 1, 2000, 5000, 100000})
    s.push_back(row("'memo " + std::to_string(n) +
                    "', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'False', NULL, '" + letters(n) +
                    "', NULL, NULL, NULL"));
  // An OLE value of 60,000 bytes (the text's UTF-16), over many pages.
  s.push_back(row("'big ole', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'False', NULL, NULL, '" +
                  letters(30000) + "', NULL, NULL"));
  // A table dropped and made again under the same name, with other columns.
  s.push_back("CREATE TABLE `Zwischen Ablage`(`a` INT,`b` MEMO)");
  s.push_back("INSERT INTO `Zwischen Ablage` VALUES('1', '" + letters(3000) + "')");
  s.push_back("DROP TABLE `Zwischen Ablage`");
  s.push_back("CREATE TABLE `Zwischen Ablage`(`Straße` TEXT(20),`Höhe` FLOAT)");
  s.push_back("INSERT INTO `Zwischen Ablage` VALUES('Hauptstraße', '8848.86')");
  return s;
}

struct NewFile {
  const char* format;
  Oracle reader;
};

void PrintTo(const NewFile& f, std::ostream* out) {
  *out << f.format << " with " << oracleName(f.reader);
}

class EveryTypeInANewFile : public ::testing::TestWithParam<NewFile> {};

TEST_P(EveryTypeInANewFile, ReadsBackTheSameEverywhere) {
  TempDir dir;
  const std::string path = dir.file("types");
  ASSERT_EQ(accessdb({"create", path, "--format", GetParam().format}).exitStatus, 0);
  runAll(dir, path, everyTypeStatements());

  // Our own reading first, against what went in.
  const auto exported = accessdb({"export", path, "Typen Übersicht"});
  ASSERT_EQ(exported.exitStatus, 0) << exported.err;
  const auto rows = oracle::splitLines(exported.out);
  ASSERT_EQ(rows.size(), 12u);
  EXPECT_EQ(rows[0],
            "1\tO'Neil\tA-1\t12\t-7\t123456\t1234.5678\t0.5\t-3.25\t2024-03-01 12:34:56\t1\t-12.3456\tshort\t"
            "61006200\t78007900\t{00112233-4455-6677-8899-AABBCCDDEEFF}");
  EXPECT_EQ(
      rows[1],
      "2\t\t\t0\t-32768\t-2147483648\t-922337203685477.5808\t-3.4e+38\t-1.7976931348623157e+308\t"
      "0100-01-01 00:00:00\t0\t-999999999999999999999999.9999\t\t\t\t{00000000-0000-0000-0000-000000000000}");
  EXPECT_EQ(rows[2],
            "3\t" + letters(255) +
                "\tZZZZZZZZZZ\t255\t32767\t2147483647\t922337203685477.5807\t3.4e+38\t"
                "1.7976931348623157e+308\t9999-12-31 23:59:59\t1\t999999999999999999999999.9999\tx\t7900\t"
                "61006200630064006500660067006800\t{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}");
  EXPECT_EQ(rows[4], "5\t\\N\t\\N\t\\N\t\\N\t\\N\t\\N\t\\N\t\\N\t\\N\t0\t\\N\t\\N\t\\N\t\\N\t\\N");
  EXPECT_TRUE(rows[5].starts_with("6\t中文 Ελληνικά Łódź 😀𝄞\tGrüße\t")) << rows[5];
  EXPECT_NE(rows[10].find("\t" + letters(100000) + "\t"), std::string::npos);
  const auto bigOle = oracle::splitFields(rows[11]);
  ASSERT_EQ(bigOle.size(), 16u);
  EXPECT_EQ(bigOle[13].size(), 2u * 60000);
  EXPECT_TRUE(bigOle[13].starts_with("610062006300")) << bigOle[13].substr(0, 40);
  EXPECT_EQ(accessdb({"export", path, "Zwischen Ablage"}).out, "Hauptstraße\t8848.86\n");

  expectAgreement(path, GetParam().reader);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, EveryTypeInANewFile,
    ::testing::Values(NewFile{"jet4", Oracle::MdbTools}, NewFile{"jet4", Oracle::MdbReader},
                      NewFile{"ace12", Oracle::MdbTools}, NewFile{"ace12", Oracle::MdbReader},
                      NewFile{"ace14", Oracle::MdbTools}, NewFile{"ace14", Oracle::MdbReader},
                      NewFile{"ace16", Oracle::MdbTools}, NewFile{"ace16", Oracle::MdbReader}),
    [](const auto& info) {
      return std::string(info.param.format) +
             (info.param.reader == Oracle::MdbTools ? "_mdbtools" : "_mdbreader");
    });

TEST(FilesAccessMade, ChangedByEveryKindOfStatement) {
  TempDir dir;
  const std::string tables = copyOfFixture(dir, "ace14/testV2010.accdb");
  runAll(
      dir, tables,
      {"INSERT INTO `Table1` VALUES('Grüße', 'x', '7', '-5', '123456789', '2.5', '2024-02-29 08:15:00', "
       "'19.99', "
       "'True')",
       "INSERT INTO `Table1` VALUES('leer', NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'False')",  // A is the
                                                                                                  // key
       "SELECT a1.* INTO `Kopie von Table1` FROM `Table1` AS a1;", "DROP TABLE `Table3`",
       "CREATE TABLE `Neu Ölfeld`(`x` INT,`y` MEMO,`z` GUID)",
       "INSERT INTO `Neu Ölfeld` VALUES('1', '" + letters(6000) +
           "', '{6F9619FF-8B86-D011-B42D-00C04FC964FF}')",
       "INSERT INTO `Table4` VALUES('neu', '{00112233-4455-6677-8899-AABBCCDDEEFF}')"});
  EXPECT_EQ(userTables(tables),
            (std::vector<std::string>{"Kopie von Table1", "Neu Ölfeld", "Table1", "Table2", "Table4"}));
  expectAgreementOfBoth(tables);

  // 512 rows under a compound index of a Long and two texts, and more.
  const std::string indexed = copyOfFixture(dir, "jet4/compIndexTestV2000.mdb");
  std::vector<std::string> more;
  for (int i = 0; i < 300; ++i)
    more.push_back("INSERT INTO `Table1` VALUES('" + std::to_string(i * 37 % 1000) + "', 'Straße " +
                   std::to_string(i) + "', 'ü')");
  more.push_back("SELECT a1.* INTO `Abschrift` FROM `Table1` AS a1;");
  runAll(dir, indexed, more);
  expectAgreementOfBoth(indexed);
}

// Long values around the limits of a row, of one long-value page and of
// several, as text Jet stores compressed (Latin-1 letters) and as text it
// cannot compress, and as OLE bytes.
class LongValues : public ::testing::TestWithParam<const char*> {};

TEST_P(LongValues, AroundThePageLimitsReadTheSameEverywhere) {
  TempDir dir;
  const std::string path = dir.file("long");
  ASSERT_EQ(accessdb({"create", path, "--format", GetParam()}).exitStatus, 0);
  std::vector<std::string> statements{"CREATE TABLE `Lang`(`n` INT,`m` MEMO,`o` OLEOBJECT,`t` TEXT(255))"};
  std::vector<std::string> expected;
  for (const std::size_t n : {63, 64, 255, 256, 1000, 2047, 2048, 2049, 4000, 4096, 8000, 16000, 40000}) {
    std::string euros;
    for (std::size_t i = 0; i < n; ++i) euros += i % 2 ? "€" : "ä";
    const std::string text = letters(std::min<std::size_t>(n, 255));
    statements.push_back("INSERT INTO `Lang` VALUES('" + std::to_string(n) + "', '" + letters(n) + "', '" +
                         letters(n / 2) + "', '" + text + "')");
    statements.push_back("INSERT INTO `Lang` VALUES('-" + std::to_string(n) + "', '" + euros + "', NULL, '" +
                         euros.substr(0, std::min<std::size_t>(n, 255) / 2 * 5) + "')");
  }
  runAll(dir, path, statements);
  const auto rows = oracle::splitLines(accessdb({"export", path, "Lang"}).out);
  ASSERT_EQ(rows.size(), 26u);
  EXPECT_EQ(oracle::splitFields(rows[24])[1], letters(40000));
  EXPECT_EQ(oracle::splitFields(rows[25])[1].size(), 40000u / 2 * 5);  // "ä€" is five bytes of UTF-8
  expectAgreementOfBoth(path);
}

INSTANTIATE_TEST_SUITE_P(Formats, LongValues, ::testing::Values("jet4", "ace16"),
                         [](const auto& info) { return std::string(info.param); });

TEST(PasswordProtectedFiles, ReadTheSameEverywhere) {
  TempDir dir;
  for (const char* format : {"jet4", "ace14"}) {
    const std::string path = dir.file(std::string("guarded-") + format);
    const std::string password = "Grün 7";
    ASSERT_EQ(accessdb({"create", path, "--format", format, "--password", password}).exitStatus, 0);
    const auto filled =
        accessdb({"sql", path, "--password", password, "CREATE TABLE `Geheim`(`a` INT,`b` TEXT(20),`c` MEMO)",
                  "INSERT INTO `Geheim` VALUES('1', 'Straße', '" + letters(5000) + "')"});
    ASSERT_EQ(filled.exitStatus, 0) << filled.err;
    EXPECT_EQ(accessdb({"export", path, "Geheim", "--password", password}).out,
              "1\tStraße\t" + letters(5000) + "\n");
    // A password encrypts an ACE file, which mdbtools cannot decrypt.
    if (std::string(format) == "jet4")
      expectAgreementOfBoth(path, {}, password);
    else
      expectAgreement(path, Oracle::MdbReader, {}, password);
  }
}

TEST(HundredThousandRows, ReadTheSameEverywhere) {
  TempDir dir;
  const std::string path = dir.file("rows.mdb");
  ASSERT_EQ(accessdb({"create", path, "--format", "jet4"}).exitStatus, 0);
  std::vector<std::string> statements{
      "CREATE TABLE `Viele Zeilen`(`id` COUNTER,`n` INT,`label` TEXT(40),`price` CURRENCY,`when` "
      "DATETIME,`ok` BIT)"};
  for (int i = 0; i < 100000; ++i) {
    char when[32];
    std::snprintf(when, sizeof when, "2024-01-01 %02d:%02d:%02d", i / 3600 % 24, i / 60 % 60, i % 60);
    statements.push_back("INSERT INTO `Viele Zeilen` VALUES(NULL, '" + std::to_string(7 * i - 350000) +
                         "', 'Zeile " + std::to_string(i) + " äöü', '" + std::to_string(i) + ".25', '" +
                         when + "', '" + (i % 3 ? "True" : "False") + "')");
  }
  runAll(dir, path, statements);

  const auto rows = oracle::splitLines(accessdb({"export", path, "Viele Zeilen"}).out);
  ASSERT_EQ(rows.size(), 100000u);
  EXPECT_EQ(rows.front(), "1\t-350000\tZeile 0 äöü\t0.25\t2024-01-01 00:00:00\t0");
  EXPECT_EQ(rows.back(), "100000\t349993\tZeile 99999 äöü\t99999.25\t2024-01-01 03:46:39\t0");
  expectAgreementOfBoth(path);
}

TEST(HundredsOfTables, ListedTheSameEverywhere) {
  TempDir dir;
  const std::string path = dir.file("tables.accdb");
  ASSERT_EQ(accessdb({"create", path, "--format", "ace16"}).exitStatus, 0);
  const auto name = [](int i) { return "Tabelle Nummer " + std::to_string(i) + " für Ärger"; };
  const auto quoted = [&](int i) { return "`" + name(i) + "`"; };
  std::vector<std::string> statements;
  for (int i = 0; i < 300; ++i) statements.push_back("CREATE TABLE " + quoted(i) + "(`a` INT,`b` MEMO)");
  for (int i = 0; i < 300; ++i)
    statements.push_back("INSERT INTO " + quoted(i) + " VALUES('" + std::to_string(i) + "', 'Zeile in " +
                         name(i) + "')");
  for (int i = 0; i < 300; i += 3) statements.push_back("DROP TABLE " + quoted(i));
  // Some names come back, for tables of another shape.
  for (int i = 0; i < 300; i += 9) statements.push_back("CREATE TABLE " + quoted(i) + "(`c` TEXT(5))");
  runAll(dir, path, statements);

  EXPECT_EQ(userTables(path).size(), 300u - 100 + 34);
  // Reading every table's rows would take a process per table and reader.
  expectAgreementOfBoth(path, {name(1), name(9), name(151), name(299)});
}

}  // namespace
}  // namespace tools_test
