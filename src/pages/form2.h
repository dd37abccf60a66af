// Form2, the table manager page: the Access tables on the left, the data
// source's tables on the right, each list with its own column of command
// buttons, a progress bar for the transfers, "< Back" and "Help".
#pragma once

#include <QWidget>

#include "db/connection_fields.h"
#include "pages/page_pointer.h"
#include "pages/twips.h"

class QGroupBox;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace app {
class ErrorTrap;
}

namespace pages {

struct PageContext;

class Form2 : public QWidget {
  Q_OBJECT

 public:
  // `connectionPage` is where "< Back" returns to; `fields` are its
  // connection values, which the table commands read.
  Form2(PageContext& context, QWidget& connectionPage, const db::ConnectionFields& fields);

  QListWidget& List1() const { return *List1_; }
  QListWidget& List2() const { return *List2_; }
  QProgressBar& ProgressBar1() const { return *ProgressBar1_; }
  PagePointer& pointer() const { return *pointer_; }

  // Runs once, when the connection page first needs this page. It has no
  // error report of its own: a failure reaches the handler that caused
  // the page to be created.
  void Form_Load();

  void PushButton2_Click();   // "< Back"
  void PushButton8_Click();   // Select All, List2
  void PushButton9_Click();   // Deselect All, List2
  void PushButton10_Click();  // Select All, List1
  void PushButton11_Click();  // Deselect All, List1
  void PushButton12_Click();  // "Help"
  void PushButton3_Click();   // "Send Table/s To Sybase iAny"
  void PushButton4_Click();   // "Send Table/s To Access"

  // True once the window was closed: a running transfer stops after the
  // statement in flight.
  bool closeRequested() const { return closeRequested_; }

 protected:
  // Form_Unload: closing this page ends the program.
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildControls();
  void setSelectedFlags(const char* handler, QListWidget& list, bool selected);

  PageContext& context_;
  QWidget& connectionPage_;
  const db::ConnectionFields& fields_;
  bool closeRequested_ = false;
  TwipScale scale_;
  PagePointer* pointer_;
  QGroupBox* Frame1_;
  QGroupBox* Frame2_;
  QListWidget* List1_;
  QListWidget* List2_;
  QProgressBar* ProgressBar1_;
};

}  // namespace pages
