// Both directions through the real parts: an Access file holding every
// column type, the SQLite data source through ODBC, and a new Access file.
// A value is intact when what is read back equals the source value under
// the direction's type mapping.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <charconv>
#include <cmath>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "jet/database/new_database.h"
#include "support/odbc_sandbox.h"
#include "transfer/copy_selected_tables.h"
#include "two_sides.h"

namespace {

using ado::Variant;
using Rows = std::vector<std::vector<Variant>>;

constexpr char kTable[] = "Every Type ü";

const char* const kCreateEveryType =
    "CREATE TABLE `Every Type ü`(`Text` TEXT(50), `Memo` MEMO, `Byte` BYTE, `Short` SMALLINT, "
    "`Long` INT, `Money` CURRENCY, `Single` REAL, `Double` FLOAT, `When` DATETIME, `Flag` BIT, "
    "`Exact` DECIMAL(18,4), `Id` GUID, `Raw` BINARY(8), `Picture` OLEOBJECT)";

const char* const kEveryTypeRows[] = {
    "INSERT INTO `Every Type ü` VALUES('Zoë \"quoted\" O''Neil C:\\temp\\n', 'Ünïcödé memo "
    "text that runs on and on', 255, -32768, 2147483647, '1234.5678', '0.1', '-2.5e-07', "
    "'2024-02-29 10:11:12', 'True', '12345678901234.5678', "
    "'{6B29FC40-CA47-1067-B31D-00DD010662DA}', 0x00ff10, 0x0102030405)",
    "INSERT INTO `Every Type ü` VALUES('True', '', 0, 0, -1, '-0.0001', '-3.5', "
    "'1e+20', '1850-06-01 06:00:00', 'False', '-0.5', NULL, 0x, 0x00)",
    "INSERT INTO `Every Type ü` VALUES(NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, "
    "NULL, NULL, NULL, NULL, NULL)",
};

std::optional<double> number(const std::string& text) {
  double value = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

// Equal under the type mappings of both directions: NULL and the empty
// text as NULL; Yes/No as True/False or 1/0; numbers as numbers; dates to
// the second; bytes as the same bytes or their hex text; texts exactly.
::testing::AssertionResult intact(const Variant& source, const Variant& copied) {
  const std::string want = source.textForm();
  const std::string got = copied.textForm();
  if (want.empty()) {
    return copied.isNull() ? ::testing::AssertionSuccess()
                           : ::testing::AssertionFailure() << "NULL became '" << got << "'";
  }
  bool same = want == got;
  if (source.kind() == Variant::Kind::Boolean) same = same || got == (source.as<bool>() ? "1" : "0");
  if (source.kind() == Variant::Kind::Date) same = same || got.substr(0, 19) == want.substr(0, 19);
  if (!same && number(want) && number(got)) same = *number(want) == *number(got);
  if (same) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "'" << want << "' became '" << got << "'";
}

Rows readAll(ado::Connection& connection, const std::string& sql) {
  ado::Recordset rows;
  rows.open(sql, connection);
  Rows all;
  while (!rows.eof()) {
    std::vector<Variant>& row = all.emplace_back();
    for (int j = 0; j < rows.fieldCount(); ++j) row.push_back(rows.field(j).value);
    rows.moveNext();
  }
  return all;
}

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto& sandbox = test_support::OdbcSandbox::instance();
    dsn_ = sandbox.createDsn("transfer" + std::to_string(++counter_),
                             {"CREATE TABLE \"Native\"(b BLOB, d DECIMAL(10,2), v VARCHAR(300), "
                              "i INTEGER)",
                              "INSERT INTO \"Native\" VALUES(x'00ff7f', 12.34, 'long text', 7)"});
    page_.useRealDatabases = true;
    page_.fields.dsn = QString::fromStdString(dsn_);
  }

  std::string newAccessFile(const char* name) {
    const std::string path = dir_.filePath(name).toStdString();
    jet::write::createDatabase(path, jet::write::NewFormat::Jet4);
    return path;
  }

  ado::Connection& openAccess(ado::Connection& c, const std::string& path) {
    c.open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path);
    return c;
  }

  ado::Connection& openOdbc(ado::Connection& c) {
    c.open("Data Source=" + dsn_);
    return c;
  }

  void copy(const transfer::TransferDirection& direction) {
    transfer::TableTransfer(page_).CopySelectedTables(direction);
  }

  static inline int counter_ = 0;
  QTemporaryDir dir_;
  std::string dsn_;
  transfer_test::FakePage page_;
};

TEST_F(EndToEnd, EveryAccessTypeTravelsToTheDataSourceAndBackIntact) {
  const std::string source = newAccessFile("source.mdb");
  Rows original;
  {
    ado::Connection access;
    openAccess(access, source).execute(kCreateEveryType);
    for (const char* insert : kEveryTypeRows) access.execute(insert);
    access.execute("CREATE TABLE `Empty`(`A` INT)");
    original = readAll(access, std::string("SELECT * FROM `") + kTable + "`");
  }
  page_.fields.path = QString::fromStdString(source);
  page_.list1 = transfer_test::PlainTableList({kTable, "Empty"});
  page_.list1.select(kTable);
  page_.list1.select("Empty");

  copy(transfer::AccessToSybase());
  ASSERT_TRUE(page_.messages.calls().empty()) << page_.messages.calls()[0].text.toStdString();

  ado::Connection odbc;
  const Rows sent = readAll(openOdbc(odbc), std::string("SELECT * FROM \"") + kTable + "\"");
  EXPECT_TRUE(readAll(odbc, "SELECT * FROM \"Empty\"").empty());
  ASSERT_EQ(sent.size(), original.size());
  for (std::size_t r = 0; r < sent.size(); ++r)
    for (std::size_t c = 0; c < original[r].size(); ++c)
      EXPECT_TRUE(intact(original[r][c], sent[r][c])) << "row " << r << " column " << c;

  // Back into a new Access file; a second run answers the overwrite question Yes.
  const std::string back = newAccessFile("back.mdb");
  page_.fields.path = QString::fromStdString(back);
  page_.list1 = transfer_test::PlainTableList();
  page_.list2.select(QString::fromUtf8(kTable).toLower());
  copy(transfer::SybaseToAccess());
  page_.messages.queueAnswer(db::kIdYes);
  copy(transfer::SybaseToAccess());
  EXPECT_EQ(page_.messages.messages().size(), 1u);  // the question only

  ado::Connection access;
  const Rows returned = readAll(openAccess(access, back), std::string("SELECT * FROM `") + kTable + "`");
  ASSERT_EQ(returned.size(), original.size());
  for (std::size_t r = 0; r < returned.size(); ++r)
    for (std::size_t c = 0; c < original[r].size(); ++c)
      EXPECT_TRUE(intact(original[r][c], returned[r][c])) << "row " << r << " column " << c;
}

TEST_F(EndToEnd, BinaryAndDecimalColumnsOfTheDataSourceArriveAsTheSameValues) {
  const std::string target = newAccessFile("native.mdb");
  page_.fields.path = QString::fromStdString(target);
  page_.list2 = transfer_test::PlainTableList({"Native"});
  page_.list2.select("Native");

  copy(transfer::SybaseToAccess());
  ASSERT_TRUE(page_.messages.calls().empty()) << page_.messages.calls()[0].text.toStdString();

  ado::Connection access;
  const Rows rows = readAll(openAccess(access, target), "SELECT * FROM `Native`");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0], Variant::bytes({0x00, 0xff, 0x7f}));
  EXPECT_EQ(number(rows[0][1].textForm()), 12.34);
  EXPECT_EQ(rows[0][2], Variant::text("long text"));
  EXPECT_EQ(rows[0][3].textForm(), "7");
}

}  // namespace
