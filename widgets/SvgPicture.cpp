#include "widgets/SvgPicture.h"

#include <QPainter>
#include <QSvgRenderer>

QPixmap SvgPicture(const QString &path, qreal devicePixelRatio)
{
    QSvgRenderer renderer(path);
    if (!renderer.isValid() || renderer.defaultSize().isEmpty() || devicePixelRatio <= 0)
        return {};
    QPixmap pixmap(renderer.defaultSize() * devicePixelRatio);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        renderer.render(&painter);
    }
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}
