#include "jet/convert/column_value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "jet/convert/ascii_case.h"
#include "jet/convert/date_text.h"
#include "jet/convert/decimal_number.h"
#include "jet/error.h"
#include "jet/error_numbers.h"
#include "utf16/encode.h"

namespace jet::convert {
namespace {

using Literal = InputValue;

const char* kindName(const NewColumn& column) {
  if (column.autoNumber) return "AutoNumber";
  switch (column.type) {
    case ColumnType::Boolean: return "Yes/No";
    case ColumnType::Byte: return "Byte";
    case ColumnType::Int16: return "Integer";
    case ColumnType::Int32: return "Long";
    case ColumnType::Currency: return "Currency";
    case ColumnType::Single: return "Single";
    case ColumnType::Double: return "Double";
    case ColumnType::DateTime: return "Date/Time";
    case ColumnType::Binary: return "Binary";
    case ColumnType::Text: return "Text";
    case ColumnType::Ole: return "OLE Object";
    case ColumnType::Memo: return "Memo";
    case ColumnType::Guid: return "GUID";
    case ColumnType::Numeric: return "Decimal";
    default: return "unknown";
  }
}

class Converter {
 public:
  Converter(const Literal& literal, const NewColumn& column) : literal_(literal), column_(column) {}

  Value run() const {
    if (literal_.kind == Literal::Kind::Null) return std::monostate{};
    if (literal_.kind == Literal::Kind::Bytes) {
      const bool binaryColumn = column_.type == ColumnType::Binary || column_.type == ColumnType::Ole;
      if (!binaryColumn) throw mismatch();
      return hexBytes();
    }
    switch (column_.type) {
      case ColumnType::Boolean: return boolean();
      case ColumnType::Byte: return static_cast<std::uint8_t>(integer(0, 255));
      case ColumnType::Int16: return static_cast<std::int16_t>(integer(-32768, 32767));
      case ColumnType::Int32:
        return static_cast<std::int32_t>(
            integer(std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
      case ColumnType::Currency: return currency();
      case ColumnType::Single: return single();
      case ColumnType::Double: return real();
      case ColumnType::DateTime: return dateTime();
      case ColumnType::Numeric: return decimal();
      case ColumnType::Guid: return guid();
      case ColumnType::Text:
      case ColumnType::Memo: return text();
      case ColumnType::Binary:
      case ColumnType::Ole: return binary();
      default: break;
    }
    throw mismatch();
  }

 private:
  Error mismatch() const {
    return Error(errc::kTypeMismatch, "Data type mismatch in criteria expression. The value '" +
                                          literal_.text + "' does not convert to the " + kindName(column_) +
                                          " column '" + column_.name + "'.");
  }
  Error overflow() const {
    return Error(errc::kDataOverflow, "Numeric field overflow. The value '" + literal_.text +
                                          "' does not fit the " + kindName(column_) + " column '" +
                                          column_.name + "'.");
  }
  Error tooSmall() const {
    return Error(errc::kDataOverflow, "The field '" + column_.name +
                                          "' is too small to accept the amount of data you attempted to add. "
                                          "Try inserting or pasting less data.");
  }

  DecimalNumber number() const {
    const auto n = parseDecimalNumber(literal_.text);
    if (!n) throw mismatch();
    return *n;
  }

  // Rounded half to even to `scale` decimals, signed, within [min, max].
  __int128 scaled(int scale, int maxDigits, __int128 min, __int128 max) const {
    const DecimalNumber n = number();
    const auto magnitude = scaledMagnitude(n, scale, maxDigits);
    if (!magnitude) throw overflow();
    const __int128 value =
        n.negative ? -static_cast<__int128>(*magnitude) : static_cast<__int128>(*magnitude);
    if (value < min || value > max) throw overflow();
    return value;
  }

  std::int64_t integer(std::int64_t min, std::int64_t max) const {
    return static_cast<std::int64_t>(scaled(0, 19, min, max));
  }

  Currency currency() const {
    return {static_cast<std::int64_t>(
        scaled(4, 19, std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max()))};
  }

  Numeric decimal() const {
    const int precision = column_.precision;
    const DecimalNumber n = number();
    const auto magnitude = scaledMagnitude(n, column_.scale, precision);
    if (!magnitude) throw overflow();
    return {n.negative && *magnitude != 0, column_.precision, column_.scale, *magnitude};
  }

  double real() const {
    const DecimalNumber n = number();  // validates the invariant form
    if (n.digits.empty()) return n.negative ? -0.0 : 0.0;
    // Far below the smallest double the value is zero; far above, overflow.
    const long magnitude = static_cast<long>(n.digits.size()) + n.exponent;
    if (magnitude < -400) return 0.0;
    if (magnitude > 400) throw overflow();
    std::string text = (n.negative ? "-" : "") + n.digits + "e" + std::to_string(n.exponent);
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range && magnitude < 0) return 0.0;
    if (result.ec != std::errc() || std::isinf(value)) throw overflow();
    return value;
  }

  float single() const {
    const double value = real();
    if (std::fabs(value) > std::numeric_limits<float>::max()) throw overflow();
    return static_cast<float>(value);
  }

  bool boolean() const {
    std::string_view word = literal_.text;
    word.remove_prefix(std::min(word.find_first_not_of(' '), word.size()));
    word.remove_suffix(word.size() - (word.find_last_not_of(' ') + 1));
    const auto is = [word](std::string_view lower) { return equalsIgnoringAsciiCase(word, lower); };
    if (is("true") || is("yes") || is("on")) return true;
    if (is("false") || is("no") || is("off")) return false;
    // Any number: zero is No, everything else Yes (-1 is how Jet writes Yes).
    return !number().digits.empty();
  }

  DateTime dateTime() const {
    if (literal_.kind == Literal::Kind::Number) {
      const double days = real();
      if (days < -657434.0 || days >= 2958466.0) throw overflow();
      return {days};
    }
    const auto days = parseDateText(literal_.text);
    if (!days) throw mismatch();
    return {*days};
  }

  Guid guid() const {
    std::string_view s = literal_.text;
    if (s.size() == 38 && s.front() == '{' && s.back() == '}') s = s.substr(1, 36);
    if (s.size() != 36) throw mismatch();
    Guid g{};
    std::size_t out = 0;
    for (std::size_t i = 0; i < s.size();) {
      if (i == 8 || i == 13 || i == 18 || i == 23) {
        if (s[i++] != '-') throw mismatch();
        continue;
      }
      int byte = 0;
      const auto r = std::from_chars(s.data() + i, s.data() + i + 2, byte, 16);
      if (r.ec != std::errc() || r.ptr != s.data() + i + 2) throw mismatch();
      g[out++] = static_cast<std::uint8_t>(byte);
      i += 2;
    }
    // The first three groups are stored little-endian.
    std::reverse(g.begin(), g.begin() + 4);
    std::reverse(g.begin() + 4, g.begin() + 6);
    std::reverse(g.begin() + 6, g.begin() + 8);
    return g;
  }

  std::u16string utf16() const {
    auto text = utf16::utf8ToUtf16(literal_.text);
    if (!text) throw mismatch();
    return std::move(*text);
  }

  std::u16string text() const {
    std::u16string t = utf16();
    if (column_.type == ColumnType::Text && t.size() > column_.size) throw tooSmall();
    return t;
  }

  // Jet keeps a text stored in a binary column as its UTF-16LE bytes.
  std::vector<std::uint8_t> binary() const {
    std::vector<std::uint8_t> bytes;
    utf16::appendAsUtf16le(bytes, utf16());
    if (column_.type == ColumnType::Binary && bytes.size() > column_.size) throw tooSmall();
    return bytes;
  }

  // The tokenizer has checked that the digits come in pairs.
  std::vector<std::uint8_t> hexBytes() const {
    const std::string& hex = literal_.text;
    std::vector<std::uint8_t> bytes(hex.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i)
      std::from_chars(hex.data() + 2 * i, hex.data() + 2 * i + 2, bytes[i], 16);
    if (column_.type == ColumnType::Binary && bytes.size() > column_.size) throw tooSmall();
    return bytes;
  }

  const Literal& literal_;
  const NewColumn& column_;
};

}  // namespace

Value toColumnValue(const InputValue& literal, const NewColumn& column) {
  return Converter(literal, column).run();
}

std::vector<Value> toRowValues(const std::vector<InputValue>& literals,
                               const std::vector<NewColumn>& columns) {
  if (literals.size() != columns.size())
    throw Error(errc::kSyntaxError, "Number of query values and destination fields are not the same.");
  std::vector<Value> row;
  row.reserve(columns.size());
  for (std::size_t i = 0; i < columns.size(); ++i) row.push_back(toColumnValue(literals[i], columns[i]));
  return row;
}

}  // namespace jet::convert
