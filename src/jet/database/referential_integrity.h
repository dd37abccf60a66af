// Enforced relationships seen from the table on their many side: a row
// added there must name a row of the table on the one side - the other
// table's index must hold the row's key -, unless a column of its key is
// null, as Jet allows. Updates and deletes, where cascading matters, are
// statements this engine does not execute.
#pragma once

#include <string>
#include <vector>

#include "jet/convert/value.h"
#include "jet/database/database.h"
#include "jet/index/index_entries.h"
#include "jet/journal/page_store.h"

namespace jet::write {

struct RequiredReference {
  RealIndex key;      // the referencing table's index over its key columns
  std::string table;  // the referenced table
  TableDef referencedDef;
  RealIndex referencedIndex;  // over the columns the key must match
};

// The relationships rows of `def` must satisfy, as `database` describes them.
std::vector<RequiredReference> requiredReferences(Database& database, const TableDef& def);

// Refuses the row of `def` whose values are `values` when it names no row
// of the referenced table.
void requireReferencedRow(const PageStore& store, const Format& format, const RequiredReference& reference,
                          const TableDef& def, const std::vector<convert::Value>& values,
                          const KeyForms& forms);

}  // namespace jet::write
