// Connection strings as ADO reads them: key=value pairs separated by ';',
// keys compared without regard to case, values taken as they stand.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ado {

class ConnectionString {
 public:
  ConnectionString() = default;
  static ConnectionString parse(std::string_view text);

  // The value of the last pair with this key (any letter case), if any.
  std::optional<std::string> get(std::string_view key) const;
  void set(std::string_view key, std::string value);

 private:
  std::vector<std::pair<std::string, std::string>> pairs_;
};

}  // namespace ado
