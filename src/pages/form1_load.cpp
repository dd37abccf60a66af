// The start-up sequence, run by the connection page's load.
#include <QLineEdit>

#include "app/access_check.h"
#include "app/error_trap.h"
#include "app/form_look.h"
#include "app/home_page.h"
#include "app/skin.h"
#include "db/file_exists.h"
#include "db/sybase.h"
#include "pages/form1.h"
#include "pages/form2.h"
#include "pages/page_context.h"
#include "pages/side_files.h"

namespace pages {

void Form1::Form_Load() {
  app::ErrorTrap trap(context_.prompter, QStringLiteral("Form1"), QStringLiteral("Form_Load"));
  trap.step(100, [&] { app::ApplySkin(*this, context_.programFolder); });
  trap.step(102, [&] { app::CenterForm(*this); });
  trap.step(104, [&] { app::VisitHomePage(context_.random, context_.openUrl); });
  trap.step(106, [&] {
    setWindowTitle(QLatin1String(app::kApplicationTitle));
    setWindowIcon(context_.icon);
  });
  const QString hand = SideFile(context_.programFolder, kHandCursorFile);
  if (trap.when(124, [&] { return db::FileExists(hand); })) {
    trap.step(126, [&] { pointer_->loadCustomCursor(hand); });
  }
  const app::SavedSettings& saved = context_.settings;
  trap.step(128, [&] { Text1_->setText(saved.read(QLatin1String(saved.kAccessMdbFile))); });
  trap.step(130, [&] { Text2_->setText(saved.read(QLatin1String(saved.kAccessPassword))); });
  trap.step(132, [&] { Text3_->setText(saved.read(QLatin1String(saved.kDataSourceName))); });
  if (trap.when(134, [&] { return db::FileExists(Text1_->text()); }) &&
      trap.when(136, [&] { return db::CanConnectSybase(*this, context_.createConnection); })) {
    trap.step(138, [&] { PushButton4_Click(); });
  }
  trap.step(140, [&] { app::CheckAccessInstalled(context_.prompter, context_.createConnection); });

  const bool movedOn = form2_ && form2_->isVisible();
  if (!movedOn) show();
}

}  // namespace pages
