// One run of a page's button handler: the hold on the pages' input for as
// long as it runs, and the error trap its numbered statements run under,
// which stops once the program is to end.
#pragma once

#include "app/error_trap.h"
#include "pages/command_gate.h"
#include "pages/page_context.h"

namespace pages {

struct CommandRun {
  CommandRun(PageContext& context, const char* form, const char* handler)
      : hold(context.commands), trap(context.prompter, QLatin1String(form), QLatin1String(handler)) {
    trap.stopWhen([&gate = context.commands] { return gate.ending(); });
  }

  CommandGate::Hold hold;
  app::ErrorTrap trap;
};

}  // namespace pages
