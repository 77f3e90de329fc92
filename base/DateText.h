#pragma once
// Date texts of the state files. Dates the program builds itself are
// year/month/day without leading zeros ("2009/7/5"); dates written through
// the short format are "yyyy/mm/dd" ("2009/07/05"). Both read back alike.
#include <QDate>
#include <QString>
#include <limits>
#include <optional>

// The zero date, read for "no date".
QDate ZeroDate();

QString BuildDateText(const QDate &date);   // "2009/7/5"
QString ShortDateText(const QDate &date);   // "2009/07/05"

// Reads "y/m/d" with or without leading zeros; nullopt for anything else.
std::optional<QDate> ParseDateText(const QString &text);
std::optional<QDate> ParseDateText(QStringView text);

// As ParseDateText, but a text that is not a date is the conversion error
// that ends the program.
QDate ReadDateText(const QString &text);

// A date field of a state file (a word's due date): its text exactly as read
// or built, written back unchanged, and its day number (Julian day) read once
// so that date rules compare numbers. An empty text, or one that is not a
// date, has no day number.
class TDueDate {
public:
    static constexpr qint64 kNoDay = std::numeric_limits<qint64>::min();

    TDueDate() = default;
    TDueDate(const QString &text) : m_text(text), m_day(DayOf(text)) {}   // NOLINT: read as its text
    TDueDate &operator=(const QString &text)
    {
        m_text = text;
        m_day = DayOf(text);
        return *this;
    }
    // The date of a day number, as the program builds dates ("2009/7/5").
    static TDueDate OfDay(qint64 day);

    const QString &Text() const { return m_text; }
    operator const QString &() const { return m_text; }   // NOLINT: a due date reads as its text
    bool IsDate() const { return m_day != kNoDay; }
    qint64 Day() const { return m_day; }

    bool isEmpty() const { return m_text.isEmpty(); }
    qsizetype size() const { return m_text.size(); }
    void clear()
    {
        m_text.clear();
        m_day = kNoDay;
    }

    friend bool operator==(const TDueDate &a, const TDueDate &b) { return a.m_text == b.m_text; }
    friend bool operator==(const TDueDate &a, const QString &b) { return a.m_text == b; }

private:
    static qint64 DayOf(const QString &text);

    QString m_text;
    qint64 m_day = kNoDay;
};
