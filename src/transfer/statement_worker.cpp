#include "transfer/statement_worker.h"

#include <chrono>
#include <utility>

#include "ado/connection.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace transfer {
namespace {

using Clock = std::chrono::steady_clock;

// Long enough to cover a typical INSERT into SQLite or Access also on a
// host running at half speed (a sleep and a wake-up cost about as much as
// a fast INSERT), short enough that a thread waiting on a syncing
// statement soon leaves the core to others.
constexpr auto kSpin = std::chrono::microseconds(1000);
// Short next to the 10 ms between two passes of the event loop, so that a
// pass falls due soon after its time even while the statement blocks.
constexpr auto kCallerWake = std::chrono::milliseconds(2);

void relax() {
#if defined(__x86_64__) || defined(__i386__)
  _mm_pause();
#endif
}

// Spins until `done` answers true or the spin time is over; reads the
// clock only every few dozen turns.
template <typename Done>
bool spinUntil(Done&& done) {
  const auto until = Clock::now() + kSpin;
  for (;;) {
    for (int turn = 0; turn < 64; ++turn) {
      if (done()) return true;
      relax();
    }
    if (Clock::now() >= until) return done();
  }
}

}  // namespace

StatementWorker::~StatementWorker() {
  if (!thread_.joinable()) return;
  stopping_.store(true);
  {
    const std::lock_guard lock(mutex_);
    workPosted_.notify_one();
  }
  thread_.join();
}

void StatementWorker::post(ado::Connection& connection, std::string& statement) {
  connection_ = &connection;
  statement_.swap(statement);
  error_ = nullptr;
  if (!thread_.joinable()) thread_ = std::thread([this] { work(); });
  // The store and the load below are sequentially consistent, as are the
  // worker's flag store and its check of posted_: one of the two threads
  // sees the other's write, so a post is never missed.
  posted_.fetch_add(1);
  if (workerSleeping_.load()) {
    const std::lock_guard lock(mutex_);
    workPosted_.notify_one();
  }
}

bool StatementWorker::spinForFinish() const {
  return spinUntil([this] { return isFinished(); });
}

bool StatementWorker::sleepForFinish() {
  std::unique_lock lock(mutex_);
  callerSleeping_.store(true);
  const bool done = workFinished_.wait_for(lock, kCallerWake, [this] { return isFinished(); });
  callerSleeping_.store(false);
  return done;
}

void StatementWorker::rethrowError() {
  if (std::exception_ptr error = std::exchange(error_, nullptr)) std::rethrow_exception(error);
}

void StatementWorker::work() {
  std::uint64_t seen = 0;
  for (;;) {
    if (!spinUntil([&] { return hasWork(seen); })) {
      std::unique_lock lock(mutex_);
      workerSleeping_.store(true);
      workPosted_.wait(lock, [&] { return hasWork(seen); });
      workerSleeping_.store(false);
    }
    if (posted_.load() == seen) return;  // stopping, nothing left to run
    ++seen;
    try {
      connection_->execute(statement_);
    } catch (...) {
      error_ = std::current_exception();
    }
    finished_.store(seen);
    if (callerSleeping_.load()) {
      const std::lock_guard lock(mutex_);
      workFinished_.notify_one();
    }
  }
}

}  // namespace transfer
