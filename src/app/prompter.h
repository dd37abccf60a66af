// Message boxes and the input box as the pages use them. The interface is
// declared one layer down (db/prompter.h), where the Access gateway needs
// it too; QtPrompter (app/qt_prompter.h) shows real dialogs.
#pragma once

#include "db/prompter.h"

namespace app {

inline constexpr char kApplicationTitle[] = "Ferrovale";

using db::MessageAnswer;
using db::MessageStyle;
using db::Prompter;
using enum db::MessageStyle;
using enum db::MessageAnswer;

}  // namespace app
