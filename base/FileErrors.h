#pragma once
// The system's reason for a failed file operation, in Japanese, for the
// messages that name a file: the common reasons said in Japanese, the rest
// keeping the system's own text behind a Japanese one.
#include <QFileDevice>
#include <QString>

// The reason of the error number (errno) `code`.
QString SystemErrorText(int code);
// What `file` last failed at.
QString FileErrorText(const QFileDevice &file);
