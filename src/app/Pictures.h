// The pictures of the windows and the application icon, compiled into the program.
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace skribo {

// A picture by its file name without ".png"; a missing one is an empty image.
QImage Picture(const QString& name);
QIcon ApplicationIcon();

}  // namespace skribo
