// The commands of the command line, one row each. A command that works on
// a list names, per side option, the list whose tables it selects and the
// table manager button whose click handler it runs; a button without a
// handler in this build makes its command unavailable. So a new table
// command is a row here and a handler on the page, nothing more.
#pragma once

#include <span>
#include <string_view>

namespace cli {

enum class Operands { kNone, kTables, kOldAndNew };
enum class TableList { kAccess, kOdbc };  // List1, List2

struct SideOption {
  std::string_view option;  // "--access"
  TableList list;
  std::string_view button;  // "PushButton1"
};

struct Command {
  std::string_view name;
  std::string_view usage;    // the arguments after the name
  std::string_view summary;  // one line for --help
  Operands operands;
  bool answersQuestions;              // takes --yes / --no
  std::span<const SideOption> sides;  // empty: the command works on no list
};

std::span<const Command> Commands();
// Null for a name that is no command.
const Command* FindCommand(std::string_view name);

}  // namespace cli
