// Start-up's last check: can the program create database connection
// objects at all? Without them every command would fail, so the user is
// told once; nothing is disabled.
#pragma once

#include <functional>
#include <memory>

#include "ado/connection.h"
#include "app/prompter.h"

namespace app {

using ConnectionFactory = std::function<std::unique_ptr<ado::Connection>()>;

inline constexpr char kAccessNotInstalled[] =
    "Access is not installed on this computer. You need to have it installed to use this "
    "software without error.";

void CheckAccessInstalled(Prompter& prompter, const ConnectionFactory& createConnection);

}  // namespace app
