// Page access. A ByteSource is where the file's bytes come from (a file on
// disk, or memory for tests and fuzzing); the Pager cuts it into fixed-size
// pages, decodes each through the database's page cipher when it has one
// (Jet's RC4 encoding, Office encryption), and keeps a few recently used
// pages. Asking for a page
// past the end of the file raises kDamaged; a trailing partial page does
// not count as a page.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "jet/crypto/page_cipher.h"
#include "jet/file/bytes.h"

namespace jet {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t size() const = 0;
  // Fills `out` from `offset`; the caller stays within size(). A file's
  // single read sees no statement of another process's writer half done.
  virtual void read(std::uint64_t offset, std::span<std::uint8_t> out) const = 0;
  // Between begin and end, reads see the file between the same two
  // statements of another process's writer, which waits meanwhile. Pairs
  // nest. Sources nobody else writes need nothing.
  virtual void beginConsistentRead() const {}
  virtual void endConsistentRead() const {}
};

// Holds a source consistent (begin/endConsistentRead) for its lifetime.
class ConsistentRead {
 public:
  explicit ConsistentRead(const ByteSource& source) : source_(source) { source_.beginConsistentRead(); }
  ConsistentRead(const ConsistentRead&) = delete;
  ConsistentRead& operator=(const ConsistentRead&) = delete;
  ~ConsistentRead() { source_.endConsistentRead(); }

 private:
  const ByteSource& source_;
};

// Opens `path` for reading; throws the "Could not find file" error if it
// cannot be opened.
std::unique_ptr<ByteSource> openFileSource(const std::string& path);
std::unique_ptr<ByteSource> memorySource(std::vector<std::uint8_t> bytes);

using Page = std::shared_ptr<const std::vector<std::uint8_t>>;

class Pager {
 public:
  // `cipher` is null for pages stored plain.
  Pager(std::unique_ptr<ByteSource> source, std::size_t pageSize,
        std::shared_ptr<const crypto::PageCipher> cipher);

  std::size_t pageSize() const { return pageSize_; }
  std::uint32_t pageCount() const { return pageCount_; }
  const ByteSource& source() const { return *source_; }
  // The decoded page; throws kDamaged past the end.
  Page page(std::uint32_t number);

 private:
  Page load(std::uint32_t number) const;

  std::unique_ptr<ByteSource> source_;
  std::size_t pageSize_;
  std::shared_ptr<const crypto::PageCipher> cipher_;
  std::uint32_t pageCount_;
  struct Slot {
    std::uint32_t number = 0;
    Page page;
  };
  std::vector<Slot> cache_;
  std::size_t nextVictim_ = 0;
};

}  // namespace jet
