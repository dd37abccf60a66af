#include "app/error_trap.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "ado/error.h"
#include "support/scripted_prompter.h"

namespace {

const QString kScreenshotRequest =
    QStringLiteral("\r\rPlease email screenshot of this message to support@quorvane.example");

void failWith(const char* description) {
  throw ado::Error(-2147467259, description);
}

class ErrorTrapTest : public testing::Test {
 protected:
  test_support::ScriptedPrompter prompter;
  std::vector<int> done;
};

TEST_F(ErrorTrapTest, ReportNamesFormHandlerAndStepByteForByte) {
  app::ErrorTrap trap(prompter, "Form1", "PushButton4_Click");
  trap.step(100, [&] { done.push_back(100); });
  trap.step(106, [] { failWith("[unixODBC][Driver Manager]Data source name not found"); });
  trap.step(108, [&] { done.push_back(108); });
  ASSERT_EQ(prompter.calls().size(), 1u);
  const auto& report = prompter.calls()[0];
  EXPECT_EQ(report.text, QStringLiteral("[unixODBC][Driver Manager]Data source name not found\r\n"
                                        "in Ferrovale7/29/2014.Form1.PushButton4_Click at line 106") +
                             kScreenshotRequest);
  EXPECT_EQ(report.style, 48);
  EXPECT_EQ(report.caption, QStringLiteral("Application Error"));
  EXPECT_EQ(done, std::vector<int>({100, 108}));
}

TEST_F(ErrorTrapTest, TransferReportsEndWithTheStatementHeldAtTheFailure) {
  QString statement;
  app::ErrorTrap trap(prompter, "Form2", "PushButton3_Click");
  trap.showSqlFrom(&statement);
  trap.step(150, [&] { statement = QStringLiteral("CREATE TABLE \"t\" (\"a\" integer)"); });
  trap.step(152, [] { throw std::runtime_error("Syntax error"); });
  ASSERT_EQ(prompter.messages().size(), 1u);
  EXPECT_EQ(prompter.messages()[0],
            QStringLiteral("Syntax error\r\nin Ferrovale7/29/2014.Form2.PushButton3_Click at line 152") +
                kScreenshotRequest + QStringLiteral("\r\rsql: CREATE TABLE \"t\" (\"a\" integer)"));
}

TEST_F(ErrorTrapTest, ReportBeforeAnyStatementEndsWithAnEmptySqlLine) {
  const QString statement;
  app::ErrorTrap trap(prompter, "Form2", "PushButton4_Click");
  trap.showSqlFrom(&statement);
  trap.step(100, [] { failWith("Could not open"); });
  ASSERT_EQ(prompter.messages().size(), 1u);
  EXPECT_TRUE(prompter.messages()[0].endsWith(kScreenshotRequest + QStringLiteral("\r\rsql: ")));
}

TEST_F(ErrorTrapTest, AFailingConditionCountsAsTrue) {
  app::ErrorTrap trap(prompter, "Form1", "Form_Load");
  if (trap.when(134, [&]() -> bool { throw std::runtime_error("Bad file name"); })) {
    trap.step(136, [&] { done.push_back(136); });
  }
  if (trap.when(138, [] { return false; })) trap.step(140, [&] { done.push_back(140); });
  EXPECT_EQ(done, std::vector<int>({136}));
  ASSERT_EQ(prompter.messages().size(), 1u);
  EXPECT_TRUE(prompter.messages()[0].startsWith(
      QStringLiteral("Bad file name\r\nin Ferrovale7/29/2014.Form1.Form_Load at line 134\r\r")));
}

TEST_F(ErrorTrapTest, AFailingCallAbandonsOnlyTheRestOfThatRoutine) {
  app::ErrorTrap trap(prompter, "Form2", "PushButton6_Click");
  const auto routine = [&] {
    done.push_back(1);
    failWith("Table 'sales' already exists.");
    done.push_back(2);  // never reached
  };
  trap.step(120, routine);
  trap.step(122, [&] { done.push_back(122); });
  EXPECT_EQ(done, std::vector<int>({1, 122}));
  EXPECT_EQ(prompter.messages().size(), 1u);
}

TEST_F(ErrorTrapTest, AFailingLoopPassGoesOnWithTheNextPass) {
  app::ErrorTrap trap(prompter, "Form2", "PushButton10_Click");
  for (int pass = 0; pass < 3; ++pass) {
    trap.step(102, [&] {
      if (pass == 1) throw std::out_of_range("Invalid index");
      done.push_back(pass);
    });
  }
  EXPECT_EQ(done, std::vector<int>({0, 2}));
  ASSERT_EQ(prompter.messages().size(), 1u);
  EXPECT_TRUE(prompter.messages()[0].contains(QStringLiteral("PushButton10_Click at line 102")));
}

TEST_F(ErrorTrapTest, TwoFailuresGiveTwoReportsInOrder) {
  app::ErrorTrap trap(prompter, "Form2", "PushButton1_Click");
  trap.step(100, [] { failWith("first"); });
  trap.step(102, [&] { done.push_back(102); });
  trap.step(104, [] { failWith("second"); });
  const auto reports = prompter.messages();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_TRUE(reports[0].startsWith(QStringLiteral("first\r\n")));
  EXPECT_TRUE(reports[0].contains(QStringLiteral(" at line 100\r\r")));
  EXPECT_TRUE(reports[1].startsWith(QStringLiteral("second\r\n")));
  EXPECT_TRUE(reports[1].contains(QStringLiteral(" at line 104\r\r")));
  EXPECT_EQ(done, std::vector<int>({102}));
  EXPECT_EQ(trap.lastStep(), 104);
}

}  // namespace
