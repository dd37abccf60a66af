#include "app/if_null.h"

#include <gtest/gtest.h>

namespace {

using ado::Variant;

TEST(IfNull, ReplacesOnlyNull) {
  const Variant empty = Variant::text("");
  EXPECT_EQ(app::IfNull(Variant::null(), empty), empty);
  EXPECT_EQ(app::IfNull(Variant::int32(0), empty), Variant::int32(0));
  EXPECT_EQ(app::IfNull(Variant::text(""), Variant::text("x")), Variant::text(""));
  EXPECT_EQ(app::IfNull(Variant(), Variant::text("x")).kind(), Variant::Kind::Empty);
  EXPECT_EQ(app::IfNull(Variant::boolean(false), empty), Variant::boolean(false));
}

}  // namespace
