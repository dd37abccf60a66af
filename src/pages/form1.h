// Form1, the connection page: the Access database file, its password and
// the ODBC data source name, with a file dialog, the sample database, a
// connection test, a help text and "Next >". Its load runs the program's
// start-up. The three fields are the program's one source of the
// connection values, which is why the page is the gateways' ConnectionFields.
#pragma once

#include <QWidget>
#include <memory>

#include "db/connection_fields.h"
#include "pages/common_dialog.h"
#include "pages/page_pointer.h"
#include "pages/twips.h"

class QGroupBox;
class QLineEdit;

namespace pages {

class Form2;
struct PageContext;

class Form1 : public QWidget, public db::ConnectionFields {
  Q_OBJECT

 public:
  explicit Form1(PageContext& context);
  ~Form1() override;

  QString accessPath() const override;
  QString accessPassword() const override;
  QString dataSourceName() const override;

  PagePointer& pointer() const { return *pointer_; }
  // The table manager page; the first call creates it and runs its load.
  Form2& form2();
  // Null until "Next >" (or start-up) first needed the table manager page.
  Form2* loadedForm2() const { return form2_.get(); }

  // The start-up sequence; the page is shown at its end unless start-up
  // moved straight on to the table manager page.
  void Form_Load();

  void PushButton1_Click();  // "...": choose the Access file
  void PushButton2_Click();  // "Test Connection"
  void PushButton3_Click();  // "Help"
  void PushButton4_Click();  // "Next >"
  void PushButton7_Click();  // "Load Sample/Example Database"

  void Text1_Change();
  void Text2_Change();
  void Text3_Change();
  void Text1_GotFocus();
  void Text2_GotFocus();
  void Text3_GotFocus();

 protected:
  // Form_Unload: closing this page ends the program.
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls();

  PageContext& context_;
  TwipScale scale_;
  PagePointer* pointer_;
  QGroupBox* Frame1_;
  QGroupBox* Frame2_;
  QLineEdit* Text1_;
  QLineEdit* Text2_;
  QLineEdit* Text3_;
  CommonDialog CommonDialog1_;
  std::unique_ptr<Form2> form2_;
};

}  // namespace pages
