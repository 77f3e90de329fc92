#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The windows are tested on a desktop screen: the offscreen platform's
    // own screen (800x600) has less room than any screen the windows are made
    // for, and would make every designed window scroll. The tests of small
    // screens give their room explicitly.
    QTemporaryDir screens;
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen" && screens.isValid()) {
        const QString path = screens.filePath(QStringLiteral("screens.json"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(R"({"screens": [{"name": "Desktop", "x": 0, "y": 0, "width": 1280, "height": 1024,
                           "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1.0}]})");
            file.close();
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + path.toUtf8());
        }
    }
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    // Windows that write the reminder's autostart entry write it here, never
    // into the real configuration folder.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
