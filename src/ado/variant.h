// The value of a field: a tagged union in the image of the OLE VARIANT,
// limited to the kinds the providers produce. textForm() gives the text
// the program writes into SQL; its rules are tabled in variant.cpp.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace ado {

// Currency: a 64-bit integer holding the amount times 10,000 (exact).
struct Currency {
  std::int64_t scaled = 0;
  friend bool operator==(const Currency&, const Currency&) = default;
};

// Decimal: sign, scale (digits after the point) and an unsigned
// magnitude of up to 38 decimal digits. Value = (-1)^negative * magnitude / 10^scale.
struct Decimal {
  bool negative = false;
  std::uint8_t scale = 0;
  unsigned __int128 magnitude = 0;
  friend bool operator==(const Decimal&, const Decimal&) = default;
};

// Date: the OLE automation date, days since 1899-12-30; for days before
// it the integer part is negative and the time of day still counts
// forward as the fraction's absolute value.
struct Date {
  double days = 0;
  friend bool operator==(const Date&, const Date&) = default;
};

using Guid = std::array<std::uint8_t, 16>;  // in the byte order of its text form
using Bytes = std::vector<std::uint8_t>;

struct Empty {
  friend bool operator==(const Empty&, const Empty&) = default;
};
struct Null {
  friend bool operator==(const Null&, const Null&) = default;
};

class Variant {
 public:
  enum class Kind {
    Empty,
    Null,
    Boolean,
    UInt8,
    Int8,
    Int16,
    Int32,
    Int64,
    UInt16,
    UInt32,
    UInt64,
    Single,
    Double,
    Currency,
    Decimal,
    Date,
    Text,
    Bytes,
    Guid
  };

  Variant() = default;
  static Variant null() { return Variant(Null{}); }
  static Variant boolean(bool b) { return Variant(b); }
  static Variant uint8(std::uint8_t v) { return Variant(v); }
  static Variant int8(std::int8_t v) { return Variant(v); }
  static Variant int16(std::int16_t v) { return Variant(v); }
  static Variant int32(std::int32_t v) { return Variant(v); }
  static Variant int64(std::int64_t v) { return Variant(v); }
  static Variant uint16(std::uint16_t v) { return Variant(v); }
  static Variant uint32(std::uint32_t v) { return Variant(v); }
  static Variant uint64(std::uint64_t v) { return Variant(v); }
  static Variant single(float v) { return Variant(v); }
  static Variant real(double v) { return Variant(v); }
  static Variant currency(Currency v) { return Variant(v); }
  static Variant decimal(Decimal v) { return Variant(v); }
  static Variant date(Date v) { return Variant(v); }
  static Variant text(std::string utf8) { return Variant(std::move(utf8)); }
  static Variant bytes(Bytes b) { return Variant(std::move(b)); }
  static Variant guid(Guid g) { return Variant(g); }

  Kind kind() const { return static_cast<Kind>(value_.index()); }
  bool isNull() const { return kind() == Kind::Null; }
  bool isEmpty() const { return kind() == Kind::Empty; }

  // Typed access; the caller checks kind() first (std::bad_variant_access otherwise).
  template <typename T>
  const T& as() const {
    return std::get<T>(value_);
  }

  // The text form (see the table in variant.cpp). Empty and Null give "".
  std::string textForm() const;

  friend bool operator==(const Variant&, const Variant&) = default;

 private:
  // The order of the alternatives is the order of Kind.
  using Storage = std::variant<Empty, Null, bool, std::uint8_t, std::int8_t, std::int16_t, std::int32_t,
                               std::int64_t, std::uint16_t, std::uint32_t, std::uint64_t, float, double,
                               Currency, Decimal, Date, std::string, Bytes, Guid>;
  template <typename T>
  explicit Variant(T v) : value_(std::move(v)) {}

  Storage value_;
};

}  // namespace ado
