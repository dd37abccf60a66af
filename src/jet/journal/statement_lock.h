// The statement lock: what keeps a reader from reading a database while its
// writer, in another process, is applying a statement's pages. Readers hold
// it shared while they read; the writer holds it exclusively only while it
// writes a statement's pages into the database, and so does recovery while
// it writes originals back. It is not the writer's session lock (the flock
// of FileHandle::tryLock, one writer per file), which stays as it is.
//
// It is a POSIX record lock (fcntl F_SETLKW) on one byte far past the end
// of any Jet file, chosen for how such locks are owned:
//  - A record lock belongs to the process, not to a descriptor. A process's
//    own reads and its own writer therefore never wait for each other, even
//    though every read opens the file anew. A flock or an open file
//    description lock belongs to the descriptor: the program's reads would
//    wait for its own writer, and a reader holding a cursor while its own
//    session writes would wait forever.
//  - Linux keeps flock and record locks apart, so the statement lock never
//    meets the session lock.
//  - The price of locks owned by the process: closing any descriptor of the
//    file drops every record lock the process holds on it, and one unlock
//    releases the lock however many holders there were. The engine holds
//    the lock only for one read or one statement's writes, during which it
//    neither opens nor closes a descriptor of that file, and a source nests
//    its holds through a counter of its own rather than through the kernel.
#pragma once

#include <string>

namespace jet::journal {

enum class StatementAccess { Read, Apply };

// Holds the statement lock of the file open as `descriptor` for its
// lifetime, waiting for it. Raises jet::Error naming `path` when the
// system refuses the lock.
class StatementLock {
 public:
  StatementLock(int descriptor, StatementAccess access, const std::string& path);
  StatementLock(const StatementLock&) = delete;
  StatementLock& operator=(const StatementLock&) = delete;
  ~StatementLock();

 private:
  int descriptor_;
};

}  // namespace jet::journal
