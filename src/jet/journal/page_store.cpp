#include "jet/journal/page_store.h"

#include <algorithm>

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
    journal_.apply(file_, fileSize, dirty_,
                   [this](std::uint32_t page) { return std::span<const std::uint8_t>(filePage(page)); });
  }
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
