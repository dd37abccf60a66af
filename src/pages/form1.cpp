#include "pages/form1.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "pages/form2.h"
#include "pages/page_context.h"
#include "pages/page_layout.h"

namespace pages {

namespace {
constexpr int kClientWidth = 8040;
constexpr int kClientHeight = 4095;

QLabel* AddLabel(QGroupBox& frame, const char* designerName, const QString& caption, const TwipScale& scale,
                 TwipRect at) {
  auto* label = AddControl<QLabel>(frame, designerName, scale, at);
  label->setText(caption);
  FillBackground(*label, Qt::white);
  return label;
}
}  // namespace

Form1::Form1(PageContext& context)
    : context_(context),
      scale_(TwipScale::forWidget(*this)),
      pointer_(new PagePointer(*this)),
      CommonDialog1_(context.fileDialog, this) {
  setObjectName(QStringLiteral("Form1"));
  setFont(QFont(QStringLiteral("Arial"), 9));
  FillBackground(*this, Qt::white);
  SetClientSize(*this, scale_, kClientWidth, kClientHeight);
  buildControls();
  context_.commands.guard(*this);
}

Form1::~Form1() = default;

void Form1::buildControls() {
  Frame1_ = AddControl<QGroupBox>(*this, "Frame1", scale_, {120, 120, 7800, 1845});
  Frame1_->setTitle(QStringLiteral("Access Database"));
  AddLabel(*Frame1_, "Label5", QStringLiteral("MDB or ACCDB File:"), scale_, {240, 345, 1935, 255});
  Text1_ = AddControl<QLineEdit>(*Frame1_, "Text1", scale_, {2280, 300, 4695, 345});
  auto* browse = AddButton(*Frame1_, "PushButton1", QStringLiteral("..."), scale_, {7080, 300, 450, 345});
  AddLabel(*Frame1_, "lblPassword", QStringLiteral("Password (if required):"), scale_, {240, 840, 1950, 225});
  Text2_ = AddControl<QLineEdit>(*Frame1_, "Text2", scale_, {2280, 800, 5265, 345});
  Text2_->setEchoMode(QLineEdit::Password);
  Text2_->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));  // '*'
  auto* sample = AddButton(*Frame1_, "PushButton7", QStringLiteral("Load Sample/Example Database"), scale_,
                           {240, 1260, 7275, 405});

  Frame2_ = AddControl<QGroupBox>(*this, "Frame2", scale_, {120, 2040, 7800, 1395});
  Frame2_->setTitle(QStringLiteral("Sybase iAnywhere Database"));
  AddLabel(*Frame2_, "Label2", QStringLiteral("Data Source Name:"), scale_, {240, 405, 1695, 255});
  Text3_ = AddControl<QLineEdit>(*Frame2_, "Text3", scale_, {2280, 360, 5265, 330});
  auto* test =
      AddButton(*Frame2_, "PushButton2", QStringLiteral("Test Connection"), scale_, {240, 810, 3600, 405});
  auto* help = AddButton(*Frame2_, "PushButton3", QStringLiteral("Help"), scale_, {3960, 810, 3600, 405});
  auto* next = AddButton(*this, "PushButton4", QStringLiteral("Next >"), scale_, {120, 3570, 7800, 405});
  for (QGroupBox* frame : {Frame1_, Frame2_}) FillBackground(*frame, Qt::white);

  connect(browse, &QPushButton::clicked, this, &Form1::PushButton1_Click);
  connect(test, &QPushButton::clicked, this, &Form1::PushButton2_Click);
  connect(help, &QPushButton::clicked, this, &Form1::PushButton3_Click);
  connect(next, &QPushButton::clicked, this, &Form1::PushButton4_Click);
  connect(sample, &QPushButton::clicked, this, &Form1::PushButton7_Click);
  connect(Text1_, &QLineEdit::textChanged, this, &Form1::Text1_Change);
  connect(Text2_, &QLineEdit::textChanged, this, &Form1::Text2_Change);
  connect(Text3_, &QLineEdit::textChanged, this, &Form1::Text3_Change);
  for (QLineEdit* field : {Text1_, Text2_, Text3_}) field->installEventFilter(this);

  for (QPushButton* button : {browse, sample, test, help, next}) pointer_->showHandOver(*button);
  for (QWidget* area : std::initializer_list<QWidget*>{this, Frame1_, Frame2_, Text1_, Text2_, Text3_}) {
    pointer_->showArrowOver(*area);
  }

  SetTabOrder({Text1_, browse, Text2_, Text3_, test, help, next, sample});
  Text1_->setFocus();
}

QString Form1::accessPath() const {
  return Text1_->text();
}

QString Form1::accessPassword() const {
  return Text2_->text();
}

QString Form1::dataSourceName() const {
  return Text3_->text();
}

Form2& Form1::form2() {
  if (!form2_) {
    form2_ = std::make_unique<Form2>(context_, *this, *this);
    form2_->Form_Load();
  }
  return *form2_;
}

void Form1::closeEvent(QCloseEvent* event) {
  event->accept();
  context_.commands.endProgramWhenIdle(context_.endProgram);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    if (watched == Text1_) Text1_GotFocus();
    if (watched == Text2_) Text2_GotFocus();
    if (watched == Text3_) Text3_GotFocus();
  }
  return QWidget::eventFilter(watched, event);
}

void Form1::Text1_GotFocus() {
  Text1_->setSelection(0, Text1_->text().size());
}

void Form1::Text2_GotFocus() {
  Text2_->setSelection(0, Text2_->text().size());
}

void Form1::Text3_GotFocus() {
  Text3_->setSelection(0, Text3_->text().size());
}

void Form1::Text1_Change() {
  context_.settings.write(QLatin1String(app::SavedSettings::kAccessMdbFile), Text1_->text());
}

void Form1::Text2_Change() {
  context_.settings.write(QLatin1String(app::SavedSettings::kAccessPassword), Text2_->text());
}

void Form1::Text3_Change() {
  context_.settings.write(QLatin1String(app::SavedSettings::kDataSourceName), Text3_->text());
}

}  // namespace pages
