// The comparison is only as good as the code that brings each reader's
// output into one form; these tests pin that code down.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <random>

#include "ado/data_type.h"
#include "fixture_catalog.h"
#include "line_tool_reader.h"
#include "mdbtools_reader.h"
#include "oracle_required.h"
#include "process.h"
#include "value_projection.h"

namespace oracle {
namespace {

namespace fs = std::filesystem;

TEST(ProcessRunner, KeepsOutputErrorAndStatusApartAndPassesArgumentsUnchanged) {
  const ProcessResult result =
      runProcess({"sh", "-c", "printf '%s|' \"$1\"; printf oops >&2; exit 3", "sh", "a b'\"$x\t"});
  EXPECT_EQ(result.exitStatus, 3);
  EXPECT_EQ(result.out, "a b'\"$x\t|");
  EXPECT_EQ(result.err, "oops");
}

TEST(ProcessRunner, ReadsLargeOutputOnBothStreams) {
  const ProcessResult result =
      runProcess({"sh", "-c", "head -c 300000 /dev/zero; head -c 200000 /dev/zero >&2"});
  EXPECT_TRUE(result.succeeded());
  EXPECT_EQ(result.out.size(), 300000u);
  EXPECT_EQ(result.err.size(), 200000u);
}

TEST(ProcessRunner, ReportsAProgramThatDoesNotExist) {
  const ProcessResult result = runProcess({"no-such-program-ferrovale"});
  EXPECT_FALSE(result.succeeded());
  EXPECT_FALSE(programAvailable("no-such-program-ferrovale"));
  EXPECT_TRUE(programAvailable("sh"));
}

TEST(LineSplitting, KeepsEmptyFieldsAndAnUnterminatedLastLine) {
  EXPECT_EQ(splitLines("a\n\nb"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(splitLines("a\n"), (std::vector<std::string>{"a"}));
  EXPECT_TRUE(splitLines("").empty());
  EXPECT_EQ(splitFields("\tx\t"), (std::vector<std::string>{"", "x", ""}));
  EXPECT_EQ(splitFields(""), (std::vector<std::string>{""}));
}

TEST(FixtureReadme, GivesPasswordsByFileAndSkipsDashes) {
  const std::string readme =
      "| File | Format | Size | Source | License | Password | Exercises |\n"
      "|---|---|---|---|---|---|---|\n"
      "| `encrypted/a.mdb` | Jet4 | 1 KiB | x | MIT | secret | y |\n"
      "| `jet3/b.mdb` | Jet3 | 1 KiB | x | MIT | - | y |\n"
      "text that is no table row | `c.mdb` |\n";
  const auto passwords = readmePasswords(readme);
  ASSERT_EQ(passwords.size(), 1u);
  EXPECT_EQ(passwords[0].first, "encrypted/a.mdb");
  EXPECT_EQ(passwords[0].second, "secret");
}

TEST(FixtureReadme, TheSharedFixturesCarryTheirPasswords) {
  const auto fixtures = findFixtures(FERROVALE_FIXTURE_DIR);
  if (fixtures.empty()) GTEST_SKIP() << "no fixtures beside this clone";
  const auto passwordOf = [&](std::string_view name) {
    const auto found = std::ranges::find(fixtures, name, &Fixture::name);
    return found == fixtures.end() ? std::optional<std::string>("<missing>") : found->password;
  };
  EXPECT_EQ(passwordOf("encrypted/V2000_with-password.mdb"), "password");
  EXPECT_EQ(passwordOf("encrypted/password.mdb"), "ucanaccess");
  EXPECT_EQ(passwordOf("encrypted/db2007-enc.accdb"), "Test123");
  EXPECT_EQ(passwordOf("jet3/testV1997.mdb"), std::nullopt);
}

TEST(MdbSchema, ParsesNamesTypesAndConstraints) {
  const std::string text =
      "-- comment\n\nCREATE TABLE [Tab [1]]\n (\n"
      "\t[A]]b]\t\t\tText (50), \n"
      "\t[Amount]\t\t\tNumeric (18, 6) NOT NULL, \n"
      "\t[Key]\t\t\tUnknown_0012\n);\n\nCREATE TABLE [Other]\n (\n\t[x]\t\t\tBoolean NOT NULL\n);\n";
  const MdbSchema schema = parseMdbSchema(text);
  ASSERT_EQ(schema.size(), 2u);
  const auto& columns = schema.at("Tab [1]");
  ASSERT_EQ(columns.size(), 3u);
  EXPECT_EQ(columns[0].name, "A]]b");
  EXPECT_EQ(columns[0].typeName, "Text (50)");
  EXPECT_EQ(columns[1].typeName, "Numeric (18, 6)");
  EXPECT_EQ(columns[2].typeName, "Unknown_0012");
  EXPECT_EQ(schema.at("Other").at(0).typeName, "Boolean");
}

TEST(MdbSchema, MapsTypeNamesToAdoTypes) {
  EXPECT_EQ(adoTypeOfMdbSchemaType("Long Integer"), ado::adInteger);
  EXPECT_EQ(adoTypeOfMdbSchemaType("Text (255)"), ado::adVarWChar);
  EXPECT_EQ(adoTypeOfMdbSchemaType("Memo/Hyperlink (255)"), ado::adLongVarWChar);
  EXPECT_EQ(adoTypeOfMdbSchemaType("Numeric (18, 6)"), ado::adNumeric);
  EXPECT_EQ(adoTypeOfMdbSchemaType("Byte"), ado::adUnsignedTinyInt);
  EXPECT_EQ(adoTypeOfMdbSchemaType("Replication ID"), ado::adGUID);
  EXPECT_EQ(adoTypeOfMdbSchemaType("Unknown_0013"), std::nullopt);
}

TEST(DecimalText, LosesOnlyTrailingZerosAfterThePoint) {
  EXPECT_EQ(trimDecimal("3.5000"), "3.5");
  EXPECT_EQ(trimDecimal("0.0000"), "0");
  EXPECT_EQ(trimDecimal("-0.000"), "0");
  EXPECT_EQ(trimDecimal("1000000.0000"), "1000000");
  EXPECT_EQ(trimDecimal("100"), "100");
  EXPECT_EQ(trimDecimal("-36.222200"), "-36.2222");
}

TEST(DateRounding, CarriesIntoTheDateAndDropsZeroFractions) {
  EXPECT_EQ(roundDateText("1999-12-31 23:59:59.5", 0), "2000-01-01 00:00:00");
  EXPECT_EQ(roundDateText("2024-02-28 23:59:59.9996", 3), "2024-02-29 00:00:00");
  EXPECT_EQ(roundDateText("2024-02-29 10:00:00.2504", 3), "2024-02-29 10:00:00.25");
  EXPECT_EQ(roundDateText("2024-02-29 10:00:00.4", 0), "2024-02-29 10:00:00");
  EXPECT_EQ(roundDateText("1492-01-10 00:00:00", 0), "1492-01-10 00:00:00");
  EXPECT_EQ(roundDateText("not a date", 0), "not a date");
}

TEST(OracleProjection, CutsNumbersAndDatesToWhatEachReaderPrints) {
  EXPECT_EQ(projectForOracle(Oracle::MdbTools, ado::adDouble, "0.30000000000000004"), "0.3");
  EXPECT_EQ(projectForOracle(Oracle::MdbTools, ado::adDouble, "444.555"), "444.555");
  EXPECT_EQ(projectForOracle(Oracle::MdbTools, ado::adSingle, "0.1"), "0.1");
  EXPECT_EQ(projectForOracle(Oracle::MdbTools, ado::adSingle, "16777216"), "16777216");
  EXPECT_EQ(projectForOracle(Oracle::MdbTools, ado::adSingle, "3.4028235e+38"), "3.4028235e+38");
  EXPECT_EQ(projectForOracle(Oracle::MdbTools, ado::adDate, "2001-01-01 08:37:00.75"), "2001-01-01 08:37:01");
  EXPECT_EQ(projectForOracle(Oracle::MdbReader, ado::adDate, "2001-01-01 08:37:00.1234"),
            "2001-01-01 08:37:00.123");
  EXPECT_EQ(projectForOracle(Oracle::MdbReader, ado::adDouble, "0.30000000000000004"), "0.30000000000000004");
  EXPECT_EQ(projectForOracle(Oracle::MdbTools, ado::adDouble, "\\N"), "\\N");
}

// canonical.mjs rebuilds accessdb's text of Single and Double values in
// JavaScript; std::to_chars is the C++ side's shortest form. They must
// agree bit pattern for bit pattern, ties and exact integers included.
class JavaScriptCanonicalForm : public testing::Test {
 protected:
  void SetUp() override {
    if (!programAvailable("node")) SKIP_WITHOUT_ORACLE("node is not installed");
  }

  // Runs `formatter(value)` in node for each value given as hex bits.
  static std::vector<std::string> formatInNode(const std::string& formatter,
                                               const std::vector<std::string>& hexBits) {
    const std::string module = (fs::path(FERROVALE_ORACLE_DIR) / "canonical.mjs").string();
    const std::string script =
        "const m = await import(process.argv[1]);\n"
        "const out = process.argv.slice(2).map((hex) => {\n"
        "  const b = Buffer.from(hex, 'hex');\n"
        "  const v = hex.length === 8 ? b.readFloatBE() : b.readDoubleBE();\n"
        "  return m." +
        formatter +
        "(v); });\n"
        "process.stdout.write(out.join('\\n') + '\\n');\n";
    std::vector<std::string> argv = {"node", "--input-type=module", "-e", script, module};
    argv.insert(argv.end(), hexBits.begin(), hexBits.end());
    const ProcessResult result = runProcess(argv);
    EXPECT_TRUE(result.succeeded()) << result.err;
    return splitLines(result.out);
  }

  template <typename Number>
  static std::string cppText(Number value) {
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
  }

  // Compares 3000 values, `chosen` and then random finite ones.
  template <typename Number, typename Bits, typename Random>
  static void expectSameAsToChars(const std::string& formatter, std::vector<Bits> patterns) {
    constexpr int kMantissaBits = std::numeric_limits<Number>::digits - 1;
    constexpr Bits kExponentMask = (Bits{1} << (sizeof(Bits) * 8 - 1 - kMantissaBits)) - 1;
    Random random(20261208);
    while (patterns.size() < 3000) {
      const Bits bits = static_cast<Bits>(random());
      if (((bits >> kMantissaBits) & kExponentMask) != kExponentMask) patterns.push_back(bits);
    }
    std::vector<std::string> hex;
    for (const Bits bits : patterns) hex.push_back(hexOf(bits));
    const std::vector<std::string> texts = formatInNode(formatter, hex);
    ASSERT_EQ(texts.size(), patterns.size());
    for (std::size_t i = 0; i < patterns.size(); ++i) {
      ASSERT_EQ(texts[i], cppText(std::bit_cast<Number>(patterns[i]))) << "bits " << hex[i];
    }
  }

  template <typename Bits>
  static std::string hexOf(Bits bits) {
    char buffer[17];
    std::snprintf(buffer, sizeof buffer, sizeof(Bits) == 4 ? "%08llx" : "%016llx",
                  static_cast<unsigned long long>(bits));
    return buffer;
  }
};

// Powers of two (lopsided rounding intervals), ties, integers past 2^24
// and 2^53, subnormals, the largest values, then random bit patterns.
TEST_F(JavaScriptCanonicalForm, SingleMatchesToChars) {
  expectSameAsToChars<float, std::uint32_t, std::mt19937>(
      "formatSingle", {0x39800000, 0xb9800000, 0x4f800000, 0x4b800001, 0x00000001, 0x007fffff, 0x7f7fffff,
                       0x3dcccccd, 0xca508ce7, 0x3f800000});
}

TEST_F(JavaScriptCanonicalForm, DoubleMatchesToChars) {
  expectSameAsToChars<double, std::uint64_t, std::mt19937_64>(
      "formatDouble", {0x3fd3333333333334, 0x43fadda24c86af0a, 0x0000000000000001, 0x4415af1d78b58c40,
                       0x3eb0c6f7a0b5ed8d, 0x7fefffffffffffff, 0x40f86a0000000000});
}

// The rest of canonical.mjs: mdb-reader's values turned into export text.
TEST_F(JavaScriptCanonicalForm, RebuildsExportTextFromMdbReaderValues) {
  const std::string module = (fs::path(FERROVALE_ORACLE_DIR) / "canonical.mjs").string();
  // A Date as mdb-reader makes it: (days - 25569) * 86400000 ms, linearly.
  const std::string script =
      "const m = await import(process.argv[1]);\n"
      "const access = (days) => new Date(Math.round((days - 25569) * 86400000));\n"
      "const lines = [\n"
      "  m.formatDate(access(-1.25)),\n"
      "  m.formatDate(access(-36522)),\n"
      "  m.formatDate(access(45000.5 + 0.25 / 86400)),\n"
      "  m.formatDateTimeExtended('2021.06.14 22:45:12.345678900'),\n"
      "  m.formatDateTimeExtended('0100.06.14 12:45:00.000000000'),\n"
      "  m.formatValue('currency', '-0.5000'),\n"
      "  m.formatValue('numeric', '-0.000000'),\n"
      "  m.formatValue('text', 'a\\\\b\\tc\\r\\nd'),\n"
      "  m.formatValue('memo', null),\n"
      "  m.formatValue('boolean', false),\n"
      "  m.formatValue('bigint', -9007199254740993n),\n"
      "  m.formatValue('repid', '6b29fc40-ca47-1067-b31d-00dd010662da'),\n"
      "  m.formatValue('ole', Buffer.from([0, 171, 255])),\n"
      "];\n"
      "process.stdout.write(lines.join('\\n') + '\\n');\n";
  const ProcessResult result = runProcess({"node", "--input-type=module", "-e", script, module});
  ASSERT_TRUE(result.succeeded()) << result.err;
  EXPECT_EQ(splitLines(result.out), (std::vector<std::string>{
                                        "1899-12-29 06:00:00",  // day -1, then a quarter day forward
                                        "1800-01-01 00:00:00",
                                        "2023-03-15 12:00:00.25",
                                        "2021-06-14 22:45:12.3456789",
                                        "0100-06-14 12:45:00",
                                        "-0.5",
                                        "0",
                                        "a\\\\b\\tc\\r\\nd",
                                        "\\N",
                                        "0",
                                        "-9007199254740993",
                                        "{6B29FC40-CA47-1067-B31D-00DD010662DA}",
                                        "00abff",
                                    }));
}

}  // namespace
}  // namespace oracle
