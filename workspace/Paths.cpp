#include "workspace/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

QString WithSeparator(QString folder)
{
    if (!folder.isEmpty() && !folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

QString ResolvePathIgnoringCase(const QString &base, const QString &relative)
{
    QString current = base;
    const QStringList parts = relative.split(u'/');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &part = parts.at(i);
        QString next = current + part;
        if (!QFileInfo::exists(next)) {
            const QStringList entries = QDir(current.isEmpty() ? QStringLiteral(".") : current)
                                            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            for (const QString &entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    next = current + entry;
                    break;
                }
            }
        }
        current = next;
        if (i + 1 < parts.size())
            current += u'/';
    }
    return current;
}
