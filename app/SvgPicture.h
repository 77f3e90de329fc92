#pragma once
// A drawing shipped as SVG, rendered once at its own size on a transparent
// ground, smoothed.
#include <QPixmap>
#include <QString>

// Empty when the file is missing, unreadable or has no size.
QPixmap SvgPicture(const QString &path);
