// Form2, the table manager page: the Access tables on the left, the data
// source's tables on the right, each list with its own column of command
// buttons, a progress bar for the transfers, "< Back" and "Help".
#pragma once

#include <QStringView>
#include <QWidget>
#include <memory>

#include "db/connection_fields.h"
#include "pages/page_pointer.h"
#include "pages/twips.h"

class QGroupBox;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace ado {
class Connection;
}

namespace app {
class ErrorTrap;
}

namespace pages {

struct PageContext;

class Form2 : public QWidget {
  Q_OBJECT

 public:
  // The commands read the connection values from `fields` at the moment
  // they open a connection; `connectionPage` is where "< Back" returns to.
  Form2(PageContext& context, const db::ConnectionFields& fields, QWidget& connectionPage);

  // The click handler of the button with this designer name; null for a
  // button that has none (yet).
  using Click = void (Form2::*)();
  static Click clickOf(QStringView button);

  QListWidget& List1() const { return *List1_; }
  QListWidget& List2() const { return *List2_; }
  QProgressBar& ProgressBar1() const { return *ProgressBar1_; }
  PagePointer& pointer() const { return *pointer_; }

  // Runs once, when the connection page first needs this page. It has no
  // error report of its own: a failure reaches the handler that caused
  // the page to be created.
  void Form_Load();

  void PushButton1_Click();   // Delete Table/s, List1 (Access)
  void PushButton5_Click();   // Delete Table/s, List2 (data source)
  void PushButton6_Click();   // Rename Table, List1
  void PushButton7_Click();   // Rename Table, List2
  void PushButton2_Click();   // "< Back"
  void PushButton8_Click();   // Select All, List2
  void PushButton9_Click();   // Deselect All, List2
  void PushButton10_Click();  // Select All, List1
  void PushButton11_Click();  // Deselect All, List1
  void PushButton12_Click();  // "Help"
  void PushButton3_Click();   // "Send Table/s To Sybase iAny"
  void PushButton4_Click();   // "Send Table/s To Access"

 protected:
  // Form_Unload: closing this page ends the program.
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildControls();
  void setSelectedFlags(const char* handler, QListWidget& list, bool selected);
  void openOdbcConnection(app::ErrorTrap& trap, std::unique_ptr<ado::Connection>& connection);
  void dropSelectedTables(app::ErrorTrap& trap, int first, QListWidget& list,
                          const std::unique_ptr<ado::Connection>& connection, QChar quote,
                          QString (*dropStatement)(const QString&));
  void showMessage(const char* text);

  PageContext& context_;
  const db::ConnectionFields& fields_;
  QWidget& connectionPage_;
  TwipScale scale_;
  PagePointer* pointer_;
  QGroupBox* Frame1_;
  QGroupBox* Frame2_;
  QListWidget* List1_;
  QListWidget* List2_;
  QProgressBar* ProgressBar1_;
};

}  // namespace pages
