// ADO DataTypeEnum values that the providers report for their fields.
#pragma once

namespace ado {

enum DataType : int {
  adEmpty = 0,
  adSmallInt = 2,
  adInteger = 3,
  adSingle = 4,
  adDouble = 5,
  adCurrency = 6,
  adDate = 7,
  adBoolean = 11,
  adDecimal = 14,
  adTinyInt = 16,
  adUnsignedTinyInt = 17,
  adUnsignedSmallInt = 18,
  adUnsignedInt = 19,
  adBigInt = 20,
  adUnsignedBigInt = 21,
  adGUID = 72,
  adBinary = 128,
  adChar = 129,
  adWChar = 130,
  adNumeric = 131,
  adDBDate = 133,
  adDBTime = 134,
  adDBTimeStamp = 135,
  adVarChar = 200,
  adLongVarChar = 201,
  adVarWChar = 202,
  adLongVarWChar = 203,
  adVarBinary = 204,
  adLongVarBinary = 205,
};

enum CursorLocation : int { adUseServer = 2, adUseClient = 3 };
enum ConnectMode : int { adModeUnknown = 0, adModeReadWrite = 3 };
enum CursorType : int { adOpenUnspecified = -1, adOpenForwardOnly = 0, adOpenStatic = 3 };
enum LockType : int { adLockUnspecified = -1, adLockReadOnly = 1, adLockOptimistic = 3 };
enum SchemaEnum : int { adSchemaTables = 20 };

}  // namespace ado
