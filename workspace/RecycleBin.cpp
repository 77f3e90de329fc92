#include "workspace/RecycleBin.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

bool MoveToRecycleBin(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (!QFileInfo::exists(absolute))
        return false;
    // Without the data location (~/.local/share) Qt "trashes" below the current
    // folder and reports success with a relative path: make the location first
    // and take a relative result as the failure it is.
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty() || !QDir().mkpath(dataHome))
        return false;
    QString inTrash;
    if (!QFile::moveToTrash(absolute, &inTrash))
        return false;
    if (inTrash.isEmpty() || QFileInfo(inTrash).isRelative()) {
        if (!inTrash.isEmpty()) {
            // Put it back, and take away the trash folders made on the way.
            const QFileInfo moved(inTrash);
            if (!QFileInfo::exists(absolute))
                QDir().rename(moved.absoluteFilePath(), absolute);
            const QDir strayTrash = moved.absoluteDir();   // ".../files"
            QFile::remove(strayTrash.absoluteFilePath(QStringLiteral("../info/%1.trashinfo").arg(moved.fileName())));
            QDir().rmdir(strayTrash.absolutePath());
            QDir().rmdir(QDir::cleanPath(strayTrash.absoluteFilePath(QStringLiteral("../info"))));
        }
        return false;
    }
    return true;
}
