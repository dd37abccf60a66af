// Errors of the data access objects: a signed 32-bit number and a
// description, as ADO's Err object carries them.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace ado {

// The numbers the layer raises, kept in one place so that callers and
// tests name them instead of repeating literals.
namespace errc {
inline constexpr std::int32_t kProviderFailure = -2147467259;   // E_FAIL
inline constexpr std::int32_t kProviderNotFound = 3706;
inline constexpr std::int32_t kInvalidPassword = -2147217843;   // DB_SEC_E_AUTH_FAILED
inline constexpr std::int32_t kSyntaxError = -2147217900;       // DB_E_ERRORSINCOMMAND
inline constexpr std::int32_t kObjectClosed = 3704;             // operation not allowed when closed
inline constexpr std::int32_t kBofOrEof = 3021;                 // no current record
inline constexpr std::int32_t kItemNotFound = 3265;             // item not found in collection
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

}  // namespace ado
