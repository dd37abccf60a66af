// Pager: file and memory sources, per-page decoding and a small cache.
#include "jet/file/pager.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <optional>

#include "jet/journal/statement_lock.h"

namespace jet {
namespace {

constexpr std::size_t kCachedPages = 64;

// Reads under the file's statement lock, held shared, so that another
// process's writer never applies a statement in the middle of them.
class FileSource final : public ByteSource {
 public:
  FileSource(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~FileSource() override { ::close(fd_); }
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  // Asked anew, so that a size read under the statement lock agrees with
  // the pages read under it.
  std::uint64_t size() const override {
    struct stat info {};
    if (::fstat(fd_, &info) != 0) throw Error(errc::kFailure, "Disk or network error.");
    return static_cast<std::uint64_t>(info.st_size);
  }
  void read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
    const ConsistentRead whole(*this);
    std::size_t done = 0;
    while (done < out.size()) {
      const ssize_t n = ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
      if (n <= 0) throw Error(errc::kFailure, "Disk or network error.");
      done += static_cast<std::size_t>(n);
    }
  }
  // The kernel's lock is the open file's, released by one unlock however
  // often it was taken, so nested holds are counted here.
  void beginConsistentRead() const override {
    if (holds_ == 0) lock_.emplace(fd_, journal::StatementAccess::Read, path_);
    ++holds_;
  }
  void endConsistentRead() const override {
    if (--holds_ == 0) lock_.reset();
  }

 private:
  int fd_;
  std::string path_;
  mutable int holds_ = 0;
  mutable std::optional<journal::StatementLock> lock_;
};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
  std::uint64_t size() const override { return bytes_.size(); }
  void read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
  }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace

std::unique_ptr<ByteSource> openFileSource(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat info {};
  if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    if (fd >= 0) ::close(fd);
    throw Error(errc::kFailure, "Could not find file '" + path + "'.");
  }
  return std::make_unique<FileSource>(fd, path);
}

std::unique_ptr<ByteSource> memorySource(std::vector<std::uint8_t> bytes) {
  return std::make_unique<MemorySource>(std::move(bytes));
}

Pager::Pager(std::unique_ptr<ByteSource> source, std::size_t pageSize,
             std::shared_ptr<const crypto::PageCipher> cipher)
    : source_(std::move(source)),
      pageSize_(pageSize),
      cipher_(std::move(cipher)),
      pageCount_(
          static_cast<std::uint32_t>(std::min<std::uint64_t>(source_->size() / pageSize, UINT32_MAX))) {
  cache_.resize(kCachedPages);
}

Page Pager::page(std::uint32_t number) {
  for (const auto& slot : cache_) {
    if (slot.page && slot.number == number) return slot.page;
  }
  auto loaded = load(number);
  cache_[nextVictim_] = {number, loaded};
  nextVictim_ = (nextVictim_ + 1) % cache_.size();
  return loaded;
}

Page Pager::load(std::uint32_t number) const {
  if (number >= pageCount_) throw damaged("page " + std::to_string(number) + " is past the end of the file");
  auto bytes = std::make_shared<std::vector<std::uint8_t>>(pageSize_);
  source_->read(static_cast<std::uint64_t>(number) * pageSize_, *bytes);
  if (cipher_) cipher_->decode(number, *bytes);
  return bytes;
}

}  // namespace jet
