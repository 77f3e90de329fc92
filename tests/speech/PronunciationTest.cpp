#include "data/PronunciationCode.h"
#include "base/TError.h"
#include "speech/Pronunciation.h"

#include <QListWidget>
#include <QSet>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kColor = qRgb(0x40, 0x90, 0xFF);

// The glyph as DrawPronunciation puts it: ink in the colour, paper black.
QImage Recoloured(const QImage &glyph, QRgb color)
{
    QImage out = glyph.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            const int ink = 255 - qRed(out.pixel(x, y));
            out.setPixel(x, y, qRgb(qRed(color) * ink / 255, qGreen(color) * ink / 255, qBlue(color) * ink / 255));
        }
    }
    return out;
}

QImage BlackTarget(int width = 700, int height = 26)
{
    QImage target(width, height, QImage::Format_RGB32);
    target.fill(Qt::black);
    return target;
}

bool IsBlack(const QImage &image, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) != 0)
                return false;
        }
    }
    return true;
}

int TopInkRow(const QImage &glyph)
{
    for (int y = 0; y < glyph.height(); ++y) {
        for (int x = 0; x < glyph.width(); ++x) {
            if (qRed(glyph.pixel(x, y)) < 128)
                return y;
        }
    }
    return glyph.height();
}

class Pronunciation : public ::testing::Test {
protected:
    Pronunciation() { glyphs.pronunciationColor = QColor::fromRgb(kColor); }
    // Where each element of a code starts when drawn from x.
    std::vector<int> Starts(const QString &code, int x) const
    {
        std::vector<int> starts;
        for (const QString &element : SplitPronunciationCode(code)) {
            starts.push_back(x);
            x += glyphs.Image(PronunciationGlyph(element)).width() + kGlyphSpacing;
        }
        return starts;
    }
    TPronunciation glyphs;
};

}   // namespace

TEST_F(Pronunciation, EveryGlyphIsAFittingDistinctPicture)
{
    QSet<QByteArray> pictures;
    for (int n = 0; n < kPronunciationGlyphCount; ++n) {
        const QImage &glyph = glyphs.Image(n);
        EXPECT_EQ(glyph.height(), kGlyphHeight) << n;
        EXPECT_GE(glyph.width(), 2) << n;
        EXPECT_LE(glyph.width(), 24) << n;
        EXPECT_FALSE(glyphs.InkCut(n)) << "glyph " << n << " does not fit its picture";
        const bool blank = PronunciationElement(n) == u" "_qs;
        EXPECT_EQ(TopInkRow(glyph) == kGlyphHeight, blank) << n;
        const QImage rgb = glyph.convertToFormat(QImage::Format_RGB32);
        pictures.insert(QByteArray(reinterpret_cast<const char *>(rgb.constBits()), rgb.sizeInBytes())
                        + QByteArray::number(rgb.width()));
    }
    EXPECT_EQ(pictures.size(), kPronunciationGlyphCount);
}

// A stressed glyph is its plain one with an accent above: ink higher up (the
// dot of i aside), and acute and grave differ.
TEST_F(Pronunciation, StressMarksSitAboveTheirLetters)
{
    int pairs = 0;
    for (int n = 0; n < kPronunciationGlyphCount; ++n) {
        const QString element = PronunciationElement(n);
        for (const QString &mark : {u"!]"_qs, u"!2]"_qs}) {
            if (!element.endsWith(mark))
                continue;
            const QString bracketed = element.chopped(mark.size()) + u']';
            int base = PronunciationGlyph(bracketed);
            if (base < 0)   // "[a!]" stresses "a"
                base = PronunciationGlyph(bracketed.mid(1, bracketed.size() - 2));
            ASSERT_GE(base, 0) << element.toStdString();
            const QImage &stressed = glyphs.Image(n);
            const QImage &plain = glyphs.Image(base);
            EXPECT_NE(stressed, plain) << element.toStdString();
            if (PronunciationElement(base) != u"i"_qs) {
                EXPECT_LT(TopInkRow(stressed), TopInkRow(plain) - 1) << element.toStdString();
            }
            ++pairs;
        }
    }
    EXPECT_EQ(pairs, 32);
    for (const char16_t *acute : {u"[k7!]", u"[O_A!]", u"[e!]", u"[O_A!_k0]"}) {
        QString grave = QString::fromUtf16(acute).replace(u'!', u"!2"_qs);
        EXPECT_NE(glyphs.Image(PronunciationGlyph(acute)), glyphs.Image(PronunciationGlyph(grave)));
    }
}

TEST_F(Pronunciation, DrawsGlyphsSideBySideInTheColourOnBlack)
{
    QImage target = BlackTarget();
    glyphs.DrawPronunciation(target, 8, u"[A]a[k[adv]]"_qs, 5);
    const std::vector<int> starts = Starts(u"[A]a[k[adv]]"_qs, 8);
    const int glyphNumbers[] = {11, 56, 107};   // ɑ, a, boxed adv
    bool pureInk = false;
    for (size_t i = 0; i < starts.size(); ++i) {
        const QImage &glyph = glyphs.Image(glyphNumbers[i]);
        const QImage expected = Recoloured(glyph, kColor);
        EXPECT_EQ(target.copy(starts[i], 5, glyph.width(), kGlyphHeight), expected) << i;
        EXPECT_TRUE(IsBlack(target, QRect(starts[i] + glyph.width(), 5, kGlyphSpacing, kGlyphHeight))) << i;
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x)
                pureInk = pureInk || (expected.pixel(x, y) & 0xFFFFFF) == (kColor & 0xFFFFFF);
        }
    }
    EXPECT_TRUE(pureInk);   // the strokes' cores are the colour itself
    EXPECT_TRUE(IsBlack(target, QRect(0, 0, 8, 26)));
    EXPECT_TRUE(IsBlack(target, QRect(0, 0, 700, 5)));
    EXPECT_NE(glyphs.Image(11), glyphs.Image(56));
}

// Past 660 pixels the drawing is cut back at the last comma mark or word
// space; a space right after a comma mark is no cut position of its own.
TEST_F(Pronunciation, LongCodeIsCutBackAtTheLastCommaOrSpace)
{
    struct Case {
        QString code;
        int cutElement;   // index of the element where the picture turns black
    };
    const QString word = u"[ae!]nt[I]s[I]p[e!2][I][S][E]n"_qs;
    const QString many = word.repeated(4);
    const QString longer = word.repeated(12);
    const Case cases[] = {
        {u" "_qs + many + u" "_qs + longer, static_cast<int>(SplitPronunciationCode(u" "_qs + many).size())},
        {u" "_qs + many + u"[k5] "_qs + longer, static_cast<int>(SplitPronunciationCode(u" "_qs + many).size())},
        {u" "_qs + longer, 0},   // only the leading space: everything from x
    };
    for (const Case &c : cases) {
        QImage target = BlackTarget(720);
        glyphs.DrawPronunciation(target, 8, c.code, 5);
        const int cut = Starts(c.code, 8)[static_cast<size_t>(c.cutElement)];
        EXPECT_TRUE(IsBlack(target, QRect(cut, 0, 720 - cut, 26))) << c.cutElement;
        if (c.cutElement > 0) {
            EXPECT_FALSE(IsBlack(target, QRect(cut - 40, 0, 40, 26))) << c.cutElement;
        }
    }
    // Short of the limit nothing is cut.
    QImage target = BlackTarget(720);
    glyphs.DrawPronunciation(target, 8, u" "_qs + many, 5);
    const std::vector<int> starts = Starts(u" "_qs + many, 8);
    ASSERT_LT(starts.back(), 660);
    EXPECT_FALSE(IsBlack(target, QRect(starts.back(), 5, 8, kGlyphHeight)));
}

TEST_F(Pronunciation, CodeWithoutCutPositionsGoesBlackEntirely)
{
    QImage target = BlackTarget(720);
    glyphs.DrawPronunciation(target, 8, u"m"_qs.repeated(80), 5);
    EXPECT_TRUE(IsBlack(target, target.rect()));
}

TEST_F(Pronunciation, UnknownElementEndsTheProgramWithItsName)
{
    struct Case {
        const char16_t *code;
        const char16_t *message;
    };
    const Case cases[] = {
        {u" k[ae!]t[k14]", u"no such strings: [k14]"},
        {u" K", u"no such strings: K"},
        {u" [ae!]n[k0", u"no such strings: [k0"},
    };
    for (const Case &c : cases) {
        QImage target = BlackTarget();
        try {
            glyphs.DrawPronunciation(target, 8, QString::fromUtf16(c.code), 5);
            ADD_FAILURE() << "no error for " << QString::fromUtf16(c.code).toStdString();
        } catch (const TFatalError &e) {
            EXPECT_EQ(e.Message(), QString::fromUtf16(c.message));
        }
    }
}

TEST_F(Pronunciation, FillsThePhoneticSymbolListOnce)
{
    QListWidget list;
    glyphs.FillPhoneticSymbolList(list);
    ASSERT_EQ(list.count(), kPronunciationGlyphCount);
    for (int n : {0, 56, 126}) {
        EXPECT_EQ(list.item(n)->text(), QString::number(n));
        EXPECT_EQ(list.item(n)->data(Qt::UserRole).value<QImage>(), glyphs.Image(n));
    }
    glyphs.FillPhoneticSymbolList(list);
    EXPECT_EQ(list.count(), kPronunciationGlyphCount);
}
