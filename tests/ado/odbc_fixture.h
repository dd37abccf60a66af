// Tests against real SQLite data sources in the process's private ODBC
// configuration.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ado/connection.h"
#include "support/odbc_sandbox.h"

class OdbcTest : public ::testing::Test {
 protected:
  void SetUp() override { (void)test_support::OdbcSandbox::instance(); }

  // A new data source named after the running test (hashed: data source
  // names are limited to 32 characters).
  static std::string createDsn(const std::vector<std::string>& setup = {}) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::size_t hash =
        std::hash<std::string>{}(std::string(info->test_suite_name()) + "." + info->name());
    return test_support::OdbcSandbox::instance().createDsn("ado" + std::to_string(hash % 1'000'000'000'000),
                                                           setup);
  }

  // An open MSDASQL connection to `dsn`, as the program opens one.
  static void openOdbc(ado::Connection& connection, const std::string& dsn) {
    connection.setProvider("MSDASQL");
    connection.open("Data Source=" + dsn);
  }
};
