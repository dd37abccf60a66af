#include "app/cursor_file.h"

#include <QFile>
#include <QtEndian>
#include <cstdint>

namespace app {

namespace {
// ICONDIR (6 bytes) followed by 16-byte entries; in a cursor file the
// entry's planes and bit-count words hold the hotspot instead.
constexpr qsizetype kDirectorySize = 6;
constexpr qsizetype kEntrySize = 16;
constexpr std::uint16_t kCursorType = 2;

std::uint16_t word(const QByteArray& bytes, qsizetype at) {
  return qFromLittleEndian<std::uint16_t>(bytes.constData() + at);
}
}  // namespace

std::optional<CursorImage> ParseCursorFile(const QByteArray& bytes) {
  if (bytes.size() < kDirectorySize + kEntrySize) return std::nullopt;
  if (word(bytes, 0) != 0 || word(bytes, 2) != kCursorType || word(bytes, 4) == 0) {
    return std::nullopt;
  }
  const QPoint hotspot(word(bytes, kDirectorySize + 4), word(bytes, kDirectorySize + 6));
  CursorImage cursor{QImage::fromData(bytes, "CUR"), hotspot};
  if (cursor.image.isNull() || !cursor.image.rect().contains(hotspot)) return std::nullopt;
  return cursor;
}

std::optional<CursorImage> ReadCursorFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return ParseCursorFile(file.readAll());
}

}  // namespace app
