// Windows cursor files (.cur): an icon directory of type 2 whose entries
// keep the hotspot where an icon file keeps its plane and bit counts.
// Qt's image reader decodes the picture but drops the hotspot, so the
// directory is read here and only the picture is left to Qt.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QString>
#include <optional>

namespace app {

struct CursorImage {
  QImage image;
  QPoint hotspot;
};

// The first picture of the file with its hotspot; nothing when the bytes
// are not a cursor file, the picture cannot be decoded or the hotspot
// lies outside it.
std::optional<CursorImage> ParseCursorFile(const QByteArray& bytes);

// The same for a file on disk; nothing when it cannot be read.
std::optional<CursorImage> ReadCursorFile(const QString& path);

}  // namespace app
