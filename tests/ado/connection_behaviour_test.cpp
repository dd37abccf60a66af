// Connection's own rules, over the in-memory provider.
#include <gtest/gtest.h>

#include "ado/connection.h"
#include "ado/data_type.h"
#include "ado/recordset.h"
#include "expect_error.h"
#include "fake_provider.h"

namespace {

constexpr const char* kClosedText = "Operation is not allowed when the object is closed.";

class ConnectionBehaviourTest : public ::testing::Test {
 protected:
  std::shared_ptr<fake::Log> log_ = std::make_shared<fake::Log>();
  ado::ProviderRegistry registry_ = [this] {
    auto r = fake::registryWith("Fake", log_);
    r.add("MSDASQL", [log = log_] { return std::make_unique<fake::Provider>(log); });
    return r;
  }();
};

TEST_F(ConnectionBehaviourTest, ProviderFromTheObjectOrFromTheStringBothCount) {
  ado::Connection byObject(&registry_);
  byObject.setProvider("fake");
  byObject.open("Data Source=one");
  EXPECT_EQ(log_->lastConnectionString, "one");

  ado::Connection byString(&registry_);
  byString.open("PROVIDER=Fake;Data Source=two");
  EXPECT_EQ(byString.provider(), "Fake");

  ado::Connection stringWins(&registry_);
  stringWins.setProvider("Nobody.Home");
  stringWins.open("provider=Fake;Data Source=three");
  EXPECT_TRUE(stringWins.isOpen());
}

TEST_F(ConnectionBehaviourTest, WithoutAnyProviderTheOdbcBridgeIsUsed) {
  ado::Connection connection(&registry_);
  connection.open("Data Source=dsn");
  EXPECT_EQ(connection.provider(), "MSDASQL");
}

TEST_F(ConnectionBehaviourTest, CursorLocationAndModeReachTheProvider) {
  ado::Connection connection(&registry_);
  EXPECT_EQ(connection.cursorLocation(), ado::adUseServer);
  connection.setCursorLocation(ado::adUseClient);
  connection.setMode(ado::adModeReadWrite);
  connection.open("Provider=Fake");
  EXPECT_EQ(log_->lastOptions.cursorLocation, 3);
  EXPECT_EQ(log_->lastOptions.mode, 3);
}

TEST_F(ConnectionBehaviourTest, ExecuteHandsTheTextOnUnchanged) {
  ado::Connection connection(&registry_);
  connection.open("Provider=Fake");
  connection.execute("DROP TABLE \"Orders\"");
  EXPECT_EQ(log_->executed, std::vector<std::string>{"DROP TABLE \"Orders\""});
}

TEST_F(ConnectionBehaviourTest, OperationsOnAClosedConnectionRaise3704) {
  ado::Connection connection(&registry_);
  expectAdoError(
      3704, [&] { connection.execute("SELECT 1"); }, kClosedText);
  expectAdoError(
      3704, [&] { (void)connection.openSchema(ado::adSchemaTables); }, kClosedText);
  expectAdoError(
      3704, [&] { connection.close(); }, kClosedText);
  connection.open("Provider=Fake");
  connection.close();
  EXPECT_FALSE(connection.isOpen());
  expectAdoError(
      3704, [&] { connection.execute("SELECT 1"); }, kClosedText);
  ado::Recordset rs;
  expectAdoError(
      3704, [&] { rs.open("SELECT 1", connection); }, kClosedText);
}

TEST_F(ConnectionBehaviourTest, OpeningTwiceOrChangingProviderWhileOpenRaises3705) {
  ado::Connection connection(&registry_);
  connection.open("Provider=Fake");
  expectAdoError(3705, [&] { connection.open("Provider=Fake"); });
  expectAdoError(3705, [&] { connection.setProvider("MSDASQL"); });
  expectAdoError(3705, [&] { connection.setMode(1); });
  EXPECT_EQ(log_->sessionsOpen, 1);
}

TEST_F(ConnectionBehaviourTest, BadArgumentsRaise) {
  ado::Connection connection(&registry_);
  expectAdoError(3001, [&] { connection.setCursorLocation(1); });
  expectAdoError(3001, [&] { connection.setMode(-1); });
  connection.open("Provider=Fake");
  expectAdoError(3251, [&] { (void)connection.openSchema(4); });
}

TEST_F(ConnectionBehaviourTest, AFailedOpenLeavesTheConnectionClosed) {
  ado::Connection connection(&registry_);
  expectAdoError(3706, [&] { connection.open("Provider=Missing"); });
  EXPECT_FALSE(connection.isOpen());
  EXPECT_EQ(connection.provider(), "");
  connection.open("Provider=Fake");
  EXPECT_TRUE(connection.isOpen());
}

TEST_F(ConnectionBehaviourTest, DestroyingAnOpenConnectionClosesIt) {
  {
    ado::Connection connection(&registry_);
    connection.open("Provider=Fake");
    EXPECT_EQ(log_->sessionsOpen, 1);
  }
  EXPECT_EQ(log_->sessionsOpen, 0);
}

TEST_F(ConnectionBehaviourTest, SchemaRecordSetFollowsTheCursorLocation) {
  ado::Connection connection(&registry_);
  connection.setCursorLocation(ado::adUseClient);
  connection.open("Provider=Fake");
  const auto schema = connection.openSchema(ado::adSchemaTables);
  EXPECT_EQ(schema->recordCount(), 3);
}

}  // namespace
