// Runs the target's INSERTs on a thread of their own, in the order they
// were posted, so that the window's thread reads and writes the next rows
// while the target works, and keeps the event loop running when the target
// blocks (a SQLite data source syncs its file at every checkpoint, for up
// to a tenth of a second inside a single INSERT).
//
// Statements wait in line behind the one in flight, and each thread,
// once it has to wait for the other, sleeps until half the line is there
// to work on (or everything is done): neither then spins, and a sleep and
// a wake-up, which cost as much as a fast INSERT on a virtual machine,
// come once per half line rather than once per row.
//
// Invariants:
// - Statements run one at a time, in the order of post(). At most
//   kQueued are posted and unfinished, and together, beyond the first,
//   no more than kQueuedBytes long.
// - The caller does not touch the connection while statements are
//   unfinished (after finishAll() it may); the worker touches it only to
//   run them. So the connection is never used by two threads at once, and
//   everything the worker did is visible to the caller once finishAll()
//   returns.
// - Every failure is handed to the caller, oldest first, with its own
//   statement and exception (nextFailure()), before its slot is reused.
// - dropQueued() and destruction let the statement in flight finish and
//   skip those behind it.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace ado {
class Connection;
}

namespace transfer {

class StatementWorker {
 public:
  static constexpr std::size_t kQueued = 32;
  static constexpr std::size_t kQueuedBytes = 1 << 20;

  struct Failure {
    const std::string* statement;
    std::exception_ptr error;
  };

  StatementWorker() = default;
  ~StatementWorker();
  StatementWorker(const StatementWorker&) = delete;
  StatementWorker& operator=(const StatementWorker&) = delete;

  // Returns once post() may be called; when the line is full, waits until
  // it is half empty, calling `idle` every 2 ms while it waits. `idle`
  // decides itself whether the event loop is due.
  template <typename Idle>
  void waitForRoom(Idle&& idle) {
    if (!hasRoom()) waitUntil(Goal::kHalfEmpty, idle);
  }
  // Waits until every posted statement has finished or been skipped.
  template <typename Idle>
  void finishAll(Idle&& idle) {
    startAll();
    waitUntil(Goal::kAllFinished, idle);
  }

  // The oldest failure not handed out yet among the finished statements;
  // its statement stays valid until the next post().
  std::optional<Failure> nextFailure();

  // Queues `statement` for `connection`; requires room (waitForRoom()) and
  // every failure so far handed out. Takes the text by swapping it with a
  // slot's earlier one, so that neither side allocates per row;
  // `statement` holds that earlier text afterwards.
  void post(ado::Connection& connection, std::string& statement);

  // Skips the statements that have not started yet.
  void dropQueued();

 private:
  struct Slot {
    ado::Connection* connection = nullptr;
    std::string statement;
    std::exception_ptr error;
  };

  enum class Goal { kHalfEmpty, kAllFinished };

  template <typename Idle>
  void waitUntil(Goal goal, Idle& idle) {
    while (!sleepUntil(goal)) idle();
  }
  bool reached(Goal goal) const;
  // True once `goal` is reached; false after 2 ms without.
  bool sleepUntil(Goal goal);

  std::uint64_t unfinished() const { return posted_.load() - finished_.load(); }
  bool allFinished() const { return unfinished() == 0; }
  bool hasRoom() const;
  // Has the worker run whatever is posted, however little.
  void startAll();
  void wakeWorker();
  void work();
  void run(Slot& slot);
  bool hasWork(std::uint64_t done) const;

  std::array<Slot, kQueued> slots_;
  std::atomic<std::uint64_t> posted_{0};
  std::atomic<std::uint64_t> finished_{0};
  std::atomic<std::uint64_t> startAllUpTo_{0};  // the worker runs these without waiting for more
  std::atomic<std::size_t> queuedBytes_{0};     // of the posted, unfinished statements
  std::uint64_t handedOut_ = 0;                 // the caller's: failures looked at up to here

  std::mutex mutex_;
  std::condition_variable workPosted_;
  std::condition_variable workFinished_;
  std::atomic<bool> workerSleeping_{false};
  std::atomic<bool> callerSleeping_{false};
  std::atomic<bool> dropping_{false};
  std::atomic<bool> stopping_{false};

  std::thread thread_;  // started by the first post()
};

}  // namespace transfer
