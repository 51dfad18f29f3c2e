#include "app/Pictures.h"

namespace skribo {

QImage Picture(const QString& name) {
  return QImage(QStringLiteral(":/pictures/") + name + QStringLiteral(".png"));
}

QIcon ApplicationIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/pictures/icon-%1.png").arg(size), QSize(size, size));
  return icon;
}

}  // namespace skribo
