#include "jet/file/text.h"

#include "utf16/decode.h"

namespace jet {

void appendJet4Text(std::span<const std::uint8_t> bytes, std::string& out) {
  if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) {
    utf16::appendUtf16le(bytes, out);
    return;
  }
  utf16::Utf8Appender sink(out);
  bool narrow = true;
  std::size_t segment = 2;
  for (std::size_t i = 2; i <= bytes.size(); ++i) {
    if (i < bytes.size() && bytes[i] != 0) continue;
    const auto piece = bytes.subspan(segment, i - segment);
    if (narrow) {
      for (std::uint8_t b : piece) sink.unit(b);
    } else {
      sink.littleEndian(piece);
    }
    narrow = !narrow;
    segment = i + 1;
  }
  sink.finish();
}

}  // namespace jet
