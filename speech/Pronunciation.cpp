#include "speech/Pronunciation.h"

#include "base/TError.h"

#include <QFont>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kBaseline = 12;          // row of the letters' baseline
constexpr int kTextPixels = 16;        // letters
constexpr int kStackPixels = 10;       // letters stacked above each other
constexpr int kStackStretch = 125;     // a little wider, so the open shapes stay open
constexpr int kRaisedPixels = 11;      // the raised schwa
constexpr int kBoxPixels = 10;         // letters in a box
constexpr int kScratchWidth = 64;
constexpr int kScratchMargin = 8;      // rows above and below the glyph, to catch stray ink
constexpr int kMinGlyphWidth = 2;
constexpr int kMaxGlyphWidth = 24;
constexpr int kBlankWidth = 4;
constexpr int kInkThreshold = 224;     // red below this counts as ink when cropping
constexpr int kCommaGlyph = 4;
constexpr int kSpaceGlyph = 97;
const QString kFontFamily = QStringLiteral("Charis SIL");
const QString kNoSuchElement = QStringLiteral("no such strings: ");

enum class TShape {
    Text,      // the text as the font draws it
    Blank,     // a space
    Stacked,   // `text` above `lower`, small
    Boxed,     // `text` small, in a box
    Raised,    // `text` small, its foot at the letters' middle
    CurledX,   // an x whose falling stroke ends in a curl
};

enum class TAccent { None, Acute, Grave };

struct TGlyphRecipe {
    TShape shape;
    const char16_t *text = u"";
    const char16_t *lower = u"";
    TAccent accent = TAccent::None;   // drawn by code, above the shape
    const char16_t *suffix = u"";     // text after the shape, e.g. "(ː)"
};

constexpr TGlyphRecipe T(const char16_t *text) { return {TShape::Text, text}; }
constexpr TGlyphRecipe Accented(const char16_t *text, TAccent accent) { return {TShape::Text, text, u"", accent}; }
constexpr TGlyphRecipe Stack(const char16_t *top, const char16_t *bottom, TAccent accent = TAccent::None,
                             const char16_t *suffix = u"")
{
    return {TShape::Stacked, top, bottom, accent, suffix};
}
constexpr TGlyphRecipe Box(const char16_t *text) { return {TShape::Boxed, text}; }
constexpr TGlyphRecipe Raised(const char16_t *text) { return {TShape::Raised, text}; }

// Glyph n is kRecipes[n]; the elements are in data/PronunciationCode.
const std::array<TGlyphRecipe, kPronunciationGlyphCount> kRecipes = {{
    T(u"!"), T(u"&"), T(u"("), T(u")"), T(u","), T(u"'"), T(u"-"), T(u";"),                       //   0
    T(u"["), T(u"ɑ\u0301"), T(u"ɑ\u0300"), T(u"ɑ"), T(u"ʌ\u0301"), T(u"ʌ\u0300"), T(u"ʌ"), T(u"ǽ"), //   8
    T(u"æ\u0300"), T(u"æ"), T(u"ð"), T(u"ə\u0301"), T(u"ə\u0300"), T(u"ə"), T(u"ɚ\u0301"), T(u"ɚ\u0300"), // 16
    T(u"ɚ"), T(u"ɛ\u0301"), T(u"ɛ\u0300"), T(u"ɛ"), T(u"ɪ"), T(u"ŋ"), T(u"ɔ\u0301"), T(u"ɔ\u0300"),     // 24
    T(u"ɔ"), T(u"œ\u0301"), T(u"œ\u0300"), T(u"œ"), T(u"ʃ"), T(u"θ"), T(u"ʷ"), {TShape::CurledX},     // 32
    T(u"ʒ"), T(u"]"), T(u"_"), T(u"`"), T(u"0"), T(u"1"), T(u"2"), T(u"3"),                         //  40
    T(u"4"), T(u"5"), T(u"6"), T(u"7"), T(u"8"), T(u"9"), T(u"á"), T(u"à"),                         //  48
    T(u"a"), T(u"*"), T(u"b"), T(u"c"), T(u"ː"), T(u"d"), T(u"\""), T(u"é"),                        //  56
    T(u"è"), T(u"e"), T(u"f"), T(u"g"), T(u"h"), T(u"í"), T(u"ì"), T(u"i"),                         //  64
    T(u"j"), T(u"k"), T(u"l"), T(u"m"), T(u"n"), T(u"ó"), T(u"ò"), T(u"o"),                         //  72
    T(u"p"), T(u"."), T(u"q"), T(u"?"), T(u"r"), T(u">"), T(u"s"), T(u"/"),                         //  80
    T(u"t"), T(u"ú"), T(u"ù"), T(u"u"), T(u"v"), T(u"w"), T(u"x"), T(u"y"),                         //  88
    T(u"z"), {TShape::Blank}, Accented(u"-", TAccent::Grave), Accented(u"-", TAccent::Acute),        //  96
    Stack(u"ı", u"ə"), T(u"(ə)"), T(u"(ː)"), Box(u"a"),                                            // 100
    Box(u"n"), Box(u"p"), Box(u"v"), Box(u"adv"),                                                   // 104
    Stack(u"ɔ", u"ɑ"), Stack(u"ɔ", u"ɑ", TAccent::Acute), Stack(u"ɔ", u"ɑ", TAccent::Grave), T(u"(j)"), // 108
    T(u"(t)"), Stack(u"s", u"z"), Raised(u"ə"), T(u"ʊ\u0301"),                                          // 112
    T(u"ʊ\u0300"), T(u"ʊ"), T(u"ʤ"), T(u"ʧ"),                                                      // 116
    T(u"ɑ\u0301(ː)"), T(u"ɑ\u0300(ː)"), Stack(u"ɔ", u"ɑ", TAccent::Acute, u"(ː)"),                   // 120
    Stack(u"ɔ", u"ɑ", TAccent::Grave, u"(ː)"), T(u"ɑ(ː)"), Stack(u"ɔ", u"ɑ", TAccent::None, u"(ː)"), // 123
    T(u"(h)"),                                                                                       // 126
}};

QFont GlyphFont(int pixels, int stretch = QFont::Unstretched)
{
    QFont font(kFontFamily);
    font.setPixelSize(pixels);
    font.setStretch(stretch);
    font.setHintingPreference(QFont::PreferVerticalHinting);
    return font;
}

// Columns that hold ink, as [first, last]; first > last when there is none.
std::pair<int, int> InkColumns(const QImage &image)
{
    int first = image.width();
    int last = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qRed(row[x]) < kInkThreshold) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first, last};
}

bool RowHasInk(const QImage &image, int y)
{
    const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
        if (qRed(row[x]) < kInkThreshold)
            return true;
    }
    return false;
}

// An acute or grave stroke centred on column cx, its lower end at row bottom.
void DrawAccent(QPainter &p, TAccent accent, double cx, double bottom, double rise)
{
    if (accent == TAccent::None)
        return;
    QPen pen(Qt::black, 1.2);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    if (accent == TAccent::Acute)
        p.drawLine(QPointF(cx - 1.0, bottom), QPointF(cx + 1.2, bottom - rise));
    else
        p.drawLine(QPointF(cx + 1.0, bottom), QPointF(cx - 1.2, bottom - rise));
}

// Draws a recipe's shape from column `left` (glyph rows); returns the column
// after it.
double DrawShape(QPainter &p, const TGlyphRecipe &recipe, double left)
{
    const QString text = QString::fromUtf16(recipe.text);
    switch (recipe.shape) {
    case TShape::Blank:
        return left;
    case TShape::Text: {
        const QFont font = GlyphFont(kTextPixels);
        const QFontMetricsF m(font);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QPointF(left, kBaseline), text);
        const QRectF ink = m.tightBoundingRect(text);
        // Accents drawn here sit where the font's own accents sit on a vowel.
        DrawAccent(p, recipe.accent, left + ink.center().x(), kBaseline - m.xHeight() - 1.0, 2.4);
        return left + m.horizontalAdvance(text);
    }
    case TShape::Stacked: {
        // Two small letters above each other, the lower one on the bottom row.
        constexpr double kLowerBaseline = kGlyphHeight - 1;
        constexpr double kGap = 2.0;
        const QFont small = GlyphFont(kStackPixels, kStackStretch);
        const QFontMetricsF m(small);
        p.setFont(small);
        p.setPen(Qt::black);
        const QString lower = QString::fromUtf16(recipe.lower);
        const double width = std::max(m.horizontalAdvance(text), m.horizontalAdvance(lower));
        const double upperBaseline = kLowerBaseline - m.xHeight() - kGap;
        p.drawText(QPointF(left + (width - m.horizontalAdvance(lower)) / 2, kLowerBaseline), lower);
        p.drawText(QPointF(left + (width - m.horizontalAdvance(text)) / 2, upperBaseline), text);
        DrawAccent(p, recipe.accent, left + width / 2, upperBaseline - m.xHeight() - 1.0, 1.9);
        return left + width;
    }
    case TShape::Raised: {
        const QFont small = GlyphFont(kRaisedPixels);
        const QFontMetricsF m(small);
        p.setFont(small);
        p.setPen(Qt::black);
        const double middle = kBaseline - QFontMetricsF(GlyphFont(kTextPixels)).xHeight() / 2;
        p.drawText(QPointF(left, middle), text);
        return left + m.horizontalAdvance(text);
    }
    case TShape::Boxed: {
        const QFont small = GlyphFont(kBoxPixels);
        const QFontMetricsF m(small);
        p.setFont(small);
        const double width = m.horizontalAdvance(text) + 3;
        p.setPen(QPen(Qt::black, 1));
        p.setRenderHint(QPainter::Antialiasing, false);
        p.drawRect(QRectF(left, 2, width, 11));
        p.setRenderHint(QPainter::Antialiasing, true);
        p.drawText(QPointF(left + 2, 10.5), text);
        return left + width + 1;
    }
    case TShape::CurledX: {
        // The rising stroke plain, the falling one ending in a curl below the line.
        const double xHeight = QFontMetricsF(GlyphFont(kTextPixels)).xHeight();
        const double top = kBaseline - xHeight;
        const double right = left + xHeight;
        QPen pen(Qt::black, 1.3);
        pen.setCapStyle(Qt::FlatCap);
        p.setPen(pen);
        p.drawLine(QPointF(left, kBaseline), QPointF(right, top));
        QPainterPath fall;
        fall.moveTo(left, top);
        fall.lineTo(right - 1.0, kBaseline - 0.5);
        fall.cubicTo(right + 0.5, kBaseline + 1.5, right + 2.0, kBaseline + 2.5, right + 1.0, kBaseline + 3.2);
        fall.cubicTo(right, kBaseline + 3.7, right - 1.2, kBaseline + 2.5, right - 0.2, kBaseline + 1.0);
        p.drawPath(fall);
        return right + 2.5;
    }
    }
    return left;
}

// The glyph picture; `cut` tells whether ink fell outside its 16 rows.
QImage RenderGlyph(const TGlyphRecipe &recipe, bool &cut)
{
    cut = false;
    if (recipe.shape == TShape::Blank) {
        QImage blank(kBlankWidth, kGlyphHeight, QImage::Format_RGB32);
        blank.fill(Qt::white);
        return blank;
    }
    QImage scratch(kScratchWidth, kGlyphHeight + 2 * kScratchMargin, QImage::Format_RGB32);
    scratch.fill(Qt::white);
    {
        QPainter p(&scratch);
        p.translate(0, kScratchMargin);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        const double after = DrawShape(p, recipe, kScratchMargin);
        if (*recipe.suffix) {
            p.setFont(GlyphFont(kTextPixels));
            p.setPen(Qt::black);
            p.drawText(QPointF(after + 0.5, kBaseline), QString::fromUtf16(recipe.suffix));
        }
    }
    for (int y = 0; y < kScratchMargin; ++y)
        cut = cut || RowHasInk(scratch, y) || RowHasInk(scratch, scratch.height() - 1 - y);
    const auto [first, last] = InkColumns(scratch);
    if (first > last) {
        QImage empty(kMinGlyphWidth, kGlyphHeight, QImage::Format_RGB32);
        empty.fill(Qt::white);
        return empty;
    }
    if (last - first + 1 > kMaxGlyphWidth)
        cut = true;
    const int width = std::clamp(last - first + 1, kMinGlyphWidth, kMaxGlyphWidth);
    return scratch.copy(first, kScratchMargin, width, kGlyphHeight);
}

}   // namespace

TPronunciation::TPronunciation()
{
    for (size_t n = 0; n < m_glyphs.size(); ++n) {
        bool cut = false;
        m_glyphs[n] = RenderGlyph(kRecipes[n], cut);
        m_inkCut[n] = cut;
    }
}

const QImage &TPronunciation::Image(int glyph) const
{
    return m_glyphs.at(static_cast<size_t>(glyph));
}

void TPronunciation::DrawPronunciation(QImage &target, int x, const QString &code, int y)
{
    QPainter painter(&target);
    const int inkR = pronunciationColor.red();
    const int inkG = pronunciationColor.green();
    const int inkB = pronunciationColor.blue();
    int offset = 0;
    int cut = 0;
    int previous = -1;
    for (qsizetype at = 0; at < code.size();) {
        const qsizetype length = PronunciationElementLength(code, at);
        const QString element = code.mid(at, length);
        const int glyph = PronunciationGlyph(element);
        if (glyph < 0)
            throw TFatalError(kNoSuchElement + element);
        if (glyph == kCommaGlyph || (glyph == kSpaceGlyph && previous != kCommaGlyph))
            cut = x + offset;

        // Ink (red 0) takes the pronunciation colour, paper turns black; the
        // soft edges of the ink blend between the two.
        wImage = Image(glyph).convertToFormat(QImage::Format_RGB32);
        for (int row = 0; row < wImage.height(); ++row) {
            auto *pixel = reinterpret_cast<QRgb *>(wImage.scanLine(row));
            for (int col = 0; col < wImage.width(); ++col) {
                const int ink = 255 - qRed(pixel[col]);
                pixel[col] = qRgb(inkR * ink / 255, inkG * ink / 255, inkB * ink / 255);
            }
        }
        painter.drawImage(x + offset, y, wImage);

        offset += wImage.width() + kGlyphSpacing;
        if (offset > kPronunciationWidthLimit) {
            painter.fillRect(QRect(cut, 0, target.width() - cut, target.height()), Qt::black);
            return;
        }
        previous = glyph;
        at += length;
    }
}

void TPronunciation::FillPhoneticSymbolList(QListWidget &list) const
{
    if (list.count() > 0)
        return;
    for (int n = 0; n < kPronunciationGlyphCount; ++n) {
        auto *item = new QListWidgetItem(QString::number(n), &list);
        item->setData(Qt::UserRole, Image(n));
    }
}
