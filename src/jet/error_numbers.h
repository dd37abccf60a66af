// The error numbers and texts of statements, modelled on those the Access
// OLE DB providers raise for the same faults, so that the program's error
// report reads as it would against Access itself.
#pragma once

#include <cstdint>

namespace jet::errc {
inline constexpr std::int32_t kSyntaxError = -2147217900;   // DB_E_ERRORSINCOMMAND
inline constexpr std::int32_t kTypeMismatch = -2147217913;  // DB_E_CANTCONVERTVALUE
inline constexpr std::int32_t kDataOverflow = -2147217833;  // DB_E_DATAOVERFLOW
inline constexpr std::int32_t kTableExists = -2147217900;   // Jet reports it as a command error
}  // namespace jet::errc
