#include "jet/write/index_tree.h"

#include <algorithm>

#include "jet/error.h"
#include "jet/write/usage_maps.h"

namespace jet::write {
namespace {

struct Step {
  std::uint32_t page;
  IndexPage content;
};

bool sameKey(const Entry& a, const Entry& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end() - kRowPointerSize, b.begin());
}

Error duplicate() {
  return Error(errc::kFailure,
               "The changes you requested to the table were not successful because they would "
               "create duplicate values in the index, primary key, or relationship. Change the "
               "data in the field or fields that contain duplicate data, remove the index, or "
               "redefine the index to permit duplicate entries and try again.");
}

// The child a node routes `entry` to.
std::uint32_t route(const IndexPage& node, const Entry& entry) {
  for (const Entry& e : node.entries) {
    const Entry last = withoutChild(e);
    if (!(last < entry)) return childOf(e);
  }
  if (node.tail == 0) throw damaged("an index node has no tail page");
  return node.tail;
}

std::vector<Step> descend(const PageStore& store, const Format& f, const IndexLocation& index,
                          const Entry& entry) {
  std::vector<Step> path;
  std::uint32_t page = index.root;
  for (int depth = 0;; ++depth) {
    if (depth > 32) throw damaged("an index is deeper than any index can be");
    path.push_back({page, decodeIndexPage(store.read(page), f)});
    if (path.back().content.leaf) return path;
    page = route(path.back().content, entry);
  }
}

void write(PageStore& store, const Format& f, std::uint32_t page, const IndexPage& content) {
  store.edit(page) = encodeIndexPage(content, f);
}

std::uint32_t newIndexPage(PageStore& store, const Format& f, const IndexLocation& index) {
  const std::uint32_t page = allocatePage(store, f, std::vector<std::uint8_t>(f.pageSize, 0));
  if (index.usageMap != 0) setMapPage(store, f, index.usageMap, page, true);
  return page;
}

// Splits the overfull page at path[level] and fixes its parent, splitting
// upwards as far as needed.
void split(PageStore& store, const Format& f, const IndexLocation& index, std::vector<Step>& path,
           std::size_t level) {
  Step& step = path[level];
  IndexPage& full = step.content;
  const std::size_t mid = full.entries.size() / 2;
  IndexPage left = full, right = full;
  left.entries.assign(full.entries.begin(), full.entries.begin() + static_cast<std::ptrdiff_t>(mid));
  right.entries.assign(full.entries.begin() + static_cast<std::ptrdiff_t>(mid), full.entries.end());
  if (!full.leaf) {
    // The left half's last child becomes its tail.
    left.tail = childOf(left.entries.back());
    left.entries.pop_back();
  }
  const Entry leftKey = full.leaf ? full.entries[mid - 1] : withoutChild(full.entries[mid - 1]);

  if (level == 0) {
    // The root keeps its page and becomes a node over two new pages.
    const std::uint32_t a = newIndexPage(store, f, index);
    const std::uint32_t b = newIndexPage(store, f, index);
    if (full.leaf) {
      left.prev = 0, left.next = b;
      right.prev = a, right.next = 0;
    }
    write(store, f, a, left);
    write(store, f, b, right);
    IndexPage root;
    root.leaf = false;
    root.tdefPage = full.tdefPage;
    root.entries = {nodeEntry(leftKey, a)};
    root.tail = b;
    write(store, f, step.page, root);
    return;
  }

  const std::uint32_t b = newIndexPage(store, f, index);
  if (full.leaf) {
    right.prev = step.page;
    right.next = full.next;
    left.next = b;
    if (full.next != 0) {
      IndexPage after = decodeIndexPage(store.read(full.next), f);
      after.prev = b;
      write(store, f, full.next, after);
    }
  }
  write(store, f, step.page, left);
  write(store, f, b, right);

  IndexPage& parent = path[level - 1].content;
  if (parent.tail == step.page) {
    parent.tail = b;
    parent.entries.push_back(nodeEntry(leftKey, step.page));
  } else {
    const auto it = std::find_if(parent.entries.begin(), parent.entries.end(),
                                 [&](const Entry& e) { return childOf(e) == step.page; });
    if (it == parent.entries.end()) throw damaged("an index node does not name its child");
    *it = nodeEntry(withoutChild(*it), b);
    parent.entries.insert(it, nodeEntry(leftKey, step.page));
  }
  if (fitsIndexPage(parent.entries, f))
    write(store, f, path[level - 1].page, parent);
  else
    split(store, f, index, path, level - 1);
}

}  // namespace

void appendEntryRowPointer(Entry& entry, std::uint32_t rowPointer) {
  const std::uint32_t page = rowPointer >> 8;
  entry.push_back(static_cast<std::uint8_t>(page >> 16));
  entry.push_back(static_cast<std::uint8_t>(page >> 8));
  entry.push_back(static_cast<std::uint8_t>(page));
  entry.push_back(static_cast<std::uint8_t>(rowPointer & 0xFF));
}

void insertIndexEntry(PageStore& store, const Format& f, const IndexLocation& index,
                      const Entry& entry, bool unique) {
  std::vector<Step> path = descend(store, f, index, entry);
  IndexPage& leaf = path.back().content;
  const auto pos = std::lower_bound(leaf.entries.begin(), leaf.entries.end(), entry);
  if (unique) {
    const bool clash =
        (pos != leaf.entries.end() && sameKey(*pos, entry)) ||
        (pos != leaf.entries.begin() && sameKey(*(pos - 1), entry)) ||
        (pos == leaf.entries.end() && leaf.next != 0 && [&] {
          const IndexPage next = decodeIndexPage(store.read(leaf.next), f);
          return !next.entries.empty() && sameKey(next.entries.front(), entry);
        }()) ||
        (pos == leaf.entries.begin() && leaf.prev != 0 && [&] {
          const IndexPage prev = decodeIndexPage(store.read(leaf.prev), f);
          return !prev.entries.empty() && sameKey(prev.entries.back(), entry);
        }());
    if (clash) throw duplicate();
  }
  leaf.entries.insert(pos, entry);
  if (fitsIndexPage(leaf.entries, f))
    write(store, f, path.back().page, leaf);
  else
    split(store, f, index, path, path.size() - 1);
}

bool removeIndexEntry(PageStore& store, const Format& f, const IndexLocation& index, const Entry& entry) {
  std::vector<Step> path = descend(store, f, index, entry);
  IndexPage& leaf = path.back().content;
  const auto it = std::find(leaf.entries.begin(), leaf.entries.end(), entry);
  if (it == leaf.entries.end()) return false;
  leaf.entries.erase(it);
  write(store, f, path.back().page, leaf);
  return true;
}

}  // namespace jet::write
