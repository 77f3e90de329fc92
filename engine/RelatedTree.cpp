#include "engine/RelatedTree.h"

#include "engine/CommonUnit.h"

#include <QSet>
#include <algorithm>

namespace {
const QString kDerivation = QStringLiteral("派生");
const QString kSameMeaning = QStringLiteral("同義");
const QString kPrefix = QStringLiteral("接頭辞");
const QString kSuffix = QStringLiteral("接尾辞");
const QString kSameOrigin = QStringLiteral("同語源");
const QString kNothing = QStringLiteral(" nothing");
const QString kForTheSakeOf = QStringLiteral("～のために");   // too common to relate words by

QString Line(const QString &displayForm, const QString &joinedMeanings)
{
    return displayForm + QStringLiteral(" （ ") + joinedMeanings + QStringLiteral(" ）");
}

// The last word the related words are looked for in: the file's DBTangoTotal.
int LastLookUpWord(const TCC &cc)
{
    return qMin(cc.fileSlot >= 1 && cc.fileSlot <= kSlotCount
                    ? cc.catalog.rows[static_cast<size_t>(cc.fileSlot)].DBTangoTotal
                    : 0,
                kMaxWords);
}

bool LinksTo(const TTango &t, const QString &key)
{
    return !key.isEmpty() && (t.links[0] == key || t.links[1] == key);
}

class TTreeBuilder {
public:
    TTreeBuilder(const TCC &cc, const TRelatedWords &related, int position)
        : m_cc(cc), m_related(related), m_current(position),
          m_icon(LanguageKindOfSlot(cc.fileSlot)), m_last(LastLookUpWord(cc))
    {
        const TTango &c = word(position);
        m_root.text = Line(cc.DisplayForm(position), c.joinedMeanings);
        m_root.icon = m_icon;
    }

    TRelatedNode Build()
    {
        const TTango &c = word(m_current);
        int base = 0;
        if (m_cc.fileCode != QStringLiteral("TJ"))
            base = AddDerivation(c);
        AddSameMeaning(c);
        if (m_cc.fileCode == QStringLiteral("IT"))
            AddItalianGroups(c, base);
        // A group is made when a line might go into it; one that got none goes.
        m_root.children.removeIf([](const TRelatedNode &group) { return group.children.isEmpty(); });
        if (m_root.children.isEmpty())
            m_root.children.append({kNothing, m_icon, {}});
        for (TRelatedNode &group : m_root.children)
            std::sort(group.children.begin(), group.children.end(),
                      [](const TRelatedNode &a, const TRelatedNode &b) { return a.text < b.text; });
        return m_root;
    }

private:
    const TTango &word(int position) const { return m_cc.words[position]; }

    TRelatedNode &Group(const QString &caption)
    {
        if (!m_groups.contains(caption)) {
            m_groups.append(caption);
            m_root.children.append({caption, m_icon, {}});
        }
        return m_root.children[m_groups.indexOf(caption)];
    }

    // Lists word i below the parent once in the whole tree; false when it
    // was listed already (or is the current word).
    TRelatedNode *ListWord(TRelatedNode &parent, int i)
    {
        if (i == m_current || m_listedWords.contains(i) || m_listedWords.size() >= kMaxListedRelated)
            return nullptr;
        m_listedWords.insert(i);
        parent.children.append({Line(m_cc.DisplayForm(i), word(i).joinedMeanings), m_icon, {}});
        return &parent.children.last();
    }

    TRelatedNode *ListEntry(TRelatedNode &parent, int entry)
    {
        if (m_listedEntries.contains(entry) || m_listedEntries.size() >= kMaxListedRelated)
            return nullptr;
        m_listedEntries.insert(entry);
        const TQuoteEnglish &e = m_related[entry];
        parent.children.append({Line(DisplayForm(e.word, THeadwordKind::Word), e.joinedMeanings),
                                kRelatedEntryIcon, {}});
        return &parent.children.last();
    }

    // Returns the first word listed as the current word's base (0 for none).
    int AddDerivation(const TTango &c)
    {
        QList<int> found;
        for (int i = 1; i <= m_last; ++i)
            if (LinksTo(word(i), c.word))
                found.append(i);
        int base = 0;
        for (const QString &link : c.links) {
            if (link.isEmpty())
                continue;
            for (int i = 1; i <= m_last; ++i)
                if (word(i).word == link) {
                    found.append(i);
                    if (base == 0)
                        base = i;
                }
        }
        for (int d : found) {
            TRelatedNode *line = ListWord(Group(kDerivation), d);
            if (!line)
                continue;
            // The word's own family, unless that family is the current word's.
            const TTango &dw = word(d);
            const QString familyBase = dw.links[0].isEmpty() ? dw.word : dw.links[0];
            if (familyBase == c.word || familyBase == c.links[0] || familyBase == c.links[1])
                continue;
            for (int j = 1; j <= m_last; ++j)
                if (j != d && LinksTo(word(j), familyBase))
                    ListWord(*line, j);
        }
        return base;
    }

    void AddSameMeaning(const TTango &c)
    {
        for (const QString &meaning : c.meanings) {
            if (meaning.isEmpty() || meaning == kForTheSakeOf)
                continue;
            for (int i = 1; i <= m_last; ++i)
                if (std::find(word(i).meanings.begin(), word(i).meanings.end(), meaning) != word(i).meanings.end())
                    ListWord(Group(kSameMeaning), i);
        }
    }

    void AddItalianGroups(const TTango &c, int base)
    {
        for (int i = 1; i <= m_last; ++i) {
            if (!c.itColumn9.isEmpty() && word(i).itColumn9 == c.itColumn9)
                ListWord(Group(kPrefix), i);
        }
        for (int i = 1; i <= m_last; ++i) {
            if (!c.itColumn12.isEmpty() && word(i).itColumn12 == c.itColumn12)
                ListWord(Group(kSuffix), i);
        }
        const QString &origin = c.itColumns13to15[0];
        for (int i = 1; i <= m_last; ++i) {
            if (!origin.isEmpty() && word(i).word == origin)
                ListWord(Group(kSameOrigin), i);
        }
        AddOriginEntries(c.itColumns13to15[1]);
        if (base != 0)
            AddOriginEntries(word(base).itColumns13to15[1]);
    }

    // Related-words entries of an origin key, each with the entries that
    // share its keys.
    void AddOriginEntries(const QString &key)
    {
        if (key.isEmpty())
            return;
        const auto hasKey = [](const TQuoteEnglish &e, const QString &k) {
            return !k.isEmpty() && (e.word == k || e.linkKeys[0] == k || e.linkKeys[1] == k);
        };
        for (int n = 1; n <= m_related.entryCount; ++n) {
            if (!hasKey(m_related[n], key))
                continue;
            TRelatedNode *line = ListEntry(Group(kSameOrigin), n);
            if (!line)
                continue;
            const TQuoteEnglish &e = m_related[n];
            for (int m = 1; m <= m_related.entryCount; ++m) {
                const TQuoteEnglish &o = m_related[m];
                if (m != n && (hasKey(o, e.linkKeys[0]) || hasKey(o, e.linkKeys[1])))
                    ListEntry(*line, m);
            }
        }
    }

    const TCC &m_cc;
    const TRelatedWords &m_related;
    int m_current;
    int m_icon;
    int m_last;
    TRelatedNode m_root;
    QStringList m_groups;
    QSet<int> m_listedWords;
    QSet<int> m_listedEntries;
};
}

TRelatedNode BuildRelatedTree(const TCC &cc, const TRelatedWords &related, int position)
{
    return TTreeBuilder(cc, related, position).Build();
}

QStringList TelopHeadwords(const TCC &cc, int position)
{
    QStringList headwords;
    if (!TWordTable::IsPosition(position))
        return headwords;
    const TTango &c = cc.words[position];
    const int last = LastLookUpWord(cc);
    for (int i = 1; i <= last; ++i)
        if (i != position && LinksTo(cc.words[i], c.word))
            headwords.append(cc.words[i].word);
    for (const QString &link : c.links) {
        if (link.isEmpty())
            continue;
        for (int i = 1; i <= last; ++i)
            if (i != position && cc.words[i].word == link)
                headwords.append(cc.words[i].word);
    }
    return headwords;
}
