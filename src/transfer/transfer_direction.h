// The settings that tell the two transfer directions apart, as data: one
// procedure (CopySelectedTables) runs either direction from its record.
// Statement pieces are templates in which "<table>" stands for the table
// name and "<field>" for a field name.
#pragma once

#include <array>
#include <span>

#include "transfer/column_rules.h"
#include "transfer/transfer_page.h"

namespace transfer {

enum class Side { kAccess, kOdbc };

// How a name is written into the target list: lower-cased, or as it
// stands in the source list.
enum class ListNameForm { kLowerCase, kUnchanged };

// How each value is appended to an INSERT (see value_writer.h).
enum class ValueWriting {
  kNumbersBare,        // numeric columns bare, the rest in quotes: "v, " / "'v', "
  kQuotedPendingQuote  // every value in quotes, the next opening quote written ahead
};

enum class EndAction { kCloseAccess, kCloseOdbc, kPointerNormal };

// The step numbers that the error report shows.
struct LineNumbers {
  int createAccess, createOdbc, createRows;
  int noSelection;
  int busyPointer;
  int odbcCursorLocation, odbcProvider, odbcOpen;
  int accessCursorLocation, accessMode, accessOpen;
  int entries;
  int entryYield;  // 0: this direction does not yield per entry
  int selected, tableName;
  int overwriteTest, overwriteQuestion, noQuestion, answeredNo, answeredYes;
  int drop, removeTarget;
  int openSource, createOpening;
  int fields, fieldYield, fieldName, typeName;
  int cutComma, createClosing, create;
  int rowBound, rowYield, progress, insertOpening;
  int valueYield, value;
  int closingCut, closingParen, insert, moveNext;
  int progressReset, closeSource, addTarget;
  int closeAccess, closeOdbc, pointerNormal;
};

struct TransferDirection {
  const char* handlerName;  // the Form2 handler the error report names
  ListName sourceList;
  ListName targetList;
  const char* noSelectionMessage;
  Side source;
  int accessCursorLocation;
  int accessMode;
  int odbcCursorLocation;
  const char* sourceQuery;
  // The count of the source rows when the engine does not know it; null
  // when it does (Access).
  const char* rowCountQuery;
  int sourceCursorType;  // -1: the platform's default
  int sourceLockType;
  const char* dropStatement;
  ListNameForm targetListName;
  const char* createOpening;
  const char* columnDefinition;
  const char* createClosing;
  std::span<const ColumnRule> columnRules;
  const char* insertOpening;
  ValueWriting valueWriting;
  int closingCut;
  std::array<EndAction, 3> endOrder;
  LineNumbers lines;

  Side target() const { return source == Side::kAccess ? Side::kOdbc : Side::kAccess; }
  // The quote character around names of the target dialect.
  char targetQuote() const { return target() == Side::kAccess ? '`' : '"'; }
};

// "Send Table/s To Sybase iAny" (PushButton3_Click).
const TransferDirection& AccessToSybase();
// "Send Table/s To Access" (PushButton4_Click).
const TransferDirection& SybaseToAccess();

}  // namespace transfer
