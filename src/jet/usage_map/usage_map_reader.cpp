// Usage map decoding (inline and reference maps).
#include "jet/usage_map/usage_map_reader.h"

#include "jet/file/pager.h"
#include "jet/page/data_page_format.h"

namespace jet {
namespace {

void collectBits(ByteView bitmap, std::uint64_t firstPage, std::uint32_t pageCount,
                 std::vector<std::uint32_t>& pages) {
  for (std::size_t i = 0; i < bitmap.size(); ++i) {
    if (bitmap[i] == 0) continue;
    for (int bit = 0; bit < 8; ++bit) {
      if ((bitmap[i] & (1u << bit)) == 0) continue;
      const std::uint64_t page = firstPage + i * 8 + static_cast<unsigned>(bit);
      if (page >= pageCount)
        throw damaged("a usage map names page " + std::to_string(page) + ", past the end of the file");
      pages.push_back(static_cast<std::uint32_t>(page));
    }
  }
}

}  // namespace

std::vector<std::uint8_t> readRowBytes(Pager& pager, const Format& format, RowPointer pointer) {
  const Page page = pager.page(pointer.page);
  const ByteView view(*page);
  if (view[0] != kPageData) throw damaged("a row pointer names a page that holds no rows");
  if (pointer.row >= dataRowCount(view, format)) throw damaged("a row pointer names a missing row");
  const RowBounds r = rowBounds(view, format, pointer.row);
  return {view.begin() + static_cast<std::ptrdiff_t>(r.start),
          view.begin() + static_cast<std::ptrdiff_t>(r.end)};
}

std::vector<std::uint32_t> readUsageMap(Pager& pager, const Format& format, std::uint32_t mapRow) {
  const auto row = readRowBytes(pager, format, RowPointer::decode(mapRow));
  const ByteView map(row);
  std::vector<std::uint32_t> pages;
  switch (static_cast<UsageMapType>(u8(map, 0))) {
    case UsageMapType::Inline:
      collectBits(map.subspan(std::min(kInlineMapHeader, map.size())), u32(map, 1), pager.pageCount(), pages);
      break;
    case UsageMapType::Reference: {
      const std::uint64_t pagesPerMapPage = pagesPerBitmapPage(format);
      for (std::size_t i = 0; 1 + 4 * i + 4 <= map.size(); ++i) {
        const std::uint32_t mapPage = u32(map, 1 + 4 * i);
        if (mapPage == 0) continue;
        const Page bits = pager.page(mapPage);
        if ((*bits)[0] != kPageUsageMap) throw damaged("a usage map names a page that is not a bitmap");
        collectBits(ByteView(*bits).subspan(kBitmapPageHeader), i * pagesPerMapPage, pager.pageCount(),
                    pages);
      }
      break;
    }
    default: throw damaged("a usage map has an unknown type");
  }
  return pages;
}

}  // namespace jet
