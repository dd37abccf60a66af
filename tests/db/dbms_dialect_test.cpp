#include "db/dbms_dialect.h"

#include <gtest/gtest.h>

namespace {

TEST(DbmsDialect, SqlAnywhereUnderEitherNameKeepsItsOwnRenameText) {
  for (const char* product : {"SQL Anywhere", "Adaptive Server Anywhere"}) {
    const db::DbmsDialect dialect(product);
    EXPECT_TRUE(dialect.isSqlAnywhere()) << product;
    EXPECT_EQ(dialect.renameTableStatement("orders", "sales"),
              QStringLiteral("ALTER TABLE \"orders\" RENAME \"sales\";"));
  }
}

TEST(DbmsDialect, EveryOtherProductGetsTheStandardRename) {
  for (const char* product : {"SQLite", "PostgreSQL", "MariaDB", ""}) {
    const db::DbmsDialect dialect(product);
    EXPECT_FALSE(dialect.isSqlAnywhere()) << product;
    EXPECT_EQ(dialect.renameTableStatement("old name", "new"),
              QStringLiteral("ALTER TABLE \"old name\" RENAME TO \"new\""));
  }
}

TEST(DbmsDialect, BackslashesAreEscapesForSqlAnywhereAndMySqlFamilyOnly) {
  for (const char* product : {"SQL Anywhere", "Adaptive Server Anywhere", "MySQL", "MariaDB"})
    EXPECT_TRUE(db::DbmsDialect(product).readsBackslashEscapes()) << product;
  for (const char* product : {"SQLite", "PostgreSQL", "ACCESS", ""})
    EXPECT_FALSE(db::DbmsDialect(product).readsBackslashEscapes()) << product;
}

}  // namespace
