// Rows as the writer lays them out, cracked again by the reader's own row
// code: every value where the reader looks for it, whatever order the
// variable-width slots take relative to the columns.
#include "jet/row/row_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jet/error.h"
#include "jet/row/row_reader.h"
#include "utf16/encode.h"

namespace jet::write {
namespace {

ColumnDef fixedColumn(std::string name, ColumnType type, std::uint16_t number, std::uint16_t offset,
                      std::uint16_t length) {
  ColumnDef c;
  c.name = std::move(name);
  c.typeCode = static_cast<std::uint8_t>(type);
  c.number = number;
  c.fixedOffset = offset;
  c.length = length;
  c.flags = column_flags::kFixed | column_flags::kNullable;
  return c;
}

ColumnDef varColumn(std::string name, ColumnType type, std::uint16_t number, std::uint16_t slot) {
  ColumnDef c;
  c.name = std::move(name);
  c.typeCode = static_cast<std::uint8_t>(type);
  c.number = number;
  c.varIndex = slot;
  c.flags = column_flags::kNullable;
  return c;
}

std::vector<FieldSlice> crack(const std::vector<std::uint8_t>& row, const TableDef& def) {
  std::vector<FieldSlice> fields;
  RowCracker().crack(row, def, Format::of(Version::Jet4), fields);
  return fields;
}

std::vector<std::uint8_t> bytesOf(const FieldSlice& f) {
  return {f.bytes.begin(), f.bytes.end()};
}

// Stands in for the long-value pages: a memo's reference is its data
// behind a one-byte marker, so that the test sees which data it was given.
const LongValueSink kMarkedInline = [](const ColumnDef&, ByteView data) {
  std::vector<std::uint8_t> reference{0xEE};
  reference.insert(reference.end(), data.begin(), data.end());
  return reference;
};

// id Long, flag Yes/No, then three variable columns whose slots run
// against their column order (as after columns were dropped and added).
TableDef mixedTable() {
  TableDef def;
  def.maxColumns = 5;
  def.varColumns = 3;
  def.columns = {fixedColumn("id", ColumnType::Int32, 0, 0, 4),
                 fixedColumn("flag", ColumnType::Boolean, 1, 0, 0), varColumn("a", ColumnType::Text, 2, 2),
                 varColumn("b", ColumnType::Memo, 3, 0), varColumn("c", ColumnType::Text, 4, 1)};
  return def;
}

TEST(RowEncoder, VariableSlotsOutOfColumnOrderReadBackInPlace) {
  const TableDef def = mixedTable();
  const std::vector<convert::Value> values = {std::int32_t{0x01020304}, true, std::u16string(u"A\u00e9"),
                                              std::u16string(u"memo"), std::u16string(u"")};
  const auto row = encodeRow(def, values, kMarkedInline);  // the slices point into it
  const auto fields = crack(row, def);
  ASSERT_EQ(fields.size(), 5u);
  EXPECT_EQ(bytesOf(fields[0]), (std::vector<std::uint8_t>{4, 3, 2, 1}));
  EXPECT_FALSE(fields[1].isNull);
  EXPECT_TRUE(fields[1].flag);
  EXPECT_EQ(bytesOf(fields[2]), (std::vector<std::uint8_t>{'A', 0, 0xE9, 0}));
  EXPECT_EQ(bytesOf(fields[3]), (std::vector<std::uint8_t>{0xEE, 'm', 0, 'e', 0, 'm', 0, 'o', 0}));
  EXPECT_FALSE(fields[4].isNull);  // an empty text is not NULL
  EXPECT_TRUE(fields[4].bytes.empty());
}

TEST(RowEncoder, NullsLeaveTheMaskBitClearAndTakeNoBytes) {
  const TableDef def = mixedTable();
  const std::vector<convert::Value> values = {std::monostate{}, false, std::monostate{}, std::u16string(u"x"),
                                              std::monostate{}};
  const auto row = encodeRow(def, values, kMarkedInline);
  const auto fields = crack(row, def);
  EXPECT_TRUE(fields[0].isNull);
  EXPECT_FALSE(fields[1].flag);
  EXPECT_TRUE(fields[2].isNull);
  EXPECT_EQ(bytesOf(fields[3]), (std::vector<std::uint8_t>{0xEE, 'x', 0}));
  EXPECT_TRUE(fields[4].isNull);
  // Count, the fixed area, three bytes of memo reference, four offsets, the
  // variable count and one mask byte: a null adds nothing.
  EXPECT_EQ(row.size(), 2u + 4u + 3u + 4u * 2u + 2u + 1u);
}

TEST(RowEncoder, RefusesAValueWiderThanItsFixedColumn) {
  TableDef def;
  def.maxColumns = 1;
  def.columns = {fixedColumn("n", ColumnType::Int16, 0, 0, 2)};
  try {
    encodeRow(def, {std::int32_t{7}}, kMarkedInline);
    FAIL() << "a four-byte value fit a two-byte column";
  } catch (const Error& e) {
    EXPECT_NE(e.description().find("'n'"), std::string::npos) << e.description();
  }
}

TEST(RowEncoder, RefusesARowPastTheReachOfItsOffsets) {
  TableDef def;
  def.maxColumns = 2;
  def.varColumns = 2;
  def.columns = {varColumn("a", ColumnType::Text, 0, 0), varColumn("b", ColumnType::Text, 1, 1)};
  const std::u16string half(0x4000, u'x');  // 32 KiB each: together past 64 KiB
  EXPECT_THROW(encodeRow(def, {half, half}, kMarkedInline), Error);
}

TEST(RowEncoder, TextsAreStoredAsUtf16leSurrogatePairsInOrder) {
  std::vector<std::uint8_t> out{0x99};
  utf16::appendAsUtf16le(out, u"a\U0001F600");
  EXPECT_EQ(out, (std::vector<std::uint8_t>{0x99, 'a', 0, 0x3D, 0xD8, 0x00, 0xDE}));
  out.clear();
  utf16::appendAsUtf16le(out, u"\u20ac");
  EXPECT_EQ(out, (std::vector<std::uint8_t>{0xAC, 0x20}));
}

}  // namespace
}  // namespace jet::write
