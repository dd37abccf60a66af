// Runs the target's INSERTs on a thread of its own, one at a time, so that
// the window's thread builds the next statement while the target works on
// this one, and keeps the event loop running when the target blocks (a
// SQLite data source syncs its file at every checkpoint, for up to a tenth
// of a second inside a single INSERT).
//
// Invariants:
// - At most one statement is in flight; post() requires that the previous
//   one was finished with finish().
// - Between post() and the end of finish() the caller does not touch the
//   connection; outside that span the worker does not touch it. So the
//   connection is never used by two threads at once, and everything the
//   worker did is visible to the caller when finish() returns.
// - finish() returns the statement's own exception, so that the caller can
//   report it as if it had run the statement itself.
// - Destruction waits for the statement in flight.
//
// Both threads spin a little before they sleep: an INSERT takes tens of
// microseconds, and waking a sleeping thread costs as much again on a
// virtual machine, where a halted core has to be woken by the host.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <string>
#include <thread>

namespace ado {
class Connection;
}

namespace transfer {

class StatementWorker {
 public:
  StatementWorker() = default;
  ~StatementWorker();
  StatementWorker(const StatementWorker&) = delete;
  StatementWorker& operator=(const StatementWorker&) = delete;

  // Starts `statement` on `connection`. Takes the text by swapping it with
  // the worker's previous one, so that neither side allocates per row;
  // `statement` holds the previous text afterwards.
  void post(ado::Connection& connection, std::string& statement);

  bool inFlight() const { return posted_.load() != finished_.load(); }

  // The statement in flight, or the last one finished.
  const std::string& statement() const { return statement_; }

  // Waits for the statement in flight, calling `idle` every 2 ms while it
  // waits, and rethrows what the statement threw. `idle` decides itself
  // whether the event loop is due.
  template <typename Idle>
  void finish(Idle&& idle) {
    if (!spinForFinish())
      while (!sleepForFinish()) idle();
    rethrowError();
  }

 private:
  bool isFinished() const { return finished_.load() == posted_.load(); }
  bool spinForFinish() const;
  // True once the statement finished; false after 2 ms without.
  bool sleepForFinish();
  void rethrowError();
  void work();
  bool hasWork(std::uint64_t seen) const { return posted_.load() != seen || stopping_.load(); }

  std::mutex mutex_;
  std::condition_variable workPosted_;
  std::condition_variable workFinished_;
  std::atomic<std::uint64_t> posted_{0};
  std::atomic<std::uint64_t> finished_{0};
  std::atomic<bool> workerSleeping_{false};
  std::atomic<bool> callerSleeping_{false};
  std::atomic<bool> stopping_{false};

  // Handed over with posted_ and finished_.
  ado::Connection* connection_ = nullptr;
  std::string statement_;
  std::exception_ptr error_;

  std::thread thread_;  // started by the first post()
};

}  // namespace transfer
