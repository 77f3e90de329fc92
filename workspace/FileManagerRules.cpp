#include "workspace/FileManagerRules.h"

#include "base/TextFiles.h"

#include <QDir>
#include <QRegularExpression>
#include <algorithm>

int OrderOf(const TDBF &row)
{
    bool ok = false;
    const int order = row.Order.trimmed().toInt(&ok);
    return ok ? order : 0;
}

int ChangeFileOrder(TCatalog &catalog, int slot, int value)
{
    TDBF &edited = catalog.rows[static_cast<size_t>(slot)];
    const int previous = OrderOf(edited);
    int largestOther = 0;
    for (int s = 1; s <= kSlotCount; ++s)
        if (s != slot)
            largestOther = std::max(largestOther, OrderOf(catalog.rows[static_cast<size_t>(s)]));
    value = std::clamp(value, kLowestOrder, std::min(kHighestOrder, largestOther + 1));
    if (value == previous)
        return value;
    for (int s = 1; s <= kSlotCount; ++s) {
        TDBF &other = catalog.rows[static_cast<size_t>(s)];
        if (s != slot && OrderOf(other) == value) {
            other.Order = QString::number(previous);
            break;
        }
    }
    edited.Order = QString::number(value);
    return value;
}

bool AnyOtherFileOn(const TCatalog &catalog, int slot)
{
    for (int s = 1; s <= kSlotCount; ++s)
        if (s != slot && catalog.rows[static_cast<size_t>(s)].OnOff)
            return true;
    return false;
}

QString CleanUserFileTitle(const QString &typed)
{
    static const QRegularExpression lineBreaks(QStringLiteral("[\\r\\n\\x{2028}\\x{2029}]+"));
    return QString(typed).replace(lineBreaks, QStringLiteral(" ")).trimmed();
}

void SaveUserFileTitles(const TCatalog &catalog, const QString &userFolder)
{
    QStringList titles;
    for (int n = 1; n <= kUserFileCount; ++n)
        titles.append(catalog.rows[static_cast<size_t>(kLastBuiltInSlot + n)].Title);
    QDir().mkpath(userFolder + QStringLiteral("word_user"));
    WriteStateLines(userFolder + kUserTitlesFile, titles);
}
