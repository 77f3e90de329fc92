#include "help/Pictures.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

struct TNamedSize {
    const char *name;
    int width;
    int height;
};

// The option buttons are 42 x 39, the signal button 42 x 38.
const TNamedSize kPictures[] = {
    {"Option1_Neutral", 42, 39}, {"Option1_Correct", 42, 39}, {"Option1_Wrong", 42, 39},
    {"Option2_Neutral", 42, 39}, {"Option2_Correct", 42, 39}, {"Option2_Wrong", 42, 39},
    {"Option3_Neutral", 42, 39}, {"Option3_Correct", 42, 39}, {"Option3_Wrong", 42, 39},
    {"Signal_Start1", 42, 38},   {"Signal_Start2", 42, 38},   {"Signal_Start3", 42, 38},
    {"Signal_Start4", 42, 38},   {"Signal_Q", 42, 38},        {"Signal_O", 42, 38},
    {"Signal_X", 42, 38},        {"Hanrei", 800, 0},
};

QImage Picture(const char *name)
{
    return PictureByName(QString::fromLatin1(name)).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Sums of how far each visible pixel leans to green or to red.
struct TLean {
    double green = 0;
    double red = 0;
    int opaque = 0;
};

TLean LeanOf(const QImage &image)
{
    TLean lean;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() < 128)
                continue;
            ++lean.opaque;
            lean.green += std::max(0, c.green() - std::max(c.red(), c.blue()));
            lean.red += std::max(0, c.red() - std::max(c.green(), c.blue()));
        }
    }
    return lean;
}

TEST(Pictures, EveryPictureLoadsAtItsSize)
{
    for (const TNamedSize &entry : kPictures) {
        SCOPED_TRACE(entry.name);
        const QPixmap pixmap = PictureByName(QString::fromLatin1(entry.name));
        ASSERT_FALSE(pixmap.isNull());
        EXPECT_EQ(pixmap.width(), entry.width);
        if (entry.height > 0) {
            EXPECT_EQ(pixmap.height(), entry.height);
        }
        EXPECT_GT(LeanOf(pixmap.toImage().convertToFormat(QImage::Format_ARGB32)).opaque, 0);
    }
}

TEST(Pictures, NamesListsExactlyThePictures)
{
    QStringList expected;
    for (const TNamedSize &entry : kPictures)
        expected.append(QString::fromLatin1(entry.name));
    expected.sort();
    EXPECT_EQ(PictureNames(), expected);
}

TEST(Pictures, UnknownOrPathLikeNamesGiveNullPictures)
{
    for (const char *name : {"", "Signal_Start0", "Signal_Start5", "Signal_q", "signals/Signal_Q",
                             ":/signals/Signal_Q.svg", "Signal_Q.svg", "../legend/Hanrei", "Option4_Neutral"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(PictureByName(QString::fromLatin1(name)).isNull());
    }
}

TEST(Pictures, HighDensityScreensGetSharperPicturesOfTheSameSize)
{
    const QPixmap pixmap = PictureByName(QStringLiteral("Signal_O"), 2.0);
    EXPECT_EQ(pixmap.size(), QSize(84, 76));
    EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(42, 38));
}

TEST(Pictures, OptionImageListOrderIsNeutralCorrectWrongPerOption)
{
    const char *expected[] = {"Option1_Neutral", "Option1_Correct", "Option1_Wrong",
                              "Option2_Neutral", "Option2_Correct", "Option2_Wrong",
                              "Option3_Neutral", "Option3_Correct", "Option3_Wrong"};
    for (int index = 0; index < 9; ++index) {
        EXPECT_EQ(OptionButtonPictureName(index), QString::fromLatin1(expected[index]));
        EXPECT_FALSE(OptionButtonPicture(index).isNull());
    }
    EXPECT_TRUE(OptionButtonPictureName(-1).isEmpty());
    EXPECT_TRUE(OptionButtonPictureName(9).isEmpty());
    EXPECT_TRUE(OptionButtonPicture(9).isNull());
    EXPECT_TRUE(OptionButtonPictureName(0, TOptionPicture::Wrong).isEmpty());
    EXPECT_TRUE(OptionButtonPictureName(4, TOptionPicture::Neutral).isEmpty());
}

// Right answers read green, wrong ones red, at a glance; neutral buttons neither.
TEST(Pictures, CorrectLooksGreenAndWrongLooksRed)
{
    for (const char *name : {"Signal_O", "Option1_Correct", "Option2_Correct", "Option3_Correct"}) {
        SCOPED_TRACE(name);
        const TLean lean = LeanOf(Picture(name));
        EXPECT_GT(lean.green, 4 * lean.red);
        EXPECT_GT(lean.green / lean.opaque, 10.0);
    }
    for (const char *name : {"Signal_X", "Option1_Wrong", "Option2_Wrong", "Option3_Wrong"}) {
        SCOPED_TRACE(name);
        const TLean lean = LeanOf(Picture(name));
        EXPECT_GT(lean.red, 4 * lean.green);
        EXPECT_GT(lean.red / lean.opaque, 10.0);
    }
    for (const char *name : {"Option1_Neutral", "Option2_Neutral", "Option3_Neutral"}) {
        SCOPED_TRACE(name);
        const TLean lean = LeanOf(Picture(name));
        EXPECT_LT(lean.green / lean.opaque, 2.0);
        EXPECT_LT(lean.red / lean.opaque, 2.0);
    }
}

// The three numbers differ from each other in every state: the buttons tell
// the options apart, not only the states.
TEST(Pictures, OptionNumbersDiffer)
{
    for (int state = 0; state < 3; ++state) {
        const QImage one = OptionButtonPicture(state).toImage();
        const QImage two = OptionButtonPicture(3 + state).toImage();
        const QImage three = OptionButtonPicture(6 + state).toImage();
        EXPECT_NE(one, two);
        EXPECT_NE(two, three);
        EXPECT_NE(one, three);
    }
}

// The legend's texts come from the installed fonts: its explanation lines
// must actually be drawn (dark ink below the title band).
TEST(Pictures, LegendShowsItsTexts)
{
    const QImage legend = Picture("Hanrei");
    ASSERT_FALSE(legend.isNull());
    EXPECT_LE(legend.height(), 700);   // fits above the main window's 768 pixels
    int dark = 0;
    for (int y = 50; y < legend.height(); ++y) {
        for (int x = 0; x < legend.width(); ++x) {
            if (qGray(legend.pixel(x, y)) < 110)
                ++dark;
        }
    }
    EXPECT_GT(dark, 5000);
}

// Every picture on the window's grey, at its size and enlarged, in one sheet
// (art_contact_sheet.png in the build folder) to look at.
TEST(Pictures, ContactSheet)
{
    constexpr int kZoom = 3;
    constexpr int kCell = 42 * kZoom + 60;
    const QStringList names = PictureNames();
    QImage sheet(9 * kCell / 1 + 20, 2 * (39 * kZoom + 30) + 20 + 720, QImage::Format_RGB32);
    sheet.fill(QColor(0xDA, 0xDA, 0xDA));
    QPainter painter(&sheet);
    int slot = 0;
    for (const QString &name : names) {
        if (name == QStringLiteral("Hanrei"))
            continue;
        const QPixmap pixmap = PictureByName(name);
        const int x = 10 + (slot % 9) * kCell;
        const int y = 10 + (slot / 9) * (39 * kZoom + 30);
        painter.drawPixmap(x, y, pixmap);
        painter.drawPixmap(QRect(x + 50, y, pixmap.width() * kZoom, pixmap.height() * kZoom),
                           PictureByName(name, kZoom));
        painter.drawText(x, y + 39 * kZoom + 20, name);
        ++slot;
    }
    painter.drawPixmap(10, 2 * (39 * kZoom + 30) + 10, PictureByName(QStringLiteral("Hanrei")));
    painter.end();
    EXPECT_TRUE(sheet.save(QStringLiteral(TESSARION_BINARY_DIR "/art_contact_sheet.png")));
}

}   // namespace
