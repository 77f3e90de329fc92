#pragma once
// The etymology database: for each English word how it is built (prefix,
// root, suffix), the words it came from, the roots behind it with their origin
// languages, and a small dictionary of prefixes and suffixes. It is read once
// from resource/Etymology_enc.dat and stays in memory for the rest of the run;
// the chart and the etymology window only read it.
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "base/HomonymDigit.h"   // StripHomonymDigit, FormatHomonym

class TNotifier;
struct TCatalog;

inline constexpr int kEtymologyRecordCapacity = 22000;       // indices 1..22000
inline constexpr int kEtymologyNotFound = kEtymologyRecordCapacity + 1;
inline constexpr int kEtymologyRecordLines = 29;             // lines 0..28 of a record
inline constexpr int kEtymologyGroupSize = 100;
inline constexpr int kEtymologyLastGroup = 201;              // group 0 is stored as 201
inline constexpr int kRootFirstLevelCapacity = 5000;
inline constexpr int kRootSecondLevelCapacity = 48;
inline constexpr int kRootThirdLevelCapacity = 5;
inline constexpr int kAffixCapacity = 809;
inline constexpr int kRootLeafCapacity = 50;

extern const QString kEtymologyFile;          // below the program folder
extern const QString kDatabaseErrorMessage;   // an empty first-level root inside the counted range
extern const QString kRootKeyMissingMessage;  // a root key that is not in the tree

// Line numbers of a record's fields.
enum class TEtymologyLine {
    Group = 0,
    Meaning1 = 3, Meaning2 = 4, Meaning3 = 5, Meaning4 = 6,
    Headword = 7,
    Parent1 = 9, Parent2 = 10,
    Prefix = 11, PrefixGloss = 12,
    RootCode = 14, RootForms = 15, RootSense = 16, RootSenseHere = 17,
    Root2Code = 18, Root2Forms = 19, Root2SenseHere = 20,
    Suffix = 21, SuffixGloss = 22,
    Remark = 23,
    LayoutType = 25,
};

struct TEtymologyRecord {
    qint32 group = 0;
    std::array<QString, kEtymologyRecordLines> lines;   // line 0 holds the group's text
    QString extra;                                      // cleared by the loader
    const QString &operator[](TEtymologyLine line) const { return lines[static_cast<int>(line)]; }
};

struct TRootNode {
    QString code;    // origin-language code; empty ends a sibling run
    QString forms;   // for English roots "<Old English>;<Middle English>"
    QString gloss;
    bool IsEmpty() const { return code.isEmpty(); }
};

struct TRootCoordinates {
    int first = 0;
    int second = 0;
    int third = 0;
    bool operator==(const TRootCoordinates &) const = default;
};

struct TAffix {
    QString form;    // "pre-", "-tion"; "[" and "]" removed
    QString gloss;   // the Japanese gloss, or the form of the entry this one is a variant of
    QString extra1;
    QString extra2;
};

enum class TRootRelativesKind { RootChild, RootParent };

class TEtymologyDatabase {
public:
    TEtymologyDatabase();

    // Reads programFolder + resource/Etymology_enc.dat into the three tables
    // and puts the file's version into the catalog. A missing file or one that
    // is damaged (cut short, a number where none is, a table overflowing its
    // room) raises TFatalError naming the file and line; the tables are then
    // left as they were.
    void LoadEtymologyData(const QString &programFolder, TCatalog &catalog);
    // The same from a decoded text; `path` only names the file in messages.
    void ParseEtymologyText(const QString &decoded, const QString &path);
    // Loaded once for the run. A flag of its own: a file whose first group is
    // empty still counts as loaded.
    bool IsLoaded() const { return m_loaded; }
    qint32 Version() const { return m_version; }

    // Records 1..22000; index 0 and indices out of range read as an empty record.
    const TEtymologyRecord &Record(int index) const;
    int RecordCount() const { return static_cast<int>(m_used.size()); }
    const std::vector<int> &UsedIndices() const { return m_used; }

    // First record counting from 1 whose headword equals text exactly; 0 when none.
    int FindHeadword(const QString &text) const;
    // The same, 22001 when there is none.
    int FindHeadwordInRange(const QString &text) const;

    // Root tree; nodes outside the stored tree read as empty.
    const TRootNode &RootNode(int first, int second, int third) const;
    int FirstLevelCount() const { return static_cast<int>(m_roots.size()); }
    // Finds the node with this key, depth first, and keeps its coordinates as
    // the last located root. False (with the messages) when there is none.
    bool FindRootKey(const QString &code, const QString &forms, TNotifier &notifier);
    bool IsDerivedRootKey(const QString &code, const QString &forms, TNotifier &notifier) const;
    const TRootCoordinates &LastLocatedRoot() const { return m_lastRoot; }
    // The first-level node and all leaves below it, into the root leaf list.
    void CollectRootLeaves(int first);
    const QStringList &LeafCodes() const { return m_leafCodes; }
    const QStringList &LeafForms() const { return m_leafForms; }

    // Affix entries 1..AffixCount().
    int AffixCount() const { return static_cast<int>(m_affixes.size()); }
    const TAffix &Affix(int entry) const { return m_affixes[entry - 1]; }
    // First entry whose form equals form; AffixCount() + 1 when none.
    int FindAffix(const QString &form) const;

    // Lists of related words, as FormatHomonym texts.
    QStringList ListPrefixRelatives(int index) const;
    QStringList ListSuffixRelatives(int index) const;
    QStringList ListWordFamily(int index) const;
    QStringList ListRootRelatives(TRootRelativesKind kind, int index, int first, int second, int third);

private:
    struct TSecondLevel {
        TRootNode node;
        std::vector<TRootNode> children;
    };
    struct TFirstLevel {
        TRootNode node;
        std::vector<TSecondLevel> children;
    };
    enum class TWalkResult { Found, Missing, DatabaseError };
    TWalkResult WalkToRoot(const QString &code, const QString &forms, TRootCoordinates &at) const;
    QStringList ListLinkRelatives(int index, TEtymologyLine line) const;
    QString FollowLinks(const QString &start, TEtymologyLine line) const;

    std::vector<TEtymologyRecord> m_records;   // 0..22000
    std::vector<int> m_used;                   // stored indices, ascending
    std::vector<TFirstLevel> m_roots;
    std::vector<TAffix> m_affixes;
    qint32 m_version = 0;
    bool m_loaded = false;
    TRootCoordinates m_lastRoot;
    QStringList m_leafCodes;
    QStringList m_leafForms;
};

// English name of an origin-language code. An unknown code names itself
// "-unregistered string-" when the word has a root (hasRoot), else nothing.
QString OriginLanguageName(const QString &code, bool hasRoot);
