#include "transfer/value_writer.h"

#include <algorithm>
#include <string_view>

namespace transfer {
namespace {

// The text of a value; a text value is used in place.
std::string_view textOf(const ado::Variant& value, std::string& scratch) {
  if (value.kind() == ado::Variant::Kind::Text) return value.as<std::string>();
  scratch = value.textForm();
  return scratch;
}

// Copies a stretch at a time, each quote (and backslash, when asked)
// ending a stretch and written twice.
void appendEscaped(std::string& out, std::string_view text, bool doubleBackslashes) {
  const auto next = [&](std::size_t start) {
    return doubleBackslashes ? text.find_first_of("'\\", start) : text.find('\'', start);
  };
  std::size_t from = 0;
  for (std::size_t at = next(0); at != std::string_view::npos; at = next(at + 1)) {
    out.append(text, from, at + 1 - from);
    out.push_back(text[at]);
    from = at + 1;
  }
  out.append(text, from);
}

void appendHex(std::string& out, const ado::Bytes& bytes) {
  constexpr char kHex[] = "0123456789abcdef";
  out += "0x";
  for (const std::uint8_t b : bytes) {
    out.push_back(kHex[b >> 4]);
    out.push_back(kHex[b & 0xF]);
  }
}

void appendTowardOdbc(std::string& out, ValueForm form, const ado::Variant& value, std::string_view text,
                      bool doubleBackslashes) {
  if (text.empty()) {
    out += "NULL, ";
  } else if (form == ValueForm::kNumber) {
    out += text;
    out += ", ";
  } else if (form == ValueForm::kBit && value.kind() == ado::Variant::Kind::Boolean) {
    out += value.as<bool>() ? "'1', " : "'0', ";
  } else {
    out.push_back('\'');
    appendEscaped(out, text, doubleBackslashes);
    out += "', ";
  }
}

void appendTowardAccess(std::string& out, ValueForm form, const ado::Variant& value, std::string_view text) {
  if (form == ValueForm::kBytes && value.kind() == ado::Variant::Kind::Bytes) {
    out.pop_back();  // the pending opening quote
    appendHex(out, value.as<ado::Bytes>());
    out += ", '";
  } else if (text.empty()) {
    out.pop_back();
    out += "NULL, '";
  } else {
    appendEscaped(out, text, false);
    out += "', '";
  }
}

}  // namespace

void AppendValue(std::string& statement, ValueWriting writing, ValueForm form, const ado::Variant& value,
                 bool doubleBackslashes) {
  std::string scratch;
  const std::string_view text = textOf(value, scratch);
  if (writing == ValueWriting::kNumbersBare)
    appendTowardOdbc(statement, form, value, text, doubleBackslashes);
  else
    appendTowardAccess(statement, form, value, text);
}

void CutEnd(std::string& statement, int count) {
  statement.resize(statement.size() - std::min(statement.size(), static_cast<std::size_t>(count)));
}

}  // namespace transfer
