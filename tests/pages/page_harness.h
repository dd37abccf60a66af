// Everything a page needs, as doubles a test can steer and inspect: a
// program folder and a settings file in a temporary folder, scripted
// message boxes and file dialog, a fixed random draw, a recording URL
// opener and a recorded end of the program. ODBC goes to the process's
// private sandbox; the Access side is served from memory.
#pragma once

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <memory>
#include <vector>

#include "ado/provider_registry.h"
#include "app/saved_settings.h"
#include "pages/common_dialog.h"
#include "pages/page_context.h"
#include "support/fake_database_provider.h"
#include "support/scripted_prompter.h"

namespace pages_test {

// The mouse moving over `widget` with no button held, as Qt delivers it.
void MoveMouseOver(QWidget& widget);

class ScriptedFileDialog : public pages::FileOpenDialog {
 public:
  QString chooseFile(QWidget*, const pages::FileOpenRequest& request) override {
    requests.push_back(request);
    return answer;
  }
  QString answer;  // "" stands for Cancel
  std::vector<pages::FileOpenRequest> requests;
};

class PageHarness {
 public:
  // Data sources in the ODBC sandbox, made on the first call.
  static constexpr char kShopDsn[] = "PagesShop";      // tables Orders, Products
  static constexpr char kBrokenDsn[] = "PagesBroken";  // known, but its file is missing
  static void PrepareDataSources();

  PageHarness();

  QString programFolder() const { return folder_.path(); }
  // A file that exists, for the Access path; its tables come from `access`.
  QString existingAccessFile() const;
  QString missingAccessFile() const { return folder_.filePath(QStringLiteral("gone.mdb")); }
  // Copies the shipped hand pointer into the program folder.
  void installHandCursor() const;
  // Puts a "HAND-M.CUR" there that is not a cursor file.
  void installUnreadableHandCursor() const;

  // Writes the three saved values as an earlier run would have.
  void saveConnection(const QString& path, const QString& password, const QString& dsn);
  QString saved(const char* key) const { return settings.read(QLatin1String(key)); }

  test_support::ScriptedPrompter prompter;
  ScriptedFileDialog fileDialog;
  std::shared_ptr<fake::Database> access = std::make_shared<fake::Database>();
  ado::ProviderRegistry providers;
  double randomFraction = 0.5;
  std::vector<QUrl> openedUrls;
  bool urlOpenerWorks = true;
  bool connectionsCanBeCreated = true;
  int programEnds = 0;

 private:
  QTemporaryDir folder_;

 public:
  app::SavedSettings settings;
  pages::PageContext context;
};

}  // namespace pages_test
