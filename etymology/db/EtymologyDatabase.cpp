#include "etymology/db/EtymologyDatabase.h"

#include "base/Notifier.h"
#include "base/TError.h"
#include "base/TextFiles.h"
#include "data/LearningFile.h"
#include "workspace/Catalog.h"

#include <QDir>
#include <algorithm>
#include <utility>

const QString kEtymologyFile = QStringLiteral("resource/Etymology_enc.dat");
const QString kDatabaseErrorMessage = QStringLiteral("データベース・エラー");
const QString kRootKeyMissingMessage = QStringLiteral("語根キー未発見");

namespace {
const QString kRootSection = QStringLiteral("root");
const QString kAffixSection = QStringLiteral("affix");
const QString kEndLine = QStringLiteral("end");
const QString kLevel1 = QStringLiteral("1");
const QString kLevel2 = QStringLiteral("2");
const QString kLevel3 = QStringLiteral("3");
const QString kLayoutNoAncestors = QStringLiteral("3");
const QString kUnregisteredLanguage = QStringLiteral("-unregistered string-");
const QString kNoLanguage = QStringLiteral("n");
constexpr int kAffixLines = 4;
constexpr int kRootLines = 3;
// A chain of parent words longer than this can only be a loop in the data.
constexpr int kLongestParentChain = 64;

const std::pair<const char16_t *, const char16_t *> kLanguageNames[] = {
    {u"AI", u"American Indian"}, {u"Arab", u"Arabic"},     {u"C", u"Chinese"},
    {u"Celt", u"Celtic"},        {u"Du", u"Dutch"},        {u"E", u"English"},
    {u"Eg", u"Egyptian"},        {u"F", u"French"},        {u"Fk", u"Frankish"},
    {u"G", u"Germanic"},         {u"Gaul", u"Gaulish"},    {u"Gk", u"Greek"},
    {u"GR", u"Germanic"},        {u"Heb", u"Hebrew"},      {u"IE", u"Indo-European"},
    {u"II", u"Indo-Iranian"},    {u"It", u"Italian"},      {u"Ir", u"Irish"},
    {u"J", u"Japanese"},         {u"L", u"Latin"},         {u"M", u"Malay"},
    {u"ME", u"Middle English"},  {u"ON", u"Old Norse"},    {u"OE", u"Old English"},
    {u"PE", u"Pidgin English"},  {u"Sc", u"Scottish"},     {u"Sem", u"Semitic Roots"},
    {u"Sp", u"Spanish"},         {u"Sv", u"Slavic"},       {u"Sw", u"Swedish"},
    {u"We", u"Welsh"},           {u"W", u"Wolof"},
};

const TEtymologyRecord kEmptyRecord;
const TRootNode kEmptyRoot;

// The decoded lines after the version line; error line numbers count the
// decoded text's lines from 1 (the version line).
class TEtymologyLines {
public:
    TEtymologyLines(QList<QStringView> lines, QString path) : m_lines(std::move(lines)), m_path(std::move(path)) {}
    int Size() const { return static_cast<int>(m_lines.size()); }
    int FileLine(int index) const { return index + 2; }
    QStringView At(int index, const char *missing) const
    {
        if (index >= Size())
            Fail(index, QStringLiteral("ファイルが途中で終わっています（%1がありません）。").arg(QLatin1String(missing)));
        return m_lines[index];
    }
    [[noreturn]] void Fail(int index, const QString &message) const
    {
        RaiseFileError(QDir::toNativeSeparators(m_path), FileLine(std::min(index, Size())), message);
    }
    qint32 Int(int index, const char *missing) const
    {
        const QStringView text = At(index, missing);
        try {
            return StrToInt(text);
        } catch (const TFatalError &e) {
            Fail(index, e.Message());
        }
    }

private:
    QList<QStringView> m_lines;
    QString m_path;
};
}

TEtymologyDatabase::TEtymologyDatabase() : m_records(kEtymologyRecordCapacity + 1) {}

void TEtymologyDatabase::LoadEtymologyData(const QString &programFolder, TCatalog &catalog)
{
    const QString path = programFolder + kEtymologyFile;
    ParseEtymologyText(ReadLearningDataFile(path), path);
    catalog.etymologyVersion = m_version;
}

void TEtymologyDatabase::ParseEtymologyText(const QString &decoded, const QString &path)
{
    QList<QStringView> all = SplitLineViews(decoded);
    if (all.isEmpty())
        RaiseFileError(QDir::toNativeSeparators(path), 1, QStringLiteral("ファイルが空です。"));
    qint32 version = 0;
    try {
        version = StrToInt(all.first().mid(1));
    } catch (const TFatalError &e) {
        RaiseFileError(QDir::toNativeSeparators(path), 1, e.Message());
    }
    all.removeFirst();
    // The line after the last line break is the decoder's trailer, never data.
    if (!all.isEmpty())
        all.removeLast();
    const TEtymologyLines in(std::move(all), path);

    // Everything is built aside and only replaces the tables once the whole
    // file has been read.
    std::vector<TEtymologyRecord> records(kEtymologyRecordCapacity + 1);
    std::vector<int> used;
    std::array<int, kEtymologyLastGroup + 1> perGroup{};
    int at = 0;
    for (;;) {
        const qint32 written = in.Int(at, "root");
        const int group = written == 0 ? kEtymologyLastGroup : written;
        if (group < 1 || group > kEtymologyLastGroup)
            in.Fail(at, QStringLiteral("グループ番号 %1 は 0 から %2 までの範囲にありません。").arg(written).arg(kEtymologyLastGroup));
        if (perGroup[group] == kEtymologyGroupSize)
            in.Fail(at, QStringLiteral("グループ %1 の語が %2 を超えています。").arg(group).arg(kEtymologyGroupSize));
        const int index = (group - 1) * kEtymologyGroupSize + ++perGroup[group];
        TEtymologyRecord &record = records[index];
        record.group = written;
        for (int line = 0; line < kEtymologyRecordLines; ++line)
            record.lines[line] = in.At(at + line, "root").toString();
        record.extra.clear();
        used.push_back(index);
        at += kEtymologyRecordLines;
        if (in.At(at, "root") == kRootSection)
            break;
    }
    std::sort(used.begin(), used.end());

    // Root tree.
    ++at;
    if (in.At(at, "1") != kLevel1)
        in.Fail(at, QStringLiteral("\"root\" の次の行は \"1\" でなければなりません。"));
    std::vector<TFirstLevel> roots;
    int level = 0;
    for (;;) {
        const QStringView marker = in.At(at, "affix");
        if (marker == kAffixSection)
            break;
        int markerLevel = level;
        if (marker == kLevel1 || marker == kLevel2 || marker == kLevel3) {
            markerLevel = marker.toInt();
            ++at;
        }
        if (markerLevel > level + 1 || markerLevel == 0)
            in.Fail(at - 1, QStringLiteral("語根の段 %1 の上の段がありません。").arg(markerLevel));
        TRootNode node{in.At(at, "affix").toString(), in.At(at + 1, "affix").toString(),
                       in.At(at + 2, "affix").toString()};
        if (markerLevel == 1) {
            if (static_cast<int>(roots.size()) == kRootFirstLevelCapacity)
                in.Fail(at, QStringLiteral("第1段の語根が %1 を超えています。").arg(kRootFirstLevelCapacity));
            roots.push_back({std::move(node), {}});
        } else if (markerLevel == 2) {
            auto &children = roots.back().children;
            if (static_cast<int>(children.size()) == kRootSecondLevelCapacity)
                in.Fail(at, QStringLiteral("第2段の語根が %1 を超えています。").arg(kRootSecondLevelCapacity));
            children.push_back({std::move(node), {}});
        } else {
            auto &children = roots.back().children.back().children;
            if (static_cast<int>(children.size()) == kRootThirdLevelCapacity)
                in.Fail(at, QStringLiteral("第3段の語根が %1 を超えています。").arg(kRootThirdLevelCapacity));
            children.push_back(std::move(node));
        }
        level = markerLevel;
        at += kRootLines;
    }

    // Affix table.
    ++at;
    std::vector<TAffix> affixes;
    for (;;) {
        if (static_cast<int>(affixes.size()) == kAffixCapacity)
            in.Fail(at, QStringLiteral("接辞が %1 を超えています。").arg(kAffixCapacity));
        QString form = in.At(at, "end").toString();
        form.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
        affixes.push_back({std::move(form), in.At(at + 1, "end").toString(), in.At(at + 2, "end").toString(),
                           in.At(at + 3, "end").toString()});
        at += kAffixLines;
        if (in.At(at, "end") == kEndLine)
            break;
    }

    m_records = std::move(records);
    m_used = std::move(used);
    m_roots = std::move(roots);
    m_affixes = std::move(affixes);
    m_version = version;
    m_loaded = true;
}

const TEtymologyRecord &TEtymologyDatabase::Record(int index) const
{
    if (index < 1 || index > kEtymologyRecordCapacity)
        return kEmptyRecord;
    return m_records[index];
}

int TEtymologyDatabase::FindHeadword(const QString &text) const
{
    for (int index : m_used)
        if (m_records[index][TEtymologyLine::Headword] == text)
            return index;
    return 0;
}

int TEtymologyDatabase::FindHeadwordInRange(const QString &text) const
{
    const int index = FindHeadword(text);
    return index == 0 ? kEtymologyNotFound : index;
}

const TRootNode &TEtymologyDatabase::RootNode(int first, int second, int third) const
{
    if (first < 1 || first > static_cast<int>(m_roots.size()))
        return kEmptyRoot;
    const TFirstLevel &top = m_roots[first - 1];
    if (second == 0)
        return third == 0 ? top.node : kEmptyRoot;
    if (second < 1 || second > static_cast<int>(top.children.size()))
        return kEmptyRoot;
    const TSecondLevel &middle = top.children[second - 1];
    if (third == 0)
        return middle.node;
    if (third < 1 || third > static_cast<int>(middle.children.size()))
        return kEmptyRoot;
    return middle.children[third - 1];
}

TEtymologyDatabase::TWalkResult TEtymologyDatabase::WalkToRoot(const QString &code, const QString &forms,
                                                               TRootCoordinates &at) const
{
    const auto matches = [&](const TRootNode &node) { return node.code == code && node.forms == forms; };
    for (int n = 1; n <= FirstLevelCount(); ++n) {
        if (RootNode(n, 0, 0).IsEmpty())
            return TWalkResult::DatabaseError;
        if (matches(RootNode(n, 0, 0))) {
            at = {n, 0, 0};
            return TWalkResult::Found;
        }
        for (int m = 1; !RootNode(n, m, 0).IsEmpty(); ++m) {
            if (matches(RootNode(n, m, 0))) {
                at = {n, m, 0};
                return TWalkResult::Found;
            }
            for (int k = 1; !RootNode(n, m, k).IsEmpty(); ++k) {
                if (matches(RootNode(n, m, k))) {
                    at = {n, m, k};
                    return TWalkResult::Found;
                }
            }
        }
    }
    return TWalkResult::Missing;
}

bool TEtymologyDatabase::FindRootKey(const QString &code, const QString &forms, TNotifier &notifier)
{
    TRootCoordinates at;
    const TWalkResult result = WalkToRoot(code, forms, at);
    if (result == TWalkResult::Found) {
        m_lastRoot = at;
        return true;
    }
    if (result == TWalkResult::DatabaseError)
        notifier.Error(kDatabaseErrorMessage);
    notifier.Error(kRootKeyMissingMessage);
    return false;
}

bool TEtymologyDatabase::IsDerivedRootKey(const QString &code, const QString &forms, TNotifier &notifier) const
{
    TRootCoordinates at;
    const TWalkResult result = WalkToRoot(code, forms, at);
    if (result == TWalkResult::Found) {
        const TRootNode &top = RootNode(at.first, 0, 0);
        return top.code != code || top.forms != forms;
    }
    if (result == TWalkResult::DatabaseError)
        notifier.Error(kDatabaseErrorMessage);
    notifier.Error(kRootKeyMissingMessage);
    return false;
}

void TEtymologyDatabase::CollectRootLeaves(int first)
{
    m_leafCodes.clear();
    m_leafForms.clear();
    const auto add = [this](const TRootNode &node) {
        if (m_leafCodes.size() < kRootLeafCapacity) {
            m_leafCodes.append(node.code);
            m_leafForms.append(node.forms);
        }
    };
    add(RootNode(first, 0, 0));
    for (int m = 1; !RootNode(first, m, 0).IsEmpty(); ++m) {
        if (RootNode(first, m, 1).IsEmpty()) {
            add(RootNode(first, m, 0));
            continue;
        }
        for (int k = 1; !RootNode(first, m, k).IsEmpty(); ++k)
            add(RootNode(first, m, k));
    }
}

int TEtymologyDatabase::FindAffix(const QString &form) const
{
    for (int entry = 1; entry <= AffixCount(); ++entry)
        if (m_affixes[entry - 1].form == form)
            return entry;
    return AffixCount() + 1;
}

QStringList TEtymologyDatabase::ListLinkRelatives(int index, TEtymologyLine line) const
{
    QStringList list;
    const QString &key = Record(index)[line];
    if (key.isEmpty())
        return list;
    for (int other : m_used)
        if (other != index && m_records[other][line] == key)
            list.append(FormatHomonym(m_records[other][TEtymologyLine::Headword]));
    return list;
}

QStringList TEtymologyDatabase::ListPrefixRelatives(int index) const
{
    return ListLinkRelatives(index, TEtymologyLine::Prefix);
}

QStringList TEtymologyDatabase::ListSuffixRelatives(int index) const
{
    return ListLinkRelatives(index, TEtymologyLine::Suffix);
}

QString TEtymologyDatabase::FollowLinks(const QString &start, TEtymologyLine line) const
{
    QString word = start;
    for (int step = 0; step < kLongestParentChain; ++step) {
        const int found = FindHeadword(word);
        if (found == 0 || Record(found)[line].isEmpty())
            break;
        word = Record(found)[line];
    }
    return word;
}

QStringList TEtymologyDatabase::ListWordFamily(int index) const
{
    QStringList list;
    const TEtymologyRecord &record = Record(index);
    const QString &own = record[TEtymologyLine::Headword];
    const QString &p1 = record[TEtymologyLine::Parent1];
    const QString &p2 = record[TEtymologyLine::Parent2];
    if (!p1.isEmpty()) {
        list.append(FormatHomonym(p1));
        if (!p2.isEmpty())
            list.append(FormatHomonym(p2));
    }
    if (!p1.isEmpty() && !p2.isEmpty()) {
        for (int i : m_used) {
            if (m_records[i][TEtymologyLine::Parent1] == own) {
                list.append(FormatHomonym(m_records[i][TEtymologyLine::Headword]));
                break;
            }
        }
        return list;
    }
    if (record[TEtymologyLine::LayoutType] == kLayoutNoAncestors && !p1.isEmpty())
        return list;

    // Three generations below an ancestor along both kinds of link.
    const auto listBelow = [&](const QString &ancestor) {
        const int ancestorIndex = FindHeadword(ancestor);
        for (TEtymologyLine link : {TEtymologyLine::Parent1, TEtymologyLine::Parent2}) {
            QStringList generation{ancestor};
            for (int depth = 0; depth < 3; ++depth) {
                QStringList next;
                for (const QString &parent : generation) {
                    for (int i : m_used) {
                        if ((depth == 0 && i == ancestorIndex) || m_records[i][link] != parent)
                            continue;
                        const QString &word = m_records[i][TEtymologyLine::Headword];
                        next.append(word);
                        if (word != own)
                            list.append(FormatHomonym(word));
                    }
                }
                generation = std::move(next);
            }
        }
    };

    listBelow(p1.isEmpty() ? own : FollowLinks(p1, TEtymologyLine::Parent1));
    if (!p2.isEmpty()) {
        listBelow(FollowLinks(p2, TEtymologyLine::Parent2));
    } else if (!p1.isEmpty()) {
        const QString &cParent2 = Record(FindHeadword(p1))[TEtymologyLine::Parent2];
        if (!cParent2.isEmpty())
            listBelow(FollowLinks(cParent2, TEtymologyLine::Parent2));
    }
    return list;
}

QStringList TEtymologyDatabase::ListRootRelatives(TRootRelativesKind kind, int /*index*/, int first, int second,
                                                  int third)
{
    if (kind == TRootRelativesKind::RootChild) {
        const TRootNode &node = RootNode(first, second, third);
        m_leafCodes = QStringList{node.code};
        m_leafForms = QStringList{node.forms};
    } else {
        CollectRootLeaves(first);
    }
    QStringList list;
    for (int i : m_used) {
        const TEtymologyRecord &record = m_records[i];
        for (qsizetype e = 0; e < m_leafCodes.size(); ++e) {
            const bool viaRoot1 = record[TEtymologyLine::RootCode] == m_leafCodes[e] &&
                                  record[TEtymologyLine::RootForms] == m_leafForms[e];
            const bool viaRoot2 = record[TEtymologyLine::Root2Code] == m_leafCodes[e] &&
                                  record[TEtymologyLine::Root2Forms] == m_leafForms[e];
            if (!viaRoot1 && !viaRoot2)
                continue;
            const QString &word = record[TEtymologyLine::Headword];
            list.append(FormatHomonym(word));
            for (int j : m_used)
                if (m_records[j][TEtymologyLine::Parent1] == word || m_records[j][TEtymologyLine::Parent2] == word)
                    list.append(FormatHomonym(m_records[j][TEtymologyLine::Headword]));
        }
    }
    return list;
}

QString OriginLanguageName(const QString &code, bool hasRoot)
{
    for (const auto &[key, name] : kLanguageNames)
        if (code == QStringView(key))
            return QString::fromUtf16(name);
    if (code == kNoLanguage)
        return {};
    return hasRoot ? kUnregisteredLanguage : QString();
}
