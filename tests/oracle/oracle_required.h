// Checks against the independent readers (mdbtools, mdb-reader) must not
// go quiet where the readers belong: scripts/test, and so CI, sets
// FERROVALE_REQUIRE_ORACLES=1, and a check whose reader is missing then
// fails. Elsewhere it is skipped, and the skip says which reader it left out.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string_view>

namespace oracle {

inline bool oraclesRequired() {
  const char* value = std::getenv("FERROVALE_REQUIRE_ORACLES");
  return value != nullptr && std::string_view(value) != "" && std::string_view(value) != "0";
}

}  // namespace oracle

// Ends the running test for want of a reader: a failure when the readers
// are required, else a skip. `why` names the missing reader.
#define SKIP_WITHOUT_ORACLE(why)                                                               \
  do {                                                                                         \
    if (::oracle::oraclesRequired()) FAIL() << (why) << " (FERROVALE_REQUIRE_ORACLES is set)"; \
    GTEST_SKIP() << (why);                                                                     \
  } while (0)
