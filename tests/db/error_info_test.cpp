#include "db/error_info.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "ado/error.h"

namespace {

template <typename Raise>
db::ErrorInfo caught(Raise raise) {
  try {
    raise();
  } catch (...) {
    return db::CaughtError();
  }
  ADD_FAILURE() << "nothing was raised";
  return {};
}

TEST(CaughtError, KeepsTheNumberAndTextOfDatabaseErrors) {
  const auto info = caught([] { throw ado::Error(-2147217843, "Not a valid password."); });
  EXPECT_EQ(info.number, -2147217843);
  EXPECT_EQ(info.description, QStringLiteral("Not a valid password."));
}

TEST(CaughtError, GivesOtherFailuresTheClosestRunTimeNumber) {
  EXPECT_EQ(caught([] { throw std::overflow_error("Overflow"); }).number, 6);
  EXPECT_EQ(caught([] { throw std::bad_alloc(); }).number, 7);
  EXPECT_EQ(caught([] { throw std::out_of_range("index 9"); }).number, 9);
  const auto other = caught([] { throw std::runtime_error("Cannot read the skin"); });
  EXPECT_EQ(other.number, ado::errc::kProviderFailure);
  EXPECT_EQ(other.description, QStringLiteral("Cannot read the skin"));
  EXPECT_EQ(caught([] { throw 42; }).description, QStringLiteral("Unknown error"));
}

TEST(CaughtError, ReadsDescriptionsAsUtf8) {
  const auto info = caught([] {
    throw ado::Error(1,
                     "Tabelle \xc2\xbb"
                     "K\xc3\xbc"
                     "che\xc2\xab");
  });
  EXPECT_EQ(info.description, QString::fromUtf8("Tabelle »Küche«"));
}

}  // namespace
