// The progress line that `copy` keeps on a terminal.
#include "cli/terminal_progress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

TEST(TerminalProgress, RewritesItsLineOncePerPercentAndEndsItWithTheTable) {
  std::ostringstream terminal;
  cli::TerminalProgress progress(terminal);
  for (long long done = 1; done <= 1000; ++done) progress(QStringLiteral("Orders"), done, 1000);
  progress(QStringLiteral("b"), 1, 1);
  const std::string shown = terminal.str();
  // 0% to 99% once each, then the finished line.
  EXPECT_EQ(std::count(shown.begin(), shown.end(), '\r'), 101 + 1);
  EXPECT_TRUE(shown.starts_with("\rOrders: 1 of 1000 rows\rOrders: 10 of 1000 rows\r")) << shown;
  EXPECT_TRUE(shown.ends_with("\rOrders: 1000 of 1000 rows\n\rb: 1 of 1 rows\n")) << shown;
}

}  // namespace
