// The pages of a database as one statement changes them. Reads see the
// statement's own changes; new pages are appended at the end of the file;
// commit() hands all changed pages to the rollback journal, which writes
// them as one all-or-nothing change. The store is the file's one writer:
// it holds an exclusive lock on the file for its lifetime, since a second
// writer's page cache would not see the first one's pages. Opening the
// store takes the lock, then rolls back whatever an interrupted statement
// left behind. In an encrypted file the store holds plain pages and
// encrypts them only on their way to the file: the journal sees the pages
// as stored, so it never holds plain text of an encrypted database.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "jet/crypto/page_cipher.h"
#include "jet/file/pager.h"
#include "jet/journal/rollback_journal.h"

namespace jet::write {

class PageStore {
 public:
  // Raises "Could not use '<path>'; file already in use." (kFileInUse)
  // while another writer has the file open.
  // `cipher` (null for plain files) encodes and decodes the pages.
  PageStore(std::string path, std::size_t pageSize, journal::SyncPolicy policy,
            std::shared_ptr<const crypto::PageCipher> cipher = nullptr);

  const std::string& path() const { return path_; }
  std::size_t pageSize() const { return pageSize_; }
  // Pages in the file plus those this statement appended.
  std::uint32_t pageCount() const { return pageCount_; }

  // The page as this statement sees it. The reference stays valid until
  // the statement ends (commit() or discard()) or writeAhead().
  const std::vector<std::uint8_t>& read(std::uint32_t page) const;
  // The page's bytes for changing in place; they are written on commit().
  std::vector<std::uint8_t>& edit(std::uint32_t page);
  // The same for a change whose extent the caller knows and names with
  // changed() once it is made. Such a page is journaled and written by the
  // named ranges, without being compared with its original (a one-row
  // INSERT would otherwise compare three whole pages for a few hundred
  // bytes), unless edit() handed it out as well in this statement. Nothing
  // outside the named ranges may change; builds with assertions check
  // that on commit().
  std::vector<std::uint8_t>& editRanges(std::uint32_t page);
  void changed(std::uint32_t page, std::size_t offset, std::size_t length);
  // A new page at the end of the file holding `bytes`; its number.
  std::uint32_t append(std::vector<std::uint8_t> bytes);

  bool changed() const { return !dirty_.empty(); }
  void commit();
  // Forgets the statement's changes.
  void discard();

  // Keeps a long statement's memory flat: once it holds many pages, writes
  // the pages it appended past the file's old end to the file now (the
  // journal records the old end, so that an unfinished statement is cut
  // off) and forgets them and the cached ones; pages that existed before
  // stay until commit(), which journals them. The caller holds no
  // reference from read() or edit().
  void writeAhead();

  // The database as the current statement sees it. The source refers to
  // this store and must not outlive it.
  std::unique_ptr<ByteSource> snapshot() const;

 private:
  const std::vector<std::uint8_t>& filePage(std::uint32_t page) const;
  // The changed pages as the file is to hold them.
  journal::PageImages encodedChanges() const;
  std::vector<std::uint8_t>& dirtyCopy(std::uint32_t page);
  bool isNamed(std::uint32_t page) const;
  // The changed ranges of `page` for the journal: the named ones, or those
  // found by comparing.
  void changedRanges(std::uint32_t page, std::span<const std::uint8_t> original,
                     std::span<const std::uint8_t> now, std::vector<journal::ByteRange>& out) const;
  void forgetNamedRanges();

  std::string path_;
  std::size_t pageSize_;
  std::shared_ptr<const crypto::PageCipher> cipher_;
  journal::FileHandle file_;
  journal::RollbackJournal journal_;
  std::uint32_t filePages_ = 0;     // when the statement began
  std::uint32_t writtenPages_ = 0;  // in the file now, writeAhead() included
  std::uint32_t pageCount_ = 0;
  journal::PageImages dirty_;
  // Pages as the file holds them, kept since the file changes only through
  // this store; bounded so that a long run does not hold the whole file.
  mutable std::unordered_map<std::uint32_t, std::vector<std::uint8_t>> clean_;
  // Buffers of replaced clean pages, which edit() fills instead of
  // allocating anew.
  std::vector<std::vector<std::uint8_t>> spare_;
  // Existing pages that only editRanges() handed out in this statement, up
  // to kNamedPages of them (the rest are compared), and their ranges.
  std::vector<std::uint32_t> namedPages_;
  std::vector<std::pair<std::uint32_t, journal::ByteRange>> namedRanges_;
};

}  // namespace jet::write
