#include "utf16/decode.h"

namespace utf16 {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isHighSurrogate(char16_t u) {
  return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(char16_t u) {
  return u >= 0xDC00 && u <= 0xDFFF;
}

}  // namespace

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

void Utf8Appender::unit(char16_t u) {
  if (pendingHigh_ != 0) {
    if (isLowSurrogate(u)) {
      appendUtf8(out_, 0x10000 + ((pendingHigh_ - 0xD800) << 10) + (u - 0xDC00));
      pendingHigh_ = 0;
      return;
    }
    appendUtf8(out_, kReplacement);
    pendingHigh_ = 0;
  }
  if (isHighSurrogate(u))
    pendingHigh_ = u;
  else if (isLowSurrogate(u))
    appendUtf8(out_, kReplacement);
  else
    appendUtf8(out_, u);
}

void Utf8Appender::littleEndian(std::span<const std::uint8_t> bytes) {
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) unit(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
  if (i < bytes.size()) unit(static_cast<char16_t>(kReplacement));
}

void Utf8Appender::finish() {
  if (pendingHigh_ != 0) appendUtf8(out_, kReplacement);
  pendingHigh_ = 0;
}

void appendUtf16le(std::span<const std::uint8_t> bytes, std::string& out) {
  Utf8Appender sink(out);
  sink.littleEndian(bytes);
  sink.finish();
}

}  // namespace utf16
