#pragma once
// The main window's skins as data. Each skin is one entry of
// resources/skins/skins.json: its menu caption and component, the text colour
// of the question, option, meaning and input labels (also the ink of the
// pronunciation glyphs), the glimpse colour, the suffix of the word panel's
// stage pictures, the picture behind the window, the window's
// own colours and its menu font. The window applies a skin through
// TMainForm::ApplySkin; this file only reads the table and works out colours
// and pictures.
#include <QColor>
#include <QList>
#include <QPalette>
#include <QPixmap>
#include <QString>

class TRandom;

struct TSkinFont {
    QString family;
    int pixelSize = 13;
    bool bold = false;
};

struct TSkin {
    QString name;            // the settings file's value
    QString caption;         // the menu item's text
    QString component;       // the menu item's object name
    QString toolkit;         // the look it stands for, as the settings of old name it
    QColor text;
    QColor glimpse;
    QString pictureSuffix;   // "_A", "_B" or "_C"
    QString backPicture;     // a picture name of SkinPicture
    QColor window;
    QColor panel;
    QColor button;
    QColor base;
    QColor highlight;
    QColor windowText;
    QColor menuBar;
    QColor menuText;
    TSkinFont font;
};

inline const QString kDefaultSkinName = QStringLiteral("Athena");
inline const QString kRandomColourSkinName = QStringLiteral("Eos");
inline constexpr int kSkinCount = 9;

// The nine skins in menu order, read once from the shipped table. A table that
// cannot be read or lacks a skin is a broken installation: TFatalError names it.
const QList<TSkin> &SkinTable();
// The skin of a name, or nullptr.
const TSkin *FindSkin(const QString &name);
// Reads a skin table (the shipped one or a test's); throws TFatalError naming
// the file and what is wrong.
QList<TSkin> ReadSkinTable(const QString &path);

// The colour shift of a skin: hue offset in degrees and a saturation change
// from -100 to 100.
struct TColourShift {
    int hue = 0;
    int saturation = 0;
    bool operator==(const TColourShift &) const = default;
    bool IsNone() const { return hue == 0 && saturation == 0; }
};

// The random colours of Eos, drawn in order, each draw uniform and
// independent: 1 in 4 none; else 1 in 2 (140, 100); else 1 in 4 (5, 100);
// else 1 in 4 (98, -27); else 1 in 4 (323, 60); else (-30, 0).
TColourShift DrawRandomColourShift(TRandom &random);

// A colour with its hue turned and its saturation changed; greys keep
// their hue-less grey unless the saturation rises.
QColor ShiftColour(const QColor &colour, TColourShift shift);

// The window's palette under a skin.
QPalette SkinPalette(const TSkin &skin, TColourShift shift, const QPalette &from);
// The picture behind the window, tiled over the given size and shifted; a
// null pixmap when the skin's picture is missing.
QPixmap SkinBackground(const TSkin &skin, TColourShift shift, const QSize &size);
// A skin picture by name (resources/skins/<name>.svg at its own size), or a
// null pixmap for a name that is none.
QPixmap SkinPicture(const QString &name);
// The style sheet of the menu bar and its menus.
QString SkinMenuStyle(const TSkin &skin, TColourShift shift);
