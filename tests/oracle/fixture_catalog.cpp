#include "fixture_catalog.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace oracle {
namespace {

// The README table's columns: file, format, size, source, license, password, ...
constexpr std::size_t kFileColumn = 0;
constexpr std::size_t kPasswordColumn = 5;

std::string trim(std::string text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::vector<std::string> splitCells(const std::string& line) {
  std::vector<std::string> cells;
  std::size_t start = 1;  // past the leading '|'
  for (std::size_t bar; (bar = line.find('|', start)) != std::string::npos; start = bar + 1) {
    cells.push_back(trim(line.substr(start, bar - start)));
  }
  return cells;
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

std::vector<std::pair<std::string, std::string>> readmePasswords(const std::string& readme) {
  std::vector<std::pair<std::string, std::string>> passwords;
  std::istringstream lines(readme);
  for (std::string line; std::getline(lines, line);) {
    if (!line.starts_with("| `")) continue;
    const std::vector<std::string> cells = splitCells(line);
    if (cells.size() <= kPasswordColumn) continue;
    const std::string& file = cells[kFileColumn];
    const std::string& password = cells[kPasswordColumn];
    if (file.size() < 2 || password == "-") continue;
    passwords.emplace_back(file.substr(1, file.size() - 2), password);
  }
  return passwords;
}

std::vector<Fixture> findFixtures(const std::filesystem::path& root) {
  namespace fs = std::filesystem;
  std::vector<Fixture> fixtures;
  if (!fs::is_directory(root)) return fixtures;
  const auto passwords = readmePasswords(readFile(root / "README.md"));
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string extension = entry.path().extension().string();
    if (!entry.is_regular_file() || (extension != ".mdb" && extension != ".accdb")) continue;
    Fixture fixture{entry.path().lexically_relative(root).generic_string(), entry.path(), {}};
    for (const auto& [file, password] : passwords) {
      if (file == fixture.name) fixture.password = password;
    }
    fixtures.push_back(std::move(fixture));
  }
  std::ranges::sort(fixtures, {}, &Fixture::name);
  return fixtures;
}

}  // namespace oracle
