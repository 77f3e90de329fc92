#include "app/Skins.h"
#include "base/FileErrors.h"

#include "widgets/SvgPicture.h"

#include "base/Random.h"
#include "base/TError.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QRegularExpression>

namespace {
const QString kSkinTablePath = QStringLiteral(":/skins/skins.json");
const QString kSkinPictureFolder = QStringLiteral(":/skins/");
const QString kSkinPictureExtension = QStringLiteral(".svg");
constexpr int kMaxSaturation = 255;
constexpr int kShiftScale = 100;
constexpr int kFullTurn = 360;

QColor ColourField(const QJsonObject &o, const QString &key, const QString &path, const QString &skin)
{
    const QColor c = QColor::fromString(o.value(key).toString());
    if (!c.isValid())
        RaiseFileError(path, 0, QStringLiteral("スキン %1 の色 %2 が読めません。").arg(skin, key));
    return c;
}

QString TextField(const QJsonObject &o, const QString &key, const QString &path, const QString &skin)
{
    const QString text = o.value(key).toString();
    if (text.isEmpty())
        RaiseFileError(path, 0, QStringLiteral("スキン %1 の %2 がありません。").arg(skin, key));
    return text;
}

TSkin ReadSkin(const QJsonObject &o, const QString &path)
{
    TSkin s;
    s.name = TextField(o, QStringLiteral("name"), path, QStringLiteral("?"));
    s.caption = TextField(o, QStringLiteral("caption"), path, s.name);
    s.component = TextField(o, QStringLiteral("component"), path, s.name);
    s.toolkit = TextField(o, QStringLiteral("toolkit"), path, s.name);
    s.pictureSuffix = TextField(o, QStringLiteral("suffix"), path, s.name);
    s.backPicture = TextField(o, QStringLiteral("back"), path, s.name);
    s.text = ColourField(o, QStringLiteral("text"), path, s.name);
    s.glimpse = ColourField(o, QStringLiteral("glimpse"), path, s.name);
    s.window = ColourField(o, QStringLiteral("window"), path, s.name);
    s.panel = ColourField(o, QStringLiteral("panel"), path, s.name);
    s.button = ColourField(o, QStringLiteral("button"), path, s.name);
    s.base = ColourField(o, QStringLiteral("base"), path, s.name);
    s.highlight = ColourField(o, QStringLiteral("highlight"), path, s.name);
    s.windowText = ColourField(o, QStringLiteral("windowText"), path, s.name);
    s.menuBar = ColourField(o, QStringLiteral("menuBar"), path, s.name);
    s.menuText = ColourField(o, QStringLiteral("menuText"), path, s.name);
    const QJsonObject font = o.value(QStringLiteral("font")).toObject();
    s.font.family = TextField(font, QStringLiteral("family"), path, s.name);
    s.font.pixelSize = font.value(QStringLiteral("pixelSize")).toInt(s.font.pixelSize);
    s.font.bold = font.value(QStringLiteral("bold")).toBool(false);
    return s;
}

QString Css(const QColor &c)
{
    return c.name(QColor::HexRgb);
}

// Plain names only: no path parts reach other resources.
bool IsPlainName(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_]+$"));
    return plain.match(name).hasMatch();
}
}   // namespace

QPixmap SkinPicture(const QString &name)
{
    if (!IsPlainName(name))
        return {};
    return SvgPicture(kSkinPictureFolder + name + kSkinPictureExtension);
}

QList<TSkin> ReadSkinTable(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        RaiseFileError(path, 0, QStringLiteral("スキンの一覧が開けません: %1").arg(FileErrorText(f)));
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &error);
    if (doc.isNull())
        RaiseFileError(path, 0, QStringLiteral("スキンの一覧が読めません: %1").arg(error.errorString()));
    QList<TSkin> skins;
    const QJsonArray entries = doc.object().value(QStringLiteral("skins")).toArray();
    for (const QJsonValue &entry : entries)
        skins.append(ReadSkin(entry.toObject(), path));
    if (skins.size() != kSkinCount)
        RaiseFileError(path, 0, QStringLiteral("スキンが %1 個ではなく %2 個あります。").arg(kSkinCount).arg(skins.size()));
    return skins;
}

const QList<TSkin> &SkinTable()
{
    static const QList<TSkin> table = ReadSkinTable(kSkinTablePath);
    return table;
}

const TSkin *FindSkin(const QString &name)
{
    for (const TSkin &skin : SkinTable())
        if (skin.name == name)
            return &skin;
    return nullptr;
}

TColourShift DrawRandomColourShift(TRandom &random)
{
    struct TDraw {
        int oneIn;
        TColourShift shift;
    };
    static constexpr TDraw kDraws[] = {{4, {0, 0}}, {2, {140, 100}}, {4, {5, 100}}, {4, {98, -27}}, {4, {323, 60}}};
    for (const TDraw &d : kDraws)
        if (random.Below(d.oneIn) == 0)
            return d.shift;
    return {-30, 0};
}

QColor ShiftColour(const QColor &colour, TColourShift shift)
{
    if (shift.IsNone())
        return colour;
    int h = 0, s = 0, v = 0, a = 0;
    colour.getHsv(&h, &s, &v, &a);
    if (h < 0)
        h = 0;   // a grey: it takes the turned hue once it has any saturation
    h = ((h + shift.hue) % kFullTurn + kFullTurn) % kFullTurn;
    // A rise adds the share of the saturation still missing, a fall takes
    // the share that is there, so greys warm up and colours never overflow.
    if (shift.saturation >= 0)
        s += (kMaxSaturation - s) * shift.saturation / kShiftScale / 2;
    else
        s += s * shift.saturation / kShiftScale;
    return QColor::fromHsv(h, qBound(0, s, kMaxSaturation), v, a);
}

QPalette SkinPalette(const TSkin &skin, TColourShift shift, const QPalette &from)
{
    QPalette p = from;
    const auto set = [&p, shift](QPalette::ColorRole role, const QColor &c) {
        p.setColor(QPalette::All, role, ShiftColour(c, shift));
    };
    set(QPalette::Window, skin.window);
    set(QPalette::Button, skin.button);
    set(QPalette::Base, skin.base);
    set(QPalette::AlternateBase, skin.panel);
    set(QPalette::Highlight, skin.highlight);
    set(QPalette::WindowText, skin.windowText);
    set(QPalette::ButtonText, skin.windowText);
    set(QPalette::Text, skin.windowText);
    set(QPalette::Light, skin.panel.lighter(115));
    set(QPalette::Midlight, skin.panel);
    set(QPalette::Mid, skin.window.darker(125));
    set(QPalette::Dark, skin.window.darker(160));
    set(QPalette::Shadow, skin.windowText);
    p.setColor(QPalette::HighlightedText, Qt::white);
    return p;
}

QPixmap SkinBackground(const TSkin &skin, TColourShift shift, const QSize &size)
{
    const QPixmap tile = SkinPicture(skin.backPicture);
    if (tile.isNull() || size.isEmpty())
        return {};
    QImage image(size, QImage::Format_RGB32);
    {
        QPainter p(&image);
        p.fillRect(image.rect(), skin.window);
        p.drawTiledPixmap(image.rect(), tile);
    }
    if (!shift.IsNone()) {
        // The picture turns with the colours: every distinct colour once.
        QHash<QRgb, QRgb> turned;
        for (int y = 0; y < image.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                auto it = turned.constFind(line[x]);
                if (it == turned.cend())
                    it = turned.insert(line[x], ShiftColour(QColor::fromRgb(line[x]), shift).rgb());
                line[x] = *it;
            }
        }
    }
    return QPixmap::fromImage(image);
}

QString SkinMenuStyle(const TSkin &skin, TColourShift shift)
{
    const QColor bar = ShiftColour(skin.menuBar, shift);
    const QColor text = ShiftColour(skin.menuText, shift);
    const QColor menu = ShiftColour(skin.base, shift);
    const QColor menuText = ShiftColour(skin.windowText, shift);
    const QColor selected = ShiftColour(skin.highlight, shift);
    const QString weight = skin.font.bold ? QStringLiteral("bold") : QStringLiteral("normal");
    return QStringLiteral(
               "QMenuBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %2);"
               " color: %3; font-family: \"%4\"; font-size: %5px; font-weight: %6; }"
               "QMenuBar::item { background: transparent; padding: 1px 10px; }"
               "QMenuBar::item:selected { background: %7; color: white; }"
               "QMenu { background: %8; color: %9; border: 1px solid %2; font-family: \"%4\"; font-size: %5px; }"
               "QMenu::item { padding: 4px 24px 4px 24px; }"
               "QMenu::item:selected { background: %7; color: white; }"
               "QMenu::separator { height: 1px; background: %2; margin: 4px 8px; }")
        .arg(Css(bar.lighter(112)), Css(bar.darker(108)), Css(text), skin.font.family)
        .arg(skin.font.pixelSize)
        .arg(weight, Css(selected), Css(menu), Css(menuText));
}
