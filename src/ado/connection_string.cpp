#include "ado/connection_string.h"

#include <algorithm>
#include <cctype>

namespace ado {
namespace {

bool isSpace(char c) {
  return std::isspace(static_cast<unsigned char>(c)) != 0;
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
  return s;
}

bool sameKey(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

// A piece without '=' or with a blank key carries nothing and is skipped,
// as ADO skips it. Only the key is trimmed: a data source name or a
// password is handed on exactly as written.
ConnectionString ConnectionString::parse(std::string_view text) {
  ConnectionString result;
  while (!text.empty()) {
    const auto end = text.find(';');
    const std::string_view piece = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);

    const auto equals = piece.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = trimmed(piece.substr(0, equals));
    if (key.empty()) continue;
    result.pairs_.emplace_back(std::string(key), std::string(piece.substr(equals + 1)));
  }
  return result;
}

std::optional<std::string> ConnectionString::get(std::string_view key) const {
  const auto found = std::find_if(pairs_.rbegin(), pairs_.rend(),
                                  [&](const auto& pair) { return sameKey(pair.first, key); });
  if (found == pairs_.rend()) return std::nullopt;
  return found->second;
}

void ConnectionString::set(std::string_view key, std::string value) {
  std::erase_if(pairs_, [&](const auto& pair) { return sameKey(pair.first, key); });
  pairs_.emplace_back(std::string(key), std::move(value));
}

}  // namespace ado
