// The on-disk constants of table definitions, shared by their reader and
// writer: column type codes, column flags and the table types. Offsets of
// the definition's fields differ between Jet3 and Jet4 and live in
// jet/file/format.h.
#pragma once

#include <cstddef>
#include <cstdint>

namespace jet {

enum class ColumnType : std::uint8_t {
  Boolean = 0x01, Byte = 0x02, Int16 = 0x03, Int32 = 0x04, Currency = 0x05,
  Single = 0x06, Double = 0x07, DateTime = 0x08, Binary = 0x09, Text = 0x0A,
  Ole = 0x0B, Memo = 0x0C, Guid = 0x0F, Numeric = 0x10, Complex = 0x12,
  BigInt = 0x13, ExtDateTime = 0x14
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

}  // namespace jet
