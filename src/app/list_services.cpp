#include "app/list_services.h"

#include <QListWidget>

namespace app {

bool ListContains(const QListWidget& list, const QString& text) {
  const QString wanted = text.toLower();
  const int count = list.count();
  bool found = false;
  for (int index = 0; index < count; ++index) {
    found = found || list.item(index)->text().toLower() == wanted;
  }
  return found;
}

void RemoveListItem(QListWidget& list, const QString& text) {
  const int count = list.count();
  for (int index = 0; index < count && index < list.count(); ++index) {
    // takeItem hands the entry over to the caller.
    if (list.item(index)->text() == text) delete list.takeItem(index);
  }
}

}  // namespace app
