#pragma once
// File helpers shared by the tessarion-tool commands.
#include <QByteArray>
#include <QString>

// Whole file; a missing or unreadable file is a TFatalError naming it.
QByteArray ReadWholeFile(const QString &path);

// Strict UTF-8: invalid bytes are a TFatalError naming the file. A leading
// byte-order mark is kept as the character U+FEFF, so the text converts back
// to exactly the same bytes.
QString ExactUtf8Text(const QByteArray &bytes, const QString &path);
