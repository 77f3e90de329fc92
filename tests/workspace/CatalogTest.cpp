#include "engine/CommonUnit.h"
#include "base/TError.h"
#include "support/TestSupport.h"
#include "workspace/CatalogFixture.h"
#include "base/TextFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {
const QString kPc = QStringLiteral("user/FileInfo/FileInfo_PC.dat");
const QString kUser = QStringLiteral("user/FileInfo/FileInfo_User.dat");
const QString kSite = QStringLiteral("user/FileInfo/FileInfo_SITE.dat");
const QString kTitles = QStringLiteral("user/word_user/Title.dat");

// An engine started on a temporary program folder.
struct TCatalogEnv {
    TTempProgramFolder dir;
    TCC cc;
    void Start() { cc.RunStartupFileSteps(dir.path()); }
    void Load()
    {
        Start();
        cc.LoadServerCatalog();
        cc.LoadCatalog();
    }
    // A full-layout catalog written by the engine itself, as a starting point.
    QStringList SavedPcLines()
    {
        Load();
        return dir.readLines(kPc);
    }
};

// Drops the popup lines (PopUp, PopUpDate, PopUpWN with values) of every row.
QStringList WithoutPopUpLines(const QStringList &lines)
{
    QStringList out;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &l = lines.at(i);
        if (l == u"PopUp" || l == u"PopUpDate" || l == u"PopUpWN") {
            ++i;
            continue;
        }
        out << l;
    }
    return out;
}
}

TEST(FileSlots, CodesSlotsAndLanguages)
{
    const struct { const char *code; int slot; } codeSlots[] = {
        {"ETB", 1}, {"EJU", 4}, {"TT", 6}, {"TJ", 7}, {"IT", 8}, {"PT", 13}, {"DT", 27}, {"DJ", 28},
        {"U1", 32}, {"U10", 41}, {"U18", 49}, {"YET", 99},
        {"U0", 0}, {"U19", 0}, {"U01", 0}, {"U+1", 0}, {"tt", 0}, {"", 0}, {"NIL", 0}, {"TT ", 0},
    };
    for (const auto &c : codeSlots)
        EXPECT_EQ(FileSlotOfCode(QString::fromLatin1(c.code)), c.slot) << c.code;
    const struct { int slot; const char *code; } codes[] = {
        {5, "NIL"}, {0, "NIL"}, {14, "NIL"}, {31, "NIL"}, {50, "NIL"}, {6, "TT"}, {28, "DJ"}, {41, "U10"}, {99, "YET"},
    };
    for (const auto &c : codes)
        EXPECT_EQ(FileCodeOfSlot(c.slot), QString::fromLatin1(c.code)) << c.slot;
    const struct { int slot; int kind; } kinds[] = {{1, 2}, {6, 2}, {8, 3}, {9, 4}, {10, 5}, {11, 7}, {12, 6}, {13, 8}, {28, 2}, {5, 0}, {32, 0}, {99, 0}};
    for (const auto &c : kinds)
        EXPECT_EQ(LanguageKindOfSlot(c.slot), c.kind) << c.slot;
    const struct { int kind; int slot; } mains[] = {{2, 6}, {3, 8}, {4, 9}, {5, 10}, {6, 12}, {7, 11}, {8, 13}, {0, 0}, {1, 0}, {9, 0}};
    for (const auto &c : mains)
        EXPECT_EQ(MainSlotOfLanguageKind(c.kind), c.slot) << c.kind;
}

TEST(Catalog, FirstStartBuildsTheCatalogFromTheShippedServerCatalog)
{
    TCatalogEnv env;
    env.dir.writeLines(QStringLiteral("resource/FileInfo_SITE.dat"), SiteCatalogLines(805, UsualSiteRows(), 203, 204));
    env.Load();
    // The shipped catalog was copied into the user folder first.
    EXPECT_EQ(env.dir.read(kSite), env.dir.read(QStringLiteral("resource/FileInfo_SITE.dat")));
    const TCatalog &c = env.cc.catalog;
    EXPECT_EQ(c.dataVersion, 805);
    EXPECT_TRUE(c.fileManager);
    EXPECT_EQ(c.relatedWordsVersion, 201);
    EXPECT_EQ(c.etymologyVersion, 201);
    EXPECT_EQ(env.cc.siteCatalog.relatedWordsVersion, 203);
    const TDBF &tt = c.rows[6];
    EXPECT_EQ(tt.Code, QStringLiteral("TT"));
    EXPECT_EQ(tt.Version, 305);
    EXPECT_EQ(tt.Title, QStringLiteral("TOEIC 頻出単語"));
    EXPECT_EQ(tt.TangoTotal, 2000);
    EXPECT_EQ(tt.DBTangoTotal, 2100);
    EXPECT_TRUE(tt.OnOff);   // no Default_ON.dat: TT
    for (int slot = 1; slot <= kLastBuiltInSlot; ++slot) {
        EXPECT_EQ(c.rows[slot].Order, QString::number(slot));
        EXPECT_TRUE(c.rows[slot].PopUp);
        EXPECT_TRUE(c.rows[slot].PopUpDate.isEmpty());
        EXPECT_EQ(c.rows[slot].PopUpWN, 10);
        if (slot != 6) {
            EXPECT_FALSE(c.rows[slot].OnOff) << slot;
        }
    }
    for (int n = 1; n <= kUserFileCount; ++n) {
        const TDBF &u = c.rows[31 + n];
        EXPECT_EQ(u.Code, QStringLiteral("U%1").arg(n));
        EXPECT_FALSE(u.OnOff);
        EXPECT_EQ(u.Order, QString::number(31 + n));
        EXPECT_EQ(u.Title, QStringLiteral("ユーザー %1").arg(n));
        EXPECT_EQ(u.PopUpWN, 10);
    }
    EXPECT_EQ(env.dir.readLines(kTitles).size(), 18);
    EXPECT_EQ(env.dir.readLines(kTitles).at(9), QStringLiteral("ユーザー 10"));
    // Written in the full layout: 4 + 31 x 21 + 5 lines, 18 x 13 lines.
    EXPECT_EQ(env.dir.readLines(kPc).size(), 4 + 31 * 21 + 5);
    EXPECT_EQ(env.dir.readLines(kUser).size(), 18 * 13);
}

TEST(Catalog, DefaultOnFileChoosesTheFileSwitchedOn)
{
    TCatalogEnv env;
    env.dir.writeLines(QStringLiteral("resource/FileInfo_SITE.dat"), SiteCatalogLines(805, UsualSiteRows()));
    env.dir.writeLines(QStringLiteral("Default_ON.dat"), {QStringLiteral("TJ")});
    env.Load();
    for (int slot = 1; slot <= kLastBuiltInSlot; ++slot)
        EXPECT_EQ(env.cc.catalog.rows[slot].OnOff, slot == 7) << slot;
}

TEST(Catalog, FirstStartWithoutAnyServerCatalogGoesOn)
{
    TCatalogEnv env;
    env.Load();
    EXPECT_EQ(env.cc.catalog.dataVersion, 0);
    EXPECT_EQ(env.cc.catalog.rows[6].Code, QStringLiteral("TT"));
    EXPECT_EQ(env.cc.catalog.rows[6].Version, 0);
    EXPECT_TRUE(env.cc.catalog.rows[5].Code.isEmpty());
    EXPECT_EQ(env.cc.siteCatalog.rows[8].Version, 0);
    EXPECT_TRUE(QFile::exists(env.dir.file(kPc)));
    EXPECT_FALSE(QFile::exists(env.dir.file(kSite)));
}

TEST(Catalog, FullLayoutRoundTripsEveryField)
{
    TCatalogEnv env;
    env.dir.writeLines(QStringLiteral("resource/FileInfo_SITE.dat"), SiteCatalogLines(805, UsualSiteRows()));
    env.Load();
    TCatalog &c = env.cc.catalog;
    c.dataVersion = 812;
    c.fileManager = false;
    c.relatedWordsVersion = 230;
    c.etymologyVersion = 240;
    c.rows[7] = TDBF{QStringLiteral("TJ"), 211, true, QStringLiteral("3"), false,
                     QStringLiteral("2024/05/06"), 25, QStringLiteral("熟語"), 790, 801};
    c.rows[40].OnOff = true;
    c.rows[40].PopUpDate = QStringLiteral("2024/1/2");
    c.rows[40].PopUpWN = 7;
    const TCatalog before = c;
    env.cc.SaveCatalog();
    c = TCatalog{};
    env.cc.LoadCatalog();
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const TDBF &a = before.rows[slot];
        const TDBF &b = c.rows[slot];
        EXPECT_EQ(std::tie(a.Code, a.OnOff, a.Order, a.PopUp, a.PopUpDate, a.PopUpWN, a.Title),
                  std::tie(b.Code, b.OnOff, b.Order, b.PopUp, b.PopUpDate, b.PopUpWN, b.Title)) << slot;
        if (slot <= kLastBuiltInSlot) {
            EXPECT_EQ(std::tie(a.Version, a.TangoTotal, a.DBTangoTotal), std::tie(b.Version, b.TangoTotal, b.DBTangoTotal)) << slot;
        }
    }
    EXPECT_EQ(c.dataVersion, 812);
    EXPECT_FALSE(c.fileManager);
    EXPECT_EQ(c.relatedWordsVersion, 230);
    EXPECT_EQ(c.etymologyVersion, 240);
    // The row as laid out in the file.
    const QStringList lines = env.dir.readLines(kPc);
    EXPECT_EQ(lines.mid(0, 4), (QStringList{QStringLiteral("Tessarion"), QStringLiteral("812"), QStringLiteral("FileManager"), QStringLiteral("OFF")}));
    EXPECT_EQ(lines.mid(4 + 6 * 21, 21).join(u'|'),
              QStringLiteral("--------|Code|TJ|Version|211|OnOff|ON|Order|3|PopUp|OFF|PopUpDate|2024/05/06|PopUpWN|25|Title|熟語|TangoTotal|790|DBTangoTotal|801"));
    EXPECT_EQ(lines.mid(lines.size() - 5).join(u'|'), QStringLiteral("--------|ENG_Quote_enc|230|Etymology_enc|240"));
}

// A popup date that is no date stopped the file queue with a message that
// named no file: it reads as none, and the file is queued as usual.
TEST(Catalog, APopUpDateThatIsNoDateReadsAsNone)
{
    TCatalogEnv env;
    env.dir.writeLines(QStringLiteral("resource/FileInfo_SITE.dat"), SiteCatalogLines(805, UsualSiteRows()));
    env.Load();
    env.cc.catalog.rows[7].PopUpDate = QStringLiteral("2024/13/45");
    env.cc.catalog.rows[8].PopUpDate = QStringLiteral("2024/5/6");
    env.cc.catalog.rows[40].PopUpDate = QStringLiteral("someday");
    env.cc.SaveCatalog();
    env.cc.LoadCatalog();
    EXPECT_EQ(env.cc.catalog.rows[7].PopUpDate, QString());
    EXPECT_EQ(env.cc.catalog.rows[8].PopUpDate, QStringLiteral("2024/5/6"));
    EXPECT_EQ(env.cc.catalog.rows[40].PopUpDate, QString());
}

TEST(Catalog, OlderPcLayoutWithoutPopUpLinesIsReadAndWrittenBackInFull)
{
    TCatalogEnv env;
    QStringList lines = env.SavedPcLines();
    lines[1] = QStringLiteral("801");
    lines[4 + 5 * 21 + 6] = QStringLiteral("ON");   // TT OnOff
    lines[4 + 5 * 21 + 8] = QStringLiteral("12");   // TT Order
    lines[4 + 5 * 21 + 16] = QStringLiteral("古い題");   // TT Title
    QStringList older = WithoutPopUpLines(lines);
    ASSERT_EQ(older.size(), lines.size() - 31 * 6);
    env.dir.writeLines(kPc, older);
    env.cc.LoadCatalog();
    const TDBF &tt = env.cc.catalog.rows[6];
    EXPECT_TRUE(tt.OnOff);
    EXPECT_EQ(tt.Order, QStringLiteral("12"));
    EXPECT_EQ(tt.Title, QStringLiteral("古い題"));
    EXPECT_TRUE(tt.PopUp);
    EXPECT_EQ(tt.PopUpWN, 10);
    EXPECT_EQ(env.cc.catalog.relatedWordsVersion, 201);
    EXPECT_EQ(env.cc.catalog.etymologyVersion, 201);   // data version below 802
    EXPECT_EQ(env.dir.readLines(kPc).size(), 4 + 31 * 21 + 5);
}

TEST(Catalog, CatalogEndingAfterSlot31GivesVersions201)
{
    TCatalogEnv env;
    QStringList lines = env.SavedPcLines();
    lines[1] = QStringLiteral("900");
    lines[lines.size() - 3] = QStringLiteral("250");   // related-words version
    lines.last() = QStringLiteral("260");              // etymology version
    env.dir.writeLines(kPc, lines);
    env.cc.LoadCatalog();
    EXPECT_EQ(env.cc.catalog.relatedWordsVersion, 250);
    EXPECT_EQ(env.cc.catalog.etymologyVersion, 260);

    env.dir.writeLines(kPc, lines.mid(0, lines.size() - 5));
    env.cc.LoadCatalog();
    EXPECT_EQ(env.cc.catalog.dataVersion, 900);
    EXPECT_EQ(env.cc.catalog.relatedWordsVersion, 201);
    EXPECT_EQ(env.cc.catalog.etymologyVersion, 201);
}

TEST(Catalog, OlderUserLayoutGetsPopUpDefaultsForEveryRow)
{
    TCatalogEnv env;
    env.Load();
    QStringList older;
    for (int n = 1; n <= 18; ++n)
        older << QStringLiteral("--------") << QStringLiteral("Code") << QStringLiteral("U%1").arg(n) << QStringLiteral("OnOff")
              << (n == 18 ? QStringLiteral("ON") : QStringLiteral("OFF")) << QStringLiteral("Order") << QString::number(100 + n);
    env.dir.writeLines(kUser, older);
    env.cc.LoadCatalog();
    for (int n = 1; n <= 18; ++n) {
        const TDBF &u = env.cc.catalog.rows[31 + n];
        EXPECT_EQ(u.Code, QStringLiteral("U%1").arg(n));
        EXPECT_EQ(u.Order, QString::number(100 + n));
        EXPECT_TRUE(u.PopUp);
        EXPECT_TRUE(u.PopUpDate.isEmpty());
        EXPECT_EQ(u.PopUpWN, 10);
    }
    EXPECT_TRUE(env.cc.catalog.rows[49].OnOff);
    EXPECT_EQ(env.dir.readLines(kUser).size(), 18 * 13);
}

// Damage never destroys and never locks the learner out: a damaged catalog
// file is kept aside, the message names it (and the line, for a number), and
// the catalog is rebuilt as on a first start.
TEST(Catalog, DamagedCatalogFilesAreKeptAndRebuiltAsOnAFirstStart)
{
    TCatalogEnv fresh;
    fresh.Load();
    const TCatalog firstStart = fresh.cc.catalog;

    TCatalogEnv env;
    const QStringList good = env.SavedPcLines();
    const QStringList goodTitles = QStringList(18, QStringLiteral("t"));
    const struct {
        const char *what;
        QString file;
        QStringList lines;
        QString named;   // what the message must name beside the file
    } cases[] = {
        {"cut inside slot 12", kPc, good.mid(0, 4 + 11 * 21 + 7), QStringLiteral("行目")},
        {"empty", kPc, {}, QStringLiteral("1 行目")},
        {"version not a number", kPc, [&] { QStringList l = good; l[4 + 5 * 21 + 4] = QStringLiteral("3x"); return l; }(),
         QStringLiteral("%1 行目").arg(4 + 5 * 21 + 4 + 1)},
        {"data version not a number", kPc, [&] { QStringList l = good; l[1] = QString(); return l; }(), QStringLiteral("2 行目")},
        {"related-words version missing", kPc, good.mid(0, good.size() - 3), QStringLiteral("行目")},
        {"one title", kTitles, {QStringLiteral("only one title")}, QStringLiteral("2 行目")},
        {"user catalog cut", kUser, {QStringLiteral("--------"), QStringLiteral("Code"), QStringLiteral("U1")}, QStringLiteral("行目")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        env.dir.writeLines(kPc, good);
        env.dir.writeLines(kTitles, goodTitles);
        env.cc.LoadCatalog();   // the user catalog is written anew
        for (const QString &old : QDir(env.dir.file(QStringLiteral("user/FileInfo"))).entryList({QStringLiteral("*.damaged-*")}))
            QFile::remove(env.dir.file(QStringLiteral("user/FileInfo/")) + old);
        env.dir.writeLines(c.file, c.lines);
        const QByteArray damaged = env.dir.read(c.file);
        env.cc.defaultNotifier.messages.clear();

        env.cc.LoadCatalog();
        ASSERT_EQ(env.cc.defaultNotifier.messages.size(), 1);
        const QString message = env.cc.defaultNotifier.messages.first();
        EXPECT_TRUE(message.contains(QDir::toNativeSeparators(env.dir.file(c.file)))) << message.toStdString();
        EXPECT_TRUE(message.contains(c.named)) << message.toStdString();
        const QFileInfo file(env.dir.file(c.file));
        const QStringList kept = file.dir().entryList({file.fileName() + QStringLiteral(".damaged-*")}, QDir::Files);
        ASSERT_EQ(kept.size(), 1);
        EXPECT_EQ(env.dir.read(QFileInfo(c.file).path() + QStringLiteral("/") + kept.first()), damaged);
        if (c.file == kPc) {
            EXPECT_EQ(env.cc.catalog.fileManager, firstStart.fileManager);
            for (int slot = 1; slot <= kLastBuiltInSlot; ++slot)
                EXPECT_EQ(env.cc.catalog.rows[slot], firstStart.rows[slot]) << slot;
        }
        // Rebuilt and saved: the next start reads it without a word.
        env.cc.defaultNotifier.messages.clear();
        env.cc.LoadCatalog();
        EXPECT_TRUE(env.cc.defaultNotifier.messages.isEmpty());
    }

    // A damaged server catalog gives way to the one shipped with the program.
    env.dir.writeLines(QStringLiteral("resource/FileInfo_SITE.dat"), SiteCatalogLines(812, UsualSiteRows()));
    env.dir.writeLines(kSite, SiteCatalogLines(805, UsualSiteRows()).mid(0, 40));
    env.cc.defaultNotifier.messages.clear();
    env.cc.LoadServerCatalog();
    EXPECT_EQ(env.cc.defaultNotifier.messages.size(), 1);
    EXPECT_EQ(env.cc.siteCatalog.dataVersion, 812);
}

TEST(Catalog, ServerCatalogEtymologyVersionIsOptional)
{
    TCatalogEnv env;
    env.Start();
    env.dir.writeLines(kSite, SiteCatalogLines(805, UsualSiteRows(), 220));
    env.cc.LoadServerCatalog();
    EXPECT_EQ(env.cc.siteCatalog.dataVersion, 805);
    EXPECT_EQ(env.cc.siteCatalog.relatedWordsVersion, 220);
    EXPECT_EQ(env.cc.catalog.etymologyVersion, 201);
    env.dir.writeLines(kSite, SiteCatalogLines(805, UsualSiteRows(), 220, 233));
    env.cc.LoadServerCatalog();
    EXPECT_EQ(env.cc.catalog.etymologyVersion, 233);
    EXPECT_EQ(env.cc.siteCatalog.rows[8].Title, QStringLiteral("イタリア語"));
}

TEST(Catalog, MergeTakesNewFilesOfANewerServerCatalog)
{
    TCatalogEnv env;
    env.dir.writeLines(QStringLiteral("resource/FileInfo_SITE.dat"), SiteCatalogLines(805, UsualSiteRows()));
    env.Load();
    TCatalog &c = env.cc.catalog;
    c.rows[8].Version = 0;   // IT not yet here
    c.rows[8].Title.clear();
    c.rows[7].Version = 150; // TJ older, but present: kept
    c.rows[7].Title = QStringLiteral("local");
    env.cc.MergeServerCatalog();   // same data version: nothing taken
    EXPECT_EQ(c.rows[8].Version, 0);

    std::map<int, TSiteRow> rows = UsualSiteRows();
    rows[27] = {QStringLiteral("DT"), 202, QStringLiteral("大学入試"), 3000, 3300};
    env.dir.writeLines(kSite, SiteCatalogLines(900, rows));
    env.cc.LoadServerCatalog();
    env.cc.MergeServerCatalog();
    EXPECT_EQ(c.dataVersion, 900);
    EXPECT_EQ(c.rows[8].Version, 201);
    EXPECT_EQ(c.rows[8].Title, QStringLiteral("イタリア語"));
    EXPECT_EQ(c.rows[8].DBTangoTotal, 1600);
    EXPECT_EQ(c.rows[27].Title, QStringLiteral("大学入試"));
    EXPECT_EQ(c.rows[27].TangoTotal, 3000);
    EXPECT_EQ(c.rows[7].Version, 150);
    EXPECT_EQ(c.rows[7].Title, QStringLiteral("local"));
    // Saved.
    c = TCatalog{};
    env.cc.LoadCatalog();
    EXPECT_EQ(env.cc.catalog.rows[27].Version, 202);
}

TEST(Catalog, TitlesCarriedOverInTheWindowsCodePageAreRead)
{
    TCatalogEnv env;
    env.Start();
    // "ユーザー 1" .. in CP932, as an older Windows installation wrote them.
    QByteArray titles;
    for (int n = 1; n <= 18; ++n)
        titles += QByteArray("\x83\x86\x81\x5b\x83\x55\x81\x5b ") + QByteArray::number(n) + "\r\n";
    titles.replace("\x83\x86\x81\x5b\x83\x55\x81\x5b 3", "\x8e\x84\x82\xcc\x92\x50\x8c\xea");   // 私の単語
    env.dir.write(kTitles, titles);
    env.cc.LoadServerCatalog();
    env.cc.LoadCatalog();
    EXPECT_EQ(env.cc.catalog.rows[32].Title, QStringLiteral("ユーザー 1"));
    EXPECT_EQ(env.cc.catalog.rows[34].Title, QStringLiteral("私の単語"));
    EXPECT_EQ(env.dir.read(kTitles), titles);   // read, not rewritten
}
