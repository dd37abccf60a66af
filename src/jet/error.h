// Errors of the Access engine. Every failure - a missing file, a file that
// is not an Access database, a wrong password, damaged bytes - is raised as
// jet::Error carrying a signed 32-bit number and a description in the
// manner of the Access OLE DB providers, so upper layers can pass both on
// unchanged. Damage is never answered with garbage or a crash: every read
// in the engine is bounds-checked and raises kDamaged instead.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace jet {

namespace errc {
inline constexpr std::int32_t kFailure = -2147467259;          // E_FAIL, as the providers use it
inline constexpr std::int32_t kInvalidPassword = -2147217843;  // DB_SEC_E_AUTH_FAILED
inline constexpr std::int32_t kNoSuchTable = -2147217865;      // DB_E_NOTABLE
inline constexpr std::int32_t kFileInUse = -2147467259;        // Jet's 3045, raised as E_FAIL
}  // namespace errc

class Error : public std::runtime_error {
 public:
  Error(std::int32_t number, const std::string& description)
      : std::runtime_error(description), number_(number) {}

  std::int32_t number() const noexcept { return number_; }
  std::string description() const { return what(); }

 private:
  std::int32_t number_;
};

// The error for bytes that contradict the format; `detail` says where.
inline Error damaged(const std::string& detail) {
  return Error(errc::kFailure, "The database file is damaged: " + detail + ".");
}

}  // namespace jet
