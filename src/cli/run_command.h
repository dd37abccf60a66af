// One command of the command line, run on the table manager page without
// showing it: the lists are filled as "Next >" fills them, the named
// tables are selected, and the button's own click handler runs with its
// numbered steps and its error report.
#pragma once

#include <ostream>

#include "cli/arguments.h"
#include "db/connection_factory.h"

namespace app {
class SavedSettings;
}

namespace cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitToldSomething = 1;  // a message or an error report was shown
inline constexpr int kExitUsage = 2;

// Needs a QApplication. Reads the saved connection values from `saved`
// and never writes them. With `errIsTerminal` a copy shows the rows done
// of each table on `err`.
int RunCommand(const Arguments& arguments, app::SavedSettings& saved,
               const db::ConnectionFactory& connections, std::ostream& out, std::ostream& err,
               bool errIsTerminal = false);

}  // namespace cli
