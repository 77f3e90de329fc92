#pragma once
// Learning files under resource/: UTF-8 text whose UTF-16 code units are
// shifted up by one fixed constant (the encoder adds it, the program takes it
// away). The constant keeps TAB, LF and CR clear of CR and LF once shifted, so
// the stored file's own line structure never cuts a data line.
//
// Line breaks. The encoder shifts every code unit of the source text, line
// breaks included, and adds nothing: a source line end CR LF is stored as the
// two units U+0012 U+000F, a lone LF as U+000F, so the stored file is one
// single line and every line break of the source survives exactly as written.
// The program reads a stored file as lines (a real line break in it, if an
// editor added one, only ends a line), joins them with CR LF, puts a CR LF
// after the last one and shifts the whole text down. The CR LF it adds turns
// into the two stray units U+0008 U+0005, which end the decoded text; that is
// why the last decoded line is never data. A source text that ends with a line
// break therefore has every line read as data; a source whose last line has no
// line break loses that line to the trailer.
#include <QByteArray>
#include <QString>

inline constexpr char16_t kLearningTextShift = 5;

// Takes every code unit down by the shift constant.
QString DecodeLearningText(const QString &text);

// The inverse, for the tools that build data files. Refuses (TFatalError) a
// text that cannot be stored and read back exactly: characters outside the
// Basic Multilingual Plane, units that would land in the surrogate range, on a
// noncharacter or beyond U+FFFF, units that would become CR or LF (U+0005,
// U+0008), and a first character that would read back as a byte-order mark.
QString EncodeLearningText(const QString &text);

// The decoded text of a stored learning file as the program reads it (see
// above): a leading byte-order mark skipped, the lines joined and ended by
// CR LF, every unit shifted down.
QString DecodeLearningBytes(const QByteArray &stored);

// Reads and decodes the learning data file at path; a missing or unreadable
// file raises TFatalError with the given description of the file.
QString ReadLearningDataFile(const QString &path);

#include "base/TError.h"

class TNotifier;
class TWordTable;

// A learning file that cannot be learned as it is (cut short, rows missing):
// the file is refused with this message and nothing of the learner's is
// touched.
class TLearningFileRefused : public TFatalError {
public:
    using TFatalError::TFatalError;
};

// Where a built-in file's learning data lives in the program folder.
QString BuiltInLearningFilePath(const QString &programFolder, const QString &code);

// Reads a built-in learning file: the version of its first line into
// `version`, its rows into the word table (cleared first), meanings through
// the file's meaning rules. A row without a number takes the next position
// after tangoTotal. A file code without a column layout stores nothing and
// says so once. A file cut short (its last row not ended) or without a word
// for every position up to tangoTotal raises TLearningFileRefused.
void ReadLearningFile(const QString &path, const QString &fileCode, int tangoTotal, qint32 &version,
                      TWordTable &words, TNotifier &notifier);
