// The per-character collation codes of the "General" sort order, one entry
// per UTF-16 code unit from U+0000 up to the last character the tables
// cover. The tables themselves are generated (general_codes_data.cpp).
#pragma once

#include <cstdint>
#include <span>

namespace jet::collation {

enum class CodeKind : std::uint8_t {
  Simple,            // inline bytes only
  International,     // inline bytes, plus extra (accent/case) bytes
  Unprintable,       // no inline bytes; unprintable bytes after the text
  Modifier,          // one byte added to the previous extra code
  InternationalExt,  // inline bytes, optional extra bytes and a crazy flag
  Ignored            // leaves no trace in the key
};

struct CharCodes {
  CodeKind kind;
  std::uint8_t firstLength;   // inline bytes; unprintable bytes; the modifier
  std::uint8_t secondLength;  // extra bytes
  std::uint8_t crazyFlag;     // 0, or 2 / 3 for InternationalExt
  std::uint16_t offset;       // of the first bytes in the pool; the second follow
};

struct CodeTable {
  std::span<const CharCodes> codes;
  std::span<const std::uint8_t> pool;

  std::span<const std::uint8_t> first(const CharCodes& c) const {
    return pool.subspan(c.offset, c.firstLength);
  }
  std::span<const std::uint8_t> second(const CharCodes& c) const {
    return pool.subspan(c.offset + c.firstLength, c.secondLength);
  }
};

extern const CodeTable kLegacyCodeTable;   // General, Access 2000-2007 ("General - Legacy")
extern const CodeTable kGeneralCodeTable;  // General, Access 2010

}  // namespace jet::collation
