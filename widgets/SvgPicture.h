#pragma once
// A drawing shipped as SVG (a file or a resource path), rendered once at its
// own size on a transparent ground, smoothed. With a device-pixel ratio above
// 1 it is drawn with that many more pixels and keeps its size on the screen.
#include <QPixmap>
#include <QString>

// A null pixmap when the file is missing, unreadable or has no size.
QPixmap SvgPicture(const QString &path, qreal devicePixelRatio = 1.0);
