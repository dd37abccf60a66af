// What the transfer needs of the page it runs for: the two table lists,
// the progress bar, the pointer, the event loop, the message boxes and the
// connection values. The table manager page implements it with its
// widgets; the command line with plain lists and standard error.
#pragma once

#include <QString>

#include "db/connection_factory.h"
#include "db/connection_fields.h"
#include "db/prompter.h"

namespace transfer {

// List1 holds the Access tables, List2 the data source's.
enum class ListName { List1, List2 };

// One sorted table list with a current entry separate from its selection.
class TableListView {
 public:
  virtual ~TableListView() = default;
  virtual int currentIndex() const = 0;  // -1 when no entry is current
  virtual int count() const = 0;
  virtual bool isSelected(int index) const = 0;
  virtual QString text(int index) const = 0;
  // ListContains: some entry equals `name` once both are lower-cased.
  virtual bool contains(const QString& name) const = 0;
  // RemoveListItem: removes the entries that equal `name` exactly.
  virtual void remove(const QString& name) = 0;
  // Adds `name` in its sorted place.
  virtual void add(const QString& name) = 0;
};

enum class PagePointer : int { kDefault = 0, kBusy = 11 };

class TransferPage {
 public:
  virtual ~TransferPage() = default;

  virtual TableListView& list(ListName name) = 0;
  virtual void setProgress(int percent) = 0;  // ProgressBar1, 0 to 100
  virtual void setPointer(PagePointer pointer) = 0;
  // Lets the event loop run once: the window repaints, input is handled.
  virtual void processEvents() = 0;
  // True once the window was closed: the run ends after the statement in flight.
  virtual bool stopRequested() const = 0;
  // Rows sent of a table's rows, after each row; a place to show them.
  virtual void rowsDone(const QString& table, long long done, long long total) = 0;

  virtual db::Prompter& prompter() = 0;
  virtual const db::ConnectionFields& connectionFields() const = 0;
  // Makes the run's two connections.
  virtual const db::ConnectionFactory& connections() const = 0;
};

}  // namespace transfer
