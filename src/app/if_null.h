// Turning a database Null into a replacement value.
#pragma once

#include "ado/variant.h"

namespace app {

// `replacement` when `value` is Null, else `value` (Empty stays Empty).
inline ado::Variant IfNull(const ado::Variant& value, const ado::Variant& replacement) {
  return value.isNull() ? replacement : value;
}

}  // namespace app
