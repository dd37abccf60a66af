// Pages whose changes the writer names are journaled and written by those
// ranges alone, without comparing them; anything else is compared.
#include "jet/journal/page_store.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "temp_dir.h"

namespace jet::write {
namespace {

constexpr std::size_t kPage = 4096;

std::string fileOfBlankPages(const jetwrite_test::TempDir& dir, std::size_t pages) {
  const std::string path = dir.file("pages.bin");
  const std::vector<char> blank(kPage * pages, 0);
  std::ofstream(path, std::ios::binary).write(blank.data(), static_cast<std::streamsize>(blank.size()));
  return path;
}

std::vector<std::uint8_t> bytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(PageStore, WritesNamedRangesAndComparesPagesAlsoEditedWithoutNames) {
  const jetwrite_test::TempDir dir;
  const std::string path = fileOfBlankPages(dir, 3);
  {
    PageStore store(path, kPage, journal::SyncPolicy::Off);
    auto& named = store.editRanges(1);
    named[100] = 1;
    named[300] = 2;  // more than a joinable gap apart
    store.changed(1, 100, 1);
    store.changed(1, 300, 1);
    store.editRanges(2)[10] = 3;
    store.changed(2, 10, 1);
    store.edit(2)[4000] = 4;  // unnamed: page 2 is compared whole
    store.commit();
  }
  const auto file = bytesOf(path);
  ASSERT_EQ(file.size(), 3 * kPage);
  EXPECT_EQ(file[kPage + 100], 1);
  EXPECT_EQ(file[kPage + 300], 2);
  EXPECT_EQ(file[2 * kPage + 10], 3);
  EXPECT_EQ(file[2 * kPage + 4000], 4);
}

TEST(PageStore, RefusesAChangeOutsideTheNamedRangesWhereAssertionsAreOn) {
#ifdef NDEBUG
  GTEST_SKIP() << "the check runs only in builds with assertions";
#else
  const jetwrite_test::TempDir dir;
  PageStore store(fileOfBlankPages(dir, 2), kPage, journal::SyncPolicy::Off);
  auto& page = store.editRanges(1);
  page[10] = 1;
  page[2000] = 1;
  store.changed(1, 10, 1);
  EXPECT_THROW(store.commit(), std::logic_error);
#endif
}

}  // namespace
}  // namespace jet::write
