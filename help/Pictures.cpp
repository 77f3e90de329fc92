#include "help/Pictures.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <array>

namespace {

const std::array<QString, 3> kFolders = {QStringLiteral(":/buttons/"), QStringLiteral(":/signals/"),
                                         QStringLiteral(":/legend/")};
const std::array<QString, 2> kExtensions = {QStringLiteral(".svg"), QStringLiteral(".png")};
const std::array<QString, 3> kOptionStates = {QStringLiteral("_Neutral"), QStringLiteral("_Correct"),
                                              QStringLiteral("_Wrong")};
constexpr int kOptionCount = 3;

// Plain names only: no path parts can reach other resources.
bool IsPlainName(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_]+$"));
    return plain.match(name).hasMatch();
}

QString ResourcePath(const QString &name)
{
    for (const QString &folder : kFolders) {
        for (const QString &extension : kExtensions) {
            const QString path = folder + name + extension;
            if (QFileInfo::exists(path))
                return path;
        }
    }
    return {};
}

}   // namespace

QPixmap PictureByName(const QString &name, qreal devicePixelRatio)
{
    if (!IsPlainName(name) || devicePixelRatio <= 0)
        return {};
    const QString path = ResourcePath(name);
    if (path.isEmpty())
        return {};
    if (path.endsWith(kExtensions[0]))
        return SvgPicture(path, devicePixelRatio);
    QPixmap pixmap(path);
    pixmap.setDevicePixelRatio(1.0);
    return pixmap;
}

QString OptionButtonPictureName(int option, TOptionPicture state)
{
    if (option < 1 || option > kOptionCount)
        return {};
    return QStringLiteral("Option") + QString::number(option) + kOptionStates[static_cast<size_t>(state)];
}

QString OptionButtonPictureName(int imageIndex)
{
    if (imageIndex < 0 || imageIndex >= kOptionCount * 3)
        return {};
    return OptionButtonPictureName(imageIndex / 3 + 1, static_cast<TOptionPicture>(imageIndex % 3));
}

QPixmap OptionButtonPicture(int imageIndex, qreal devicePixelRatio)
{
    const QString name = OptionButtonPictureName(imageIndex);
    return name.isEmpty() ? QPixmap() : PictureByName(name, devicePixelRatio);
}

QStringList PictureNames()
{
    QStringList names;
    for (const QString &folder : kFolders) {
        QDirIterator it(folder, QDir::Files);
        while (it.hasNext()) {
            const QFileInfo file(it.next());
            if (IsPlainName(file.completeBaseName()) && !names.contains(file.completeBaseName()))
                names.append(file.completeBaseName());
        }
    }
    names.sort();
    return names;
}
