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
inline constexpr std::int32_t kProviderFailure = -2147467259;  // E_FAIL
inline constexpr std::int32_t kProviderNotFound = 3706;
inline constexpr std::int32_t kInvalidPassword = -2147217843;     // DB_SEC_E_AUTH_FAILED
inline constexpr std::int32_t kSyntaxError = -2147217900;         // DB_E_ERRORSINCOMMAND
inline constexpr std::int32_t kObjectClosed = 3704;               // operation not allowed when closed
inline constexpr std::int32_t kBofOrEof = 3021;                   // no current record
inline constexpr std::int32_t kItemNotFound = 3265;               // item not found in collection
inline constexpr std::int32_t kInvalidArgument = 3001;            // argument out of range
inline constexpr std::int32_t kObjectOpen = 3705;                 // operation not allowed when open
inline constexpr std::int32_t kNotSupported = 3251;               // provider not capable
inline constexpr std::int32_t kDataOverflow = -2147217833;        // DB_E_DATAOVERFLOW
inline constexpr std::int32_t kCantConvertValue = -2147217913;    // DB_E_CANTCONVERTVALUE
inline constexpr std::int32_t kIntegrityViolation = -2147217873;  // DB_E_INTEGRITYVIOLATION
}  // namespace errc

// ADO's own texts for the numbers above that the layer raises itself.
namespace text {
inline constexpr const char* kProviderNotFound =
    "Provider cannot be found. It may not be properly installed.";
inline constexpr const char* kObjectClosed = "Operation is not allowed when the object is closed.";
inline constexpr const char* kObjectOpen = "Operation is not allowed when the object is open.";
inline constexpr const char* kBofOrEof =
    "Either BOF or EOF is True, or the current record has been deleted. Requested operation "
    "requires a current record.";
inline constexpr const char* kItemNotFound =
    "Item cannot be found in the collection corresponding to the requested name or ordinal.";
inline constexpr const char* kInvalidArgument =
    "Arguments are of the wrong type, are out of acceptable range, or are in conflict with one "
    "another.";
inline constexpr const char* kNotSupported =
    "Object or provider is not capable of performing requested operation.";
}  // namespace text

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
