#include "child_run.h"

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <exception>

extern char** environ;

namespace bench {
namespace {

using Clock = std::chrono::steady_clock;

// Both ends of a pipe, closed on every path.
class Pipe {
 public:
  Pipe() { ok_ = ::pipe(fds_.data()) == 0; }
  ~Pipe() {
    closeRead();
    closeWrite();
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;
  bool ok() const { return ok_; }
  int readEnd() const { return fds_[0]; }
  int writeEnd() const { return fds_[1]; }
  void closeRead() { closeEnd(0); }
  void closeWrite() { closeEnd(1); }

 private:
  void closeEnd(int i) {
    if (fds_[i] >= 0) ::close(fds_[i]);
    fds_[i] = -1;
  }
  std::array<int, 2> fds_{-1, -1};
  bool ok_ = false;
};

// Reads everything from `fd`; returns the number of newlines, and the
// bytes themselves when `keep` is given.
long long drain(int fd, std::string* keep) {
  char buffer[1 << 16];
  long long lines = 0;
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return lines;
    lines += std::count(buffer, buffer + n, '\n');
    if (keep) keep->append(buffer, static_cast<std::size_t>(n));
  }
}

// Waits for the child and fills in status, time and peak memory.
void reap(pid_t pid, Clock::time_point start, ChildRun& run) {
  int status = 0;
  rusage usage{};
  while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  run.peakKilobytes = usage.ru_maxrss;
  run.succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

ChildRun runProgram(const std::vector<std::string>& argv) {
  ChildRun run;
  Pipe out;
  if (!out.ok()) {
    run.error = "pipe failed";
    return run;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out.writeEnd(), STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out.readEnd());
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  const Clock::time_point start = Clock::now();
  const int spawned = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  out.closeWrite();
  if (spawned != 0) {
    run.error = "cannot start " + argv[0];
    return run;
  }
  run.rows = drain(out.readEnd(), nullptr);
  reap(pid, start, run);
  if (!run.succeeded) run.error = argv[0] + " failed";
  return run;
}

ChildRun runInChild(const std::function<long long()>& readRows) {
  ChildRun run;
  Pipe report;
  if (!report.ok()) {
    run.error = "pipe failed";
    return run;
  }
  const Clock::time_point start = Clock::now();
  const pid_t pid = ::fork();
  if (pid < 0) {
    run.error = "fork failed";
    return run;
  }
  if (pid == 0) {
    report.closeRead();
    std::string text;
    int status = 0;
    try {
      text = std::to_string(readRows());
    } catch (const std::exception& e) {
      text = std::string("error: ") + e.what();
      status = 1;
    }
    [[maybe_unused]] const ssize_t written = ::write(report.writeEnd(), text.data(), text.size());
    ::_exit(status);  // no destructors or atexit handlers of the parent's state
  }
  report.closeWrite();
  std::string text;
  drain(report.readEnd(), &text);
  reap(pid, start, run);
  if (run.succeeded) {
    run.rows = std::stoll(text);
  } else {
    run.error = text.empty() ? "the child failed" : text;
  }
  return run;
}

}  // namespace bench
