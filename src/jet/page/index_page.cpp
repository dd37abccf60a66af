#include "jet/page/index_page.h"

#include "jet/error.h"
#include "jet/file/put_bytes.h"

namespace jet::write {
namespace {

// Jet4 index page layout.
constexpr std::size_t kFreeSpace = 2;
constexpr std::size_t kTdef = 4;
constexpr std::size_t kPrev = 12;
constexpr std::size_t kNext = 16;
constexpr std::size_t kTail = 20;
constexpr std::size_t kPrefixLength = 24;
constexpr std::size_t kMaskStart = 0x1B;
constexpr std::size_t kFirstEntry = 0x1E0;

void requireJet4(const Format& f) {
  if (f.jet3) throw Error(errc::kFailure, "Access 97 index pages cannot be written.");
}

}  // namespace

IndexPage decodeIndexPage(ByteView page, const Format& f) {
  requireJet4(f);
  IndexPage out;
  if (page[0] != kPageIndexLeaf && page[0] != kPageIndexNode)
    throw damaged("an index names a page that is not an index page");
  out.leaf = page[0] == kPageIndexLeaf;
  out.tdefPage = u32(page, kTdef);
  out.prev = u32(page, kPrev);
  out.next = u32(page, kNext);
  out.tail = u32(page, kTail);
  const std::size_t prefix = u16(page, kPrefixLength);
  std::size_t start = 0;
  for (std::size_t bit = 0; bit < (kFirstEntry - kMaskStart) * 8; ++bit) {
    if (!((page[kMaskStart + bit / 8] >> (bit % 8)) & 1)) continue;
    if (kFirstEntry + bit > page.size()) throw damaged("an index entry runs past its page");
    Entry e;
    if (!out.entries.empty())
      e.assign(out.entries.front().begin(),
               out.entries.front().begin() +
                   static_cast<std::ptrdiff_t>(std::min(prefix, out.entries.front().size())));
    e.insert(e.end(), page.begin() + static_cast<std::ptrdiff_t>(kFirstEntry + start),
             page.begin() + static_cast<std::ptrdiff_t>(kFirstEntry + bit));
    out.entries.push_back(std::move(e));
    start = bit;
  }
  return out;
}

bool fitsIndexPage(const std::vector<Entry>& entries, const Format& f) {
  std::size_t used = 0;
  for (const Entry& e : entries) used += e.size();
  return used <= f.pageSize - kFirstEntry && used <= (kFirstEntry - kMaskStart) * 8;
}

std::vector<std::uint8_t> encodeIndexPage(const IndexPage& p, const Format& f) {
  requireJet4(f);
  if (!fitsIndexPage(p.entries, f)) throw Error(errc::kFailure, "Index entries overflow their page.");
  std::vector<std::uint8_t> page(f.pageSize, 0);
  page[0] = p.leaf ? kPageIndexLeaf : kPageIndexNode;
  page[1] = kPageMark;
  put32(page, kTdef, p.tdefPage);
  put32(page, kPrev, p.prev);
  put32(page, kNext, p.next);
  put32(page, kTail, p.tail);
  std::size_t at = 0;
  for (const Entry& e : p.entries) {
    std::copy(e.begin(), e.end(), page.begin() + static_cast<std::ptrdiff_t>(kFirstEntry + at));
    at += e.size();
    page[kMaskStart + at / 8] |= static_cast<std::uint8_t>(1u << (at % 8));
  }
  put16(page, kFreeSpace, static_cast<std::uint16_t>(f.pageSize - kFirstEntry - at));
  return page;
}

std::uint32_t childOf(const Entry& e) {
  const std::size_t n = e.size();
  return (static_cast<std::uint32_t>(e[n - 4]) << 24) | (e[n - 3] << 16) | (e[n - 2] << 8) | e[n - 1];
}

Entry withoutChild(const Entry& e) {
  return Entry(e.begin(), e.end() - kChildPointerSize);
}

Entry nodeEntry(const Entry& last, std::uint32_t child) {
  Entry e = last;
  for (int shift = 24; shift >= 0; shift -= 8) e.push_back(static_cast<std::uint8_t>(child >> shift));
  return e;
}

}  // namespace jet::write
