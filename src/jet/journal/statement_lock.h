// The statement lock: what keeps a reader from reading a database while its
// writer, in another process, is applying a statement's pages. Readers hold
// it shared while they read; the writer holds it exclusively while it writes
// a statement's pages into the database, and so does recovery while it
// writes originals back. It is not the writer's session lock (the flock of
// FileHandle::tryLock, one writer per file), which stays as it is.
//
// It is a POSIX record lock (fcntl) on a byte far past the end of any Jet
// file, chosen for how such locks are owned:
//  - A record lock belongs to the process, not to a descriptor. A process's
//    own reads and its own writer therefore never wait for each other, even
//    though every read opens the file anew. A flock or an open file
//    description lock belongs to the descriptor: the program's reads would
//    wait for its own writer.
//  - Linux keeps flock and record locks apart, so the statement lock never
//    meets the session lock.
//  - The price of locks owned by the process: closing any descriptor of the
//    file drops every record lock the process holds on it, one unlock
//    releases the lock however many holders there were, and a read lock
//    taken while the process holds the write lock replaces it. So readers
//    nest their holds through a counter of their own, never touch the lock
//    while their own process's writer holds it (they ask the kernel through
//    an open file description probe, which does see the process's own
//    record locks), and the engine neither opens nor closes a descriptor of
//    the file while it holds the lock.
//
// Taking and releasing a record lock costs two system calls, about an
// eighth of a one-row INSERT, so the writer keeps the lock across the
// statements of a burst (WriterStatementLock) and gives it up when it has
// been idle for a moment or held it for a while. A reader that waits
// announces itself on a second byte, which the writer waits on before it
// takes the lock again, so that a writer running statement after statement
// cannot starve readers.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>

#include "jet/journal/file_handle.h"

namespace jet::journal {

enum class StatementAccess { Read, Apply };

// Holds the statement lock of the file open as `descriptor` for its
// lifetime, waiting for it: shared for reading (nothing at all when this
// process's own writer holds it), exclusively for recovery. Raises
// jet::Error naming `path` when the system refuses the lock.
class StatementLock {
 public:
  StatementLock(int descriptor, StatementAccess access, const std::string& path);
  StatementLock(const StatementLock&) = delete;
  StatementLock& operator=(const StatementLock&) = delete;
  ~StatementLock();

 private:
  int descriptor_;
  bool held_ = false;
};

// The writer's hold on the statement lock, kept between the statements of
// a burst. A thread of its own gives the lock up once no statement came for
// a moment; a statement gives it up once it was held for a while.
class WriterStatementLock {
 public:
  // Locks through a duplicate of `database`'s descriptor.
  explicit WriterStatementLock(const FileHandle& database);
  WriterStatementLock(const WriterStatementLock&) = delete;
  WriterStatementLock& operator=(const WriterStatementLock&) = delete;
  ~WriterStatementLock();

  // Runs `writes` holding the lock exclusively.
  void whileApplying(const std::function<void()>& writes);

 private:
  void take();
  void giveUp();
  void watch(std::stop_token stop);

  FileHandle file_;  // a duplicate, so that the lock does not outlive the descriptor
  std::string path_;
  std::mutex mutex_;
  std::condition_variable_any changed_;
  bool held_ = false;
  std::chrono::steady_clock::time_point heldSince_;
  std::chrono::steady_clock::time_point lastWrite_;
  std::jthread watchdog_;  // last: starts once the rest exists
};

}  // namespace jet::journal
