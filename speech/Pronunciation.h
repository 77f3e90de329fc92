#pragma once
// Pronunciation glyphs: the 127 small pictures of the pronunciation code's
// elements (data/PronunciationCode), 16 pixels high, black ink on white, and
// the drawing of a whole code side by side in the skin's pronunciation colour
// on black. The shapes come from a font with phonetic symbols (Charis SIL);
// the few shapes no font has (boxed part-of-speech marks, letters stacked
// above each other, the curled x) are drawn here.
#include "data/PronunciationCode.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <array>

class QListWidget;

inline constexpr int kGlyphHeight = 16;
inline constexpr int kGlyphSpacing = 2;          // pixels between two glyphs
inline constexpr int kPronunciationWidthLimit = 660;
inline constexpr int kPronunciationX = 8;        // where the main window starts drawing
inline constexpr int kPronunciationY = 5;

class TPronunciation {
public:
    TPronunciation();

    // Glyph n (0..126): 16 pixels high, 2 to 24 wide, black ink on white.
    const QImage &Image(int glyph) const;
    // True when the glyph's shape did not fit its 16 rows or 24 columns.
    bool InkCut(int glyph) const { return m_inkCut.at(static_cast<size_t>(glyph)); }

    QColor pronunciationColor = QColor(0xFF, 0xFF, 0xFF);   // set with the skin
    QImage wImage;   // the glyph being drawn, recoloured

    // Draws the code's glyphs side by side from (x, y) on the target, each on
    // black with its ink in the pronunciation colour, 2 pixels apart. A code
    // running past 660 pixels is cut back to the last comma mark or word
    // space: from there to the right and bottom edges the target turns black.
    // An element that is in no table ends the program (TFatalError).
    void DrawPronunciation(QImage &target, int x, const QString &code, int y);

    // Fills an empty list with one item per glyph: its number as text, its
    // picture as the item's data (Qt::UserRole).
    void FillPhoneticSymbolList(QListWidget &list) const;

private:
    std::array<QImage, kPronunciationGlyphCount> m_glyphs;
    std::array<bool, kPronunciationGlyphCount> m_inkCut{};
};
