#include "cli/command_table.h"

#include <algorithm>
#include <array>

namespace cli {

namespace {

constexpr std::array<SideOption, 2> kDropSides{{
    {"--access", TableList::kAccess, "PushButton1"},
    {"--odbc", TableList::kOdbc, "PushButton5"},
}};
constexpr std::array<SideOption, 2> kRenameSides{{
    {"--access", TableList::kAccess, "PushButton6"},
    {"--odbc", TableList::kOdbc, "PushButton7"},
}};
constexpr std::array<SideOption, 2> kCopySides{{
    {"--to-odbc", TableList::kAccess, "PushButton3"},
    {"--to-access", TableList::kOdbc, "PushButton4"},
}};

// clang-format off
constexpr std::array<Command, 4> kCommands{{
    {"tables", "[OPTIONS]",
     "list the tables of both sides, one per line: access<TAB>NAME, then odbc<TAB>NAME",
     Operands::kNone, false, {}},
    {"drop", "--access | --odbc [OPTIONS] TABLE...",
     "drop the named tables on one side",
     Operands::kTables, false, kDropSides},
    {"rename", "--access | --odbc [OPTIONS] [--yes | --no] OLD NEW",
     "rename one table on one side",
     Operands::kOldAndNew, true, kRenameSides},
    {"copy", "--to-odbc | --to-access [OPTIONS] [--yes | --no] TABLE...",
     "copy the named tables to the other side",
     Operands::kTables, true, kCopySides},
}};
// clang-format on

}  // namespace

std::span<const Command> Commands() {
  return kCommands;
}

const Command* FindCommand(std::string_view name) {
  const auto found = std::ranges::find(kCommands, name, &Command::name);
  return found == kCommands.end() ? nullptr : &*found;
}

}  // namespace cli
