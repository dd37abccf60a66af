// Building and ordering the tables schema rowset.
#include "ado/access/schema_rows.h"

#include <algorithm>
#include <cctype>

#include "ado/data_type.h"

namespace ado::access {
namespace {

bool startsWithMSys(std::string_view name) {
  constexpr std::string_view kPrefix = "msys";
  if (name.size() < kPrefix.size()) return false;
  for (std::size_t i = 0; i < kPrefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(name[i])) != kPrefix[i]) return false;
  }
  return true;
}

// Case-insensitive order first, so "a" and "B" sort as a reader expects;
// bytes break ties.
bool nameBefore(const std::string& a, const std::string& b) {
  const auto lower = [](unsigned char c) { return std::tolower(c); };
  const bool less = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) {
    return lower(static_cast<unsigned char>(x)) < lower(static_cast<unsigned char>(y));
  });
  const bool greater =
      std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), [&](char x, char y) {
        return lower(static_cast<unsigned char>(x)) < lower(static_cast<unsigned char>(y));
      });
  return less || (!greater && a < b);
}

}  // namespace

std::string tableTypeOf(const jet::CatalogEntry& e) {
  using jet::ObjectType;
  namespace flags = jet::object_flags;
  switch (e.objectType()) {
    case ObjectType::Table:
      if ((e.flags & flags::kSystem) != 0) return "SYSTEM TABLE";
      if ((e.flags & flags::kAccessHidden) != 0) return "ACCESS TABLE";
      return startsWithMSys(e.name) ? "SYSTEM TABLE" : "TABLE";
    case ObjectType::Query: return (e.flags & flags::kQueryKindMask) == 0 ? "VIEW" : "";
    case ObjectType::LinkedTable: return "LINK";
    case ObjectType::OdbcLinkedTable: return "PASS-THROUGH";
    default: return "";
  }
}

SchemaRows::SchemaRows(const std::vector<jet::CatalogEntry>& catalog)
    : columns_{{"TABLE_CATALOG", adVarWChar},
               {"TABLE_SCHEMA", adVarWChar},
               {"TABLE_NAME", adVarWChar},
               {"TABLE_TYPE", adVarWChar}} {
  for (const auto& entry : catalog) {
    std::string type = tableTypeOf(entry);
    if (!type.empty()) rows_.push_back({std::move(type), entry.name});
  }
  std::sort(rows_.begin(), rows_.end(), [](const Row& a, const Row& b) {
    if (a.type != b.type) return a.type < b.type;
    return nameBefore(a.name, b.name);
  });
}

bool SchemaRows::fetch(std::vector<Variant>& row) {
  if (next_ >= rows_.size()) return false;
  row.assign(
      {Variant::null(), Variant::null(), Variant::text(rows_[next_].name), Variant::text(rows_[next_].type)});
  ++next_;
  return true;
}

}  // namespace ado::access
