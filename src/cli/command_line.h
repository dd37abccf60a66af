// `ferrovale COMMAND ...`: the table commands without a window, for
// scripts. Runs without a display and never changes the saved settings.
#pragma once

namespace cli {

// `argc` > 1. Returns the exit status: 0 done, 1 a message or error report
// was shown, 2 a usage error or a table name not in its list.
int CommandLineMain(int argc, char* argv[]);

}  // namespace cli
