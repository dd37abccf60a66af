// The connection page's three fields as plain values a test can change
// between calls.
#pragma once

#include <QString>

#include "db/connection_fields.h"

namespace fake {

struct PageFields : db::ConnectionFields {
  QString text1;  // Access database path
  QString text2;  // Access password
  QString text3;  // data source name

  QString accessPath() const override { return text1; }
  QString accessPassword() const override { return text2; }
  QString dataSourceName() const override { return text3; }
};

}  // namespace fake
