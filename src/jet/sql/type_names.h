// The Jet DDL type names and their synonyms, resolved to a column type.
#pragma once

#include <optional>
#include <string_view>

#include "jet/sql/statement.h"

namespace jet::sql {

// What a type name allows after it in parentheses.
enum class TypeArguments { None, Length, PrecisionScale };

struct TypeName {
  ColumnType type;  // with the defaults of a bare name
  TypeArguments arguments = TypeArguments::None;
  std::uint16_t maxLength = 0;  // for TypeArguments::Length
};

// `name` in any letter case; nullopt for a name Jet does not know.
std::optional<TypeName> lookupTypeName(std::string_view name);

}  // namespace jet::sql
