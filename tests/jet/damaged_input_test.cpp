// Damaged files: each must end in jet::Error (or read what is sound),
// never in a crash, a hang or an out-of-bounds read; the sanitizer build
// checks the last part.
#include <gtest/gtest.h>

#include <random>

#include "fixtures.h"
#include "jet/page/data_page_format.h"
#include "jet/row/row_reader.h"
#include "jet/usage_map/usage_map_reader.h"
#include "read_everything.h"

namespace jet {
namespace {

using testing::fixtureBytes;
using testing::openBytes;
using testing::readEverything;

constexpr std::size_t kJet4Page = 4096;

void put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

void expectDamaged(std::vector<std::uint8_t> bytes, const std::string& fragment) {
  try {
    readEverything(std::move(bytes));
    ADD_FAILURE() << "no error, expected one mentioning '" << fragment << "'";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find(fragment), std::string::npos) << e.what();
  }
}

TEST(DamagedInput, EmptyAndForeignFilesAreNotAccessDatabases) {
  for (auto bytes : {std::vector<std::uint8_t>{}, std::vector<std::uint8_t>(100, 0),
                     std::vector<std::uint8_t>(8192, 0xFF)}) {
    try {
      openBytes(bytes);
      ADD_FAILURE();
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), "Unrecognized database format 'memory.mdb'.");
    }
  }
}

TEST(DamagedInput, RandomBytesAreRejected) {
  std::mt19937 random(7);
  std::vector<std::uint8_t> bytes(64 * 1024);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
  expectDamaged(bytes, "Unrecognized database format");
  // The same behind a genuine header page.
  const auto header = fixtureBytes("jet4/delColTestV2000.mdb");
  std::copy_n(header.begin(), kJet4Page, bytes.begin());
  EXPECT_THROW(readEverything(bytes), Error);
}

TEST(DamagedInput, TruncatedFiles) {
  const auto whole = fixtureBytes("ace12/testV2007.accdb");
  expectDamaged({whole.begin(), whole.begin() + 3000}, "Unrecognized database format");
  expectDamaged({whole.begin(), whole.begin() + 2 * kJet4Page}, "past the end of the file");
  // Cut in the middle of a page: what remains reads or fails cleanly.
  for (std::size_t size = 3 * kJet4Page + 100; size < whole.size(); size += 37 * kJet4Page) {
    try {
      readEverything({whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size)});
    } catch (const Error&) {
    }
  }
}

TEST(DamagedInput, PagePointerPastTheEnd) {
  auto bytes = fixtureBytes("jet4/delColTestV2000.mdb");
  const Format f = Format::of(Version::Jet4);
  put32(bytes, 2 * kJet4Page + f.tdefOwnedPages, 0x7FFFFF00);  // catalog's page map on page 0x7FFFFF
  expectDamaged(bytes, "past the end of the file");
}

TEST(DamagedInput, TableDefinitionChainThatLoops) {
  auto bytes = fixtureBytes("jet4/delColTestV2000.mdb");
  put32(bytes, 2 * kJet4Page + 4, 2);  // the catalog's definition continues on itself
  expectDamaged(bytes, "loops");
}

TEST(DamagedInput, LongValueChainThatLoops) {
  auto bytes = fixtureBytes("ace12/longtext.accdb");
  // Find the 5000-character memo's first long-value row and point it at itself.
  auto db = openBytes(bytes);
  const Table table = db->table("Table1");
  const Format& f = db->header().format;
  std::vector<FieldSlice> fields;
  RowCracker cracker;
  std::uint32_t first = 0;
  for (const std::uint32_t number : tableDataPages(db->pager(), f, table.def())) {
    const Page page = db->pager().page(number);
    if ((*page)[0] != kPageData || u32(*page, kDataOwnerOffset) != table.def().page) continue;
    for (unsigned row = 0; row < dataRowCount(*page, f); ++row) {
      const RowBounds r = rowBounds(*page, f, row);
      if (r.overflow()) continue;  // the row moved; its new home is read below
      cracker.crack(ByteView(*page).subspan(r.start, r.end - r.start), table.def(), f, fields);
      first = u32(fields[1].bytes, 4);
    }
  }
  ASSERT_NE(first, 0u);
  const RowPointer at = RowPointer::decode(first);
  const std::size_t pageStart = std::size_t{at.page} * kJet4Page;
  const std::size_t rowStart =
      u16(bytes, pageStart + f.dataFirstRowOffset + 2u * at.row) & row_slot::kOffsetMask;
  put32(bytes, pageStart + rowStart, first);
  auto damagedDb = openBytes(bytes);
  try {
    testing::readTable(*damagedDb, "Table1");
    ADD_FAILURE() << "the looping chain was not noticed";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("loops"), std::string::npos) << e.what();
  }
}

// Small random corruptions anywhere in real files: the engine may read
// them or refuse them, nothing else.
TEST(DamagedInput, ScatteredCorruptionNeverEscapesAsAnythingButError) {
  std::mt19937 random(2024);
  for (const char* file : {"jet3/activemdb_sample.mdb", "jet4/test2V2000.mdb",
                           "ace14/calcFieldTestV2010.accdb", "ace12/longtext.accdb"}) {
    const auto original = fixtureBytes(file);
    for (int round = 0; round < 60; ++round) {
      auto bytes = original;
      const int edits = 1 + static_cast<int>(random() % 8);
      for (int e = 0; e < edits; ++e) {
        // Favour the catalog and table definition pages, where damage matters most.
        const std::size_t page = random() % 4 == 0 ? random() % (bytes.size() / 2048) : 1 + random() % 4;
        const std::size_t at = std::min(bytes.size() - 1, page * 2048 + random() % 4096);
        bytes[at] = static_cast<std::uint8_t>(random());
      }
      try {
        readEverything(std::move(bytes));
      } catch (const Error&) {
      }
    }
  }
}

}  // namespace
}  // namespace jet
