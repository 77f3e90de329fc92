// The screenshots the AppStream metainfo shows, made from the real windows
// (build folder, screenshots/): the training window with a question waiting,
// and the learning-file manager as a first start shows it.
#include "TrainingWindowFixture.h"

#include "files/FileManagerUnit.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

TEST_F(TTrainingWindowTest, TheMetainfoScreenshotsAreMadeFromTheWindows)
{
    const QString out = QStringLiteral(TESSARION_BINARY_DIR "/screenshots/");
    ASSERT_TRUE(QDir().mkpath(out));
    WriteCatalog(folder, FixtureWords().size(), QStringLiteral("ON"));   // the manager opens at start
    QImage manager;
    WhenModalOpens([&manager](QWidget *w) {
        auto *form = qobject_cast<TFileManagerForm *>(w);
        ASSERT_NE(form, nullptr);
        // The whole designed window, also where a small screen makes it scroll.
        QWidget *page = form->findChild<QWidget *>(QStringLiteral("ScreenFitPage"));
        manager = (page ? page : static_cast<QWidget *>(form))->grab().toImage();
        form->sButton_OK->click();
    });
    StartToReady();
    AskQuestion();
    const QImage training = form().grab().toImage();

    ASSERT_FALSE(manager.isNull());
    EXPECT_EQ(manager.size(), QSize(820, 800) * manager.devicePixelRatio());
    EXPECT_TRUE(manager.save(out + QStringLiteral("file-manager.png")));
    EXPECT_TRUE(training.save(out + QStringLiteral("main-window.png")));

    // The metainfo shows exactly these.
    QFile metainfo(SourceDir() + QStringLiteral("/packaging/org.tessarion.Tessarion.metainfo.xml.in"));
    ASSERT_TRUE(metainfo.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(metainfo.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("/main-window.png</image>")));
    EXPECT_TRUE(text.contains(QStringLiteral("/file-manager.png</image>")));
}
