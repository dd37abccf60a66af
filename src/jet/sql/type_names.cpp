#include "jet/sql/type_names.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace jet::sql {
namespace {

struct Entry {
  std::string_view name;
  TypeName type;
};

constexpr std::uint16_t kMaxTextLength = 255;    // characters
constexpr std::uint16_t kMaxBinaryLength = 510;  // bytes, Jet4 and later

constexpr TypeName text{{ColumnKind::Text, kMaxTextLength}, TypeArguments::Length, kMaxTextLength};
constexpr TypeName binary{{ColumnKind::Binary, kMaxBinaryLength}, TypeArguments::Length, kMaxBinaryLength};
constexpr TypeName memo{{ColumnKind::Memo}};
constexpr TypeName longInt{{ColumnKind::Long}};
constexpr TypeName shortInt{{ColumnKind::Integer}};
constexpr TypeName byteInt{{ColumnKind::Byte}};
constexpr TypeName yesNo{{ColumnKind::Boolean}};
constexpr TypeName currency{{ColumnKind::Currency}};
constexpr TypeName single{{ColumnKind::Single}};
constexpr TypeName dbl{{ColumnKind::Double}};
constexpr TypeName dateTime{{ColumnKind::DateTime}};
// A bare DECIMAL is DECIMAL(18,0), as in Jet.
constexpr TypeName decimal{{ColumnKind::Decimal, 0, 18, 0}, TypeArguments::PrecisionScale};
constexpr TypeName ole{{ColumnKind::OleObject}};
constexpr TypeName guid{{ColumnKind::Guid}};
constexpr TypeName counter{{ColumnKind::Long, 0, 0, 0, true}};

constexpr std::array kNames{
    Entry{"VARCHAR", text},       Entry{"TEXT", text},
    Entry{"CHAR", text},          Entry{"CHARACTER", text},
    Entry{"STRING", text},        Entry{"ALPHANUMERIC", text},
    Entry{"NVARCHAR", text},      Entry{"NCHAR", text},
    Entry{"MEMO", memo},          Entry{"LONGTEXT", memo},
    Entry{"NOTE", memo},          Entry{"LONGCHAR", memo},
    Entry{"NTEXT", memo},         Entry{"INT", longInt},
    Entry{"INTEGER", longInt},    Entry{"LONG", longInt},
    Entry{"INTEGER4", longInt},   Entry{"SMALLINT", shortInt},
    Entry{"SHORT", shortInt},     Entry{"INTEGER2", shortInt},
    Entry{"BYTE", byteInt},       Entry{"TINYINT", byteInt},
    Entry{"INTEGER1", byteInt},   Entry{"BIT", yesNo},
    Entry{"YESNO", yesNo},        Entry{"LOGICAL", yesNo},
    Entry{"LOGICAL1", yesNo},     Entry{"BOOLEAN", yesNo},
    Entry{"CURRENCY", currency},  Entry{"MONEY", currency},
    Entry{"REAL", single},        Entry{"SINGLE", single},
    Entry{"FLOAT4", single},      Entry{"IEEESINGLE", single},
    Entry{"FLOAT", dbl},          Entry{"DOUBLE", dbl},
    Entry{"FLOAT8", dbl},         Entry{"IEEEDOUBLE", dbl},
    Entry{"NUMBER", dbl},         Entry{"DATETIME", dateTime},
    Entry{"DATE", dateTime},      Entry{"TIME", dateTime},
    Entry{"TIMESTAMP", dateTime}, Entry{"DECIMAL", decimal},
    Entry{"NUMERIC", decimal},    Entry{"DEC", decimal},
    Entry{"OLEOBJECT", ole},      Entry{"LONGBINARY", ole},
    Entry{"IMAGE", ole},          Entry{"GENERAL", ole},
    Entry{"BINARY", binary},      Entry{"VARBINARY", binary},
    Entry{"GUID", guid},          Entry{"UNIQUEIDENTIFIER", guid},
    Entry{"COUNTER", counter},    Entry{"AUTOINCREMENT", counter},
};

}  // namespace

std::optional<TypeName> lookupTypeName(std::string_view name) {
  std::string upper(name);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  for (const Entry& e : kNames)
    if (e.name == upper) return e.type;
  return std::nullopt;
}

}  // namespace jet::sql
