// Every input the fuzzers were seeded with (fuzz/corpus/<target>/) and every
// input they ever found a fault with (fuzz/regressions/<target>/) goes to the
// same entry function again, on every run of the suite.
#include "fuzz/FuzzTarget.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {
const QStringList kInputFolders = {QStringLiteral("corpus"), QStringLiteral("regressions")};

QString FuzzFolder()
{
    return SourceDir() + QStringLiteral("/fuzz/");
}

QStringList SubfolderNames(const QString &path)
{
    return QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

QFileInfoList Inputs(const QString &folder, const QString &target)
{
    return QDir(FuzzFolder() + folder + u'/' + target).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
}
}

TEST(FuzzReplay, EverySavedInputEndsCleanly)
{
    ASSERT_FALSE(FuzzTargets().isEmpty());
    for (auto it = FuzzTargets().cbegin(); it != FuzzTargets().cend(); ++it) {
        for (const QString &folder : kInputFolders) {
            for (const QFileInfo &input : Inputs(folder, it.key())) {
                SCOPED_TRACE((folder + u'/' + it.key() + u'/' + input.fileName()).toStdString());
                QFile file(input.filePath());
                ASSERT_TRUE(file.open(QIODevice::ReadOnly));
                const QByteArray bytes = file.readAll();
                try {
                    it.value()(bytes);
                } catch (const std::exception &e) {
                    ADD_FAILURE() << e.what();
                }
            }
        }
    }
}

TEST(FuzzReplay, EveryTargetHasSeedsAndEverySavedInputATarget)
{
    const QStringList targets = FuzzTargets().keys();
    // The program of a target is named after its file: the names must agree.
    QStringList files;
    for (const QFileInfo &source : QDir(FuzzFolder() + QStringLiteral("targets"))
                                       .entryInfoList({QStringLiteral("*.cpp")}, QDir::Files, QDir::Name))
        files.append(source.completeBaseName());
    EXPECT_EQ(files, targets);
    for (const QString &target : targets)
        EXPECT_FALSE(Inputs(QStringLiteral("corpus"), target).isEmpty()) << target.toStdString();
    for (const QString &folder : kInputFolders)
        for (const QString &name : SubfolderNames(FuzzFolder() + folder))
            EXPECT_TRUE(targets.contains(name)) << (folder + u'/' + name).toStdString();
}
