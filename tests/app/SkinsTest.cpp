// The nine skins: the shipped table, every skin applied with its picture
// and colours, the random colours of Eos, the typing sounds, and
// both choices kept in the file's settings across a restart.
#include "TrainingWindowFixture.h"

#include "app/Menus.h"
#include "app/Skins.h"
#include "app/MainWidgets.h"
#include "base/Random.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <map>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct TSkinRow {
    const char *name;
    QRgb text;
    QRgb glimpse;
    const char *suffix;
};

const TSkinRow kSkins[] = {
    {"Athena", 0x63587A, 0xD8D8D8, "_A"},      {"Tritogeneia", 0x636363, 0xD8D8DA, "_C"},
    {"Zeus", 0x636363, 0xCFCECF, "_B"},        {"Metis", 0x636363, 0xCCCCCB, "_B"},
    {"Hephaestus", 0x42424D, 0xBDBDBE, "_C"},  {"Nike", 0x58584D, 0xCAC9C9, "_C"},
    {"Aegean", 0x636363, 0xD4D4D4, "_B"},      {"Olive", 0x636363, 0xDEDEDE, "_B"},
    {"Eos", 0x636363, 0xD8D8DA, "_B"},
};

QColor Rgb(QRgb rgb)
{
    return QColor::fromRgb(rgb);
}

QStringList Ticked(const QMenu *menu)
{
    QStringList ticked;
    for (const QAction *a : menu->actions())
        if (a->isChecked())
            ticked.append(a->objectName());
    return ticked;
}

class TSkinsTest : public TTrainingWindowTest {
protected:
    QColor TextColour(QWidget *w) { return w->palette().color(QPalette::WindowText); }
};

}   // namespace

TEST(Skins, TheShippedTableHoldsTheNineSkinsWithTheirColours)
{
    const QList<TSkin> &table = SkinTable();
    ASSERT_EQ(table.size(), 9);
    for (qsizetype i = 0; i < table.size(); ++i) {
        const TSkinRow &row = kSkins[i];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(table[i].name, QString::fromLatin1(row.name));
        EXPECT_EQ(table[i].text, Rgb(row.text));
        EXPECT_EQ(table[i].glimpse, Rgb(row.glimpse));
        EXPECT_EQ(table[i].pictureSuffix, QString::fromLatin1(row.suffix));
        EXPECT_EQ(table[i].component, QStringLiteral("sm") + table[i].name);
    }
    // Every skin looks different from every other.
    for (qsizetype i = 0; i < table.size(); ++i)
        for (qsizetype j = i + 1; j < table.size(); ++j)
            EXPECT_NE(table[i].window, table[j].window) << table[i].name.toStdString() << " " << table[j].name.toStdString();
}

TEST(Skins, ABrokenTableIsRefusedNamingItsFile)
{
    TTempProgramFolder folder;
    struct TCase {
        const char *content;
    };
    const TCase cases[] = {{"not json"}, {R"({"skins": []})"}, {R"({"skins": [{"name": "Athena"}]})"}};
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.content);
        folder.write(QStringLiteral("skins.json"), c.content);
        try {
            ReadSkinTable(folder.file(QStringLiteral("skins.json")));
            ADD_FAILURE() << "read";
        } catch (const TFatalError &e) {
            EXPECT_TRUE(e.Message().contains(QStringLiteral("skins.json")));
        }
    }
}

TEST(Skins, EveryPictureOfEverySkinIsThere)
{
    for (const TSkin &skin : SkinTable()) {
        SCOPED_TRACE(skin.name.toStdString());
        const QPixmap back = SkinBackground(skin, {}, QSize(1024, 768));
        ASSERT_FALSE(back.isNull());
        EXPECT_EQ(back.size(), QSize(1024, 768));
        EXPECT_EQ(SkinPicture(skin.backPicture).size(), QSize(240, 240));
    }
    for (const char *name : {"", "../skins/Skin_Athena", "Skin_Athena.svg", "Skin_Gaia", ":/skins/Skin_Eos"})
        EXPECT_TRUE(SkinPicture(QString::fromLatin1(name)).isNull()) << name;
}

TEST(Skins, TheRandomColoursAreDrawnWithTheirChances)
{
    TRandom random(5);
    std::map<std::pair<int, int>, int> counts;
    constexpr int kDraws = 51200;
    for (int i = 0; i < kDraws; ++i) {
        const TColourShift s = DrawRandomColourShift(random);
        ++counts[{s.hue, s.saturation}];
    }
    // 1/4; 3/4 * 1/2; 3/8 * 1/4; 9/32 * 1/4; 27/128 * 1/4; the rest.
    const std::map<std::pair<int, int>, double> expected = {
        {{0, 0}, 128.0 / 512}, {{140, 100}, 192.0 / 512}, {{5, 100}, 48.0 / 512},
        {{98, -27}, 36.0 / 512}, {{323, 60}, 27.0 / 512}, {{-30, 0}, 81.0 / 512}};
    ASSERT_EQ(counts.size(), expected.size());
    for (const auto &[shift, share] : expected)
        EXPECT_NEAR(counts[shift] / double(kDraws), share, 0.01) << shift.first << "," << shift.second;
}

TEST(Skins, ColourShiftsTurnHueAndSaturation)
{
    struct TCase {
        QColor in;
        TColourShift shift;
        int hue;
        bool moreSaturated;
    };
    const TCase cases[] = {
        {QColor::fromHsv(10, 100, 200), {140, 100}, 150, true},
        {QColor::fromHsv(350, 100, 200), {98, -27}, 88, false},
        {QColor::fromHsv(20, 100, 200), {-30, 0}, 350, false},
        {QColor(0x80, 0x80, 0x80), {5, 100}, 5, true},   // a grey warms up
    };
    for (const TCase &c : cases) {
        const QColor out = ShiftColour(c.in, c.shift);
        EXPECT_EQ(out.hsvHue(), c.hue);
        EXPECT_EQ(out.value(), c.in.value());
        EXPECT_EQ(out.hsvSaturation() > c.in.hsvSaturation(), c.moreSaturated);
    }
    EXPECT_EQ(ShiftColour(QColor(0x12, 0x34, 0x56), {}), QColor(0x12, 0x34, 0x56));
}

TEST_F(TSkinsTest, EverySkinAppliesItsColoursAndPicturesAndTicksItsItem)
{
    StartToReady();
    TMainMenus &menus = form().menus();
    for (const TSkinRow &row : kSkins) {
        const QString name = QString::fromLatin1(row.name);
        SCOPED_TRACE(row.name);
        form().findChild<QAction *>(QStringLiteral("sm") + name)->trigger();
        EXPECT_EQ(form().skinName(), name);
        EXPECT_EQ(cc().settings.skin, name);
        EXPECT_EQ(Ticked(menus.smSkin), QStringList{QStringLiteral("sm") + name});
        EXPECT_EQ(form().skinPictureSuffix(), QString::fromLatin1(row.suffix));
        for (QWidget *w : {static_cast<QWidget *>(ui().sLabel_Q), static_cast<QWidget *>(ui().sLabel_Input),
                           static_cast<QWidget *>(ui().sLabel_Op[0]), static_cast<QWidget *>(ui().sPanel_OpM[2])})
            EXPECT_EQ(TextColour(w), Rgb(row.text)) << w->objectName().toStdString();
        EXPECT_EQ(TextColour(ui().sLabel_glimpse), Rgb(row.glimpse));
        EXPECT_EQ(form().skinTextColour(), Rgb(row.text));
        EXPECT_EQ(ui().client->palette().brush(QPalette::Window).style(), Qt::TexturePattern);
    }
}

TEST_F(TSkinsTest, TheTickedSkinAgainChangesNothingButEosColoursAnew)
{
    StartToReady();
    QAction *olive = form().findChild<QAction *>(QStringLiteral("smOlive"));
    olive->trigger();
    const QColor oliveWindow = form().palette().color(QPalette::Window);
    olive->trigger();
    EXPECT_TRUE(olive->isChecked());
    EXPECT_EQ(form().palette().color(QPalette::Window), oliveWindow);

    // Eos draws new colours each time: over a few choices at least two differ.
    QAction *eos = form().findChild<QAction *>(QStringLiteral("smEos"));
    QSet<QRgb> windows;
    for (int i = 0; i < 8; ++i) {
        eos->trigger();
        EXPECT_TRUE(eos->isChecked());
        windows.insert(form().palette().color(QPalette::Window).rgb());
    }
    EXPECT_GE(windows.size(), 2);
}

TEST_F(TSkinsTest, WhileAQuestionWaitsSkinsDoNothing)
{
    StartToReady();
    AskQuestion();
    form().findChild<QAction *>(QStringLiteral("smNike"))->trigger();
    EXPECT_EQ(form().skinName(), QStringLiteral("Athena"));
    EXPECT_EQ(Ticked(form().menus().smSkin), QStringList{QStringLiteral("smAthena")});
}

TEST_F(TSkinsTest, SkinAndTypingSoundSurviveARestart)
{
    StartToReady();
    EXPECT_EQ(Ticked(form().menus().smTypingSound), QStringList{QStringLiteral("smHelicon")});
    form().findChild<QAction *>(QStringLiteral("smAegean"))->trigger();
    form().findChild<QAction *>(QStringLiteral("smHit3"))->trigger();
    EXPECT_EQ(Ticked(form().menus().smTypingSound), QStringList{QStringLiteral("smHit3")});
    EXPECT_EQ(cc().settings.typingSound, 12);
    form().findChild<QAction *>(QStringLiteral("smFileAllExit"))->trigger();
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    const auto saved = ReadBackState(folder);
    EXPECT_EQ(saved->settings.skin, QStringLiteral("Aegean"));
    EXPECT_EQ(saved->settings.typingSound, 12);

    program.reset();
    ended = false;
    StartToReady();
    EXPECT_EQ(form().skinName(), QStringLiteral("Aegean"));
    EXPECT_EQ(Ticked(form().menus().smSkin), QStringList{QStringLiteral("smAegean")});
    EXPECT_EQ(Ticked(form().menus().smTypingSound), QStringList{QStringLiteral("smHit3")});
    EXPECT_EQ(form().typingSound(), 12);
}

// Every skin on a graded question, grabbed into the build folder
// (skin_<name>.png) to look at; the skins must look different from each other.
TEST_F(TSkinsTest, EverySkinLooksDifferentOnAGradedQuestion)
{
    StartToReady();
    AskQuestion();
    AnswerCorrectly();
    QSet<QRgb> backgrounds;
    for (const TSkinRow &row : kSkins) {
        const QString name = QString::fromLatin1(row.name);
        form().findChild<QAction *>(QStringLiteral("sm") + name)->trigger();
        form().ShowMainMenus();
        // The skin's menu font fits the bar: no item is pushed out of it once
        // the bar has laid out its items anew for the font.
        const auto itemsFit = [&] {
            for (QMenu *menu : {ui().mmFile, ui().mmPreferences, ui().mmInformation}) {
                const QRect item = form().menuBar()->actionGeometry(menu->menuAction());
                if (item.isEmpty() || !form().menuBar()->rect().contains(item))
                    return false;
            }
            return true;
        };
        EXPECT_TRUE(WaitFor(itemsFit)) << qPrintable(name);
        const QImage shot = form().grab().toImage();
        ASSERT_FALSE(shot.isNull());
        // A spot of bare background beside the question.
        backgrounds.insert(shot.pixel(700, 120));
        EXPECT_TRUE(shot.save(QStringLiteral(TESSARION_BINARY_DIR "/skin_%1.png").arg(name)));
    }
    EXPECT_GE(backgrounds.size(), 8);
}
