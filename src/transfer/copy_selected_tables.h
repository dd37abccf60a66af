// The one procedure behind both transfer buttons: every selected table of
// the direction's source list is created on the other side and filled
// with one INSERT per row, with the overwrite question, the progress bar
// and the error report (which ends with "sql: " and the statement).
//
// Where it differs from a plain reading of the direction record:
// - A table whose name holds a quote character (` or ") or a control
//   character, or whose source fields hold the target's quote character or
//   a control character, is refused with one report before anything
//   happens to it: no question, no DROP, no rows, no list entry.
// - The source rows are opened before the overwrite question (the field
//   names are checked then) and streamed: the row count comes from the
//   engine (Access) or a SELECT COUNT(*) (data source), never from rows
//   held in memory. A source that cannot be opened costs its table one
//   report, and the target is left alone.
// - Every row the source gives is sent; the progress never exceeds 100.
// - Closing the window ends the run after the statement in flight.
// - The INSERTs run on a thread of their own (StatementWorker), up to 32
//   in line, while the next rows are read and written, and the event loop
//   keeps running while the target blocks. The target sees the same
//   statements in the same order; a rejected row is reported, with its
//   statement, before the next row after its failure is sent.
#pragma once

#include "transfer/transfer_direction.h"
#include "transfer/transfer_page.h"

namespace transfer {

class TableTransfer {
 public:
  explicit TableTransfer(TransferPage& page) : page_(page) {}

  void CopySelectedTables(const TransferDirection& direction);

 private:
  TransferPage& page_;
};

}  // namespace transfer
