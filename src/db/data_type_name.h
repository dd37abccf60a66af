// The ADO DataTypeEnum member name of a field type number. The transfers
// choose target column types by looking for pieces of this name, so the
// table in data_type_name.cpp is part of their vocabulary.
#pragma once

#include <string>

namespace db {

// The published member name ("adVarWChar" for 202), or "" when the number
// is not an enumeration member — adArray (8192) combinations included.
std::string DataTypeName(int type);

}  // namespace db
