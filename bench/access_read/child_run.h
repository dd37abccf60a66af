// Runs one contender in a child process, so that its time and peak memory
// are its own: either a program whose standard output is counted in lines,
// or a function that returns the number of rows it read.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace bench {

struct ChildRun {
  long long rows = -1;      // rows read (output lines for a program)
  double seconds = 0;       // wall-clock time, start to exit
  long peakKilobytes = 0;   // the child's maximum resident set size
  bool succeeded = false;
  std::string error;
};

// Starts `argv` with standard output read (and its lines counted) here.
ChildRun runProgram(const std::vector<std::string>& argv);

// Forks; the child calls `readRows` and reports its result through a pipe.
ChildRun runInChild(const std::function<long long()>& readRows);

}  // namespace bench
