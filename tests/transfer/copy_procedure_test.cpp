// The transfer procedure against in-memory databases: the statements as
// they reach each connection, the lists, the progress and the reports.
#include <gtest/gtest.h>

#include "ado/data_type.h"
#include "transfer/copy_selected_tables.h"
#include "two_sides.h"

namespace {

using ado::Variant;
using transfer_test::FakePage;
using transfer_test::Table;
using Statements = std::vector<std::string>;

Table ordersTable() {
  return {{{"ID", ado::adInteger}, {"Name", ado::adVarWChar, 50}, {"Paid", ado::adBoolean}},
          {{Variant::int32(12), Variant::text("O'Neil"), Variant::boolean(true)},
           {Variant::int32(13), Variant::text(""), Variant::boolean(false)}}};
}

void copy(FakePage& page, const transfer::TransferDirection& direction) {
  transfer::TableTransfer(page).CopySelectedTables(direction);
}

TEST(CopyProcedure, AccessToSybaseSendsTheOrdersExample) {
  FakePage page;
  page.access->tables["Orders"] = ordersTable();
  page.list1 = transfer_test::PlainTableList({"Orders"});
  page.list1.select("Orders");

  copy(page, transfer::AccessToSybase());

  EXPECT_EQ(page.odbc->statements,
            (Statements{"CREATE TABLE \"Orders\"(\"ID\" NUMERIC,\"Name\" TEXT,\"Paid\" BIT)",
                        "INSERT INTO \"Orders\" VALUES(12, 'O''Neil', '1')",
                        "INSERT INTO \"Orders\" VALUES(13, NULL, '0')"}));
  EXPECT_TRUE(page.access->statements.empty());
  EXPECT_EQ(page.list2.names(), QStringList({"orders"}));
  EXPECT_EQ(page.progress, (std::vector<int>{50, 100, 0}));
  EXPECT_EQ(page.pointers, (std::vector<int>{11, 0}));
  EXPECT_EQ(page.lastRowsDone, (std::pair<long long, long long>{2, 2}));
  EXPECT_TRUE(page.messages.calls().empty());
}

TEST(CopyProcedure, SybaseToAccessSendsTheOrdersExampleAfterCountingTheRows) {
  FakePage page;
  page.odbc->tables["orders"] = {
      {{"id", ado::adInteger}, {"name", ado::adVarChar, 40}, {"paid", ado::adBoolean}},
      {{Variant::int32(12), Variant::text("O'Neil"), Variant::boolean(true)},
       {Variant::int32(13), Variant::null(), Variant::boolean(false)}}};
  page.list2 = transfer_test::PlainTableList({"orders"});
  page.list2.select("orders");

  copy(page, transfer::SybaseToAccess());

  EXPECT_EQ(page.access->statements,
            (Statements{"CREATE TABLE `orders`(`id` INT,`name` VARCHAR,`paid` VARCHAR);",
                        "INSERT INTO `orders` VALUES('12', 'O''Neil', 'True')",
                        "INSERT INTO `orders` VALUES('13', NULL, 'False')"}));
  EXPECT_EQ(page.odbc->counts, 1);
  EXPECT_EQ(page.lastRowsDone, (std::pair<long long, long long>{2, 2}));
  EXPECT_EQ(page.list1.names(), QStringList({"orders"}));
}

TEST(CopyProcedure, WritesOnlyYesNoValuesAsBitsAndKeepsQuotesInsideTexts) {
  FakePage page;
  page.access->tables["T"] = {{{"Word", ado::adVarWChar, 50}, {"Flag", ado::adBoolean}},
                              {{Variant::text("True"), Variant::null()},
                               {Variant::text("say \"hi\" 'now'"), Variant::boolean(true)}}};
  page.list1 = transfer_test::PlainTableList({"T"});
  page.list1.select("T");

  copy(page, transfer::AccessToSybase());

  ASSERT_EQ(page.odbc->statements.size(), 3u);
  EXPECT_EQ(page.odbc->statements[1], "INSERT INTO \"T\" VALUES('True', NULL)");
  EXPECT_EQ(page.odbc->statements[2], "INSERT INTO \"T\" VALUES('say \"hi\" ''now''', '1')");
}

TEST(CopyProcedure, DoublesBackslashesOnlyForProductsThatReadThemAsEscapes) {
  for (const char* product : {"SQL Anywhere", "SQLite"}) {
    FakePage page;
    page.odbc->dbmsName = product;
    page.access->tables["P"] = {{{"Path", ado::adVarWChar, 50}}, {{Variant::text("C:\\temp\\a'b")}}};
    page.list1 = transfer_test::PlainTableList({"P"});
    page.list1.select("P");

    copy(page, transfer::AccessToSybase());

    ASSERT_EQ(page.odbc->statements.size(), 2u);
    EXPECT_EQ(page.odbc->statements[1], product == std::string("SQLite")
                                            ? "INSERT INTO \"P\" VALUES('C:\\temp\\a''b')"
                                            : "INSERT INTO \"P\" VALUES('C:\\\\temp\\\\a''b')");
  }
}

TEST(CopyProcedure, BytesReachAccessAsHexAndALoneNullClosesTheList) {
  FakePage page;
  page.odbc->tables["b"] = {{{"data", ado::adVarBinary, 4}},
                            {{Variant::bytes({0x00, 0xff, 0x10})}, {Variant::null()}}};
  page.list2 = transfer_test::PlainTableList({"b"});
  page.list2.select("b");

  copy(page, transfer::SybaseToAccess());

  EXPECT_EQ(page.access->statements,
            (Statements{"CREATE TABLE `b`(`data` BINARY(4));", "INSERT INTO `b` VALUES(0x00ff10)",
                        "INSERT INTO `b` VALUES(NULL)"}));
}

TEST(CopyProcedure, VisitsSelectedTablesFromLastToFirstAndSkipsAnsweredNo) {
  FakePage page;
  for (const char* name : {"A", "B", "C"}) page.access->tables[name] = ordersTable();
  page.list1 = transfer_test::PlainTableList({"A", "B", "C"});
  for (const char* name : {"A", "B", "C"}) page.list1.select(name);
  page.list2 = transfer_test::PlainTableList({"b"});
  page.messages.queueAnswer(db::kIdNo);

  copy(page, transfer::AccessToSybase());

  Statements creates;
  for (const std::string& s : page.odbc->statements)
    if (s.starts_with("CREATE")) creates.push_back(s.substr(0, 16));
  EXPECT_EQ(creates, (Statements{"CREATE TABLE \"C\"", "CREATE TABLE \"A\""}));
  ASSERT_EQ(page.messages.calls().size(), 1u);
  EXPECT_EQ(page.messages.calls()[0].text, "Would you like to overwrite B?");
  EXPECT_EQ(page.messages.calls()[0].caption, "Overwrite?");
  EXPECT_EQ(page.list2.names(), QStringList({"a", "b", "c"}));
}

TEST(CopyProcedure, AnsweredYesDropsTheTargetAndListsTheNameAgain) {
  FakePage page;
  page.odbc->tables["Orders"] = ordersTable();
  page.list2 = transfer_test::PlainTableList({"Orders"});
  page.list2.select("Orders");
  page.list1 = transfer_test::PlainTableList({"Other", "Orders"});
  page.messages.queueAnswer(db::kIdYes);

  copy(page, transfer::SybaseToAccess());

  ASSERT_GE(page.access->statements.size(), 2u);
  EXPECT_EQ(page.access->statements[0], "DROP TABLE `Orders`");
  EXPECT_TRUE(page.access->statements[1].starts_with("CREATE TABLE `Orders`("));
  EXPECT_EQ(page.list1.names(), QStringList({"Orders", "Other"}));
}

TEST(CopyProcedure, RejectedRowsCostTheirRowsOnlyWithAReportEachShowingItsStatement) {
  FakePage page;
  page.access->tables["Orders"] = ordersTable();
  page.access->tables["Orders"].rows.push_back(
      {Variant::int32(14), Variant::text("Last"), Variant::boolean(true)});
  page.access->tables["Orders"].rows.push_back(
      {Variant::int32(15), Variant::text("Unpaid"), Variant::boolean(false)});
  page.list1 = transfer_test::PlainTableList({"Orders"});
  page.list1.select("Orders");
  page.odbc->rejectContaining = "'0')";

  copy(page, transfer::AccessToSybase());

  ASSERT_EQ(page.messages.calls().size(), 2u);
  const QString report = page.messages.calls()[0].text;
  EXPECT_TRUE(
      report.startsWith("rejected by the test\r\nin Ferrovale7/29/2014.Form2.PushButton3_Click at line 274"))
      << report.toStdString();
  EXPECT_TRUE(report.endsWith("\r\rsql: INSERT INTO \"Orders\" VALUES(13, NULL, '0')"));
  EXPECT_TRUE(
      page.messages.calls()[1].text.endsWith("\r\rsql: INSERT INTO \"Orders\" VALUES(15, 'Unpaid', '0')"));
  const auto& sent = page.odbc->statements;
  EXPECT_EQ(sent[sent.size() - 2], "INSERT INTO \"Orders\" VALUES(14, 'Last', '1')");
  EXPECT_EQ(page.list2.names(), QStringList({"orders"}));
}

TEST(CopyProcedure, TheEventLoopKeepsRunningWhileAnInsertBlocks) {
  FakePage page;
  page.access->tables["Orders"] = ordersTable();
  page.list1 = transfer_test::PlainTableList({"Orders"});
  page.list1.select("Orders");
  page.odbc->insertTime = std::chrono::milliseconds(100);

  copy(page, transfer::AccessToSybase());

  // Two INSERTs of 100 ms each, the loop due every 10 ms: with the
  // statements run where the loop runs it would pass once per row.
  EXPECT_GE(page.yields, 8);
  EXPECT_EQ(page.odbc->statements.size(), 3u);
  EXPECT_TRUE(page.messages.calls().empty());
}

TEST(CopyProcedure, ClosingTheWindowDropsTheInsertsNotYetStarted) {
  FakePage page;
  page.access->tables["Orders"] = ordersTable();
  for (int id = 100; id < 140; ++id)
    page.access->tables["Orders"].rows.push_back(
        {Variant::int32(id), Variant::text("x"), Variant::boolean(true)});
  page.list1 = transfer_test::PlainTableList({"Orders"});
  page.list1.select("Orders");
  page.odbc->insertTime = std::chrono::milliseconds(20);
  page.closeAfterYields = 3;  // some 20 ms in, while most rows wait in line

  copy(page, transfer::AccessToSybase());

  // The CREATE and the few INSERTs run before and during the close; the
  // 42 rows would take 16 or more had the wait gone on for half the line.
  EXPECT_LT(page.odbc->statements.size(), 12u);
  EXPECT_TRUE(page.list2.names().isEmpty());
}

TEST(CopyProcedure, RefusesUnquotableNamesBeforeTouchingTheTarget) {
  FakePage page;
  page.access->tables["Bad\"Name"] = ordersTable();
  page.access->tables["Fields"] = {{{"say \"x\"", ado::adInteger}}, {}};
  page.access->tables["Good"] = ordersTable();
  page.list1 = transfer_test::PlainTableList({"Bad\"Name", "Fields", "Good"});
  for (const char* name : {"Bad\"Name", "Fields", "Good"}) page.list1.select(name);
  page.list2 = transfer_test::PlainTableList({"bad\"name", "fields"});

  copy(page, transfer::AccessToSybase());

  const auto reports = page.messages.messages();
  ASSERT_EQ(reports.size(), 2u);  // no overwrite question for either
  EXPECT_TRUE(reports[0].startsWith("The name say \"x\" holds the character \""));
  EXPECT_TRUE(reports[1].startsWith("The name Bad\"Name holds the character \""));
  for (const std::string& s : page.odbc->statements) EXPECT_NE(s.find("\"Good\""), std::string::npos) << s;
  EXPECT_EQ(page.list2.names(), QStringList({"bad\"name", "fields", "good"}));
}

TEST(CopyProcedure, WithoutACurrentEntryOnlyAsksForASelection) {
  FakePage page;
  page.list2 = transfer_test::PlainTableList({"orders"});

  copy(page, transfer::SybaseToAccess());

  EXPECT_EQ(page.messages.messages(), std::vector<QString>{"Please select a table to send."});
  EXPECT_TRUE(page.pointers.empty());
  EXPECT_TRUE(page.access->statements.empty());
}

}  // namespace
