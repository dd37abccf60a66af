#include "ado/connection_string.h"

#include <gtest/gtest.h>

namespace {

using ado::ConnectionString;

TEST(ConnectionStringTest, KeysMatchInAnyLetterCase) {
  const auto cs = ConnectionString::parse("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\a.mdb");
  EXPECT_EQ(cs.get("Provider"), "Microsoft.Jet.OLEDB.4.0");
  EXPECT_EQ(cs.get("provider"), "Microsoft.Jet.OLEDB.4.0");
  EXPECT_EQ(cs.get("DATA SOURCE"), "C:\\a.mdb");
}

TEST(ConnectionStringTest, ValuesAreTakenAsTheyStand) {
  const auto cs =
      ConnectionString::parse("Data Source= My DSN ;Jet OLEDB:Database Password=a=b 'c\";User ID=");
  EXPECT_EQ(cs.get("Data Source"), " My DSN ");
  EXPECT_EQ(cs.get("jet oledb:database password"), "a=b 'c\"");
  ASSERT_TRUE(cs.get("User ID").has_value());
  EXPECT_EQ(cs.get("User ID"), "");
}

TEST(ConnectionStringTest, AnEmptyDataSourceIsPresentButEmpty) {
  const auto cs = ConnectionString::parse("Data Source=");
  ASSERT_TRUE(cs.get("Data Source").has_value());
  EXPECT_TRUE(cs.get("Data Source")->empty());
}

TEST(ConnectionStringTest, KeysAreTrimmedAndEmptyPiecesSkipped) {
  const auto cs = ConnectionString::parse(";;  Provider \t=MSDASQL;garbage;=orphan;");
  EXPECT_EQ(cs.get("Provider"), "MSDASQL");
  EXPECT_FALSE(cs.get("garbage").has_value());
  EXPECT_FALSE(cs.get("").has_value());
}

TEST(ConnectionStringTest, MissingKeyGivesNothingAndTheLastRepeatWins) {
  const auto cs = ConnectionString::parse("Data Source=first;DATA SOURCE=second");
  EXPECT_EQ(cs.get("Data Source"), "second");
  EXPECT_FALSE(cs.get("Password").has_value());
  EXPECT_FALSE(ConnectionString::parse("").get("Provider").has_value());
}

TEST(ConnectionStringTest, SetReplacesEveryPairOfThatKey) {
  auto cs = ConnectionString::parse("provider=A;PROVIDER=B");
  cs.set("Provider", "C");
  EXPECT_EQ(cs.get("provider"), "C");
}

}  // namespace
