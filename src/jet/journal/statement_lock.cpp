#include "jet/journal/statement_lock.h"

#include <fcntl.h>

#include <cerrno>
#include <cstring>

#include "jet/error.h"

namespace jet::journal {
namespace {

// Past the end of any Jet file (they stop at 2 or 4 GiB), so that the lock
// could never be mistaken for one on the database's bytes.
constexpr off_t kLockedByte = off_t{1} << 40;

int setLock(int descriptor, short type, int command) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = kLockedByte;
  lock.l_len = 1;
  return ::fcntl(descriptor, command, &lock);
}

}  // namespace

StatementLock::StatementLock(int descriptor, StatementAccess access, const std::string& path)
    : descriptor_(descriptor) {
  const short type = access == StatementAccess::Read ? F_RDLCK : F_WRLCK;
  while (setLock(descriptor_, type, F_SETLKW) != 0) {
    if (errno == EINTR) continue;
    throw Error(errc::kFailure, "Cannot lock the file '" + path + "': " + std::strerror(errno) + ".");
  }
}

StatementLock::~StatementLock() { setLock(descriptor_, F_UNLCK, F_SETLK); }

}  // namespace jet::journal
