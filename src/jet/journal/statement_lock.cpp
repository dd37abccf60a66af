#include "jet/journal/statement_lock.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "jet/error.h"

namespace jet::journal {
namespace {

using Clock = std::chrono::steady_clock;

// Past the end of any Jet file (they stop at 2 or 4 GiB), so that the
// locks could never be mistaken for ones on the database's bytes.
constexpr off_t kStatementByte = off_t{1} << 40;
// Where readers waiting for the statement lock announce themselves.
constexpr off_t kWaitingReaderByte = kStatementByte + 1;
// Where a writer names its process, one byte per process id.
constexpr off_t kWriterProcessBytes = kStatementByte + 2;

// A reader waits at most this long after a burst of statements ended, and
// about this long while one goes on.
constexpr auto kIdleRelease = std::chrono::milliseconds(5);
constexpr auto kLongestHold = std::chrono::milliseconds(20);

flock lockOn(off_t byte, short type) {
  flock lock{};  // l_pid stays 0, as open file description locks require
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = byte;
  lock.l_len = 1;
  return lock;
}

[[noreturn]] void failLocking(const std::string& path) {
  throw Error(errc::kFailure, "Cannot lock the file '" + path + "': " + std::strerror(errno) + ".");
}

void setLock(int descriptor, off_t byte, short type, const std::string& path) {
  flock lock = lockOn(byte, type);
  const int command = type == F_UNLCK ? F_OFD_SETLK : F_OFD_SETLKW;
  while (::fcntl(descriptor, command, &lock) != 0) {
    if (errno != EINTR) failLocking(path);
  }
}

// Takes the lock unless another open file description holds a conflicting
// one; false then.
bool trySetLock(int descriptor, off_t byte, short type, const std::string& path) {
  flock lock = lockOn(byte, type);
  while (::fcntl(descriptor, F_OFD_SETLK, &lock) != 0) {
    if (errno == EAGAIN || errno == EACCES) return false;
    if (errno != EINTR) failLocking(path);
  }
  return true;
}

void unlock(int descriptor, off_t byte) {
  flock lock = lockOn(byte, F_UNLCK);
  ::fcntl(descriptor, F_OFD_SETLK, &lock);
}

off_t ownWriterByte() {
  return kWriterProcessBytes + ::getpid();
}

// Whether a writer of this process holds the file: its byte is taken.
bool ownWriterHolds(int descriptor) {
  flock probe = lockOn(ownWriterByte(), F_RDLCK);
  if (::fcntl(descriptor, F_OFD_GETLK, &probe) != 0) return false;
  return probe.l_type != F_UNLCK;
}

}  // namespace

StatementLock::StatementLock(int descriptor, StatementAccess access, const std::string& path)
    : descriptor_(descriptor) {
  if (access == StatementAccess::Apply) {
    setLock(descriptor_, kStatementByte, F_WRLCK, path);
  } else if (!trySetLock(descriptor_, kStatementByte, F_RDLCK, path)) {
    if (ownWriterHolds(descriptor_)) return;  // between its statements: nothing to wait for
    setLock(descriptor_, kWaitingReaderByte, F_RDLCK, path);
    try {
      setLock(descriptor_, kStatementByte, F_RDLCK, path);
    } catch (...) {
      unlock(descriptor_, kWaitingReaderByte);
      throw;
    }
    unlock(descriptor_, kWaitingReaderByte);
  }
  held_ = true;
}

StatementLock::~StatementLock() {
  if (held_) unlock(descriptor_, kStatementByte);
}

WriterStatementLock::WriterStatementLock(const FileHandle& database)
    : file_(database.duplicate()),
      path_(database.path()),
      watchdog_([this](std::stop_token stop) { watch(stop); }) {
  setLock(file_.descriptor(), ownWriterByte(), F_WRLCK, path_);
}

WriterStatementLock::~WriterStatementLock() {
  watchdog_.request_stop();
  if (watchdog_.joinable()) watchdog_.join();
  if (held_) unlock(file_.descriptor(), kStatementByte);
  unlock(file_.descriptor(), ownWriterByte());
}

void WriterStatementLock::take() {
  // Readers already waiting get the lock first: they hold the waiting byte
  // until they have it.
  setLock(file_.descriptor(), kWaitingReaderByte, F_WRLCK, path_);
  try {
    setLock(file_.descriptor(), kStatementByte, F_WRLCK, path_);
  } catch (...) {
    unlock(file_.descriptor(), kWaitingReaderByte);
    throw;
  }
  unlock(file_.descriptor(), kWaitingReaderByte);
  held_ = true;
  heldSince_ = Clock::now();
  changed_.notify_one();
}

void WriterStatementLock::giveUp() {
  unlock(file_.descriptor(), kStatementByte);
  held_ = false;
}

void WriterStatementLock::whileApplying(const std::function<void()>& writes) {
  const std::lock_guard guard(mutex_);
  if (!held_) take();
  writes();
  lastWrite_ = Clock::now();
  if (lastWrite_ - heldSince_ >= kLongestHold) giveUp();
}

void WriterStatementLock::watch(std::stop_token stop) {
  std::unique_lock guard(mutex_);
  while (!stop.stop_requested()) {
    if (!held_) {
      changed_.wait(guard, stop, [this] { return held_; });
      continue;
    }
    changed_.wait_until(guard, stop, std::max(lastWrite_, heldSince_) + kIdleRelease, [] { return false; });
    if (held_ && Clock::now() - std::max(lastWrite_, heldSince_) >= kIdleRelease) giveUp();
  }
}

}  // namespace jet::journal
