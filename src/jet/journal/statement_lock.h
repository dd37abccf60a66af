// The statement lock: what keeps a reader from reading a database while its
// writer, in another process, is applying a statement's pages. Readers hold
// it shared while they read; the writer holds it exclusively while it writes
// a statement's pages into the database, and so does recovery while it
// writes originals back. It is not the writer's session lock (the flock of
// FileHandle::tryLock, one writer per file), which stays as it is.
//
// It is an open file description lock (fcntl F_OFD_*) on a byte far past
// the end of any Jet file, chosen for how such locks are owned:
//  - The lock belongs to the descriptor's open file description, so that
//    the program's reads, which open and close the file anew, never drop
//    it (closing any descriptor drops every classic record lock a process
//    holds on the file, the writer's included), and a read lock never
//    replaces a write lock.
//  - Two open file descriptions conflict even within one process, so a
//    process's reads would wait for its own writer, which keeps the lock
//    between statements. The writer therefore also holds, for its
//    lifetime, a byte named by its process id; a read that finds the
//    statement lock taken looks there and, finding its own process's
//    writer, reads without the lock: between that writer's statements,
//    since the process reads and writes one statement at a time.
//  - Linux keeps flock and record locks apart, so the statement lock never
//    meets the session lock.
//
// A read that meets no writer costs two system calls, the lock and its
// release. Taking and releasing the lock costs the writer two as well,
// about an eighth of a one-row INSERT, so it keeps the lock across the
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

  FileHandle file_;  // a duplicate of the database's descriptor, kept open while locking through it
  std::string path_;
  std::mutex mutex_;
  std::condition_variable_any changed_;
  bool held_ = false;
  std::chrono::steady_clock::time_point heldSince_;
  std::chrono::steady_clock::time_point lastWrite_;
  std::jthread watchdog_;  // last: starts once the rest exists
};

}  // namespace jet::journal
