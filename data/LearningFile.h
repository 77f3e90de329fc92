#pragma once
// Learning files under resource/: UTF-8 text whose UTF-16 code units are
// shifted up by one fixed constant (the encoder adds it, the program takes it
// away). The constant keeps TAB, LF and CR clear of CR and LF once shifted, so
// the stored file's own line structure never cuts a data line.
#include <QString>

inline constexpr char16_t kLearningTextShift = 5;

// Takes every code unit down by the shift constant.
QString DecodeLearningText(const QString &text);
// The inverse, for the tools that build data files.
QString EncodeLearningText(const QString &text);
