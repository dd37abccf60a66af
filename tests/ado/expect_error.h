// Checks that an action raises ado::Error with the given number (and,
// when given, exactly this description).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "ado/error.h"

template <typename Action>
ado::Error expectAdoError(std::int32_t number, Action&& action,
                          const std::optional<std::string>& description = std::nullopt) {
  try {
    action();
  } catch (const ado::Error& e) {
    EXPECT_EQ(e.number(), number) << e.description();
    if (description) {
      EXPECT_EQ(e.description(), *description);
    }
    return e;
  }
  ADD_FAILURE() << "expected ado::Error " << number;
  return ado::Error(0, "");
}
