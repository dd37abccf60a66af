#include "jet/journal/file_handle.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

#include "jet/error.h"

namespace jet::journal {

FileHandle::FileHandle(const std::string& path, Mode mode) : path_(path) {
  const int access = mode == Mode::ReadOnly ? O_RDONLY : O_RDWR;
  const int flags = access | O_CLOEXEC | (mode == Mode::CreateReadWrite ? O_CREAT : 0);
  fd_ = ::open(path.c_str(), flags, 0644);
  if (fd_ < 0) fail("open");
}

FileHandle FileHandle::duplicate() const {
  FileHandle copy;
  copy.path_ = path_;
  copy.fd_ = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
  if (copy.fd_ < 0) fail("duplicate");
  return copy;
}

FileHandle::FileHandle(FileHandle&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    path_ = std::move(other.path_);
  }
  return *this;
}

FileHandle::~FileHandle() {
  if (fd_ >= 0) ::close(fd_);
}

std::uint64_t FileHandle::size() const {
  struct stat st {};
  if (::fstat(fd_, &st) != 0) fail("stat");
  return static_cast<std::uint64_t>(st.st_size);
}

bool FileHandle::readAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
  std::size_t done = 0;
  while (done < out.size()) {
    const ssize_t n = ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) fail("read");
    if (n == 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

void FileHandle::writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n =
        ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) fail("write");
    done += static_cast<std::size_t>(n);
  }
}

void FileHandle::writeAt(std::uint64_t offset, std::span<const std::span<const std::uint8_t>> pieces) {
  std::array<iovec, 16> vectors;
  while (!pieces.empty()) {
    const std::size_t count = std::min(pieces.size(), vectors.size());
    for (std::size_t i = 0; i < count; ++i)
      vectors[i] = {const_cast<std::uint8_t*>(pieces[i].data()), pieces[i].size()};
    ssize_t n;
    do {
      n = ::pwritev(fd_, vectors.data(), static_cast<int>(count), static_cast<off_t>(offset));
    } while (n < 0 && errno == EINTR);
    if (n < 0) fail("write");
    // A short write is rare (a full disk, a signal): the rest goes piece by piece.
    std::size_t written = static_cast<std::size_t>(n);
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t done = std::min(written, pieces[i].size());
      if (done < pieces[i].size()) writeAt(offset + done, pieces[i].subspan(done));
      written -= done;
      offset += pieces[i].size();
    }
    pieces = pieces.subspan(count);
  }
}

void FileHandle::truncate(std::uint64_t size) {
  if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) fail("truncate");
}

void FileHandle::sync() {
  if (::fdatasync(fd_) != 0) fail("sync");
}

bool FileHandle::tryLock() {
  while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EWOULDBLOCK) return false;
    if (errno != EINTR) fail("lock");
  }
  return true;
}

void FileHandle::fail(const char* what) const {
  throw Error(errc::kFailure,
              "Cannot " + std::string(what) + " the file '" + path_ + "': " + std::strerror(errno) + ".");
}

}  // namespace jet::journal
