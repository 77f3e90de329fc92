#include "help/Hanrei.h"
#include "help/Pictures.h"

#include <QLabel>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Runs `action` on the legend once its modal loop is running, then returns
// when ShowLegend returns (with a guard so a failure cannot hang the run).
void ShowAndThen(THanreiForm &form, const std::function<void()> &action)
{
    QTimer::singleShot(0, &form, action);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &form, [&form] { form.done(QDialog::Accepted); });
    guard.start(5000);
    form.ShowLegend();
    EXPECT_TRUE(guard.isActive()) << "the legend did not close";
}

TEST(HanreiForm, SizedToItsPictureAndClosedByAClickWithTheButtonSound)
{
    QWidget owner;
    owner.resize(400, 300);
    THanreiForm form(&owner);
    int sounds = 0;
    form.SetClickSound([&sounds] { ++sounds; });
    QSize shownSize;
    ShowAndThen(form, [&] {
        shownSize = form.size();
        QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(10, 10));
    });
    const QPixmap picture = PictureByName(QStringLiteral("Hanrei"));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(shownSize, picture.deviceIndependentSize().toSize());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(sounds, 1);
}

TEST(HanreiForm, EscClosesWithTheButtonSound)
{
    THanreiForm form;
    int sounds = 0;
    form.SetClickSound([&sounds] { ++sounds; });
    ShowAndThen(form, [&] { QTest::keyClick(&form, Qt::Key_Escape); });
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(sounds, 1);
}

}
