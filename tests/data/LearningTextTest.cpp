#include "data/LearningFile.h"
#include "base/TError.h"
#include "support/TestSupport.h"
#include "base/TextFiles.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <random>

namespace {
int RunTool(const QStringList &args, QString *errors = nullptr)
{
    QProcess p;
    p.start(BinaryDir() + QStringLiteral("/tessarion-tool"), args);
    p.waitForFinished(60000);
    if (errors)
        *errors = QString::fromUtf8(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}
}

TEST(LearningText, ShiftsEveryUnitBothWays)
{
    const QString plain = QStringLiteral("x201\r\n1\tabandon\t見捨てる\n");
    const QString stored = EncodeLearningText(plain);
    ASSERT_EQ(stored.size(), plain.size());
    for (qsizetype i = 0; i < plain.size(); ++i)
        EXPECT_EQ(stored.at(i).unicode(), plain.at(i).unicode() + kLearningTextShift);
    EXPECT_FALSE(stored.contains(u'\r') || stored.contains(u'\n') || stored.contains(u'\t'));
    EXPECT_EQ(DecodeLearningText(stored), plain);
}

TEST(LearningText, EncoderRefusesUnitsThatCannotComeBack)
{
    struct Case { char16_t unit; qsizetype at; const char *why; };
    const Case cases[] = {
        {0xD83D, 0, "high surrogate (non-BMP character)"},
        {0xDE00, 0, "low surrogate"},
        {0xD7FB, 0, "lands on a high surrogate"},
        {0xD7FF, 0, "lands on a low surrogate range start"},
        {0xFFFB, 0, "overflows past U+FFFF"},
        {0xFFFF, 0, "overflows"},
        {0xFFF9, 0, "lands on the noncharacter U+FFFE"},
        {0x0005, 1, "would become LF"},
        {0x0008, 1, "would become CR"},
        {0xFEFA, 0, "would read back as a byte-order mark"},
    };
    for (const Case &c : cases) {
        QString text = QStringLiteral("ab");
        text.insert(c.at, QChar(c.unit));
        EXPECT_THROW(EncodeLearningText(text), TFatalError) << c.why;
    }
    // Boundaries that are fine.
    for (char16_t ok : {char16_t(0x0000), char16_t(0x0004), char16_t(0xD7FA), char16_t(0xE000), char16_t(0xFFF8)})
        EXPECT_NO_THROW(EncodeLearningText(QStringLiteral("a") + QChar(ok))) << int(ok);
    // U+FEFA is only refused at the start.
    EXPECT_NO_THROW(EncodeLearningText(QStringLiteral("a") + QChar(0xFEFA)));
}

TEST(LearningText, ProgramReadingAddsOneStrayTrailerLine)
{
    const QString plain = QStringLiteral("x201\r\n1\tone\r\n2\ttwo\r\n");
    const QByteArray stored = EncodeLearningText(plain).toUtf8();
    const QStringList lines = SplitLines(DecodeLearningBytes(stored));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines.at(2), QStringLiteral("2\ttwo"));
    EXPECT_EQ(lines.at(3), DecodeLearningText(QStringLiteral("\r\n")));   // the trailer, never data
    // A byte-order mark and a final line break added by an editor change nothing.
    EXPECT_EQ(DecodeLearningBytes("\xEF\xBB\xBF" + stored + "\r\n"), DecodeLearningBytes(stored));
    EXPECT_TRUE(DecodeLearningBytes(QByteArray()).isEmpty());
}

TEST(LearningTextTool, EncodeThenDecodeIsExactByteForByte)
{
    TTempProgramFolder dir;
    // A BOM, CR LF and lone LF, control characters, kana and no final line break.
    const QByteArray source("\xEF\xBB\xBFx201\r\n1\tabandon\t\xE8\xA6\x8B\xE6\x8D\xA8\xE3\x81\xA6\xE3\x82\x8B\n\x01\x7F last\t");
    dir.write(QStringLiteral("in.txt"), source);
    ASSERT_EQ(RunTool({QStringLiteral("encode"), dir.file(QStringLiteral("in.txt")), dir.file(QStringLiteral("TT_enc.dat"))}), 0);
    const QByteArray stored = dir.read(QStringLiteral("TT_enc.dat"));
    EXPECT_FALSE(stored.contains('\n') || stored.contains('\r'));
    // The program reads the source text itself (its BOM as U+FEFF) and the trailer.
    EXPECT_EQ(DecodeLearningBytes(stored), QChar(0xFEFF) + QString::fromUtf8(source.mid(3)) + DecodeLearningText(QStringLiteral("\r\n")));
    ASSERT_EQ(RunTool({QStringLiteral("decode"), dir.file(QStringLiteral("TT_enc.dat")), dir.file(QStringLiteral("out.txt"))}), 0);
    EXPECT_EQ(dir.read(QStringLiteral("out.txt")), source);
}

TEST(LearningTextTool, RefusesWhatCannotRoundTrip)
{
    TTempProgramFolder dir;
    QString errors;
    dir.write(QStringLiteral("emoji.txt"), "a\xF0\x9F\x98\x80");
    EXPECT_EQ(RunTool({QStringLiteral("encode"), dir.file(QStringLiteral("emoji.txt")), dir.file(QStringLiteral("o"))}, &errors), 1);
    EXPECT_TRUE(errors.contains(QStringLiteral("2 文字目"))) << errors.toStdString();
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("o"))));

    dir.write(QStringLiteral("broken.txt"), "a\xFF");
    EXPECT_EQ(RunTool({QStringLiteral("encode"), dir.file(QStringLiteral("broken.txt")), dir.file(QStringLiteral("o"))}), 1);
    // A stored file with a line break inside was not written by the encoder.
    dir.write(QStringLiteral("lines.dat"), "abc\r\ndef");
    EXPECT_EQ(RunTool({QStringLiteral("decode"), dir.file(QStringLiteral("lines.dat")), dir.file(QStringLiteral("o"))}), 1);
    EXPECT_EQ(RunTool({QStringLiteral("decode"), dir.file(QStringLiteral("missing.dat")), dir.file(QStringLiteral("o"))}), 1);
    // A missing argument is a usage error.
    EXPECT_EQ(RunTool({QStringLiteral("encode"), dir.file(QStringLiteral("emoji.txt"))}), 2);
}

namespace {
// The program's reading as a plain statement: QString's UTF-8 decoding, every
// line break made CR LF, a CR LF after a last line without one, every unit
// shifted down.
QString ReadAsStated(QByteArray stored)
{
    if (stored.startsWith("\xEF\xBB\xBF"))
        stored.remove(0, 3);
    QString text = QString::fromUtf8(stored);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    if (!text.isEmpty() && !text.endsWith(u'\n'))
        text += u'\n';
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return DecodeLearningText(text);
}
}

TEST(LearningText, ReadingAgreesWithItsStatementOnAnyBytes)
{
    // Pieces of well-formed and malformed UTF-8: line breaks, multi-byte
    // characters of every length, a byte-order mark and a noncharacter,
    // stray continuation bytes, cut sequences, surrogates, overlong forms,
    // code points past U+10FFFF.
    const QByteArray pieces[] = {
        "a", "Z\t", "\r", "\n", "\r\n", "\x12\x0F", "\xC3\xA9", "\xE8\xA6\x8B", "\xF0\x9F\x98\x80",
        "\xEF\xBB\xBF", "\xEF\xBF\xBE", "\xEF\xBF\xBF", "\x80", "\xC3", "\xE8\xA6", "\xF0\x9F\x98",
        "\xED\xA0\x80", "\xC0\xAF", "\xE0\x80\xAF", "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80", "\xFF", "\x01",
    };
    std::mt19937 draw(20240401);
    for (int k = 0; k < 3000; ++k) {
        QByteArray stored = draw() % 4 == 0 ? QByteArray("\xEF\xBB\xBF") : QByteArray();
        const int count = static_cast<int>(draw() % 12);
        // Mostly well-formed text, so both ways of reading are taken.
        const size_t range = draw() % 2 == 0 ? 12 : std::size(pieces);
        for (int i = 0; i < count; ++i)
            stored += pieces[draw() % range];
        EXPECT_EQ(DecodeLearningBytes(stored), ReadAsStated(stored)) << stored.toHex().toStdString();
    }
}
