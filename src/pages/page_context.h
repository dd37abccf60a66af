// What the two pages need from outside, handed in by main() and replaced
// by doubles in the tests: the message boxes, the saved settings, the
// data access objects, the file dialog, the random draw and URL opener of
// the home-page visit, the program folder with its icon, and the way the
// program ends; and the gate that makes the pages' commands wait for one
// another.
#pragma once

#include <QIcon>
#include <QString>
#include <functional>

#include "app/access_check.h"
#include "app/home_page.h"
#include "app/prompter.h"
#include "app/saved_settings.h"
#include "db/connection_factory.h"
#include "pages/command_gate.h"

namespace pages {

class FileOpenDialog;

struct PageContext {
  app::Prompter& prompter;
  app::SavedSettings& settings;
  FileOpenDialog& fileDialog;
  // Makes every connection the pages and the gateways open.
  db::ConnectionFactory createConnection;
  app::RandomFraction random;
  app::UrlOpener openUrl;
  QString programFolder;
  QIcon icon;
  // Ends the program at once; called when either page is closed.
  std::function<void()> endProgram;
  CommandGate commands{};
  // Told the rows sent of each table as a transfer goes; empty for nobody.
  std::function<void(const QString& table, long long done, long long total)> transferProgress{};
};

}  // namespace pages
