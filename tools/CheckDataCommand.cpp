// tessarion-tool check-data --program-folder P: reads every shipped data file
// under P/resource/ as the program reads it and reports what would go wrong
// for a learner: an unknown pronunciation element, a headword twice, a row
// without a meaning, a meaning the meaning rules spoil, two rows of one file
// that mean the same, an idiom meaning without the "～" its object needs, a
// link to no headword of its file, catalog counts that differ from the files,
// a link or family root that is no real stem of its word (or only looks like
// one), a meaning no learner is taught (vulgar, discriminatory, dialect, archaic), an etymology record whose root, prefix, suffix or parent word is missing,
// an English word list too few of whose headwords have an etymology record.
// Problems: one line each on stderr, exit 1. Otherwise one summary line per
// file on stdout.
#include "data/LearningFile.h"
#include "data/MeaningRules.h"
#include "data/PronunciationCode.h"
#include "data/RelatedWords.h"
#include "data/WordTable.h"
#include "base/HomonymDigit.h"
#include "base/Notifier.h"
#include "base/TError.h"
#include "etymology/db/EtymologyDatabase.h"
#include "tools/Commands.h"
#include "workspace/Catalog.h"
#include "base/TextFiles.h"

#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QSet>
#include <cstdio>
#include <optional>

namespace {
const QString kCatalogFile = QStringLiteral("resource/FileInfo_SITE.dat");
const QString kSeparator = QStringLiteral("--------");
constexpr int kItLastField = 15;
constexpr char16_t kObjectMark = u'@';    // an idiom's object in the headword
constexpr char16_t kObjectShown = u'～';  // the same object in its meanings

constexpr qsizetype kStemLetters = 4;   // a base shares this many first letters with its word

// The etymology file has a record for at least this share (in %) of the
// headwords of each English word list; fewer is refused.
constexpr qsizetype kEtymologyCoveragePercent = 95;
constexpr qsizetype kUncoveredShown = 10;   // headwords without a record named in the problem

// Words that look as if made from a shorter word of the lists and are not: that
// word is never their base or family root. A word starting with `wordStart`
// (other than the base itself) must not link to `base`.
struct TLookAlike {
    const char16_t *base;
    const char16_t *wordStart;
};
constexpr TLookAlike kLookAlikes[] = {
    {u"apple", u"appl"},        {u"imp", u"impl"},          {u"not", u"notab"},
    {u"pig", u"pigment"},       {u"ear", u"early"},         {u"cap", u"capab"},
    {u"miser", u"miserab"},     {u"bet", u"better"},        {u"let", u"letter"},
    {u"live", u"liver"},        {u"busy", u"busin"},        {u"apart", u"apartment"},
    {u"depart", u"department"}, {u"contain", u"continent"}, {u"commit", u"committee"},
    {u"term", u"terminal"},     {u"species", u"specific"},  {u"count", u"counter"},
    {u"compose", u"component"}, {u"bound", u"boundary"},    {u"magnify", u"magnitude"},
};

// Meanings no learner is taught: discriminatory and vulgar words, dialect, the
// old month names, dated slang for a mistress. A meaning that is one of kUnfitMeanings (with or without a
// final する or な), or holds one of kUnfitParts, is refused in every file.
constexpr const char16_t *kUnfitMeanings[] = {
    u"支那", u"シナ", u"支那語", u"シナ語", u"支那人", u"シナ人", u"毛唐", u"土人", u"めくら", u"盲",
    u"つんぼ", u"聾", u"おし", u"唖", u"びっこ", u"かたわ", u"片輪", u"気違い", u"きちがい", u"気狂い",
    u"白痴", u"黒ん坊", u"ジャップ", u"金玉", u"きんたま", u"タマキン", u"ズベ公", u"ちんこ", u"ちんぽ",
    u"まんこ", u"おまんこ", u"くそ", u"糞", u"売女", u"淫売", u"あばずれ", u"あらへん", u"あれへん",
    u"おおきに", u"ほんま", u"あかん", u"睦月", u"如月", u"弥生", u"卯月", u"皐月", u"水無月", u"文月",
    u"葉月", u"長月", u"神無月", u"霜月", u"師走", u"カラード", u"乞丐", u"二号", u"情婦", u"屁", u"屁をこく",
    u"屁をひる", u"ザーメン",
};
constexpr const char16_t *kUnfitParts[] = {u"支那", u"シナ語", u"シナ人", u"毛唐", u"気違い", u"きちがい",
                                           u"金玉", u"まんこ", u"淫売"};

enum class TLayout { Words, Phrases, Italian };

struct TEntryRow {
    qsizetype line = 0;   // line of the decoded file (1-based)
    bool numbered = false;
    qint64 number = 0;
    QString word;
    QString pronunciation;
    std::array<QString, 6> meanings;
    std::array<QString, 2> links;
};

struct TDataFile {
    qint32 version = 0;
    QList<TEntryRow> rows;
};

std::optional<TLayout> LayoutOf(const QString &code)
{
    if (code == QStringLiteral("TT") || code == QStringLiteral("DT"))
        return TLayout::Words;
    if (code == QStringLiteral("TJ") || code == QStringLiteral("DJ"))
        return TLayout::Phrases;
    if (code == QStringLiteral("IT"))
        return TLayout::Italian;
    return std::nullopt;
}

// Stores field f (1-based, from 3 on) of a row as the word table does.
void StoreField(TEntryRow &row, TLayout layout, int f, const QString &value)
{
    switch (layout) {
    case TLayout::Words:
        if (f == 3)
            row.pronunciation = value;
        else if (f >= 5 && f <= 8)
            row.meanings[static_cast<size_t>(f - 5)] = value;
        else if (f == 9)
            row.links[0] = value;
        else if (f >= 10)
            row.links[1] = value;
        break;
    case TLayout::Phrases:
        if (f <= 6)
            row.meanings[static_cast<size_t>(f - 3)] = value;
        else if (f == 7)
            row.links[0] = value;
        else
            row.links[1] = value;
        break;
    case TLayout::Italian:
        if (f <= 8)
            row.meanings[static_cast<size_t>(f - 3)] = value;
        else if (f == 10)
            row.links[0] = value;
        else if (f == 11)
            row.links[1] = value;
        break;
    }
}

TDataFile ReadDataFile(const QString &path, TLayout layout, QStringList &problems, const QString &name)
{
    TDataFile file;
    const QStringList lines = SplitLines(ReadLearningDataFile(path));
    bool ok = false;
    file.version = lines.value(0).mid(1).toInt(&ok);
    if (!ok)
        problems << QStringLiteral("%1: line 1: the version is not a number").arg(name);
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const QStringList fields = lines.at(i).split(u'\t');
        TEntryRow row;
        row.line = i + 1;
        row.word = fields.value(1);
        if (!fields.value(0).isEmpty()) {
            row.numbered = true;
            row.number = fields.value(0).toLongLong(&ok);
            if (!ok || !TWordTable::IsPosition(row.number))
                problems << QStringLiteral("%1: line %2: number \"%3\" is not a position 1..%4")
                                .arg(name).arg(row.line).arg(fields.value(0)).arg(kMaxWords);
        }
        for (int f = 3; f <= fields.size(); ++f) {
            const QString &value = fields.at(f - 1);
            if (value.isEmpty() || (layout == TLayout::Italian && f > kItLastField))
                continue;
            StoreField(row, layout, f, value);
        }
        file.rows << row;
    }
    return file;
}

struct TSummary {
    int rows = 0, numbered = 0, withPronunciation = 0, withLinks = 0, meanings = 0;
};

// The unfit word a meaning is or holds, if any.
std::optional<QString> UnfitMeaning(const QString &meaning)
{
    QString bare = meaning.trimmed();
    for (const QStringView suffix : {QStringView(u"する"), QStringView(u"な")}) {
        if (bare.size() > suffix.size() + 1 && bare.endsWith(suffix))
            bare.chop(suffix.size());
    }
    for (const char16_t *w : kUnfitMeanings) {
        if (bare == QStringView(w))
            return QString::fromUtf16(w);
    }
    for (const char16_t *part : kUnfitParts) {
        if (meaning.contains(QStringView(part)))
            return QString::fromUtf16(part);
    }
    return std::nullopt;
}

void CheckUnfitMeanings(const QString &where, const QString &word, const std::array<QString, 6> &meanings,
                        QStringList &problems)
{
    for (size_t i = 0; i < meanings.size(); ++i) {
        if (const auto unfit = UnfitMeaning(meanings[i]))
            problems << QStringLiteral("%1: meaning %2 of \"%3\" (\"%4\") is \"%5\", which no learner is taught")
                            .arg(where).arg(i + 1).arg(word, meanings[i], *unfit);
    }
}

// Why `base` cannot be the base word (or family root) of `word`, or empty when
// it can: it must be a real stem, the word beginning with the base's first
// letters (pay: payment, pronounce: pronunciation), and no mere look-alike
// (apple: apply).
QString StemProblem(const QString &word, const QString &base)
{
    const QString w = StripHomonymDigit(word).toLower();
    const QString b = StripHomonymDigit(base).toLower();
    if (w == b)
        return {};
    // A final e or y changes before a suffix (rely: reliable, use: useful).
    const qsizetype stem = (b.endsWith(u'e') || b.endsWith(u'y')) ? b.size() - 1 : b.size();
    if (b.isEmpty() || !w.startsWith(b.left(qMin(kStemLetters, stem))))
        return QStringLiteral("which is no stem of it");
    for (const TLookAlike &l : kLookAlikes) {
        if (b == QStringView(l.base) && w.startsWith(QStringView(l.wordStart)))
            return QStringLiteral("a word it only looks like");
    }
    return {};
}

TSummary CheckRows(const TDataFile &file, TLayout layout, const QString &name, QStringList &problems)
{
    TSummary s;
    QHash<QString, qsizetype> lineOfWord;
    QSet<qint64> numbers;
    for (const TEntryRow &r : file.rows)
        lineOfWord.insert(r.word, r.line);
    QSet<QString> seen;
    for (const TEntryRow &r : file.rows) {
        ++s.rows;
        if (r.numbered) {
            ++s.numbered;
            if (numbers.contains(r.number))
                problems << QStringLiteral("%1: line %2: number %3 is used twice").arg(name).arg(r.line).arg(r.number);
            numbers.insert(r.number);
        }
        if (r.word.isEmpty())
            problems << QStringLiteral("%1: line %2: no headword").arg(name).arg(r.line);
        else if (seen.contains(r.word))
            problems << QStringLiteral("%1: line %2: headword \"%3\" is already on line %4")
                            .arg(name).arg(r.line).arg(r.word).arg(lineOfWord.value(r.word));
        seen.insert(r.word);
        if (r.meanings[0].isEmpty())
            problems << QStringLiteral("%1: line %2: \"%3\" has no meaning").arg(name).arg(r.line).arg(r.word);
        CheckUnfitMeanings(QStringLiteral("%1: line %2").arg(name).arg(r.line), r.word, r.meanings, problems);
        for (const QString &m : r.meanings)
            s.meanings += m.isEmpty() ? 0 : 1;
        if (!r.pronunciation.isEmpty()) {
            ++s.withPronunciation;
            if (const auto bad = FirstUnknownPronunciationElement(r.pronunciation))
                problems << QStringLiteral("%1: line %2: \"%3\" has the unknown pronunciation element \"%4\"")
                                .arg(name).arg(r.line).arg(r.word, *bad);
        }
        if (layout == TLayout::Phrases && !r.pronunciation.isEmpty())
            problems << QStringLiteral("%1: line %2: a phrase has a pronunciation").arg(name).arg(r.line);
        bool linked = false;
        for (const QString &link : r.links) {
            if (link.isEmpty())
                continue;
            linked = true;
            if (!lineOfWord.contains(link))
                problems << QStringLiteral("%1: line %2: \"%3\" links to \"%4\", which is no headword of the file")
                                .arg(name).arg(r.line).arg(r.word, link);
            else if (link == r.word)
                problems << QStringLiteral("%1: line %2: \"%3\" links to itself").arg(name).arg(r.line).arg(r.word);
            else if (layout == TLayout::Words) {
                if (const QString why = StemProblem(r.word, link); !why.isEmpty())
                    problems << QStringLiteral("%1: line %2: \"%3\" links to \"%4\", %5")
                                    .arg(name).arg(r.line).arg(r.word, link, why);
            }
        }
        s.withLinks += linked ? 1 : 0;
    }
    return s;
}

qsizetype AsciiDigits(const QString &text)
{
    qsizetype n = 0;
    for (const QChar c : text)
        n += (c >= u'0' && c <= u'9') ? 1 : 0;
    return n;
}

// Every meaning as the learner sees it after the meaning rules: one that ends
// up empty, loses a digit, or loses a leading letter that names no label.
void CheckShownMeanings(const TDataFile &file, TMeaningRules rules, const QString &name, QStringList &problems)
{
    for (const TEntryRow &r : file.rows) {
        for (size_t i = 0; i < r.meanings.size(); ++i) {
            const QString &stored = r.meanings[i];
            if (stored.isEmpty())
                continue;
            const QString shown = NormalizeMeaningText(stored, rules);
            const QString where = QStringLiteral("%1: line %2: meaning %3 of \"%4\" (\"%5\")")
                                      .arg(name).arg(r.line).arg(i + 1).arg(r.word, stored);
            if (shown.isEmpty())
                problems << where + QStringLiteral(" is empty after the meaning rules");
            else if (AsciiDigits(shown) < AsciiDigits(stored))
                problems << where + QStringLiteral(" loses its digits and shows as \"%1\"").arg(shown);
            else if (rules == TMeaningRules::Italian && stored.at(0).unicode() < 128
                     && shown.endsWith(stored.mid(1)) && shown.size() == stored.size() - 1)
                problems << where + QStringLiteral(" loses its first character and shows as \"%1\"").arg(shown);
        }
    }
}

// An idiom with an object ("@", shown as "～") needs the "～" in every meaning,
// or the learner reads an intransitive meaning for a transitive phrase.
void CheckPhraseObjects(const TDataFile &file, const QString &name, QStringList &problems)
{
    for (const TEntryRow &r : file.rows) {
        if (!r.word.contains(kObjectMark))
            continue;
        for (size_t i = 0; i < r.meanings.size(); ++i) {
            if (!r.meanings[i].isEmpty() && !r.meanings[i].contains(kObjectShown))
                problems << QStringLiteral("%1: line %2: meaning %3 of \"%4\" (\"%5\") has no \"～\" for its object")
                                .arg(name).arg(r.line).arg(i + 1).arg(r.word, r.meanings[i]);
        }
    }
}

// Asked rows of one file whose joined meanings read the same: a typing
// question cannot be answered and a choice is a guess. Rows without a number
// are never asked. One line per later row, naming the first.
void CheckSameMeanings(const TDataFile &file, TMeaningRules rules, const QString &name, QStringList &problems)
{
    QHash<QString, const TEntryRow *> firstWithText;
    for (const TEntryRow &r : file.rows) {
        if (!r.numbered)
            continue;
        std::array<QString, 6> shown;
        for (size_t i = 0; i < shown.size(); ++i)
            shown[i] = NormalizeMeaningText(r.meanings[i], rules);
        const QString joined = JoinMeanings(shown);
        if (joined.isEmpty())
            continue;
        if (const TEntryRow *first = firstWithText.value(joined))
            problems << QStringLiteral("%1: line %2: \"%3\" means \"%4\", as \"%5\" on line %6 does")
                            .arg(name).arg(r.line).arg(r.word, joined, first->word).arg(first->line);
        else
            firstWithText.insert(joined, &r);
    }
}

QString SummaryLine(const QString &name, const TSummary &s)
{
    const double perRow = s.rows ? double(s.meanings) / s.rows : 0.0;
    return QStringLiteral("%1\trows %2\tnumbered %3\twith pronunciation %4\twith links %5\tmeanings per row %6")
        .arg(name).arg(s.rows).arg(s.numbered).arg(s.withPronunciation).arg(s.withLinks)
        .arg(perRow, 0, 'f', 2);
}

struct TSiteRow {
    int slot = 0;
    QString code, title;
    qint32 version = 0, tangoTotal = 0, dbTangoTotal = 0;
};

// FileInfo_SITE.dat as the program reads the server catalog.
QList<TSiteRow> ReadSiteCatalog(const QString &path, qint32 &relatedVersion, qint32 &etymologyVersion)
{
    const auto lines = ReadStateLines(path);
    if (!lines)
        throw TFatalError(QStringLiteral("cannot read %1").arg(path));
    TLineReader in(*lines, QFileInfo(path).fileName());
    in.Next();
    in.NextInt();   // data version
    QList<TSiteRow> rows;
    for (int slot = 1; slot <= kLastBuiltInSlot; ++slot) {
        TSiteRow r;
        r.slot = slot;
        in.Next();
        in.Next();
        r.code = in.Next();
        in.Next();
        r.version = in.NextInt();
        in.Next();
        r.title = in.Next();
        in.Next();
        r.tangoTotal = in.NextInt();
        in.Next();
        r.dbTangoTotal = in.NextInt();
        rows << r;
    }
    in.Next();
    in.Next();
    relatedVersion = in.NextInt();
    in.Next();
    etymologyVersion = in.NextInt();
    return rows;
}

// The affix-table form the chart looks up for a record's prefix ("pre2" is
// "pre-2", "ab-" stays) or suffix ("ly2" is "-ly2").
QString AffixKey(const QString &form, bool prefix)
{
    if (!prefix)
        return u'-' + form;
    if (form.endsWith(u'-'))
        return form;
    const QString stem = StripHomonymDigit(form);
    return stem + u'-' + form.mid(stem.size());
}

// The etymology file, when shipped, as the chart reads it: every root key a
// record names is in the root tree, every prefix and suffix in the affix
// table, every parent word has a record of its own, and the file's version is
// the catalog's.
// The share of a word list's headwords the etymology file has a record for
// (the record of tear serves tear2): "TT 95.2 % (3061 of 3215)". Below
// kEtymologyCoveragePercent it is a problem naming the first words without one.
QString EtymologyCoverage(const TEtymologyDatabase &db, const QString &code, const QStringList &headwords,
                          const QString &name, QStringList &problems)
{
    QStringList uncovered;
    for (const QString &w : headwords) {
        if (db.FindHeadword(w) == 0 && db.FindHeadword(StripHomonymDigit(w)) == 0)
            uncovered << w;
    }
    const qsizetype covered = headwords.size() - uncovered.size();
    const double percent = headwords.isEmpty() ? 0.0 : 100.0 * double(covered) / double(headwords.size());
    const QString coverage =
        QStringLiteral("%1 %2 % (%3 of %4)").arg(code).arg(percent, 0, 'f', 1).arg(covered).arg(headwords.size());
    if (covered * 100 < kEtymologyCoveragePercent * headwords.size()) {
        QString shown = uncovered.mid(0, kUncoveredShown).join(QStringLiteral(", "));
        if (uncovered.size() > kUncoveredShown)
            shown += QStringLiteral(" and %1 more").arg(uncovered.size() - kUncoveredShown);
        problems << QStringLiteral("%1: coverage %2, below %3 %: no record for %4")
                        .arg(name, coverage).arg(kEtymologyCoveragePercent).arg(shown);
    }
    return coverage;
}

void CheckEtymology(const QString &folder, qint32 catalogVersion, const QMap<QString, QStringList> &listWords,
                    QStringList &problems, QStringList &summaries)
{
    if (!QFileInfo::exists(folder + kEtymologyFile))
        return;
    const QString name = QFileInfo(kEtymologyFile).fileName();
    TEtymologyDatabase db;
    TCatalog catalog;
    try {
        db.LoadEtymologyData(folder, catalog);
    } catch (const TFatalError &e) {
        problems << QString::fromUtf8(e.what());
        return;
    }
    if (db.Version() != catalogVersion)
        problems << QStringLiteral("FileInfo_SITE.dat: Etymology_enc version %1, the file says %2")
                        .arg(catalogVersion).arg(db.Version());
    TCollectingNotifier quiet;
    for (const int index : db.UsedIndices()) {
        const TEtymologyRecord &r = db.Record(index);
        const QString where = QStringLiteral("%1: record %2 (\"%3\")").arg(name).arg(index).arg(r[TEtymologyLine::Headword]);
        const std::array<std::pair<TEtymologyLine, TEtymologyLine>, 2> roots{
            std::pair{TEtymologyLine::RootCode, TEtymologyLine::RootForms},
            std::pair{TEtymologyLine::Root2Code, TEtymologyLine::Root2Forms}};
        for (const auto &[code, forms] : roots) {
            if (!r[forms].isEmpty() && !db.FindRootKey(r[code], r[forms], quiet))
                problems << where + QStringLiteral(": root %1 %2 is not in the root tree").arg(r[code], r[forms]);
        }
        for (const TEtymologyLine line : {TEtymologyLine::Prefix, TEtymologyLine::Suffix}) {
            if (r[line].isEmpty())
                continue;
            const QString key = AffixKey(r[line], line == TEtymologyLine::Prefix);
            if (db.FindAffix(key) > db.AffixCount())
                problems << where + QStringLiteral(": %1 is not in the affix table").arg(key);
        }
        for (const TEtymologyLine line : {TEtymologyLine::Parent1, TEtymologyLine::Parent2}) {
            if (!r[line].isEmpty() && db.FindHeadword(r[line]) == 0)
                problems << where + QStringLiteral(": parent \"%1\" has no record").arg(r[line]);
        }
    }
    QStringList coverage;
    for (auto it = listWords.cbegin(); it != listWords.cend(); ++it)
        coverage << EtymologyCoverage(db, it.key(), it.value(), name, problems);
    summaries << QStringLiteral("%1\trecords %2\tfirst-level roots %3\taffixes %4%5")
                     .arg(name).arg(db.RecordCount()).arg(db.FirstLevelCount()).arg(db.AffixCount())
                     .arg(coverage.isEmpty() ? QString() : QStringLiteral("\tcoverage ") + coverage.join(QStringLiteral(", ")));
}

int RunCheckData(const QStringList &args)
{
    const TToolArgs options(args);
    QString folder = options.Required(QStringLiteral("--program-folder"));
    if (!folder.endsWith(u'/'))
        folder += u'/';
    QStringList problems;
    QStringList summaries;

    qint32 relatedVersion = 0;
    qint32 etymologyVersion = 0;
    const QList<TSiteRow> catalog = ReadSiteCatalog(folder + kCatalogFile, relatedVersion, etymologyVersion);
    int files = 0;
    QMap<QString, QStringList> listWords;   // headwords of the word files, for the etymology coverage
    for (const TSiteRow &r : catalog) {
        const QString name = r.code + QStringLiteral("_enc.dat");
        const QString path = folder + QStringLiteral("resource/") + name;
        if (r.version <= 0) {
            if (!r.code.isEmpty() && QFileInfo::exists(path))
                problems << QStringLiteral("FileInfo_SITE.dat: slot %1 (%2) has version 0 but %3 is shipped")
                                .arg(r.slot).arg(r.code, name);
            continue;
        }
        const auto layout = LayoutOf(r.code);
        if (!layout) {
            problems << QStringLiteral("FileInfo_SITE.dat: slot %1: the program has no column layout for \"%2\"")
                            .arg(r.slot).arg(r.code);
            continue;
        }
        if (!QFileInfo::exists(path)) {
            problems << QStringLiteral("FileInfo_SITE.dat: slot %1 lists %2, which is missing").arg(r.slot).arg(name);
            continue;
        }
        if (r.title.isEmpty())
            problems << QStringLiteral("FileInfo_SITE.dat: slot %1 (%2) has no title").arg(r.slot).arg(r.code);
        ++files;
        const TDataFile data = ReadDataFile(path, *layout, problems, name);
        const TSummary s = CheckRows(data, *layout, name, problems);
        if (*layout == TLayout::Words) {
            for (const TEntryRow &row : data.rows)
                listWords[r.code] << row.word;
        }
        const TMeaningRules rules = MeaningRulesOf(r.code, false);
        CheckShownMeanings(data, rules, name, problems);
        CheckSameMeanings(data, rules, name, problems);
        if (*layout == TLayout::Phrases)
            CheckPhraseObjects(data, name, problems);
        if (data.version != r.version)
            problems << QStringLiteral("FileInfo_SITE.dat: %1 version %2, the file says %3")
                            .arg(r.code).arg(r.version).arg(data.version);
        if (r.tangoTotal != s.numbered)
            problems << QStringLiteral("FileInfo_SITE.dat: %1 TangoTotal %2, the file has %3 numbered rows")
                            .arg(r.code).arg(r.tangoTotal).arg(s.numbered);
        if (r.dbTangoTotal != s.rows)
            problems << QStringLiteral("FileInfo_SITE.dat: %1 DBTangoTotal %2, the file has %3 rows")
                            .arg(r.code).arg(r.dbTangoTotal).arg(s.rows);
        summaries << SummaryLine(name, s);
    }
    if (files == 0)
        problems << QStringLiteral("FileInfo_SITE.dat: no learning file has a version");

    TRelatedWords related;
    LoadRelatedWords(folder, related);
    TSummary rs;
    QSet<QString> words;
    for (int i = 1; i <= related.entryCount; ++i) {
        const TQuoteEnglish &e = related[i];
        ++rs.rows;
        if (words.contains(e.word))
            problems << QStringLiteral("ENG_Quote_enc.dat: entry %1: \"%2\" is listed twice").arg(i).arg(e.word);
        words.insert(e.word);
        if (e.meanings[0].isEmpty())
            problems << QStringLiteral("ENG_Quote_enc.dat: entry %1: \"%2\" has no meaning").arg(i).arg(e.word);
        for (const QString &m : e.meanings)
            rs.meanings += m.isEmpty() ? 0 : 1;
        CheckUnfitMeanings(QStringLiteral("ENG_Quote_enc.dat: entry %1").arg(i), e.word, e.meanings, problems);
        rs.withLinks += (e.linkKeys[0].isEmpty() && e.linkKeys[1].isEmpty()) ? 0 : 1;
        // Key 1 is the root of the word's family of derived words.
        if (!e.linkKeys[0].isEmpty()) {
            if (const QString why = StemProblem(e.word, e.linkKeys[0]); !why.isEmpty())
                problems << QStringLiteral("ENG_Quote_enc.dat: entry %1: \"%2\" has the family root \"%3\", %4")
                                .arg(i).arg(e.word, e.linkKeys[0], why);
        }
    }
    if (related.version != relatedVersion)
        problems << QStringLiteral("FileInfo_SITE.dat: ENG_Quote_enc version %1, the file says %2")
                        .arg(relatedVersion).arg(related.version);
    summaries << SummaryLine(QStringLiteral("ENG_Quote_enc.dat"), rs);
    CheckEtymology(folder, etymologyVersion, listWords, problems, summaries);

    if (!problems.isEmpty()) {
        for (const QString &p : problems)
            std::fprintf(stderr, "%s\n", p.toUtf8().constData());
        return 1;
    }
    for (const QString &s : summaries)
        PrintLine(s);
    return 0;
}

const TToolCommand reg(QStringLiteral("check-data"),
                       {QStringLiteral("Checks every shipped data file under resource/ as the program reads it."),
                        QStringLiteral("Reports what would go wrong for a learner: an unknown pronunciation element, a headword twice, a row without a meaning, a link to no headword, catalog counts that differ from the files, an etymology record whose root or parent is missing, an English word list less than %1 % of whose headwords have an etymology record. Problems go to stderr, one a line, with exit status 1; otherwise one summary line per file.").arg(kEtymologyCoveragePercent),
                        {ProgramFolderOption()},
                        {},
                        {QStringLiteral("tessarion-tool check-data --program-folder build")}},
                       &RunCheckData);
}
