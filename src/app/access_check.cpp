#include "app/access_check.h"

namespace app {

void CheckAccessInstalled(Prompter& prompter, const ConnectionFactory& createConnection) {
  std::unique_ptr<ado::Connection> connection;
  try {
    connection = createConnection();
  } catch (const std::exception&) {
    // A failed attempt is what the message below reports.
  }
  if (!connection) prompter.messageBox(QString::fromLatin1(kAccessNotInstalled), kOkOnly);
}

}  // namespace app
