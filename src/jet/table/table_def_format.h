// The on-disk constants of table definitions, shared by their reader and
// writer: column type codes, column flags and the table types. Offsets of
// the definition's fields differ between Jet3 and Jet4 and live in
// jet/file/format.h.
#pragma once

#include <cstddef>
#include <cstdint>

namespace jet {

enum class ColumnType : std::uint8_t {
  Boolean = 0x01,
  Byte = 0x02,
  Int16 = 0x03,
  Int32 = 0x04,
  Currency = 0x05,
  Single = 0x06,
  Double = 0x07,
  DateTime = 0x08,
  Binary = 0x09,
  Text = 0x0A,
  Ole = 0x0B,
  Memo = 0x0C,
  Guid = 0x0F,
  Numeric = 0x10,
  Complex = 0x12,
  BigInt = 0x13,
  ExtDateTime = 0x14
};

// True for the type codes above; anything else is read as raw bytes.
bool isKnownColumnType(std::uint8_t code);

namespace column_flags {
inline constexpr std::uint8_t kFixed = 0x01;
inline constexpr std::uint8_t kNullable = 0x02;
inline constexpr std::uint8_t kAutoLong = 0x04;
inline constexpr std::uint8_t kAutoGuid = 0x40;
inline constexpr std::uint8_t kHyperlink = 0x80;
}  // namespace column_flags
namespace column_ext_flags {
inline constexpr std::uint8_t kCompressedUnicode = 0x01;
inline constexpr std::uint8_t kCalculated = 0xC0;
}  // namespace column_ext_flags

namespace table_type {
inline constexpr std::uint8_t kUser = 0x4E;
inline constexpr std::uint8_t kSystem = 0x53;
}  // namespace table_type

// The definition's field that holds the last AutoNumber handed out (Jet4).
inline constexpr std::size_t kTdefNextAutoNumber = 20;

// A real index block (Jet4): ten column slots of three bytes (the column's
// number, 0xFFFF for none, then its order), then the row pointer of the
// index's usage map, its root page and its flags.
namespace real_index {
inline constexpr std::size_t kColumnSlots = 10;
inline constexpr std::size_t kFirstColumnSlot = 4;
inline constexpr std::size_t kColumnSlotSize = 3;
inline constexpr std::size_t kColumnOrder = 2;  // within a slot
inline constexpr std::uint16_t kNoColumn = 0xFFFF;
inline constexpr std::uint8_t kAscending = 0x01;
inline constexpr std::size_t kUsageMap = 34;
inline constexpr std::size_t kRoot = 38;
inline constexpr std::size_t kFlags = 46;
}  // namespace real_index

// A logical index block (Jet4): its number, the real index it uses, the
// relationship it takes part in (which side this table is, the other
// table's logical index and definition page) and its kind.
namespace logical_index {
inline constexpr std::size_t kNumber = 4;
inline constexpr std::size_t kRealIndex = 8;
inline constexpr std::size_t kRelatedSide = 12;
inline constexpr std::size_t kRelatedIndex = 13;
inline constexpr std::size_t kRelatedTable = 17;
inline constexpr std::size_t kKind = 23;
inline constexpr std::uint8_t kPrimaryKey = 0x01;
inline constexpr std::uint8_t kForeignKey = 0x02;
inline constexpr std::uint8_t kOneSide = 0x01;
inline constexpr std::uint32_t kNoIndex = 0xFFFFFFFF;
}  // namespace logical_index

}  // namespace jet
