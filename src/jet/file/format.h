// The byte layout of one Access file generation. Jet3 (Access 97) and
// Jet4 (Access 2000 and every ACE .accdb) differ in page size, in the width
// of several counts and in where fields sit inside pages, table definitions
// and column descriptors; everything else in the engine reads offsets from
// here instead of testing the version.
#pragma once

#include <cstddef>
#include <cstdint>

namespace jet {

// Header byte 0x14.
enum class Version : std::uint8_t {
  Jet3 = 0,
  Jet4 = 1,
  Ace12 = 2,
  Ace14 = 3,
  Ace15 = 4,
  Ace16 = 5,
  Ace17 = 6
};

enum PageType : std::uint8_t {
  kPageHeader = 0x00,
  kPageData = 0x01,
  kPageTableDef = 0x02,
  kPageIndexNode = 0x03,
  kPageIndexLeaf = 0x04,
  kPageUsageMap = 0x05
};

// Byte 1 of every data, definition, index and usage map page Jet writes;
// its meaning is not known.
inline constexpr std::uint8_t kPageMark = 0x01;

struct Format {
  bool jet3 = false;
  std::size_t pageSize = 4096;

  // Header page (offsets after unmasking).
  std::size_t headerMaskLength = 128;
  std::size_t sortOrderOffset = 0x6E;
  std::size_t passwordLength = 40;
  bool hasCreationDate = true;

  // Data pages.
  std::size_t dataRowCountOffset = 12;
  std::size_t dataFirstRowOffset = 14;

  // Table definition (offsets within the joined definition bytes).
  std::size_t tdefRowCount = 16;
  std::size_t tdefTableType = 40;
  std::size_t tdefMaxColumns = 41;
  std::size_t tdefVarColumns = 43;
  std::size_t tdefColumns = 45;
  std::size_t tdefLogicalIndexes = 47;
  std::size_t tdefRealIndexes = 51;
  std::size_t tdefOwnedPages = 55;
  std::size_t tdefFreePages = 59;
  std::size_t tdefIndexCounts = 63;  // one block per real index
  std::size_t realIndexCountSize = 12;
  std::size_t realIndexSize = 52;
  std::size_t logicalIndexSize = 28;
  std::size_t tdefPageHeader = 8;  // header bytes on continuation pages

  // Column descriptor.
  std::size_t columnSize = 25;
  std::size_t colType = 0;
  std::size_t colNumber = 5;
  std::size_t colVarIndex = 7;
  std::size_t colMisc = 11;  // precision/scale, sort order or complex id
  std::size_t colFlags = 15;
  std::size_t colExtFlags = 16;  // Jet4+ only
  std::size_t colFixedOffset = 21;
  std::size_t colLength = 23;
  std::size_t nameLengthSize = 2;  // bytes before each name

  // Rows.
  std::size_t rowCountSize = 2;  // column count and var counts/offsets

  static Format of(Version v) {
    Format f;
    if (v != Version::Jet3) return f;
    f.jet3 = true;
    f.pageSize = 2048;
    f.headerMaskLength = 126;
    f.sortOrderOffset = 0x3A;
    f.passwordLength = 20;
    f.hasCreationDate = false;
    f.dataRowCountOffset = 8;
    f.dataFirstRowOffset = 10;
    f.tdefRowCount = 12;
    f.tdefTableType = 20;
    f.tdefMaxColumns = 21;
    f.tdefVarColumns = 23;
    f.tdefColumns = 25;
    f.tdefLogicalIndexes = 27;
    f.tdefRealIndexes = 31;
    f.tdefOwnedPages = 35;
    f.tdefFreePages = 39;
    f.tdefIndexCounts = 43;
    f.realIndexCountSize = 8;
    f.realIndexSize = 39;
    f.logicalIndexSize = 20;
    f.columnSize = 18;
    f.colNumber = 1;
    f.colVarIndex = 3;
    f.colMisc = 11;
    f.colFlags = 13;
    f.colExtFlags = 0;
    f.colFixedOffset = 14;
    f.colLength = 16;
    f.nameLengthSize = 1;
    f.rowCountSize = 1;
    return f;
  }
};

}  // namespace jet
