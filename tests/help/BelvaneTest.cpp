// The weekly gallery: the week number, the picture table, and the window
// with the test server serving the shipped pictures and without any server.
#include "app/TrainingWindowFixture.h"
#include "app/MainWidgets.h"
#include "help/BelvaneUnit.h"
#include "help/GalleryTable.h"
#include "net/HttpDownloadService.h"
#include "net/TestHttpServer.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

bool RunEventsUntil(const std::function<bool()> &condition, int timeoutMs = 15000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// The repository's served folder, as the configured server serves it.
QString ServedFolder()
{
    return SourceDir() + QStringLiteral("/server/");
}

}   // namespace

TEST(GalleryWeek, CountsWeeksFromTheLastNewYearBeforeTheDay)
{
    struct TCase {
        QDate day;
        int week;
    };
    const TCase cases[] = {
        {QDate(2025, 1, 1), 52},    // 366 days after 1 January 2024: week 53, capped
        {QDate(2023, 1, 1), 52},    // 365 days after 1 January 2022
        {QDate(2025, 1, 2), 1},
        {QDate(2025, 1, 7), 1},
        {QDate(2025, 1, 8), 2},
        {QDate(2025, 2, 26), 9},    // 56 days
        {QDate(2024, 3, 4), 10},    // a leap year: 63 days
        {QDate(2023, 3, 4), 9},     // the same date a year before: 62 days
        {QDate(2024, 12, 23), 52},  // 357 days
        {QDate(2023, 12, 30), 52},  // 363 days
        {QDate(2023, 12, 31), 52},  // 364 days: week 53, capped
        {QDate(2024, 12, 31), 52},  // 365 days in a leap year
    };
    for (const TCase &c : cases)
        EXPECT_EQ(GalleryWeekNumber(c.day), c.week) << c.day.toString(Qt::ISODate).toStdString();
}

TEST(GalleryWeek, TheTableGivesSizeCaptionAndAddress)
{
    struct TCase {
        int week;
        int width;
        int height;
        const char *caption;
        const char *path;
    };
    const TCase cases[] = {
        {1, 800, 581, "Bolivia, Copacabana", "Images/Tessarion/BG/01.jpg"},
        {3, 436, 600, "France, Normandy3", "Images/Tessarion/BG/03.jpg"},
        {25, 800, 566, "Greece, White church and Sea", "Images/Tessarion/BG/25.jpg"},
        {33, 799, 521, "Finland, rural4", "Images/Tessarion/BG/33.jpg"},
        {52, 800, 581, "Turkey, Black Sea", "Images/Tessarion/BG/52.jpg"},
    };
    for (const TCase &c : cases) {
        const TGalleryEntry e = GalleryEntry(c.week);
        EXPECT_EQ(e.width, c.width);
        EXPECT_EQ(e.height, c.height);
        EXPECT_EQ(e.caption, QString::fromLatin1(c.caption));
        EXPECT_EQ(GalleryPicturePath(c.week), QString::fromLatin1(c.path));
    }
}

class TGalleryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.today = [this] { return day; };
        form.playSoundEffect = [this](const QString &name) { sounds.append(name); };
        form.information = [this](const QString &text) { messages.append(text); };
        form.restoreAgent = [this] { ++agentRestored; };
    }

    void UseServer(TTestHttpServer &server)
    {
        form.openService = [&server] { return std::make_unique<THttpDownloadService>(server.address()); };
    }

    // Shows the window; the check runs in its modal loop, then it closes.
    void ShowAndThen(const std::function<void()> &check)
    {
        // The window asks the server before it shows (a loop of its own):
        // the check waits until the window is on screen.
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, &form, [this, check, &poll] {
            if (!form.isVisible())
                return;
            poll.stop();
            check();
            form.reject();
        });
        poll.start();
        form.ShowModal();
    }

    TBelvaneForm form;
    QDate day{2025, 3, 4};   // week 9: 424 × 600, Bolivia, architecture2
    QStringList sounds;
    QStringList messages;
    int agentRestored = 0;
};

TEST_F(TGalleryTest, TheWeeksPictureShowsWithItsCaptionAndTheBarFallsAway)
{
    TTestHttpServer server(ServedFolder());
    UseServer(server);
    ShowAndThen([&] {
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Belvane's weekly gallery"));
        EXPECT_EQ(form.size(), QSize(424, 600));
        EXPECT_EQ(form.sWebLabel1->text(), QStringLiteral("　　　　　　　読み込み中"));
        ASSERT_TRUE(RunEventsUntil([&] { return form.Loaded(); }));
        EXPECT_EQ(form.sLabelFX_Title->text(), QStringLiteral("Bolivia, architecture2"));
        EXPECT_EQ(form.sWebLabel1->text(), kGalleryCredit);
        EXPECT_EQ(form.WebBrowser1->pixmap().size(), QSize(424, 600));
        // The picture fills the window to every edge: no band at the right
        // or the bottom, and the picture's corners in the window's corners.
        EXPECT_EQ(form.WebBrowser1->geometry(), form.rect());
        const QImage shown = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage picture = form.WebBrowser1->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shown.size(), QSize(424, 600) * shown.devicePixelRatio());
        const qreal ratio = shown.devicePixelRatio();
        for (const QPoint corner : {QPoint(0, 0), QPoint(423, 0), QPoint(423, 599), QPoint(0, 560)}) {
            const QPoint at = (QPointF(corner) * ratio).toPoint();
            EXPECT_EQ(shown.pixel(at), picture.pixel(corner)) << corner.x() << "," << corner.y();
        }
        EXPECT_EQ(form.sPanel1->geometry(), QRect(0, 568, 392, 24));
        EXPECT_EQ(form.sWebLabel1->x(), 392 - 140);
        // The credit is read whole in its corner.
        EXPECT_LE(form.sWebLabel1->fontMetrics().horizontalAdvance(kGalleryCredit), form.sWebLabel1->width());
        // To look at: the picture with its caption bar (build folder, gallery.png).
        EXPECT_TRUE(form.grab().save(QStringLiteral(TESSARION_BINARY_DIR "/gallery.png")));
        // Four seconds after loading the bar starts to fall until it is out of view.
        EXPECT_TRUE(form.Timer_fall->isActive());
        ASSERT_TRUE(RunEventsUntil([&] { return form.sPanel1->y() > 611; }, 12000));
    });
    EXPECT_EQ(sounds, QStringList{QStringLiteral("BUTTON")});
    EXPECT_EQ(agentRestored, 1);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(server.agents.size() > 0, true);

    // Shown again in the same run: no new download, the bar comes back and falls.
    const qsizetype requests = server.agents.size();
    ShowAndThen([&] {
        EXPECT_EQ(form.sPanel1->y(), 568);
        EXPECT_TRUE(form.Timer_fall->isActive());
        EXPECT_EQ(form.sLabelFX_Title->text(), QStringLiteral("Bolivia, architecture2"));
    });
    EXPECT_EQ(server.agents.size(), requests);
}

TEST_F(TGalleryTest, WithoutAServerTheWindowSaysSoAndClosesItself)
{
    form.openService = [] { return std::unique_ptr<TDownloadService>(); };
    QElapsedTimer clock;
    clock.start();
    const int result = form.ShowModal();   // returns once the window closed itself
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(messages, QStringList{QStringLiteral("インターネット接続に問題があります")});
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(sounds, QStringList{QStringLiteral("BUTTON")});
    EXPECT_TRUE(form.WeekPicture().isNull());
}

TEST_F(TGalleryTest, APictureTheServerDoesNotDeliverLeavesAnErrorPage)
{
    TTestHttpServer server(ServedFolder());
    server.misbehave(QStringLiteral("Images/Tessarion/BG/09.jpg"), TServerFault::NotFound);
    UseServer(server);
    ShowAndThen([&] {
        ASSERT_TRUE(RunEventsUntil([&] { return !form.WebBrowser1->text().isEmpty(); }));
        EXPECT_TRUE(form.WebBrowser1->text().contains(QStringLiteral("Images/Tessarion/BG/09.jpg")));
        EXPECT_FALSE(form.Loaded());
    });
}

TEST(GalleryPictures, EveryWeekHasItsPictureInTheTablesSize)
{
    for (int week = 1; week <= kGalleryWeeks; ++week) {
        const QImage picture(ServedFolder() + QLatin1Char('/') + GalleryPicturePath(week));
        const TGalleryEntry entry = GalleryEntry(week);
        EXPECT_EQ(picture.size(), QSize(entry.width, entry.height)) << week;
    }
}

// The main window's top-right corner: the logo, the picture of the week, or nothing.
class TTopRightTest : public TTrainingWindowTest {
protected:
    void SetUp() override
    {
        TTrainingWindowTest::SetUp();
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    }
    void TearDown() override
    {
        TTrainingWindowTest::TearDown();
        qunsetenv("XDG_CONFIG_HOME");
    }
    QTemporaryDir config;
};

TEST_F(TTopRightTest, TheSettingChoosesLogoPictureOrNothing)
{
    TTestHttpServer server(ServedFolder());
    folder.writeLines(QStringLiteral("ServerAddress.dat"), {server.address()});
    StartToReady();   // 1 April 2024: week 14, 800 × 581, France, Alps3
    struct TCase {
        int setting;
        bool logo;
        bool picture;
    };
    for (const TCase c : {TCase{0, false, false}, TCase{1, true, false}, TCase{2, false, true}}) {
        SCOPED_TRACE(c.setting);
        form().ShowTopRightDisplay(c.setting);
        EXPECT_EQ(ui().sLabel_migiue->isVisible(), c.logo);
        EXPECT_EQ(ui().sPanel_BWG->isVisible(), c.picture);
    }
    // Athena's panel is a pixel larger than the picture's 136 × (87 + 13).
    EXPECT_EQ(ui().sPanel_BWG->geometry(), QRect(840, 0, 137, 101));
    EXPECT_EQ(ui().Image_BWG->pixmap().size(), QSize(120, 87));
    EXPECT_EQ(ui().Image_BWG->toolTip(), QStringLiteral("一週間ごとに新しい絵が展示されます"));

    // A click opens the gallery on the same picture.
    QString opened;
    WhenModalOpens([&opened](QWidget *modal) {
        opened = modal->objectName();
        static_cast<QDialog *>(modal)->reject();
    });
    QTest::mouseClick(ui().Image_BWG, Qt::LeftButton);
    EXPECT_EQ(opened, QStringLiteral("BelvaneForm"));
    EXPECT_EQ(program->belvaneForm().Week(), 14);
}

TEST_F(TTopRightTest, WithoutAServerThePictureSettingShowsTheLogo)
{
    StartToReady();
    form().ShowTopRightDisplay(2);
    EXPECT_TRUE(ui().sLabel_migiue->isVisible());
    EXPECT_FALSE(ui().sPanel_BWG->isVisible());
}
