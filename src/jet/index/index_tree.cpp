#include "jet/index/index_tree.h"

#include <algorithm>

#include "jet/error.h"
#include "jet/usage_map/usage_map_writer.h"

namespace jet::write {
namespace {

struct Step {
  std::uint32_t page;
  IndexPage content;
  bool beyondLast;  // nodes: the route went past every entry
};

bool sameKey(const Entry& a, const Entry& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end() - kRowPointerSize, b.begin());
}

Error duplicate() {
  return Error(errc::kFailure,
               "The changes you requested to the table were not successful because they would "
               "create duplicate values in the index, primary key, or relationship. Change the "
               "data in the field or fields that contain duplicate data, remove the index, or "
               "redefine the index to permit duplicate entries and try again.");
}

// The child a node routes `entry` to: the first whose last entry is not
// below it, else the tail. A node without a tail (one child, or a node
// Access wrote that way) sends larger entries to its last child, whose
// last entry the new one will become.
struct Route {
  std::uint32_t child;
  bool beyondLast;  // past every entry of a node without a tail
};

Route route(const IndexPage& node, const Entry& entry) {
  for (const Entry& e : node.entries) {
    const Entry last = withoutChild(e);
    if (!(last < entry)) return {childOf(e), false};
  }
  if (node.tail != 0) return {node.tail, false};
  if (node.entries.empty()) throw damaged("an index node has no children");
  return {childOf(node.entries.back()), true};
}

std::vector<Step> descend(const PageStore& store, const Format& f, const IndexLocation& index,
                          const Entry& entry) {
  std::vector<Step> path;
  std::uint32_t page = index.root;
  for (int depth = 0;; ++depth) {
    if (depth > 32) throw damaged("an index is deeper than any index can be");
    path.push_back({page, decodeIndexPage(store.read(page), f), false});
    if (path.back().content.leaf) return path;
    const Route next = route(path.back().content, entry);
    path.back().beyondLast = next.beyondLast;
    page = next.child;
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

bool holdsNothing(const IndexPage& p) {
  return p.entries.empty() && p.tail == 0;
}

// The last entry under `content`, a page of the tree.
Entry lastEntry(const PageStore& store, const Format& f, const IndexPage& content) {
  IndexPage p = content;
  for (int depth = 0; !p.leaf && p.tail != 0; ++depth) {
    if (depth > 32) throw damaged("an index is deeper than any index can be");
    p = decodeIndexPage(store.read(p.tail), f);
  }
  if (p.entries.empty()) throw damaged("an index page holds no entries");
  return p.leaf ? p.entries.back() : withoutChild(p.entries.back());
}

// Sets the parent's entry for `child` to the child's last entry; whether
// the entry changed.
bool renameChild(IndexPage& parent, std::uint32_t child, const Entry& last) {
  const auto it = std::find_if(parent.entries.begin(), parent.entries.end(),
                               [&](const Entry& e) { return childOf(e) == child; });
  if (it == parent.entries.end()) throw damaged("an index node does not name its child");
  const Entry renamed = nodeEntry(last, child);
  if (*it == renamed) return false;
  *it = renamed;
  return true;
}

// Removes an emptied child from its parent; the last child before a
// removed tail becomes the tail.
void dropChild(IndexPage& parent, std::uint32_t child) {
  if (parent.tail == child) {
    parent.tail = parent.entries.empty() ? 0 : childOf(parent.entries.back());
    if (!parent.entries.empty()) parent.entries.pop_back();
    return;
  }
  const auto it = std::find_if(parent.entries.begin(), parent.entries.end(),
                               [&](const Entry& e) { return childOf(e) == child; });
  if (it == parent.entries.end()) throw damaged("an index node does not name its child");
  parent.entries.erase(it);
}

// A node's only child is named by an entry, never as its tail (readers
// that check the tree refuse a lone tail); true when the node changed.
bool keepLoneChildAsEntry(const PageStore& store, const Format& f, IndexPage& node) {
  if (node.leaf || node.tail == 0 || !node.entries.empty()) return false;
  node.entries.push_back(
      nodeEntry(lastEntry(store, f, decodeIndexPage(store.read(node.tail), f)), node.tail));
  node.tail = 0;
  return true;
}

// An emptied page leaves the tree: its neighbours link to each other and
// the page is free for any use.
void leaveTree(PageStore& store, const Format& f, const IndexLocation& index, const Step& step) {
  const IndexPage& gone = step.content;
  if (gone.prev != 0) {
    IndexPage before = decodeIndexPage(store.read(gone.prev), f);
    before.next = gone.next;
    write(store, f, gone.prev, before);
  }
  if (gone.next != 0) {
    IndexPage after = decodeIndexPage(store.read(gone.next), f);
    after.prev = gone.prev;
    write(store, f, gone.next, after);
  }
  if (index.usageMap != 0) setMapPage(store, f, index.usageMap, step.page, false);
  markPageFree(store, f, step.page);
}

}  // namespace

void appendEntryRowPointer(Entry& entry, std::uint32_t rowPointer) {
  const std::uint32_t page = rowPointer >> 8;
  entry.push_back(static_cast<std::uint8_t>(page >> 16));
  entry.push_back(static_cast<std::uint8_t>(page >> 8));
  entry.push_back(static_cast<std::uint8_t>(page));
  entry.push_back(static_cast<std::uint8_t>(rowPointer & 0xFF));
}

void insertIndexEntry(PageStore& store, const Format& f, const IndexLocation& index, const Entry& entry,
                      bool unique) {
  std::vector<Step> path = descend(store, f, index, entry);
  IndexPage& leaf = path.back().content;
  const auto pos = std::lower_bound(leaf.entries.begin(), leaf.entries.end(), entry);
  if (unique) {
    const bool clash = (pos != leaf.entries.end() && sameKey(*pos, entry)) ||
                       (pos != leaf.entries.begin() && sameKey(*(pos - 1), entry)) ||
                       (pos == leaf.entries.end() && leaf.next != 0 &&
                        [&] {
                          const IndexPage next = decodeIndexPage(store.read(leaf.next), f);
                          return !next.entries.empty() && sameKey(next.entries.front(), entry);
                        }()) ||
                       (pos == leaf.entries.begin() && leaf.prev != 0 && [&] {
                         const IndexPage prev = decodeIndexPage(store.read(leaf.prev), f);
                         return !prev.entries.empty() && sameKey(prev.entries.back(), entry);
                       }());
    if (clash) throw duplicate();
  }
  // The entry becomes the last one under every node it passed beyond.
  for (Step& step : path)
    if (step.beyondLast) {
      step.content.entries.back() = nodeEntry(entry, childOf(step.content.entries.back()));
      write(store, f, step.page, step.content);
    }
  leaf.entries.insert(pos, entry);
  if (fitsIndexPage(leaf.entries, f))
    write(store, f, path.back().page, leaf);
  else
    split(store, f, index, path, path.size() - 1);
}

bool indexHoldsKey(const PageStore& store, const Format& f, const IndexLocation& index, const Entry& key) {
  Entry probe = key;
  probe.insert(probe.end(), kRowPointerSize, 0);  // before every row with that key
  IndexPage leaf = descend(store, f, index, probe).back().content;
  for (int page = 0; page < 2; ++page) {  // the first entry not below the probe may open the next leaf
    const auto pos = std::lower_bound(leaf.entries.begin(), leaf.entries.end(), probe);
    if (pos != leaf.entries.end()) return sameKey(*pos, probe);
    if (leaf.next == 0) return false;
    leaf = decodeIndexPage(store.read(leaf.next), f);
  }
  return false;
}

bool removeIndexEntry(PageStore& store, const Format& f, const IndexLocation& index, const Entry& entry) {
  std::vector<Step> path = descend(store, f, index, entry);
  IndexPage& leaf = path.back().content;
  const auto it = std::find(leaf.entries.begin(), leaf.entries.end(), entry);
  if (it == leaf.entries.end()) return false;
  leaf.entries.erase(it);
  // From the leaf up: an emptied page leaves the tree, and a page whose
  // last entry may have changed gets its parent's entry for it rewritten,
  // which may change the parent's own last entry in turn. A tail child has
  // no entry of its own: its last entry is its parent's.
  bool dirty = true;  // the page at `level` changed
  bool lastMayMove = true;
  for (std::size_t level = path.size() - 1; level > 0 && (dirty || lastMayMove); --level) {
    const Step& child = path[level];
    IndexPage& parent = path[level - 1].content;
    const bool tail = child.page == parent.tail;
    bool parentDirty = false;
    if (holdsNothing(child.content)) {
      leaveTree(store, f, index, child);
      dropChild(parent, child.page);
      parentDirty = true;
    } else {
      if (dirty) write(store, f, child.page, child.content);
      if (!tail) parentDirty = renameChild(parent, child.page, lastEntry(store, f, child.content));
    }
    parentDirty = keepLoneChildAsEntry(store, f, parent) || parentDirty;
    lastMayMove = parentDirty || tail;
    dirty = parentDirty;
  }
  if (dirty) {
    IndexPage& root = path.front().content;
    // An emptied tree's root is an empty leaf again.
    if (holdsNothing(root)) root.leaf = true;
    write(store, f, path.front().page, root);
  }
  return true;
}

}  // namespace jet::write
