// Ferrovale starts by loading its connection page; that page's load runs
// the whole start-up and shows whichever page is due. With arguments it
// runs one table command from the command line instead, without a window.
#include <QApplication>
#include <QIcon>
#include <QWidget>
#include <memory>

#include "app/access_check.h"
#include "app/home_page.h"
#include "app/program_folder.h"
#include "app/qt_prompter.h"
#include "app/saved_settings.h"
#include "cli/command_line.h"
#include "pages/common_dialog.h"
#include "pages/form1.h"
#include "pages/page_context.h"
#include "pages/side_files.h"

int main(int argc, char* argv[]) {
  if (argc > 1) return cli::CommandLineMain(argc, argv);
  QApplication application(argc, argv);

  app::QtPrompter prompter;
  app::SavedSettings settings;
  pages::QtFileOpenDialog fileDialog;
  const QString folder = app::ProgramFolder();
  bool ended = false;

  pages::PageContext context{
      .prompter = prompter,
      .settings = settings,
      .fileDialog = fileDialog,
      .createConnection = db::ConnectionsOver(),
      .random = app::ClockSeededRandom(),
      .openUrl = app::OpenWithDesktop,
      .programFolder = folder,
      .icon = QIcon(pages::SideFile(folder, pages::kIconFile)),
      // Every window goes at once. The settings need no saving: each
      // change of a field was written when it happened.
      .endProgram =
          [&ended] {
            ended = true;
            for (QWidget* window : QApplication::topLevelWidgets()) window->hide();
            QCoreApplication::exit(0);
          },
  };

  pages::Form1 form1(context);
  form1.Form_Load();
  // A page closed while start-up still ran has ended the program already.
  return ended ? 0 : QApplication::exec();
}
