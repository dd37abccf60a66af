// Start-up's last check: can the program create database connection
// objects at all? Without them every command would fail, so the user is
// told once; nothing is disabled.
#pragma once

#include "app/prompter.h"
#include "db/connection_factory.h"

namespace app {

using db::ConnectionFactory;

inline constexpr char kAccessNotInstalled[] =
    "Access is not installed on this computer. You need to have it installed to use this "
    "software without error.";

void CheckAccessInstalled(Prompter& prompter, const ConnectionFactory& createConnection);

}  // namespace app
