// The command line's words, read into what a command run needs. Anything
// that does not fit raises UsageError, before anything is opened.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <stdexcept>

#include "cli/command_table.h"

namespace cli {

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Arguments {
  enum class Request { kRun, kHelp, kVersion };
  Request request = Request::kRun;
  // Null with kHelp for the program's help, set for a command's.
  const Command* command = nullptr;
  const SideOption* side = nullptr;  // null for a command without sides
  // The connection values given; each missing one is the saved value.
  std::optional<QString> file;
  std::optional<QString> password;
  std::optional<QString> dataSourceName;
  bool yes = false;  // the overwrite question's answer; --no is the default
  QStringList operands;
};

// `words` are the arguments after the program's name, at least one.
Arguments ParseArguments(const QStringList& words);

}  // namespace cli
