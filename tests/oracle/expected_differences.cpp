#include "expected_differences.h"

#include <array>

namespace oracle {
namespace {

using enum Aspect;

constexpr std::string_view kMdbToolsNoOfficeCrypto =
    "mdbtools cannot decrypt Office-encrypted .accdb files and reads garbage pages";
constexpr std::string_view kComplexTypeName = "mdb-schema names complex columns (type 0x12) Unknown_0012";
constexpr std::string_view kNonBmp =
    "mdbtools writes each character outside the Basic Multilingual Plane as \"??\"";
constexpr std::string_view kBefore1900 =
    "mdbtools prints dates before 1899-12-30 (negative day numbers) as 1900-01-00 00:00:00";
constexpr std::string_view kCalculated =
    "calculated column: the reader returns the stored wrapper, not the value "
    "(mdbtools prints garbage, mdb-reader the raw wrapper bytes)";
constexpr std::string_view kCalculatedType =
    "calculated column: the reader reports the type stored in the table definition (Text of "
    "length 0 for a Memo result); the provider reports the type of the result, as the "
    "column's ResultType property gives it";
constexpr std::string_view kEmptyBinary =
    "mdb-export prints a zero-length binary value as NULL; accessdb and mdb-reader "
    "both read an empty value there";

constexpr std::string_view kMovedRows =
    "rows moved to another page (slot flag 0x4000 pointing at a row flagged 0x8000): the "
    "reader skips the pointer and returns the row where its data sits; accessdb, like "
    "Jackcess, returns it at its original slot";

constexpr std::string_view kCalcFile = "ace14/calcFieldTestV2010.accdb";
constexpr std::string_view kComplexFile = "ace12/complexDataTestV2007.accdb";
constexpr std::string_view kUnicodeFile = "ace12/TestUnicode.2022.accdb";
constexpr std::string_view kExtDateFile = "ace17/extDateTestV2019.accdb";

constexpr std::array kExpected = {
    // Office-encrypted .accdb files.
    ExpectedDifference{"encrypted/db2007-enc.accdb", MdbTools, File, "", "", kMdbToolsNoOfficeCrypto},
    ExpectedDifference{"encrypted/office-agile-4.2.accdb", MdbTools, File, "", "", kMdbToolsNoOfficeCrypto},
    ExpectedDifference{"encrypted/office-agile-4.4.accdb", MdbTools, File, "", "", kMdbToolsNoOfficeCrypto},
    ExpectedDifference{"encrypted/db2007-enc.accdb", MdbReader, File, "", "",
                       "mdb-reader 3.2.0 fails on Agile AES-128/SHA-1 even with the right "
                       "password (it throws \"The value of 'end' is out of range\")"},

    // Moved rows: the same rows, in another order.
    ExpectedDifference{"jet3/activemdb_sample.mdb", kBothOracles, RowOrder, "Room", "", kMovedRows},
    ExpectedDifference{"jet3/activemdb_sample.mdb", kBothOracles, RowOrder, "Computer", "", kMovedRows},
    ExpectedDifference{"jet3/activemdb_sample.mdb", kBothOracles, RowOrder, "Employee", "", kMovedRows},
    ExpectedDifference{"jet3/activemdb_sample.mdb", kBothOracles, RowOrder, "Inventory", "", kMovedRows},
    ExpectedDifference{kUnicodeFile, kBothOracles, RowOrder, "TestText", "", kMovedRows},
    ExpectedDifference{kExtDateFile, kBothOracles, RowOrder, "Table1", "", kMovedRows},

    // Complex columns (attachments, multi-value, version history).
    ExpectedDifference{"ace12/attachments.accdb", MdbTools, ColumnType, "Table1", "Attachments",
                       kComplexTypeName},
    ExpectedDifference{kComplexFile, MdbTools, ColumnType, "Table1",
                       "VersionHistory_F5F8918F-0A3F-4DA9-AE71-184EE5012880", kComplexTypeName},
    ExpectedDifference{kComplexFile, MdbTools, ColumnType, "Table1", "multi-value-data", kComplexTypeName},
    ExpectedDifference{kComplexFile, MdbTools, ColumnType, "Table1", "attach-data", kComplexTypeName},
    ExpectedDifference{"ace12/attachments.accdb", MdbReader, Values, "Table1", "Attachments",
                       "mdb-reader decodes the attachments themselves, not the key value the provider shows"},
    ExpectedDifference{kComplexFile, MdbReader, TableRows, "Table1", "",
                       "mdb-reader fails on the multi-value and version-history columns "
                       "(\"Failed to read complex column\"); mdbtools reads their keys"},

    // Types mdbtools 1.0.0 does not know.
    ExpectedDifference{"ace16/bigint.accdb", MdbTools, ColumnType, "Table", "Numeric",
                       "mdbtools 1.0.0 has no Large Number type (Unknown_0013)"},
    ExpectedDifference{"ace16/bigint.accdb", MdbTools, Values, "Table", "Numeric",
                       "mdb-export prints nothing for Large Number (\"unsupported data type 19\")"},
    ExpectedDifference{kExtDateFile, MdbTools, ColumnType, "Table1", "DateExt",
                       "mdbtools 1.0.0 has no Date/Time Extended type (Unknown_0014)"},
    ExpectedDifference{kExtDateFile, MdbTools, Values, "Table1", "DateExt",
                       "mdb-export prints nothing for Date/Time Extended (\"unsupported data type 20\")"},

    // Dates before 1899-12-30.
    ExpectedDifference{"ace12/oldDatesV2007.accdb", MdbTools, Values, "Table1", "DateField", kBefore1900},
    ExpectedDifference{kExtDateFile, MdbTools, Values, "Table1", "DateNormal", kBefore1900},

    // Characters outside the Basic Multilingual Plane.
    ExpectedDifference{kUnicodeFile, MdbTools, Values, "TestText", "TestTextCompressed", kNonBmp},
    ExpectedDifference{kUnicodeFile, MdbTools, Values, "TestText", "TestMemoCompressed", kNonBmp},
    ExpectedDifference{kUnicodeFile, MdbTools, Values, "TestText", "TestTextUncompressed", kNonBmp},
    ExpectedDifference{kUnicodeFile, MdbTools, Values, "TestText", "TestMemoUncompressed", kNonBmp},
    ExpectedDifference{"ace14/testEmoticonsV2010.accdb", MdbTools, Values, "data", "data", kNonBmp},

    // Zero-length binary values.
    ExpectedDifference{"ace14/binIdxTestV2010.accdb", MdbTools, Values, "Test", "BinAsc", kEmptyBinary},
    ExpectedDifference{"ace14/binIdxTestV2010.accdb", MdbTools, Values, "Test", "BinDsc", kEmptyBinary},

    // Calculated columns: neither reader unwraps them.
    ExpectedDifference{kCalcFile, kBothOracles, ColumnType, "Table1", "MonthlySalary", kCalculatedType},
    ExpectedDifference{kCalcFile, kBothOracles, ColumnType, "Table1", "IsRich", kCalculatedType},
    ExpectedDifference{kCalcFile, kBothOracles, ColumnType, "Table1", "AllNames", kCalculatedType},
    ExpectedDifference{kCalcFile, kBothOracles, ColumnType, "Table1", "WeeklySalary", kCalculatedType},
    ExpectedDifference{kCalcFile, kBothOracles, ColumnType, "Table1", "BoolTest", kCalculatedType},
    ExpectedDifference{kCalcFile, kBothOracles, ColumnType, "Table1", "FloatTest", kCalculatedType},
    ExpectedDifference{kCalcFile, kBothOracles, Values, "Table1", "LastFirst", kCalculated},
    ExpectedDifference{kCalcFile, kBothOracles, Values, "Table1", "LastFirstLen", kCalculated},
    ExpectedDifference{kCalcFile, kBothOracles, Values, "Table1", "MonthlySalary", kCalculated},
    ExpectedDifference{kCalcFile, kBothOracles, Values, "Table1", "IsRich", kCalculated},
    ExpectedDifference{kCalcFile, kBothOracles, Values, "Table1", "AllNames", kCalculated},
    ExpectedDifference{kCalcFile, kBothOracles, Values, "Table1", "WeeklySalary", kCalculated},
    ExpectedDifference{kCalcFile, kBothOracles, Values, "Table1", "SalaryTest", kCalculated},
    ExpectedDifference{kCalcFile, kBothOracles, Values, "Table1", "BoolTest", kCalculated},
    ExpectedDifference{kCalcFile, kBothOracles, Values, "Table1", "DecimalTest", kCalculated},
    ExpectedDifference{kCalcFile, kBothOracles, Values, "Table1", "FloatTest", kCalculated},
    ExpectedDifference{kCalcFile, kBothOracles, Values, "Table1", "BigNumTest", kCalculated},
    ExpectedDifference{"ace14/alterTable.accdb", kBothOracles, Values, "Tabella1", "eee", kCalculated},
    ExpectedDifference{kExtDateFile, kBothOracles, Values, "Table1", "DateNormalCalc", kCalculated},
};

}  // namespace

std::span<const ExpectedDifference> expectedDifferences() {
  return kExpected;
}

std::optional<ExpectedDifference> expectedDifference(std::string_view fixture, Reader reader, Aspect aspect,
                                                     std::string_view table, std::string_view column) {
  for (const ExpectedDifference& entry : kExpected) {
    if (entry.fixture == fixture && (entry.readers & reader) != 0 && entry.aspect == aspect &&
        entry.table == table && entry.column == column) {
      return entry;
    }
  }
  return std::nullopt;
}

}  // namespace oracle
