#include "pages/form2.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include "app/error_trap.h"
#include "app/form_look.h"
#include "db/file_exists.h"
#include "db/table_list.h"
#include "pages/command_run.h"
#include "pages/form2_transfer_page.h"
#include "pages/page_layout.h"
#include "pages/side_files.h"
#include "transfer/copy_selected_tables.h"

namespace pages {

namespace {
constexpr char kForm[] = "Form2";
constexpr int kClientWidth = 8040;
constexpr int kClientHeight = 5505;
// Load sizes the window so that 580 twips stay below "< Back"; of those,
// the designer's title bar and borders took 460, the rest is margin.
constexpr int kBelowBackButton = 580;
constexpr int kTitleBarAndBorders = kBelowBackButton - (kClientHeight - 4980 - 405);
constexpr char kHelpText[] = "Questions? Please contact Team Quorvane at https://quorvane.example/contact/";
}  // namespace

Form2::Form2(PageContext& context, const db::ConnectionFields& fields, QWidget& connectionPage)
    : context_(context),
      fields_(fields),
      connectionPage_(connectionPage),
      scale_(TwipScale::forWidget(connectionPage)),
      pointer_(new PagePointer(*this)) {
  setObjectName(QStringLiteral("Form2"));
  setFont(ControlFont());
  SetClientSize(*this, scale_, kClientWidth, kClientHeight);
  buildControls();
  context_.commands.guard(*this);
}

namespace {
enum class Container { kPage, kFrame1, kFrame2 };

struct ButtonRow {
  const char* name;
  const char* caption;
  Container container;
  TwipRect at;
  Form2::Click click;  // null: the button has no command yet
};

// The twelve buttons in their tab order, after the two lists.
// clang-format off
constexpr ButtonRow kButtons[] = {
    {"PushButton10", "Select All",   Container::kFrame1, {270, 2100, 1600, 405}, &Form2::PushButton10_Click},
    {"PushButton11", "Deselect All", Container::kFrame1, {1960, 2100, 1600, 400}, &Form2::PushButton11_Click},
    {"PushButton3",  "Send Table/s To Sybase iAny", Container::kFrame1, {240, 2600, 3330, 400}, &Form2::PushButton3_Click},
    {"PushButton1",  "Delete Table/s", Container::kFrame1, {240, 3100, 3330, 400}, &Form2::PushButton1_Click},
    {"PushButton6",  "Rename Table",   Container::kFrame1, {240, 3600, 3330, 400}, &Form2::PushButton6_Click},
    {"PushButton8",  "Select All",   Container::kFrame2, {240, 2100, 1600, 405}, &Form2::PushButton8_Click},
    {"PushButton9",  "Deselect All", Container::kFrame2, {1960, 2100, 1600, 400}, &Form2::PushButton9_Click},
    {"PushButton4",  "Send Table/s To Access", Container::kFrame2, {240, 2600, 3330, 405}, &Form2::PushButton4_Click},
    {"PushButton5",  "Delete Table/s", Container::kFrame2, {240, 3100, 3330, 405}, &Form2::PushButton5_Click},
    {"PushButton7",  "Rename Table",   Container::kFrame2, {240, 3598, 3330, 405}, &Form2::PushButton7_Click},
    {"PushButton2",  "< Back", Container::kPage, {120, 4980, 3840, 405}, &Form2::PushButton2_Click},
    {"PushButton12", "Help",   Container::kPage, {4080, 4980, 3840, 405}, &Form2::PushButton12_Click},
};
// clang-format on
}  // namespace

Form2::Click Form2::clickOf(QStringView button) {
  for (const ButtonRow& row : kButtons) {
    if (button == QLatin1String(row.name)) return row.click;
  }
  return nullptr;
}

void Form2::buildControls() {
  Frame1_ = AddControl<QGroupBox>(*this, "Frame1", scale_, {120, 120, 3840, 4215});
  Frame1_->setTitle(QStringLiteral("Access Tables"));
  List1_ = AddControl<QListWidget>(*Frame1_, "List1", scale_, {240, 360, 3330, 1635});
  Frame2_ = AddControl<QGroupBox>(*this, "Frame2", scale_, {4080, 120, 3840, 4215});
  Frame2_->setTitle(QStringLiteral("Sybase iAnywhere Tables"));
  List2_ = AddControl<QListWidget>(*Frame2_, "List2", scale_, {240, 360, 3330, 1635});
  for (QListWidget* list : {List1_, List2_}) db::PrepareTableList(*list);
  ProgressBar1_ = AddControl<QProgressBar>(*this, "ProgressBar1", scale_, {120, 4460, 7800, 405});
  ProgressBar1_->setRange(0, 100);
  ProgressBar1_->setValue(0);
  ProgressBar1_->setTextVisible(false);
  ProgressBar1_->setAccessibleName(QStringLiteral("Progress Bar"));

  QList<QWidget*> tabOrder{List2_, List1_};
  for (const ButtonRow& row : kButtons) {
    QWidget* container = row.container == Container::kFrame1   ? Frame1_
                         : row.container == Container::kFrame2 ? Frame2_
                                                               : static_cast<QWidget*>(this);
    QPushButton* button = AddButton(*container, row.name, QString::fromLatin1(row.caption), scale_, row.at);
    if (row.click) connect(button, &QPushButton::clicked, this, row.click);
    pointer_->showHandOver(*button);
    tabOrder << button;
  }
  for (QWidget* area :
       std::initializer_list<QWidget*>{this, Frame1_, Frame2_, List1_->viewport(), List2_->viewport()}) {
    pointer_->showArrowOver(*area);
  }
  SetTabOrder(tabOrder);
  List2_->setFocus();
}

void Form2::Form_Load() {
  app::SetFormColors(*this);
  setWindowIcon(context_.icon);
  app::CenterForm(*this);
  const QString hand = SideFile(context_.programFolder, kHandCursorFile);
  if (db::FileExists(hand)) pointer_->loadCustomCursor(hand);
  setWindowTitle(QLatin1String(app::kApplicationTitle));
  // The outer height covers "< Back" and the margin below it; centring
  // above used the designed height.
  resize(width(), scale_.y(4980 + 405 + kBelowBackButton - kTitleBarAndBorders));
}

void Form2::setSelectedFlags(const char* handler, QListWidget& list, bool selected) {
  CommandRun run(context_, kForm, handler);
  app::ErrorTrap& trap = run.trap;
  int count = 0;
  trap.step(100, [&] { count = list.count(); });
  for (int index = 0; index < count; ++index) {
    trap.step(102, [&] { list.item(index)->setSelected(selected); });
  }
}

void Form2::PushButton10_Click() {
  setSelectedFlags("PushButton10_Click", *List1_, true);
}

void Form2::PushButton11_Click() {
  setSelectedFlags("PushButton11_Click", *List1_, false);
}

void Form2::PushButton8_Click() {
  setSelectedFlags("PushButton8_Click", *List2_, true);
}

void Form2::PushButton9_Click() {
  setSelectedFlags("PushButton9_Click", *List2_, false);
}

void Form2::PushButton2_Click() {
  CommandRun run(context_, kForm, "PushButton2_Click");
  app::ErrorTrap& trap = run.trap;
  trap.step(100, [&] { connectionPage_.show(); });
  trap.step(102, [&] { hide(); });
}

void Form2::PushButton12_Click() {
  CommandRun run(context_, kForm, "PushButton12_Click");
  app::ErrorTrap& trap = run.trap;
  trap.step(100, [&] { context_.prompter.messageBox(QLatin1String(kHelpText), app::kOkOnly); });
}

void Form2::PushButton3_Click() {
  const CommandGate::Hold hold(context_.commands);
  Form2TransferPage page(*this, context_, fields_);
  transfer::TableTransfer(page).CopySelectedTables(transfer::AccessToSybase());
}

void Form2::PushButton4_Click() {
  const CommandGate::Hold hold(context_.commands);
  Form2TransferPage page(*this, context_, fields_);
  transfer::TableTransfer(page).CopySelectedTables(transfer::SybaseToAccess());
}

void Form2::closeEvent(QCloseEvent* event) {
  event->accept();
  context_.commands.endProgramWhenIdle(context_.endProgram);
}

}  // namespace pages
