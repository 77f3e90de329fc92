#pragma once
// Date texts of the state files. Dates the program builds itself are
// year/month/day without leading zeros ("2009/7/5"); dates written through
// the short format are "yyyy/mm/dd" ("2009/07/05"). Both read back alike.
#include <QDate>
#include <QString>
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
