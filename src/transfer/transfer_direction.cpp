#include "transfer/transfer_direction.h"

#include "ado/data_type.h"

namespace transfer {
namespace {

// Access to the data source: Access's text, date and floating-point types
// become TEXT, integers and currency NUMERIC (their values bare), Yes/No BIT.
constexpr ColumnRule kSybaseRules[] = {
    {"varwchar", TargetType::kText}, {"longvar", TargetType::kText},
    {"int", TargetType::kNumeric},   {"currency", TargetType::kNumeric},
    {"date", TargetType::kText},     {"bool", TargetType::kBit},
    {"", TargetType::kText},
};

// The data source to Access. No value may change on the way: decimals keep
// their precision and scale, Single stays a single, integers wider than
// Access's Long go to DECIMAL(20,0), long texts and texts beyond 255
// characters to MEMO, binary columns to BINARY(n) or OLEOBJECT.
constexpr ColumnRule kAccessRules[] = {
    {"char", TargetType::kVarcharOrMemo},
    {"decimal", TargetType::kDecimal},
    {"single", TargetType::kReal},
    {"bigint", TargetType::kWideInteger},
    {"unsignedint", TargetType::kWideInteger},
    {"int", TargetType::kInt},
    {"adlongvarbinary", TargetType::kOleObject},
    {"binary", TargetType::kBinaryOrOle},
    {"longvar", TargetType::kMemo},
    {"numeric", TargetType::kDecimal},
    {"date", TargetType::kDateTime},
    {"timestamp", TargetType::kDateTime},
    {"double", TargetType::kFloat},
    {"", TargetType::kVarcharOrMemo},
};

constexpr TransferDirection kAccessToSybase{
    .handlerName = "PushButton3_Click",
    .sourceList = ListName::List1,
    .targetList = ListName::List2,
    .noSelectionMessage = "Please select a table",
    .source = Side::kAccess,
    .accessCursorLocation = ado::adUseClient,
    .accessMode = ado::adModeReadWrite,
    .odbcCursorLocation = ado::adUseServer,
    .sourceQuery = "SELECT * FROM `<table>`",
    .rowCountQuery = nullptr,
    .sourceCursorType = ado::adOpenStatic,
    .sourceLockType = ado::adLockOptimistic,
    .dropStatement = "DROP TABLE \"<table>\"",
    .targetListName = ListNameForm::kLowerCase,
    .createOpening = "CREATE TABLE \"<table>\"(",
    .columnDefinition = "\"<field>\"",
    .createClosing = ")",
    .columnRules = kSybaseRules,
    .insertOpening = "INSERT INTO \"<table>\" VALUES(",
    .valueWriting = ValueWriting::kNumbersBare,
    .closingCut = 2,
    .endOrder = {EndAction::kCloseAccess, EndAction::kCloseOdbc, EndAction::kPointerNormal},
    .lines = {.createAccess = 100, .createOdbc = 102, .createRows = 104,
              .noSelection = 106, .busyPointer = 108,
              .odbcCursorLocation = 110, .odbcProvider = 112, .odbcOpen = 114,
              .accessCursorLocation = 116, .accessMode = 118, .accessOpen = 120,
              .entries = 122, .entryYield = 124, .selected = 126, .tableName = 128,
              .overwriteTest = 130, .overwriteQuestion = 132, .noQuestion = 134,
              .answeredNo = 136, .answeredYes = 138, .drop = 140, .removeTarget = 142,
              .openSource = 144, .createOpening = 146,
              .fields = 150, .fieldYield = 152, .fieldName = 154, .typeName = 156,
              .cutComma = 190, .createClosing = 192, .create = 196,
              .rowBound = 204, .rowYield = 210, .progress = 214, .insertOpening = 216,
              .valueYield = 220, .value = 222,
              .closingCut = 264, .closingParen = 266, .insert = 274, .moveNext = 276,
              .progressReset = 280, .closeSource = 282, .addTarget = 284,
              .closeAccess = 294, .closeOdbc = 296, .pointerNormal = 298},
};

constexpr TransferDirection kSybaseToAccess{
    .handlerName = "PushButton4_Click",
    .sourceList = ListName::List2,
    .targetList = ListName::List1,
    .noSelectionMessage = "Please select a table to send.",
    .source = Side::kOdbc,
    .accessCursorLocation = ado::adUseServer,
    .accessMode = ado::adModeReadWrite,
    .odbcCursorLocation = ado::adUseClient,
    .sourceQuery = "SELECT * FROM \"<table>\"",
    .rowCountQuery = "SELECT COUNT(*) FROM \"<table>\"",
    .sourceCursorType = ado::adOpenUnspecified,
    .sourceLockType = ado::adLockUnspecified,
    .dropStatement = "DROP TABLE `<table>`",
    .targetListName = ListNameForm::kUnchanged,
    .createOpening = "CREATE TABLE `<table>`(",
    .columnDefinition = "`<field>`",
    .createClosing = ");",
    .columnRules = kAccessRules,
    .insertOpening = "INSERT INTO `<table>` VALUES('",
    .valueWriting = ValueWriting::kQuotedPendingQuote,
    .closingCut = 3,
    .endOrder = {EndAction::kPointerNormal, EndAction::kCloseAccess, EndAction::kCloseOdbc},
    .lines = {.createAccess = 100, .createOdbc = 102, .createRows = 104,
              .noSelection = 108, .busyPointer = 110,
              .odbcCursorLocation = 112, .odbcProvider = 114, .odbcOpen = 116,
              .accessCursorLocation = 118, .accessMode = 120, .accessOpen = 122,
              .entries = 124, .entryYield = 0, .selected = 126, .tableName = 128,
              .overwriteTest = 130, .overwriteQuestion = 132, .noQuestion = 134,
              .answeredNo = 136, .answeredYes = 138, .drop = 140, .removeTarget = 142,
              .openSource = 144, .createOpening = 146,
              .fields = 148, .fieldYield = 150, .fieldName = 152, .typeName = 154,
              .cutComma = 200, .createClosing = 202, .create = 206,
              .rowBound = 214, .rowYield = 218, .progress = 220, .insertOpening = 222,
              .valueYield = 226, .value = 228,
              .closingCut = 242, .closingParen = 244, .insert = 248, .moveNext = 250,
              .progressReset = 254, .closeSource = 256, .addTarget = 258,
              .closeAccess = 270, .closeOdbc = 272, .pointerNormal = 268},
};

}  // namespace

const TransferDirection& AccessToSybase() { return kAccessToSybase; }
const TransferDirection& SybaseToAccess() { return kSybaseToAccess; }

}  // namespace transfer
