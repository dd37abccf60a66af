// The Access files under the shared fixture folder, each with the password
// its README lists for it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace oracle {

struct Fixture {
  std::string name;  // path below the fixture folder, e.g. "jet3/testV1997.mdb"
  std::filesystem::path path;
  std::optional<std::string> password;
};

// Every .mdb and .accdb file below `root`, sorted by name. The README's
// table ("| `file` | ... | password | ...") gives the passwords; "-" means none.
std::vector<Fixture> findFixtures(const std::filesystem::path& root);

// The password column of that README table, keyed by file name.
std::vector<std::pair<std::string, std::string>> readmePasswords(const std::string& readme);

}  // namespace oracle
