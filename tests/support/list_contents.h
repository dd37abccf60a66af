// Reading a QListWidget back in a form tests can compare.
#pragma once

#include <QListWidget>
#include <QStringList>

namespace fake {

inline QStringList entries(const QListWidget& list) {
  QStringList texts;
  for (int i = 0; i < list.count(); ++i) texts << list.item(i)->text();
  return texts;
}

}  // namespace fake
