#pragma once
// The one error type of the engine. Whatever is not handled where it arises is
// shown to the learner in an error box with its message, and the program ends
// without writing anything more.
#include <QString>
#include <stdexcept>

class TFatalError : public std::runtime_error {
public:
    explicit TFatalError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &Message() const { return m_message; }

private:
    QString m_message;
};

// The text as a message quotes it: a long one cut after its first
// characters, with its length.
QString QuotedExcerpt(QStringView text);

// A non-number where a number belongs (the conversion error of the program).
[[noreturn]] void RaiseConversionError(const QString &text);

// The same error told where it was met: the file and, for a text file, the
// line (0: none), with the message of the error found there.
[[noreturn]] void RaiseFileError(const QString &path, int line, const QString &message);

// Decimal integer as the program reads numbers from its files; anything else
// (empty, spaces, letters, out of range) is the conversion error.
qint32 StrToInt(QStringView text);
