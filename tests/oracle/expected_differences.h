// Where a reader is known to read a fixture differently from the truth,
// and why. Each entry is narrow (one file, one table, one column where it
// can be), and the comparison checks that the difference is really there,
// so an entry that no longer holds shows up as a failure instead of
// silently hiding a column.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace oracle {

// Who is at fault: one of the independent readers, or our engine where it
// deliberately does not read something yet. An entry may name several.
enum Reader : unsigned { Engine = 1, MdbTools = 2, MdbReader = 4 };
inline constexpr unsigned kBothOracles = MdbTools | MdbReader;

enum class Aspect {
  File,        // the reader cannot open the file at all
  TableRows,   // the reader cannot read the rows of a table
  RowOrder,    // the reader returns a table's rows in another order
  ColumnType,  // the reader names a column's type wrongly or not at all
  Values,      // the reader returns wrong values for a column
};

struct ExpectedDifference {
  std::string_view fixture;  // e.g. "ace14/calcFieldTestV2010.accdb"
  unsigned readers;          // Reader flags
  Aspect aspect;
  std::string_view table;   // empty for Aspect::File
  std::string_view column;  // empty unless ColumnType or Values
  std::string_view reason;
};

std::span<const ExpectedDifference> expectedDifferences();

std::optional<ExpectedDifference> expectedDifference(std::string_view fixture, Reader reader, Aspect aspect,
                                                     std::string_view table = {},
                                                     std::string_view column = {});

}  // namespace oracle
