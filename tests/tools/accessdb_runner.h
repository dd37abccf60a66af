// Runs the built accessdb as the separate program it is, with arguments or
// with a file on its standard input.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "process.h"

namespace tools_test {

inline const std::string kAccessDb = FERROVALE_ACCESSDB;

inline oracle::ProcessResult accessdb(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), kAccessDb);
  return oracle::runProcess(arguments);
}

// The shell only redirects: the input file and accessdb's arguments reach
// it as positional parameters, never as text to interpret.
inline std::vector<std::string> readingCommand(const std::string& inputFile,
                                               const std::vector<std::string>& arguments) {
  std::vector<std::string> argv{"sh", "-c", "exec \"$@\" < \"$0\"", inputFile, kAccessDb};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return argv;
}

inline oracle::ProcessResult accessdbReading(const std::string& inputFile,
                                             const std::vector<std::string>& arguments) {
  return oracle::runProcess(readingCommand(inputFile, arguments));
}

// The same, killed with SIGKILL after `seconds` unless it finished first;
// true when it was killed.
inline bool accessdbKilledWhileReading(double seconds, const std::string& inputFile,
                                       const std::vector<std::string>& arguments) {
  std::vector<std::string> argv{"timeout", "-s", "KILL", std::to_string(seconds)};
  const auto command = readingCommand(inputFile, arguments);
  argv.insert(argv.end(), command.begin(), command.end());
  // timeout sends the signal to its whole process group, itself included,
  // so it ends by the signal too.
  return oracle::runProcess(argv).exitStatus == -1;
}

inline void writeText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The names `accessdb tables` lists as user tables, in its order.
inline std::vector<std::string> userTables(const std::string& file, const std::string& password = "") {
  std::vector<std::string> names;
  std::vector<std::string> arguments{"tables", file};
  if (!password.empty()) arguments.insert(arguments.end(), {"--password", password});
  const std::string out = accessdb(arguments).out;
  std::size_t start = 0;
  for (std::size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1) {
    const std::string line = out.substr(start, end - start);
    if (line.starts_with("TABLE\t")) names.push_back(line.substr(6));
  }
  return names;
}

}  // namespace tools_test
