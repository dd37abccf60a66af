// Recordset's own rules, over the in-memory provider.
#include <gtest/gtest.h>

#include "ado/connection.h"
#include "ado/data_type.h"
#include "ado/recordset.h"
#include "expect_error.h"
#include "fake_provider.h"

namespace {

class RecordsetBehaviourTest : public ::testing::Test {
 protected:
  void openConnection(int cursorLocation) {
    connection_.setCursorLocation(cursorLocation);
    connection_.open("Provider=Fake");
  }

  std::shared_ptr<fake::Log> log_ = std::make_shared<fake::Log>();
  ado::ProviderRegistry registry_ = fake::registryWith("Fake", log_);
  ado::Connection connection_{&registry_};
};

TEST_F(RecordsetBehaviourTest, ClientSideCursorsReadEveryRowBeforeTheFirst) {
  openConnection(ado::adUseClient);
  ado::Recordset rs;
  rs.open("SELECT * FROM t", connection_, ado::adOpenStatic, ado::adLockOptimistic);
  EXPECT_EQ(rs.recordCount(), 3);
  EXPECT_EQ(log_->fetches, 4);  // three rows and the end
  EXPECT_EQ(rs.field(0).value, ado::Variant::int32(1));
}

TEST_F(RecordsetBehaviourTest, ServerSideCursorsStreamAndDoNotKnowTheCount) {
  openConnection(ado::adUseServer);
  ado::Recordset rs;
  rs.open("SELECT * FROM t", connection_);
  EXPECT_EQ(rs.recordCount(), -1);
  EXPECT_EQ(log_->fetches, 1);
  rs.moveNext();
  EXPECT_EQ(log_->fetches, 2);
}

TEST_F(RecordsetBehaviourTest, ServerSideCursorsReportACountTheProviderKnows) {
  openConnection(ado::adUseServer);
  ado::Recordset rs;
  rs.open("SELECT known FROM t", connection_);
  EXPECT_EQ(rs.recordCount(), 3);
}

TEST_F(RecordsetBehaviourTest, WalksToEofAndThenRefusesToMove) {
  for (const int location : {ado::adUseServer, ado::adUseClient}) {
    ado::Connection connection(&registry_);
    connection.setCursorLocation(location);
    connection.open("Provider=Fake");
    ado::Recordset rs;
    rs.open("SELECT * FROM t", connection);
    std::vector<std::string> names;
    for (; !rs.eof(); rs.moveNext()) names.push_back(rs.field("name").value.textForm());
    EXPECT_EQ(names, (std::vector<std::string>{"one", "two", ""}));
    expectAdoError(3021, [&] { rs.moveNext(); });
  }
}

TEST_F(RecordsetBehaviourTest, AFetchThatFailsEndsTheStreamInsteadOfRepeatingARow) {
  openConnection(ado::adUseServer);
  ado::Recordset rs;
  rs.open("SELECT fail FROM t", connection_);
  EXPECT_EQ(rs.field(0).value, ado::Variant::int32(1));
  expectAdoError(
      -2147467259, [&] { rs.moveNext(); }, "connection lost");
  EXPECT_TRUE(rs.eof());
  EXPECT_TRUE(rs.field(0).value.isEmpty());
}

TEST_F(RecordsetBehaviourTest, AClientSideOpenThatFailsLeavesTheRecordsetClosed) {
  openConnection(ado::adUseClient);
  ado::Recordset rs;
  expectAdoError(-2147467259, [&] { rs.open("SELECT fail FROM t", connection_); });
  EXPECT_FALSE(rs.isOpen());
}

TEST_F(RecordsetBehaviourTest, FieldsByPositionAndByNameInAnyCase) {
  openConnection(ado::adUseClient);
  ado::Recordset rs;
  rs.open("SELECT * FROM t", connection_);
  ASSERT_EQ(rs.fieldCount(), 2);
  EXPECT_EQ(rs.field(1).name, "Name");
  EXPECT_EQ(rs.field(1).type, ado::adVarWChar);
  EXPECT_EQ(&rs.field("NAME"), &rs.field(1));
  EXPECT_EQ(&rs.field("id"), &rs.field(0));
  expectAdoError(3265, [&] { (void)rs.field("Missing"); });
  expectAdoError(3265, [&] { (void)rs.field(2); });
  expectAdoError(3265, [&] { (void)rs.field(-1); });
}

TEST_F(RecordsetBehaviourTest, AtEofFieldsKeepNameAndTypeButHaveNoValue) {
  openConnection(ado::adUseClient);
  ado::Recordset rs;
  rs.open("SELECT * FROM t", connection_);
  while (!rs.eof()) rs.moveNext();
  EXPECT_EQ(rs.field(0).name, "Id");
  EXPECT_EQ(rs.field(0).type, ado::adInteger);
  EXPECT_TRUE(rs.field(0).value.isEmpty());
}

TEST_F(RecordsetBehaviourTest, AClosedRecordsetRaises3704) {
  ado::Recordset never;
  expectAdoError(3704, [&] { (void)never.eof(); });
  expectAdoError(3704, [&] { (void)never.recordCount(); });
  expectAdoError(3704, [&] { (void)never.fieldCount(); });
  expectAdoError(3704, [&] { never.close(); });

  openConnection(ado::adUseClient);
  ado::Recordset rs;
  rs.open("SELECT * FROM t", connection_);
  rs.close();
  EXPECT_FALSE(rs.isOpen());
  expectAdoError(3704, [&] { rs.moveNext(); });
  expectAdoError(3704, [&] { (void)rs.field(0); });
  rs.open("SELECT * FROM t", connection_);  // a closed record set can be opened again
  EXPECT_EQ(rs.recordCount(), 3);
  expectAdoError(3705, [&] { rs.open("SELECT * FROM t", connection_); });
}

TEST_F(RecordsetBehaviourTest, OutOfRangeCursorOrLockTypesRaise3001) {
  openConnection(ado::adUseClient);
  ado::Recordset rs;
  expectAdoError(3001, [&] { rs.open("SELECT * FROM t", connection_, 7); });
  expectAdoError(3001, [&] { rs.open("SELECT * FROM t", connection_, ado::adOpenStatic, 9); });
  EXPECT_FALSE(rs.isOpen());
}

TEST_F(RecordsetBehaviourTest, AClientSideRecordsetOutlivesItsConnection) {
  openConnection(ado::adUseClient);
  ado::Recordset rs;
  rs.open("SELECT * FROM t", connection_);
  connection_.close();
  rs.moveNext();
  EXPECT_EQ(rs.field(1).value, ado::Variant::text("two"));
}

}  // namespace
