#include "app/SvgPicture.h"

#include <QPainter>
#include <QSvgRenderer>

QPixmap SvgPicture(const QString &path)
{
    QSvgRenderer renderer(path);
    if (!renderer.isValid() || renderer.defaultSize().isEmpty())
        return {};
    QPixmap pixmap(renderer.defaultSize());
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    return pixmap;
}
