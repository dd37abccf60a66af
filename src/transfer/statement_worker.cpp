#include "transfer/statement_worker.h"

#include <chrono>
#include <stdexcept>
#include <utility>

#include "ado/connection.h"

namespace transfer {
namespace {

// Short next to the 10 ms between two passes of the event loop, so that a
// pass falls due soon after its time even while the statement blocks.
constexpr auto kCallerWake = std::chrono::milliseconds(2);
// A thread that had to wait for the other is woken once this many
// statements are there to run, or this much room to post them.
constexpr std::uint64_t kBatch = StatementWorker::kQueued / 2;
// A finished statement longer than this gives its memory back instead of
// keeping it for a later row: a table of large binary values would
// otherwise keep every slot at the size of its largest row.
constexpr std::size_t kKeptCapacity = 64 * 1024;

}  // namespace

StatementWorker::~StatementWorker() {
  if (!thread_.joinable()) return;
  dropping_.store(true);
  stopping_.store(true);
  {
    const std::lock_guard lock(mutex_);
    workPosted_.notify_one();
  }
  thread_.join();
}

bool StatementWorker::hasRoom() const {
  const std::uint64_t waiting = unfinished();
  return waiting == 0 || (waiting < kQueued && queuedBytes_.load() < kQueuedBytes);
}

bool StatementWorker::reached(Goal goal) const {
  if (goal == Goal::kAllFinished) return allFinished();
  const std::uint64_t waiting = unfinished();
  return waiting == 0 || (waiting <= kBatch && queuedBytes_.load() <= kQueuedBytes / 2);
}

bool StatementWorker::hasWork(std::uint64_t done) const {
  const std::uint64_t posted = posted_.load();
  return posted - done >= kBatch || (posted != done && startAllUpTo_.load() > done) || stopping_.load();
}

std::optional<StatementWorker::Failure> StatementWorker::nextFailure() {
  const std::uint64_t finished = finished_.load();
  while (handedOut_ < finished) {
    Slot& slot = slots_[handedOut_++ % kQueued];
    if (slot.error) return Failure{&slot.statement, std::exchange(slot.error, nullptr)};
  }
  return std::nullopt;
}

void StatementWorker::post(ado::Connection& connection, std::string& statement) {
  const std::uint64_t index = posted_.load();
  if (!hasRoom() || handedOut_ + kQueued <= index)
    throw std::logic_error("A statement was posted without room or with failures not handed out.");
  Slot& slot = slots_[index % kQueued];
  slot.connection = &connection;
  slot.statement.swap(statement);
  queuedBytes_.fetch_add(slot.statement.size());
  if (statement.capacity() > kKeptCapacity) statement = std::string();
  if (!thread_.joinable()) thread_ = std::thread([this] { work(); });
  posted_.store(index + 1);
  // A line this full would stall the caller before long, and a large
  // statement fills it by itself.
  if (!hasRoom() || index + 1 - finished_.load() >= kBatch) wakeWorker();
}

void StatementWorker::startAll() {
  startAllUpTo_.store(posted_.load());
  wakeWorker();
}

void StatementWorker::dropQueued() {
  dropping_.store(true);
  startAll();
}

// The stores before the call and the load of the flag are sequentially
// consistent, as are the worker's flag store and its check of the
// counters under the lock: one of the two threads sees the other's write,
// so a wake-up is never missed.
void StatementWorker::wakeWorker() {
  if (!workerSleeping_.load()) return;
  const std::lock_guard lock(mutex_);
  workPosted_.notify_one();
}

bool StatementWorker::sleepUntil(Goal goal) {
  std::unique_lock lock(mutex_);
  callerSleeping_.store(true);
  const bool done = workFinished_.wait_for(lock, kCallerWake, [&] { return reached(goal); });
  callerSleeping_.store(false);
  return done;
}

void StatementWorker::run(Slot& slot) {
  const std::size_t length = slot.statement.size();
  if (!dropping_.load()) {
    try {
      slot.connection->execute(slot.statement);
    } catch (...) {
      slot.error = std::current_exception();
    }
  }
  if (!slot.error && slot.statement.capacity() > kKeptCapacity) slot.statement = std::string();
  queuedBytes_.fetch_sub(length);
}

void StatementWorker::work() {
  std::uint64_t done = 0;
  for (;;) {
    if (!hasWork(done)) {
      std::unique_lock lock(mutex_);
      workerSleeping_.store(true);
      workPosted_.wait(lock, [&] { return hasWork(done); });
      workerSleeping_.store(false);
    }
    if (posted_.load() == done) return;  // stopping, nothing left to run
    run(slots_[done % kQueued]);
    finished_.store(++done);
    if (callerSleeping_.load() && (reached(Goal::kHalfEmpty))) {
      const std::lock_guard lock(mutex_);
      workFinished_.notify_one();
    }
  }
}

}  // namespace transfer
