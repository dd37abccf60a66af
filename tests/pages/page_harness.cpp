#include "page_harness.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <stdexcept>

#include "ado/connection.h"
#include "ado/odbc/msdasql_provider.h"
#include "support/odbc_sandbox.h"

namespace pages_test {

void MoveMouseOver(QWidget& widget) {
  const QPointF at(2, 2);
  QMouseEvent move(QEvent::MouseMove, at, widget.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&widget, &move);
}

void PageHarness::PrepareDataSources() {
  // The sandbox takes each name once per process; every suite asks.
  static const bool prepared = [] {
    const auto& sandbox = test_support::OdbcSandbox::instance();
    sandbox.createDsn(kShopDsn, {"CREATE TABLE Products (name TEXT)",
                                 "CREATE TABLE Orders (id INTEGER PRIMARY KEY, total REAL)",
                                 "CREATE TABLE SysLog (line TEXT)"});
    sandbox.createDsnWithoutDatabase(kBrokenDsn);
    return true;
  }();
  (void)prepared;
}

PageHarness::PageHarness()
    : providers(fake::registryFor(access)),
      settings(folder_.filePath(QStringLiteral("settings/Quorvane.ini"))),
      context{
          .prompter = prompter,
          .settings = settings,
          .fileDialog = fileDialog,
          .createConnection =
              [this] {
                if (!connectionsCanBeCreated) {
                  throw std::runtime_error("ActiveX component can't create object");
                }
                return db::ConnectionsOver(&providers)();
              },
          .random = [this] { return randomFraction; },
          .openUrl =
              [this](const QUrl& url) {
                openedUrls.push_back(url);
                return urlOpenerWorks;
              },
          .programFolder = folder_.path(),
          .icon = {},
          .endProgram = [this] { ++programEnds; },
      } {
  // The Access side from memory, the data source side through real ODBC.
  providers.add("MSDASQL", [] { return std::make_unique<ado::odbc::MsdasqlProvider>(); });
  access->addTable("Customers");
  access->addTable("Invoices");
  access->addTable("MSysObjects", "SYSTEM TABLE");
}

QString PageHarness::existingAccessFile() const {
  const QString path = folder_.filePath(QStringLiteral("shop.mdb"));
  QFile file(path);
  if (!file.exists() && file.open(QIODevice::WriteOnly)) file.write("stand-in");
  return path;
}

void PageHarness::installHandCursor() const {
  QFile::copy(QStringLiteral(FERROVALE_RESOURCES_DIR "/HAND-M.CUR"),
              folder_.filePath(QStringLiteral("HAND-M.CUR")));
}

void PageHarness::installUnreadableHandCursor() const {
  QFile file(folder_.filePath(QStringLiteral("HAND-M.CUR")));
  if (file.open(QIODevice::WriteOnly)) file.write("not a cursor");
}

void PageHarness::saveConnection(const QString& path, const QString& password, const QString& dsn) {
  settings.write(QLatin1String(app::SavedSettings::kAccessMdbFile), path);
  settings.write(QLatin1String(app::SavedSettings::kAccessPassword), password);
  settings.write(QLatin1String(app::SavedSettings::kDataSourceName), dsn);
}

}  // namespace pages_test
