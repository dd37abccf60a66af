// A POSIX file descriptor owned for its lifetime, with the few whole-buffer
// operations the journal and the writer need, and the advisory lock that
// keeps a database to one writer at a time. Failures raise jet::Error
// naming the file and the system's reason.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace jet::journal {

class FileHandle {
 public:
  enum class Mode { ReadOnly, ReadWrite, CreateReadWrite };

  FileHandle() = default;
  FileHandle(const std::string& path, Mode mode);
  FileHandle(FileHandle&& other) noexcept;
  FileHandle& operator=(FileHandle&& other) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle();

  bool isOpen() const { return fd_ >= 0; }
  const std::string& path() const { return path_; }
  // For locks taken on the open file (StatementLock).
  int descriptor() const { return fd_; }
  // Another descriptor of the same open file.
  FileHandle duplicate() const;
  std::uint64_t size() const;
  // Reads exactly out.size() bytes; false if the file ends first.
  bool readAt(std::uint64_t offset, std::span<std::uint8_t> out) const;
  void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes);
  // Writes `pieces` one after the other from `offset`, in as few calls as
  // the system allows.
  void writeAt(std::uint64_t offset, std::span<const std::span<const std::uint8_t>> pieces);
  void truncate(std::uint64_t size);
  void sync();
  // Takes an exclusive flock on the file without waiting; false when
  // another open handle (in this process or another) holds it. The lock
  // goes with the descriptor: closing the handle, or the process ending,
  // releases it.
  bool tryLock();

 private:
  [[noreturn]] void fail(const char* what) const;

  int fd_ = -1;
  std::string path_;
};

}  // namespace jet::journal
