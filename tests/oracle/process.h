// Runs a program with an argument vector (no shell, so table names reach
// it unquoted and unchanged) and collects what it wrote, how it ended, how
// long it took and how much memory it needed at most.
#pragma once

#include <string>
#include <vector>

namespace oracle {

struct ProcessResult {
  int exitStatus = -1;     // the exit code, or -1 when killed by a signal or never started
  std::string out;         // empty when only its lines were counted
  long long outLines = 0;  // newlines written to standard output
  std::string err;
  double seconds = 0;      // wall-clock time from start to exit
  long peakKilobytes = 0;  // the child's maximum resident set size
  bool succeeded() const { return exitStatus == 0; }
};

// A child's peak memory as the kernel reports it includes the peak of the
// parent that started it, so a caller measuring a child's memory keeps
// itself small by counting output lines instead of keeping the output.
enum class Output { Keep, CountLines };

ProcessResult runProcess(const std::vector<std::string>& argv, Output output = Output::Keep);

// Whether an executable of that name is on PATH (or the path names one).
bool programAvailable(const std::string& name);

}  // namespace oracle
