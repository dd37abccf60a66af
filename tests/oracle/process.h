// Runs a program with an argument vector (no shell, so table names reach
// it unquoted and unchanged) and collects what it wrote and how it ended.
#pragma once

#include <string>
#include <vector>

namespace oracle {

struct ProcessResult {
  int exitStatus = -1;  // the exit code, or -1 when killed by a signal or never started
  std::string out;
  std::string err;
  bool succeeded() const { return exitStatus == 0; }
};

ProcessResult runProcess(const std::vector<std::string>& argv);

// Whether an executable of that name is on PATH (or the path names one).
bool programAvailable(const std::string& name);

}  // namespace oracle
