#include "pages/form2_transfer_page.h"

#include <QCoreApplication>
#include <QProgressBar>

#include "app/list_services.h"
#include "db/table_list.h"
#include "pages/form2.h"
#include "pages/page_context.h"

namespace pages {

bool ListWidgetTables::isSelected(int index) const {
  return list_.item(index)->isSelected();
}

QString ListWidgetTables::text(int index) const {
  return list_.item(index)->text();
}

bool ListWidgetTables::contains(const QString& name) const {
  return app::ListContains(list_, name);
}

void ListWidgetTables::remove(const QString& name) {
  app::RemoveListItem(list_, name);
}

void ListWidgetTables::add(const QString& name) {
  db::AddTableName(list_, name);
}

Form2TransferPage::Form2TransferPage(Form2& page, PageContext& context, const db::ConnectionFields& fields)
    : page_(page), context_(context), fields_(fields), list1_(page.List1()), list2_(page.List2()) {}

transfer::TableListView& Form2TransferPage::list(transfer::ListName name) {
  return name == transfer::ListName::List1 ? list1_ : list2_;
}

void Form2TransferPage::setProgress(int percent) {
  page_.ProgressBar1().setValue(percent);
}

void Form2TransferPage::setPointer(transfer::PagePointer pointer) {
  page_.pointer().set(static_cast<Pointer>(pointer));
}

void Form2TransferPage::processEvents() {
  QCoreApplication::processEvents();
}

bool Form2TransferPage::stopRequested() const {
  return context_.commands.ending();
}

void Form2TransferPage::rowsDone(const QString& table, long long done, long long total) {
  if (context_.transferProgress) context_.transferProgress(table, done, total);
}

db::Prompter& Form2TransferPage::prompter() {
  return context_.prompter;
}

const db::ConnectionFactory& Form2TransferPage::connections() const {
  return context_.createConnection;
}

}  // namespace pages
