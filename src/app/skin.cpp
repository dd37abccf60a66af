#include "app/skin.h"

#include <QFile>
#include <QFileInfo>
#include <QWidget>
#include <stdexcept>

#include "app/form_look.h"

namespace app {

void ApplySkin(QWidget& form, const QString& programFolder) {
  const QString path = JoinPath(programFolder, {QStringLiteral("x"), QStringLiteral("o.cjs")});
  if (!QFileInfo(path).isFile()) return;
  SetFormColors(form);
  QFile skin(path);
  if (!skin.open(QIODevice::ReadOnly)) {
    throw std::runtime_error(
        QStringLiteral("Cannot read the skin %1: %2").arg(path, skin.errorString()).toStdString());
  }
  form.setStyleSheet(QString::fromUtf8(skin.readAll()));
}

}  // namespace app
