// Draws the weekly gallery's 52 landscape pictures: procedural skies, hills,
// mountains, sea and towns in the sizes of the picture table, each after the
// kind of place its caption names, written as JPEG files named 01.jpg .. 52.jpg.
//
//   make-gallery-art <folder>            writes the pictures
//   make-gallery-art --check <folder>    the folder holds the pictures this tool
//                                        draws: each decodes as a JPEG of the
//                                        table's size and matches a fresh
//                                        drawing within the JPEG's loss
//
// Every picture comes from a seed of its own, so the drawing is the same on
// every run.
#include "help/GalleryTable.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int kJpegQuality = 86;
// Mean difference per channel a JPEG may keep from its drawing.
constexpr double kCheckTolerance = 6.0;

// A small generator of our own, the same on every platform.
class TDraws {
public:
    explicit TDraws(quint32 seed) : m_state(seed * 2654435761u + 12345u) {}
    double Unit()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return (m_state % 1000003u) / 1000003.0;
    }
    double Between(double lo, double hi) { return lo + (hi - lo) * Unit(); }
    int Below(int n) { return std::min(n - 1, static_cast<int>(Unit() * n)); }

private:
    quint32 m_state;
};

enum class TScene { Sea, Town, Rural, Mountains, Desert };

struct TEntry {
    int width = 0;
    int height = 0;
    QString caption;
};

TEntry Entry(int week)
{
    const QString text = QString::fromLatin1(kGalleryTable[static_cast<size_t>(week - 1)]);
    const int dash = text.indexOf(u'-');
    const int space = text.indexOf(u' ');
    return {text.left(dash).toInt(), text.mid(dash + 1, space - dash - 1).toInt(), text.mid(space + 1)};
}

bool Has(const QString &caption, const char *word)
{
    return caption.contains(QLatin1String(word), Qt::CaseInsensitive);
}

TScene SceneOf(const QString &c)
{
    if (Has(c, "Alps") || Has(c, "needles") || Has(c, "Bohemia") || Has(c, "medieval"))
        return TScene::Mountains;
    if (Has(c, "Capadoccia") || Has(c, "Benin") || Has(c, "Aleppo"))
        return TScene::Desert;
    if (Has(c, "sea") || Has(c, "mediterranean") || Has(c, "Copacabana") || Has(c, "Baracoa") || Has(c, "Langada"))
        return TScene::Sea;
    if (Has(c, "rural") || Has(c, "Normandy") || Has(c, "Bourgogne"))
        return TScene::Rural;
    return TScene::Town;
}

// The light of the picture: zenith, horizon, sun and the haze over far land.
struct TLight {
    QColor zenith;
    QColor horizon;
    QColor sun;
    double sunHeight;   // 0 at the horizon, 1 at the top
};

TLight LightOf(TDraws &d, const QString &caption)
{
    static const TLight lights[] = {
        {QColor(0x3B, 0x7B, 0xC8), QColor(0xCF, 0xE4, 0xF2), QColor(0xFF, 0xF8, 0xE0), 0.75},   // noon
        {QColor(0x5A, 0x8F, 0xD0), QColor(0xF3, 0xE1, 0xC4), QColor(0xFF, 0xF0, 0xC8), 0.45},   // morning
        {QColor(0x2E, 0x4A, 0x8C), QColor(0xF5, 0xA8, 0x6A), QColor(0xFF, 0xD0, 0x80), 0.18},   // evening
        {QColor(0x6E, 0x8C, 0xB0), QColor(0xE2, 0xE8, 0xEE), QColor(0xFF, 0xFF, 0xF4), 0.6},    // northern haze
        {QColor(0x1E, 0x5C, 0xB8), QColor(0xBF, 0xDD, 0xF5), QColor(0xFF, 0xFF, 0xF0), 0.8},    // clear south
    };
    // Northern places get their pale light more often.
    if (Has(caption, "Finland") || Has(caption, "Denmark") || Has(caption, "Sweden"))
        return lights[d.Below(2) == 0 ? 3 : d.Below(3)];
    if (Has(caption, "Greece") || Has(caption, "Cuba") || Has(caption, "Bolivia"))
        return lights[d.Below(2) == 0 ? 4 : d.Below(3)];
    return lights[d.Below(5)];
}

QColor Mix(const QColor &a, const QColor &b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

// A ridge line by midpoint displacement across the width.
std::vector<double> Ridge(TDraws &d, int points, double base, double roughness, double height)
{
    std::vector<double> y(static_cast<size_t>(points), base);
    int step = points - 1;
    y.front() = base + d.Between(-height, height);
    y.back() = base + d.Between(-height, height);
    double amplitude = height;
    while (step > 1) {
        for (int i = 0; i + step < points; i += step) {
            const int mid = i + step / 2;
            y[static_cast<size_t>(mid)] =
                (y[static_cast<size_t>(i)] + y[static_cast<size_t>(i + step)]) / 2 + d.Between(-amplitude, amplitude);
        }
        amplitude *= roughness;
        step /= 2;
    }
    return y;
}

void FillRidge(QPainter &p, const std::vector<double> &ridge, int width, int bottom, const QBrush &brush)
{
    QPainterPath path;
    const double dx = double(width) / (ridge.size() - 1);
    path.moveTo(0, bottom);
    for (size_t i = 0; i < ridge.size(); ++i)
        path.lineTo(i * dx, ridge[i]);
    path.lineTo(width, bottom);
    path.closeSubpath();
    p.fillPath(path, brush);
}

void DrawSky(QPainter &p, TDraws &d, const TLight &light, int w, int horizon)
{
    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0, light.zenith);
    sky.setColorAt(1, light.horizon);
    p.fillRect(0, 0, w, horizon + 2, sky);
    // The sun and its glow.
    const QPointF sun(d.Between(0.15, 0.85) * w, horizon * (1 - light.sunHeight * 0.85));
    QRadialGradient glow(sun, w * 0.35);
    QColor g = light.sun;
    g.setAlphaF(0.55f);
    glow.setColorAt(0, g);
    g.setAlphaF(0);
    glow.setColorAt(1, g);
    p.fillRect(0, 0, w, horizon + 2, glow);
    p.setPen(Qt::NoPen);
    p.setBrush(light.sun);
    p.drawEllipse(sun, w * 0.028, w * 0.028);
    // Clouds: soft clusters of ellipses.
    const int clouds = 3 + d.Below(6);
    for (int c = 0; c < clouds; ++c) {
        const double cx = d.Between(-0.1, 1.1) * w;
        const double cy = d.Between(0.08, 0.6) * horizon;
        const double size = d.Between(0.04, 0.11) * w;
        QColor white = Mix(Qt::white, light.horizon, 0.25);
        white.setAlphaF(static_cast<float>(d.Between(0.35, 0.7)));
        p.setBrush(white);
        for (int k = 0; k < 6; ++k)
            p.drawEllipse(QPointF(cx + d.Between(-1.6, 1.6) * size, cy + d.Between(-0.3, 0.3) * size),
                          size * d.Between(0.6, 1.2), size * d.Between(0.25, 0.45));
    }
}

void DrawSea(QPainter &p, TDraws &d, const TLight &light, int w, int h, int horizon)
{
    const QColor deep = Mix(QColor(0x0E, 0x4C, 0x7E), light.zenith, 0.3);
    QLinearGradient sea(0, horizon, 0, h);
    sea.setColorAt(0, Mix(deep, light.horizon, 0.5));
    sea.setColorAt(1, deep.darker(130));
    p.fillRect(0, horizon, w, h - horizon, sea);
    // Waves: short light strokes, denser far away.
    for (int i = 0; i < 420; ++i) {
        const double t = d.Unit();
        const double y = horizon + (h - horizon) * t * t;
        const double x = d.Between(0, w);
        const double len = 4 + 40 * t;
        QColor c = Mix(light.horizon, Qt::white, 0.4);
        c.setAlphaF(static_cast<float>(0.15 + 0.35 * d.Unit()));
        p.setPen(QPen(c, 1 + 2 * t));
        p.drawLine(QPointF(x, y), QPointF(x + len, y));
    }
    p.setPen(Qt::NoPen);
}

void DrawTrees(QPainter &p, TDraws &d, int w, double top, double bottom, const QColor &leaf, int count)
{
    for (int i = 0; i < count; ++i) {
        const double y = d.Between(top, bottom);
        const double x = d.Between(0, w);
        const double s = 3 + 16 * (y - top) / std::max(1.0, bottom - top);
        p.setBrush(QColor(0x4A, 0x36, 0x24));
        p.drawRect(QRectF(x - s * 0.08, y - s * 0.2, s * 0.16, s * 0.6));
        p.setBrush(Mix(leaf, Qt::black, d.Between(0, 0.35)));
        if (d.Below(3) == 0)
            p.drawPolygon(QPolygonF({QPointF(x, y - s * 1.8), QPointF(x - s * 0.55, y), QPointF(x + s * 0.55, y)}));
        else
            p.drawEllipse(QPointF(x, y - s * 0.6), s * 0.6, s * 0.7);
    }
}

void DrawFields(QPainter &p, TDraws &d, const TLight &light, int w, int h, int horizon)
{
    const QColor haze = light.horizon;
    // Far hills to near ones, greener and darker as they come closer.
    const int layers = 4;
    for (int k = 0; k < layers; ++k) {
        const double base = horizon + (h - horizon) * (0.05 + 0.22 * k);
        const std::vector<double> ridge = Ridge(d, 65, base, 0.55, (h - horizon) * 0.09);
        const QColor green = Mix(QColor(0x6E, 0x9A, 0x3C), QColor(0xB8, 0xA8, 0x48), d.Unit() * 0.6);
        const QColor c = Mix(haze, green.darker(100 + 12 * k), 0.35 + 0.2 * k);
        FillRidge(p, ridge, w, h, c);
        // Field stripes on the nearer hills.
        if (k >= 1) {
            QColor stripe = c.lighter(112);
            stripe.setAlphaF(0.5f);
            p.setPen(QPen(stripe, 1 + k));
            for (int s = 0; s < 6 + k * 3; ++s) {
                const double y = base + 6 + s * (4 + 3 * k);
                if (y < h)
                    p.drawLine(QPointF(0, y + d.Between(-3, 3)), QPointF(w, y + d.Between(-6, 6)));
            }
            p.setPen(Qt::NoPen);
        }
        DrawTrees(p, d, w, base - 4, base + (h - horizon) * 0.1, QColor(0x3E, 0x6B, 0x2A), 6 + 6 * k);
    }
    // A farmhouse.
    const double fx = d.Between(0.1, 0.8) * w;
    const double fy = horizon + (h - horizon) * 0.4;
    const double fs = w * 0.05;
    p.setBrush(QColor(0xF2, 0xEC, 0xDC));
    p.drawRect(QRectF(fx, fy - fs * 0.6, fs * 1.6, fs * 0.6));
    p.setBrush(QColor(0xA4, 0x3E, 0x2C));
    p.drawPolygon(QPolygonF({QPointF(fx - fs * 0.1, fy - fs * 0.6), QPointF(fx + fs * 0.8, fy - fs * 1.1),
                             QPointF(fx + fs * 1.7, fy - fs * 0.6)}));
}

void DrawMountains(QPainter &p, TDraws &d, const TLight &light, int w, int h, int horizon)
{
    // Snowy peaks behind, then wooded slopes.
    const std::vector<double> peaks = Ridge(d, 33, horizon - (h * 0.18), 0.62, h * 0.14);
    QLinearGradient rock(0, horizon - h * 0.35, 0, horizon);
    rock.setColorAt(0, Mix(QColor(0x8A, 0x90, 0xA0), light.horizon, 0.3));
    rock.setColorAt(1, Mix(QColor(0x5C, 0x64, 0x70), light.horizon, 0.5));
    FillRidge(p, peaks, w, horizon + 2, rock);
    // Snow on the tops.
    QPainterPath snow;
    const double dx = double(w) / (peaks.size() - 1);
    for (size_t i = 1; i + 1 < peaks.size(); ++i) {
        if (peaks[i] < peaks[i - 1] && peaks[i] < peaks[i + 1]) {
            const QPointF top(i * dx, peaks[i]);
            snow.moveTo(top);
            snow.lineTo(top + QPointF(-dx * 1.3, h * 0.05));
            snow.lineTo(top + QPointF(0, h * 0.035));
            snow.lineTo(top + QPointF(dx * 1.3, h * 0.05));
            snow.closeSubpath();
        }
    }
    p.fillPath(snow, QColor(0xF4, 0xF6, 0xFA));
    for (int k = 0; k < 3; ++k) {
        const double base = horizon + (h - horizon) * (0.02 + 0.3 * k);
        const std::vector<double> ridge = Ridge(d, 65, base, 0.6, (h - horizon) * 0.12);
        FillRidge(p, ridge, w, h, Mix(light.horizon, QColor(0x2F, 0x55, 0x2A).darker(100 + 15 * k), 0.45 + 0.2 * k));
        DrawTrees(p, d, w, base, base + (h - horizon) * 0.15, QColor(0x24, 0x4A, 0x22), 10 + 10 * k);
    }
}

void DrawDesert(QPainter &p, TDraws &d, const TLight &light, int w, int h, int horizon)
{
    // Soft stone and sand: rounded cones and dunes in warm ochres.
    for (int k = 0; k < 3; ++k) {
        const double base = horizon + (h - horizon) * (0.02 + 0.3 * k);
        const std::vector<double> ridge = Ridge(d, 33, base, 0.5, (h - horizon) * 0.1);
        FillRidge(p, ridge, w, h, Mix(light.horizon, QColor(0xC8, 0x8E, 0x54).darker(100 + 10 * k), 0.5 + 0.2 * k));
    }
    const int cones = 3 + d.Below(5);
    for (int i = 0; i < cones; ++i) {
        const double x = d.Between(0, w);
        const double base = horizon + (h - horizon) * d.Between(0.1, 0.5);
        const double s = w * d.Between(0.04, 0.09);
        QLinearGradient g(x - s, 0, x + s, 0);
        g.setColorAt(0, QColor(0xE8, 0xC8, 0x9C));
        g.setColorAt(1, QColor(0xA8, 0x78, 0x4C));
        QPainterPath cone;
        cone.moveTo(x - s, base);
        cone.quadTo(x - s * 0.2, base - s * 2.6, x, base - s * 2.4);
        cone.quadTo(x + s * 0.2, base - s * 2.6, x + s, base);
        cone.closeSubpath();
        p.fillPath(cone, g);
        p.setBrush(QColor(0x4A, 0x32, 0x22));
        p.drawEllipse(QPointF(x, base - s * 1.2), s * 0.12, s * 0.18);
    }
}

struct TTownColours {
    std::vector<QColor> walls;
    QColor roof;
    bool domes;
};

TTownColours TownColoursOf(const QString &c)
{
    if (Has(c, "Greece"))
        return {{QColor(0xFA, 0xFA, 0xF6), QColor(0xF2, 0xF0, 0xEA)}, QColor(0x2A, 0x5C, 0xB0), true};
    if (Has(c, "Copenhagen") || Has(c, "Stockholm") || Has(c, "Helsinki") || Has(c, "Turku"))
        return {{QColor(0xE8, 0xB8, 0x3C), QColor(0xC8, 0x4C, 0x34), QColor(0x3E, 0x7C, 0x9C), QColor(0xE6, 0x8A, 0x5C),
                 QColor(0xF0, 0xE2, 0xC0)},
                QColor(0x5C, 0x3A, 0x30), false};
    if (Has(c, "Cuba") || Has(c, "Trinidad") || Has(c, "Santa Clara"))
        return {{QColor(0x7C, 0xC8, 0xC0), QColor(0xF2, 0xC8, 0x6C), QColor(0xE8, 0x94, 0xA8), QColor(0xB8, 0xD8, 0x74)},
                QColor(0xB0, 0x5A, 0x3A), false};
    if (Has(c, "Prag") || Has(c, "Granada") || Has(c, "Aleppo"))
        return {{QColor(0xE4, 0xD2, 0xB0), QColor(0xD8, 0xB8, 0x90), QColor(0xC8, 0xA8, 0x84)}, QColor(0xA8, 0x48, 0x30), true};
    return {{QColor(0xD8, 0xA8, 0x78), QColor(0xE8, 0xD4, 0xB4), QColor(0xC0, 0x84, 0x5C), QColor(0xF0, 0xE8, 0xD8)},
            QColor(0xA0, 0x50, 0x34), Has(c, "architecture") };
}

void DrawTown(QPainter &p, TDraws &d, const TLight &light, const QString &caption, int w, int h, int horizon, bool bySea)
{
    const TTownColours colours = TownColoursOf(caption);
    // Rows of houses from the back to the front.
    for (int row = 0; row < 3; ++row) {
        const double ground = horizon + (h - horizon) * (bySea ? 0.02 + 0.12 * row : 0.12 + 0.3 * row);
        const double scale = (bySea ? 0.5 : 0.8) + 0.45 * row;
        double x = -d.Between(0, 30);
        while (x < w) {
            const double bw = (40 + d.Between(0, 50)) * scale;
            const double bh = (50 + d.Between(0, 90)) * scale;
            const QColor wall = Mix(colours.walls[static_cast<size_t>(d.Below(static_cast<int>(colours.walls.size())))],
                                    light.horizon, 0.35 - 0.15 * row);
            p.setBrush(wall);
            p.drawRect(QRectF(x, ground - bh, bw, bh));
            p.setBrush(wall.darker(118));
            p.drawRect(QRectF(x + bw - bw * 0.12, ground - bh, bw * 0.12, bh));
            // Roof: pitched, flat or a dome.
            const int roof = d.Below(colours.domes ? 4 : 3);
            p.setBrush(Mix(colours.roof, light.horizon, 0.3 - 0.1 * row));
            if (roof == 0 || roof == 1)
                p.drawPolygon(QPolygonF({QPointF(x - 2, ground - bh), QPointF(x + bw / 2, ground - bh - bw * 0.45),
                                         QPointF(x + bw + 2, ground - bh)}));
            else if (roof == 3)
                p.drawChord(QRectF(x + bw * 0.15, ground - bh - bw * 0.35, bw * 0.7, bw * 0.7), 0, 180 * 16);
            // Windows.
            p.setBrush(Mix(QColor(0x2A, 0x30, 0x3C), wall, 0.25));
            const double ww = 6 * scale;
            for (double wy = ground - bh + 10 * scale; wy < ground - 14 * scale; wy += 18 * scale)
                for (double wx = x + 7 * scale; wx < x + bw - 12 * scale; wx += 15 * scale)
                    p.drawRect(QRectF(wx, wy, ww, ww * 1.4));
            x += bw + d.Between(-4, 8) * scale;
        }
        // A tower or a church now and then.
        if (d.Below(2) == 0) {
            const double tx = d.Between(0.1, 0.9) * w;
            const double th = (150 + d.Between(0, 80)) * scale;
            const double tw = 26 * scale;
            p.setBrush(Mix(colours.walls.front(), light.horizon, 0.3));
            p.drawRect(QRectF(tx, ground - th, tw, th));
            p.setBrush(colours.domes ? colours.roof : QColor(0x4C, 0x7A, 0x6A));
            if (colours.domes)
                p.drawChord(QRectF(tx - tw * 0.2, ground - th - tw * 0.7, tw * 1.4, tw * 1.4), 0, 180 * 16);
            else
                p.drawPolygon(QPolygonF({QPointF(tx - 3, ground - th), QPointF(tx + tw / 2, ground - th - tw * 2.5),
                                         QPointF(tx + tw + 3, ground - th)}));
        }
    }
}

QImage Draw(int week)
{
    const TEntry e = Entry(week);
    TDraws d(static_cast<quint32>(week) * 7919u);
    QImage image(e.width, e.height, QImage::Format_RGB32);
    // Every pixel starts known: an edge the shapes leave half-covered must not
    // show what the memory held before.
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const TLight light = LightOf(d, e.caption);
    const TScene scene = SceneOf(e.caption);
    const int w = e.width;
    const int h = e.height;
    const int horizon = static_cast<int>(h * (scene == TScene::Sea ? d.Between(0.42, 0.55) : d.Between(0.45, 0.62)));
    DrawSky(p, d, light, w, horizon);
    switch (scene) {
    case TScene::Sea: {
        DrawSea(p, d, light, w, h, horizon);
        // A coast with a town or green hills on one side.
        const bool left = d.Below(2) == 0;
        const double reach = d.Between(0.3, 0.55) * w;
        std::vector<double> ridge = Ridge(d, 33, horizon - h * 0.04, 0.55, h * 0.05);
        QPainterPath coast;
        const double dx = reach / (ridge.size() - 1);
        const double x0 = left ? 0 : w - reach;
        coast.moveTo(x0, h);
        for (size_t i = 0; i < ridge.size(); ++i)
            coast.lineTo(x0 + i * dx, ridge[i] + (left ? i : ridge.size() - i) * h * 0.012);
        coast.lineTo(x0 + reach, h);
        coast.closeSubpath();
        p.fillPath(coast, Mix(light.horizon, QColor(0x6A, 0x8A, 0x44), 0.6));
        p.save();
        p.setClipPath(coast);
        if (!Has(e.caption, "seaside") && !Has(e.caption, "Black Sea"))
            DrawTown(p, d, light, e.caption, w, h, horizon, true);
        else
            DrawTrees(p, d, w, horizon, h, QColor(0x3E, 0x6B, 0x2A), 40);
        p.restore();
        // Sand in front.
        QLinearGradient sand(0, h * 0.9, 0, h);
        sand.setColorAt(0, QColor(0xE8, 0xD8, 0xB0));
        sand.setColorAt(1, QColor(0xD0, 0xB8, 0x88));
        FillRidge(p, Ridge(d, 17, h * 0.93, 0.5, h * 0.02), w, h, sand);
        break;
    }
    case TScene::Town:
        FillRidge(p, Ridge(d, 33, horizon - h * 0.03, 0.55, h * 0.04), w, h, Mix(light.horizon, QColor(0x5E, 0x7A, 0x4A), 0.45));
        DrawTown(p, d, light, e.caption, w, h, horizon, false);
        p.fillRect(QRectF(0, h * 0.93, w, h * 0.07), QColor(0x8C, 0x86, 0x7C));
        break;
    case TScene::Rural:
        DrawFields(p, d, light, w, h, horizon);
        break;
    case TScene::Mountains:
        DrawMountains(p, d, light, w, h, horizon);
        if (Has(e.caption, "medieval") || Has(e.caption, "Bohemia"))
            DrawTown(p, d, light, e.caption, w, h, static_cast<int>(horizon + (h - horizon) * 0.4), false);
        break;
    case TScene::Desert:
        DrawDesert(p, d, light, w, h, horizon);
        if (Has(e.caption, "Aleppo"))
            DrawTown(p, d, light, e.caption, w, h, horizon, false);
        break;
    }
    // A soft vignette, as a lens gives.
    QRadialGradient vignette(QPointF(w / 2.0, h / 2.0), std::hypot(w, h) / 1.6);
    vignette.setColorAt(0.6, QColor(0, 0, 0, 0));
    vignette.setColorAt(1, QColor(0, 0, 0, 70));
    p.fillRect(image.rect(), vignette);
    p.end();
    return image;
}

QString FileName(int week)
{
    return QStringLiteral("%1.jpg").arg(week, 2, 10, QLatin1Char('0'));
}

double MeanDifference(const QImage &a, const QImage &b)
{
    double total = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto *la = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const auto *lb = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            total += std::abs(qRed(la[x]) - qRed(lb[x])) + std::abs(qGreen(la[x]) - qGreen(lb[x])) +
                     std::abs(qBlue(la[x]) - qBlue(lb[x]));
    }
    return total / (3.0 * a.width() * a.height());
}

int Write(const QString &folder)
{
    QDir().mkpath(folder);
    for (int week = 1; week <= kGalleryWeeks; ++week) {
        const QString path = folder + QLatin1Char('/') + FileName(week);
        if (!Draw(week).save(path, "JPEG", kJpegQuality)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}

int Check(const QString &folder)
{
    int bad = 0;
    for (int week = 1; week <= kGalleryWeeks; ++week) {
        const QString path = folder + QLatin1Char('/') + FileName(week);
        QImageReader reader(path);
        const QByteArray format = reader.format();
        const QImage shipped = reader.read().convertToFormat(QImage::Format_RGB32);
        const QImage fresh = Draw(week);
        QString problem;
        if (shipped.isNull())
            problem = QStringLiteral("cannot be read");
        else if (format != "jpeg")
            problem = QStringLiteral("is no JPEG but %1").arg(QString::fromLatin1(format));
        else if (shipped.size() != fresh.size())
            problem = QStringLiteral("is %1 x %2, the table says %3 x %4")
                          .arg(shipped.width()).arg(shipped.height()).arg(fresh.width()).arg(fresh.height());
        else if (const double diff = MeanDifference(shipped, fresh); diff > kCheckTolerance)
            problem = QStringLiteral("differs from the drawing (mean difference %1)").arg(diff);
        if (!problem.isEmpty()) {
            std::printf("%s %s\n", qPrintable(path), qPrintable(problem));
            ++bad;
        }
    }
    if (bad == 0)
        std::printf("%s holds the %d pictures this tool draws\n", qPrintable(folder), kGalleryWeeks);
    return bad == 0 ? 0 : 1;
}

}   // namespace

int main(int argc, char **argv)
{
    // Pictures only: no screen is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QStringLiteral("--check"))
        return Check(args[1]);
    if (args.size() == 1 && !args[0].startsWith(QStringLiteral("--")))
        return Write(args[0]);
    std::fprintf(stderr, "usage: make-gallery-art <folder> | --check <folder>\n");
    return 2;
}
