// The connection values as the connection page holds them. The gateways
// read them through this interface at the moment of each call, so that a
// command always uses what is typed on the page right now.
#pragma once

#include <QString>

namespace db {

class ConnectionFields {
 public:
  virtual ~ConnectionFields() = default;
  virtual QString accessPath() const = 0;      // Text1
  virtual QString accessPassword() const = 0;  // Text2
  virtual QString dataSourceName() const = 0;  // Text3
};

}  // namespace db
