#pragma once
// A program folder with one built-in learning file (TT) of n words that the
// catalog queues alone, and engines started on it as the program starts:
// for tests that run study runs from the file's loading to its save.
#include "data/LearningFile.h"
#include "engine/CommonUnit.h"
#include "support/TestSupport.h"
#include "workspace/CatalogFixture.h"

#include <QDate>
#include <QList>
#include <memory>

class TStudyEnv {
public:
    static inline const QDate kToday{2024, 4, 1};
    static constexpr int kSlotTT = 6;
    static constexpr quint32 kSeed = 11;

    // Each word with its own meaning unless a meaning is given for all.
    explicit TStudyEnv(int n, const QString &sharedMeaning = {})
    {
        dir.writeLines(QStringLiteral("resource/FileInfo_SITE.dat"),
                       SiteCatalogLines(900, {{kSlotTT, {QStringLiteral("TT"), 305, QStringLiteral("テスト単語"), n, n}}}));
        QString text = QStringLiteral("T305\r\n");
        for (int p = 1; p <= n; ++p) {
            const QString meaning = sharedMeaning.isEmpty() ? QStringLiteral("意味%1").arg(p) : sharedMeaning;
            text += QStringLiteral("%1\tword%1x\t/w/\t\t%2\r\n").arg(p).arg(meaning);
        }
        dir.write(QStringLiteral("resource/TT_enc.dat"), EncodeLearningText(text).toUtf8());
    }

    // An engine as the program starts it on the given day, the catalog read
    // and the file queue built.
    std::unique_ptr<TCC> Start(int dayOffset = 0)
    {
        auto cc = std::make_unique<TCC>();
        cc->clock.FixToday(kToday.addDays(dayOffset));
        cc->random.Seed(kSeed + static_cast<quint32>(dayOffset));
        cc->RunStartupFileSteps(dir.path());
        cc->LoadServerCatalog();
        cc->LoadCatalog();
        cc->MergeServerCatalog();
        cc->BuildFileQueue();
        return cc;
    }

    QString UserFile(const QString &relative) const { return dir.file(QStringLiteral("user/") + relative); }

    TTempProgramFolder dir;
};

// One answer per character: '1' right, anything else wrong.
inline QList<TScriptedAnswer> Answers(const char *seq)
{
    QList<TScriptedAnswer> answers;
    for (const char *c = seq; *c; ++c)
        answers.append({*c == '1', std::nullopt});
    return answers;
}
