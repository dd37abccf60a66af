#include "jet/journal/page_store.h"

#include <algorithm>
#include <stdexcept>

#include "jet/error.h"

namespace jet::write {
namespace {

constexpr std::size_t kCleanPagesKept = 4096;
// Page buffers that a commit replaced, kept for the next statement's
// edits: a one-row statement changes a handful of pages.
constexpr std::size_t kSparePages = 16;
// Pages a statement may hold before writeAhead() writes its new ones out:
// 16 MiB of 4 KiB pages.
constexpr std::size_t kPagesHeldAhead = 4096;
// Pages of a statement that editRanges() journals by their named ranges:
// a row statement changes a few; the pages of a larger one are compared.
constexpr std::size_t kNamedPages = 16;

class StoreSource final : public ByteSource {
 public:
  explicit StoreSource(const PageStore& store) : store_(store) {}

  std::uint64_t size() const override {
    return static_cast<std::uint64_t>(store_.pageCount()) * store_.pageSize();
  }
  void read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
    const std::size_t pageSize = store_.pageSize();
    std::size_t done = 0;
    while (done < out.size()) {
      const std::uint64_t at = offset + done;
      const auto& page = store_.read(static_cast<std::uint32_t>(at / pageSize));
      const std::size_t within = at % pageSize;
      const std::size_t n = std::min(out.size() - done, pageSize - within);
      std::copy_n(page.begin() + static_cast<std::ptrdiff_t>(within), n,
                  out.begin() + static_cast<std::ptrdiff_t>(done));
      done += n;
    }
  }

 private:
  const PageStore& store_;
};

// Recovery must come before the file is read at all, and under the lock,
// so that no other writer is between statements of its own.
journal::FileHandle lockAndRecover(const std::string& path) {
  journal::FileHandle file(path, journal::FileHandle::Mode::ReadWrite);
  if (!file.tryLock()) throw Error(errc::kFileInUse, "Could not use '" + path + "'; file already in use.");
  journal::RollbackJournal::recover(file);
  return file;
}

}  // namespace

PageStore::PageStore(std::string path, std::size_t pageSize, journal::SyncPolicy policy,
                     std::shared_ptr<const crypto::PageCipher> cipher)
    : path_(std::move(path)),
      pageSize_(pageSize),
      cipher_(std::move(cipher)),
      file_(lockAndRecover(path_)),
      journal_(path_, pageSize, policy),
      filePages_(static_cast<std::uint32_t>(file_.size() / pageSize)),
      writtenPages_(filePages_),
      pageCount_(filePages_) {}

const std::vector<std::uint8_t>& PageStore::read(std::uint32_t page) const {
  if (const auto it = dirty_.find(page); it != dirty_.end()) return it->second;
  return filePage(page);
}

const std::vector<std::uint8_t>& PageStore::filePage(std::uint32_t page) const {
  if (const auto it = clean_.find(page); it != clean_.end()) return it->second;
  if (page >= writtenPages_) throw damaged("page " + std::to_string(page) + " lies past the end of the file");
  std::vector<std::uint8_t> bytes(pageSize_);
  if (!file_.readAt(static_cast<std::uint64_t>(page) * pageSize_, bytes))
    throw damaged("page " + std::to_string(page) + " is cut short");
  if (cipher_) cipher_->decode(page, bytes);
  return clean_.emplace(page, std::move(bytes)).first->second;
}

std::vector<std::uint8_t>& PageStore::edit(std::uint32_t page) {
  if (!namedPages_.empty()) std::erase(namedPages_, page);
  return dirtyCopy(page);
}

std::vector<std::uint8_t>& PageStore::editRanges(std::uint32_t page) {
  const bool alreadyChanged = dirty_.contains(page);
  auto& bytes = dirtyCopy(page);
  // Appended pages are written whole anyway; a page changed before
  // through edit() stays compared.
  if (!alreadyChanged && page < filePages_ && namedPages_.size() < kNamedPages) namedPages_.push_back(page);
  return bytes;
}

void PageStore::changed(std::uint32_t page, std::size_t offset, std::size_t length) {
  if (offset > pageSize_ || length > pageSize_ - offset)
    throw std::logic_error("A changed range lies outside its page.");
  if (length != 0 && isNamed(page))
    namedRanges_.push_back({page, {static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(length)}});
}

bool PageStore::isNamed(std::uint32_t page) const {
  return std::find(namedPages_.begin(), namedPages_.end(), page) != namedPages_.end();
}

std::vector<std::uint8_t>& PageStore::dirtyCopy(std::uint32_t page) {
  if (const auto it = dirty_.find(page); it != dirty_.end()) return it->second;
  const auto& current = read(page);
  std::vector<std::uint8_t> copy;
  if (!spare_.empty()) {
    copy = std::move(spare_.back());
    spare_.pop_back();
  }
  copy.assign(current.begin(), current.end());
  return dirty_.emplace(page, std::move(copy)).first->second;
}

void PageStore::changedRanges(std::uint32_t page, std::span<const std::uint8_t> original,
                              std::span<const std::uint8_t> now, std::vector<journal::ByteRange>& out) const {
  if (!isNamed(page)) {
    journal::appendChangedRanges(original, now, out);
    return;
  }
  // namedRanges_ is sorted: this page's ranges in offset order, joined
  // where they overlap or lie closer than the journal's gap.
  auto it = std::lower_bound(namedRanges_.begin(), namedRanges_.end(), page,
                             [](const auto& named, std::uint32_t p) { return named.first < p; });
  for (; it != namedRanges_.end() && it->first == page; ++it) {
    const journal::ByteRange& range = it->second;
    if (!out.empty() && range.offset <= out.back().offset + out.back().length + journal::kJoinedGap) {
      const std::uint32_t end = std::max(out.back().offset + out.back().length, range.offset + range.length);
      out.back().length = end - out.back().offset;
    } else {
      out.push_back(range);
    }
  }
#ifndef NDEBUG
  std::vector<journal::ByteRange> differing;
  journal::appendChangedRanges(original, now, differing, 0);
  for (const journal::ByteRange& d : differing) {
    const bool covered = std::any_of(out.begin(), out.end(), [&](const journal::ByteRange& r) {
      return r.offset <= d.offset && d.offset + d.length <= r.offset + r.length;
    });
    if (!covered)
      throw std::logic_error("Page " + std::to_string(page) + " changed outside its named ranges.");
  }
#endif
}

void PageStore::forgetNamedRanges() {
  namedPages_.clear();
  namedRanges_.clear();
}

std::uint32_t PageStore::append(std::vector<std::uint8_t> bytes) {
  bytes.resize(pageSize_);
  const std::uint32_t page = pageCount_++;
  dirty_[page] = std::move(bytes);
  return page;
}

journal::PageImages PageStore::encodedChanges() const {
  journal::PageImages encoded;
  for (const auto& [page, bytes] : dirty_) cipher_->encode(page, encoded.emplace(page, bytes).first->second);
  return encoded;
}

void PageStore::commit() {
  const std::uint64_t fileSize = static_cast<std::uint64_t>(filePages_) * pageSize_;
  if (cipher_) {
    // Originals straight from the file: they are what rollback restores.
    std::vector<std::uint8_t> stored(pageSize_);
    journal_.apply(file_, fileSize, encodedChanges(), [&](std::uint32_t page) {
      if (!file_.readAt(static_cast<std::uint64_t>(page) * pageSize_, stored))
        throw damaged("page " + std::to_string(page) + " is cut short");
      return std::span<const std::uint8_t>(stored);
    });
  } else {
    std::sort(namedRanges_.begin(), namedRanges_.end(), [](const auto& a, const auto& b) {
      return a.first != b.first ? a.first < b.first : a.second.offset < b.second.offset;
    });
    journal_.apply(
        file_, fileSize, dirty_,
        [this](std::uint32_t page) { return std::span<const std::uint8_t>(filePage(page)); },
        [this](std::uint32_t page, std::span<const std::uint8_t> original, std::span<const std::uint8_t> now,
               std::vector<journal::ByteRange>& out) { changedRanges(page, original, now, out); });
  }
  forgetNamedRanges();
  // Pages handed out by read() may be dropped only now, between statements.
  if (clean_.size() + dirty_.size() > kCleanPagesKept) clean_.clear();
  for (auto& [page, bytes] : dirty_) {
    auto& kept = clean_[page];
    if (kept.capacity() != 0 && spare_.size() < kSparePages) spare_.push_back(std::move(kept));
    kept = std::move(bytes);
  }
  dirty_.clear();
  filePages_ = writtenPages_ = pageCount_;
}

void PageStore::discard() {
  dirty_.clear();
  forgetNamedRanges();
  if (writtenPages_ > filePages_) clean_.clear();  // may hold pages past the old end
  journal_.abandonGrowth(file_);
  pageCount_ = writtenPages_ = filePages_;
}

void PageStore::writeAhead() {
  if (dirty_.size() + clean_.size() < kPagesHeldAhead) return;
  clean_.clear();
  auto appended = dirty_.lower_bound(filePages_);
  if (appended == dirty_.end()) return;
  journal_.protectGrowth(static_cast<std::uint64_t>(filePages_) * pageSize_);
  std::vector<std::uint8_t> stored;
  for (auto it = appended; it != dirty_.end(); ++it) {
    const std::uint64_t offset = static_cast<std::uint64_t>(it->first) * pageSize_;
    if (!cipher_) {
      file_.writeAt(offset, it->second);
      continue;
    }
    // An encrypted file never holds a page in the clear, not even one
    // that a rollback would cut off again.
    stored = it->second;
    cipher_->encode(it->first, stored);
    file_.writeAt(offset, stored);
  }
  dirty_.erase(appended, dirty_.end());
  writtenPages_ = pageCount_;
}

std::unique_ptr<ByteSource> PageStore::snapshot() const {
  return std::make_unique<StoreSource>(*this);
}

}  // namespace jet::write
