#pragma once
// The related-words table: resource/ENG_Quote_enc.dat, English words with
// their meanings and two keys that group related entries (the main window's
// related-words tree). Loaded once per run, before any learning file, into a
// program-wide fixed table; never written.
#include <QString>
#include <QtGlobal>
#include <array>
#include <vector>

inline constexpr int kMaxRelatedWords = 8000;   // entries 1..8000
inline const QString kRelatedWordsFile = QStringLiteral("resource/ENG_Quote_enc.dat");

struct TQuoteEnglish {
    qint32 first = 0;                    // not filled by the loader
    QString word;                        // with headword markup
    std::array<QString, 2> linkKeys;
    std::array<QString, 6> meanings;     // 1..4 filled
    QString joinedMeanings;
};

class TRelatedWords {
public:
    TRelatedWords() : m_entries(kMaxRelatedWords + 1) {}
    // Entry 1..entryCount; index 0 is never used.
    const TQuoteEnglish &operator[](int entry) const { return m_entries[static_cast<size_t>(entry)]; }
    int entryCount = 0;
    // Lines of the file (entries + 2), the bound other parts walk the table
    // by. A file with more than 8000 entries still counts only the stored ones.
    int lineCount = 0;
    qint32 version = 0;

private:
    friend void LoadRelatedWords(const QString &programFolder, TRelatedWords &table);
    std::vector<TQuoteEnglish> m_entries;
};

// Reads and decodes <programFolder>resource/ENG_Quote_enc.dat into the table
// (cleared first). A missing or unreadable file, or a version that is not a
// number, is a TFatalError. Entries after the 8000th are not stored.
void LoadRelatedWords(const QString &programFolder, TRelatedWords &table);
