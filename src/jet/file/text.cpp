// UTF-16LE and compressed-unicode decoding for Jet4/ACE text.
#include "jet/file/text.h"

namespace jet {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Turns a stream of UTF-16 code units into UTF-8, pairing surrogates.
class Utf16Appender {
 public:
  explicit Utf16Appender(std::string& out) : out_(out) {}
  void unit(char16_t u) {
    if (pendingHigh_ != 0) {
      if (u >= 0xDC00 && u <= 0xDFFF) {
        appendUtf8(out_, 0x10000 + ((pendingHigh_ - 0xD800) << 10) + (u - 0xDC00));
        pendingHigh_ = 0;
        return;
      }
      appendUtf8(out_, kReplacement);
      pendingHigh_ = 0;
    }
    if (u >= 0xD800 && u <= 0xDBFF)
      pendingHigh_ = u;
    else if (u >= 0xDC00 && u <= 0xDFFF)
      appendUtf8(out_, kReplacement);
    else
      appendUtf8(out_, u);
  }
  void finish() {
    if (pendingHigh_ != 0) appendUtf8(out_, kReplacement);
    pendingHigh_ = 0;
  }

 private:
  std::string& out_;
  char16_t pendingHigh_ = 0;
};

void appendWide(std::span<const std::uint8_t> bytes, Utf16Appender& sink) {
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) sink.unit(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
  if (i < bytes.size()) sink.unit(static_cast<char16_t>(kReplacement));
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

void appendUtf16le(std::span<const std::uint8_t> bytes, std::string& out) {
  Utf16Appender sink(out);
  appendWide(bytes, sink);
  sink.finish();
}

void appendJet4Text(std::span<const std::uint8_t> bytes, std::string& out) {
  if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) {
    appendUtf16le(bytes, out);
    return;
  }
  Utf16Appender sink(out);
  bool narrow = true;
  std::size_t segment = 2;
  for (std::size_t i = 2; i <= bytes.size(); ++i) {
    if (i < bytes.size() && bytes[i] != 0) continue;
    const auto piece = bytes.subspan(segment, i - segment);
    if (narrow) {
      for (std::uint8_t b : piece) sink.unit(b);
    } else {
      appendWide(piece, sink);
    }
    narrow = !narrow;
    segment = i + 1;
  }
  sink.finish();
}

}  // namespace jet
