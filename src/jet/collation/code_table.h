// The per-character collation codes of the "General" sort order, for every
// UTF-16 code unit. The tables themselves are generated
// (general_codes_data.cpp by tools/collation/gen_index_codes.py).
//
// A table is one record per code unit, in code unit order, and the offset of
// every 8th record. A record is one of
//   0x00                 an ignored character
//   0x01                 a surrogate half (no code: Jackcess keys none either)
//   0x10 | gap           a simple character whose inline code follows the
//                        previous record's code, `gap` codes skipped; codes
//                        never hold a byte below 2
//   0x80 | crazy << 3 | kind, firstLength << 4 | secondLength, the bytes
// The record that starts a block is never a 0x10 record, so a lookup decodes
// at most 7 records before its own (about 50 ns a character).
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace jet::collation {

enum class CodeKind : std::uint8_t {
  Simple,            // inline bytes only
  International,     // inline bytes, plus extra (accent/case) bytes
  Unprintable,       // no inline bytes; unprintable bytes after the text
  Modifier,          // one byte added to the previous extra code
  InternationalExt,  // inline bytes, optional extra bytes and a crazy flag
  Ignored,           // leaves no trace in the key
  Surrogate          // half of a character outside the BMP: no code known
};

struct CharCodes {
  static constexpr std::size_t kMaxBytes = 12;

  CodeKind kind = CodeKind::Ignored;
  std::uint8_t firstLength = 0;   // inline bytes; unprintable bytes; the modifier
  std::uint8_t secondLength = 0;  // extra bytes
  std::uint8_t crazyFlag = 0;     // 0, or 2 / 3 for InternationalExt
  std::array<std::uint8_t, kMaxBytes> bytes{};

  std::span<const std::uint8_t> first() const { return {bytes.data(), firstLength}; }
  std::span<const std::uint8_t> second() const { return {bytes.data() + firstLength, secondLength}; }
};

class CodeTable {
 public:
  constexpr CodeTable(std::span<const std::uint32_t> blockStarts, std::span<const unsigned char> records)
      : blockStarts_(blockStarts), records_(records) {}

  CharCodes lookup(char16_t unit) const;

 private:
  std::span<const std::uint32_t> blockStarts_;
  std::span<const unsigned char> records_;
};

extern const CodeTable kLegacyCodeTable;   // General, Access 2000-2007 ("General - Legacy")
extern const CodeTable kGeneralCodeTable;  // General, Access 2010

}  // namespace jet::collation
