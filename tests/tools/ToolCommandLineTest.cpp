// The command line of tessarion-tool as a user and a script meet it: help for
// every command, usage errors that name what is wrong (exit 2), refusals that
// exit 1, folders with or without their "/", relative or absolute.
#include "base/Version.h"
#include "data/LearningFile.h"
#include "support/TestSupport.h"
#include "workspace/CatalogFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {
struct TRun {
    int exitCode = -1;
    QString out;
    QString err;
};

TRun Tool(const QStringList &args, const QString &workingFolder = QString(), const QString &configHome = QString())
{
    QProcess p;
    if (!workingFolder.isEmpty())
        p.setWorkingDirectory(workingFolder);
    if (!configHome.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
        p.setProcessEnvironment(env);
    }
    p.start(BinaryDir() + QStringLiteral("/tessarion-tool"), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

// The command names of the overview's "Commands:" section.
QStringList CommandNames()
{
    const TRun run = Tool({QStringLiteral("--help")});
    const QString section = run.out.section(QStringLiteral("\nCommands:\n"), 1).section(QStringLiteral("\n\n"), 0, 0);
    QStringList names;
    static const QRegularExpression kName(QStringLiteral("^  ([a-z][a-z-]*) "));
    for (const QString &line : section.split(u'\n')) {
        const QRegularExpressionMatch m = kName.match(line);
        if (m.hasMatch() && m.captured(1) != QStringLiteral("help"))
            names << m.captured(1);
    }
    return names;
}

// A program folder with a four-word file TT; with damaged, its last row is missing.
struct TFourWords {
    TTempProgramFolder dir;
    explicit TFourWords(bool damaged = false)
    {
        std::map<int, TSiteRow> rows = UsualSiteRows();
        rows[6].tangoTotal = 4;
        rows[6].dbTangoTotal = 4;
        dir.writeLines(QStringLiteral("resource/FileInfo_SITE.dat"), SiteCatalogLines(805, rows));
        QString text = QStringLiteral("T305\r\n");
        for (int k = 1; k <= (damaged ? 3 : 4); ++k)
            text += QStringLiteral("%1\tword%1x\t/w/\t\t意味%1\r\n").arg(k);
        dir.write(QStringLiteral("resource/TT_enc.dat"), EncodeLearningText(text).toUtf8());
    }
    QString folder() const { return dir.path().chopped(1); }   // without its "/"
};
}

TEST(ToolCommandLine, VersionAndOverviewExitZero)
{
    const TRun version = Tool({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QStringLiteral("tessarion-tool %1\n").arg(QString::fromLatin1(kTessarionVersion)));
    EXPECT_TRUE(QString::fromLatin1(kTessarionVersion).contains(QRegularExpression(QStringLiteral("^\\d+\\.\\d+"))));

    for (const QStringList &args : {QStringList{QStringLiteral("--help")}, QStringList{QStringLiteral("help")},
                                    QStringList{QStringLiteral("-h")}}) {
        const TRun run = Tool(args);
        EXPECT_EQ(run.exitCode, 0) << args.join(u' ').toStdString();
        EXPECT_TRUE(run.out.startsWith(QStringLiteral("Usage: tessarion-tool COMMAND")));
        EXPECT_TRUE(run.out.contains(QStringLiteral("Exit status:")));
    }
    EXPECT_GE(CommandNames().size(), 15);
}

// Every command explains itself the same way through "help COMMAND" and
// "COMMAND --help": its usage, its purpose, a sentence for every option of
// its usage line, an example, the exit codes.
TEST(ToolCommandLine, EveryCommandHasUsefulHelp)
{
    const QStringList names = CommandNames();
    ASSERT_TRUE(names.contains(QStringLiteral("study")));
    static const QRegularExpression kUsageOption(QStringLiteral("--([a-z-]+)"));
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        const TRun viaHelp = Tool({QStringLiteral("help"), name});
        const TRun viaOption = Tool({name, QStringLiteral("--help")});
        ASSERT_EQ(viaHelp.exitCode, 0);
        ASSERT_EQ(viaOption.exitCode, 0);
        EXPECT_EQ(viaHelp.out, viaOption.out);
        const QString &text = viaHelp.out;
        EXPECT_TRUE(text.startsWith(QStringLiteral("Usage: tessarion-tool ") + name));
        EXPECT_TRUE(text.contains(QStringLiteral("\nExample")));
        EXPECT_TRUE(text.contains(QStringLiteral("tessarion-tool ") + name + u' ') || name == QStringLiteral("completion"));
        EXPECT_TRUE(text.contains(QStringLiteral("2  usage error")));
        const QString usage = text.section(QStringLiteral("\n\n"), 0, 0);
        const QString options = text.section(QStringLiteral("\nOptions:\n"), 1).section(QStringLiteral("\n\n"), 0, 0);
        auto it = kUsageOption.globalMatch(usage);
        while (it.hasNext()) {
            const QString option = it.next().captured(0);
            const QRegularExpression described(QStringLiteral("^  ") + QRegularExpression::escape(option)
                                                   + QStringLiteral("( [A-Z.a-z]+)? +\\S"),
                                               QRegularExpression::MultilineOption);
            EXPECT_TRUE(described.match(options).hasMatch()) << option.toStdString() << "\n" << options.toStdString();
        }
    }
}

TEST(ToolCommandLine, UsageErrorsExitTwoAndNameWhatIsWrong)
{
    const struct {
        QStringList args;
        const char *named;
    } cases[] = {
        {{}, "no command"},
        {{QStringLiteral("nonsense")}, "'nonsense'"},
        {{QStringLiteral("--nonsense")}, "'nonsense'"},
        {{QStringLiteral("help"), QStringLiteral("nonsense")}, "'nonsense'"},
        {{QStringLiteral("study"), QStringLiteral("--bogus")}, "'bogus'"},
        {{QStringLiteral("study"), QStringLiteral("--answers"), QStringLiteral("1")}, "--file"},
        {{QStringLiteral("study"), QStringLiteral("--file")}, "'--file'"},
        {{QStringLiteral("words"), QStringLiteral("--file"), QStringLiteral("TT"), QStringLiteral("extra")}, "'extra'"},
        {{QStringLiteral("decode"), QStringLiteral("one")}, "IN OUT"},
        {{QStringLiteral("export-records")}, "--to"},
        {{QStringLiteral("words"), QStringLiteral("--program-folder="), QStringLiteral("--file"), QStringLiteral("TT")},
         "--program-folder"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const TRun run = Tool(c.args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains(QLatin1String(c.named))) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("Try 'tessarion-tool "))) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
}

// A refused study is a failure for a script: exit 1, the reason on stderr,
// nothing printed as if questions had been asked.
TEST(ToolCommandLine, RefusedStudyExitsOne)
{
    const TFourWords damaged(true);
    const TRun run = Tool({QStringLiteral("study"), QStringLiteral("--program-folder"), damaged.folder(),
                           QStringLiteral("--file"), QStringLiteral("TT"), QStringLiteral("--answers"),
                           QStringLiteral("11")});
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("damaged"))) << run.err.toStdString();

    const TFourWords sound;
    const TRun studied = Tool({QStringLiteral("study"), QStringLiteral("--program-folder"), sound.folder(),
                               QStringLiteral("--file"), QStringLiteral("TT"), QStringLiteral("--answers"),
                               QStringLiteral("11")});
    EXPECT_EQ(studied.exitCode, 0) << studied.err.toStdString();
    EXPECT_TRUE(studied.out.startsWith(QStringLiteral("1\t")));
}

// The program folder written with or without its "/", relative or absolute,
// is the same folder: the server-address file beside the program is found
// (its unusable address is reported, naming the file) every time.
TEST(ToolCommandLine, ProgramFolderWithOrWithoutSeparatorIsTheSameFolder)
{
    const TFourWords program;
    const TTempProgramFolder config;
    program.dir.writeLines(QStringLiteral("ServerAddress.dat"), {QStringLiteral("ftp://example.invalid/")});
    const QString parent = QFileInfo(program.folder()).path();
    const QString name = QFileInfo(program.folder()).fileName();
    const struct {
        QString folder;
        QString workingFolder;
    } cases[] = {
        {program.folder(), {}},
        {program.dir.path(), {}},
        {name, parent},
        {name + u'/', parent},
        {QStringLiteral("./") + name + QStringLiteral("/../") + name, parent},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        const TRun run = Tool({QStringLiteral("update"), QStringLiteral("--program-folder"), c.folder},
                              c.workingFolder, config.path());
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(program.dir.file(QStringLiteral("ServerAddress.dat")))) << run.err.toStdString();
    }
}

// export-records --to DIR makes DIR when only DIR is missing; a missing parent
// is refused and nothing is made.
TEST(ToolCommandLine, ExportMakesTheMissingTargetFolder)
{
    const TFourWords program;
    const TTempProgramFolder data;
    const TTempProgramFolder backups;
    ASSERT_EQ(Tool({QStringLiteral("study"), QStringLiteral("--program-folder"), program.folder(),
                    QStringLiteral("--file"), QStringLiteral("TT"), QStringLiteral("--answers"), QStringLiteral("1")})
                  .exitCode,
              0);

    const TRun made = Tool({QStringLiteral("export-records"), QStringLiteral("--program-folder"), program.folder(),
                            QStringLiteral("--to"), QStringLiteral("backup")},
                           backups.path());
    EXPECT_EQ(made.exitCode, 0) << made.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(backups.file(QStringLiteral("backup/user/record/Record_TT.dat"))));

    const TRun refused = Tool({QStringLiteral("export-records"), QStringLiteral("--program-folder"), program.folder(),
                               QStringLiteral("--to"), backups.file(QStringLiteral("missing/backup/"))});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(backups.file(QStringLiteral("missing")))) << refused.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(backups.file(QStringLiteral("missing"))));
}

TEST(ToolCommandLine, CompletionScriptNamesCommandsOptionsAndFileCodes)
{
    const TRun run = Tool({QStringLiteral("completion")});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains(QStringLiteral("complete -F _tessarion_tool tessarion-tool")));
    for (const QString &name : CommandNames())
        EXPECT_TRUE(run.out.contains(QStringLiteral("\n        ") + name + QStringLiteral(") options="))) << name.toStdString();
    for (const char *word : {"--program-folder", "--answers", "--replace", " TT ", " U18"})
        EXPECT_TRUE(run.out.contains(QLatin1String(word))) << word;
    QProcess bash;
    bash.start(QStringLiteral("bash"), {QStringLiteral("-n")});
    bash.write(run.out.toUtf8());
    bash.closeWriteChannel();
    ASSERT_TRUE(bash.waitForFinished(60000));
    EXPECT_EQ(bash.exitCode(), 0) << bash.readAllStandardError().toStdString();
}
