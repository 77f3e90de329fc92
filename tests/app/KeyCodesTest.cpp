// Key events as a Japanese and a US keyboard (and a few others) deliver them,
// translated into the codes of the key table.
#include "app/KeyCodes.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

struct TKeyCase {
    const char *name;
    int key;
    Qt::KeyboardModifiers mods;
    const char16_t *text;
    int code;
    bool shift;
    const char16_t *foreign = u"";
};

const Qt::KeyboardModifiers kNone = Qt::NoModifier;
const Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
const Qt::KeyboardModifiers kPad = Qt::KeypadModifier;

const TKeyCase kCases[] = {
    // Japanese layout: every key gives the code of its key, and Shift tells
    // which of its two characters arrived.
    {"jp 1", Qt::Key_1, kNone, u"1", 49, false},
    {"jp Shift+1", Qt::Key_Exclam, kShift, u"!", 49, true},
    {"jp Shift+2", Qt::Key_QuoteDbl, kShift, u"\"", 50, true},
    {"jp Shift+7", Qt::Key_Apostrophe, kShift, u"'", 55, true},
    {"jp Shift+9", Qt::Key_ParenRight, kShift, u")", 57, true},
    {"jp :", Qt::Key_Colon, kNone, u":", 186, false},
    {"jp Shift+:", Qt::Key_Asterisk, kShift, u"*", 186, true},
    {"jp Shift+;", Qt::Key_Plus, kShift, u"+", 187, true},
    {"jp Shift+-", Qt::Key_Equal, kShift, u"=", 189, true},
    {"jp @", Qt::Key_At, kNone, u"@", 192, false},
    {"jp Shift+@", Qt::Key_QuoteLeft, kShift, u"`", 192, true},
    {"jp ^", Qt::Key_AsciiCircum, kNone, u"^", 222, false},
    {"jp Shift+^", Qt::Key_AsciiTilde, kShift, u"~", 222, true},
    {"jp yen", Qt::Key_yen, kNone, u"\u00A5", 220, false},
    {"jp Shift+yen", Qt::Key_Bar, kShift, u"|", 220, true},
    {"jp Shift+ro", Qt::Key_Underscore, kShift, u"_", 226, true},
    {"jp a", Qt::Key_A, kNone, u"a", 65, false},
    {"jp Shift+a", Qt::Key_A, kShift, u"A", 65, true},
    // The numeric pad, with NumLock on and off.
    {"pad 1", Qt::Key_1, kPad, u"1", 97, false},
    {"pad End", Qt::Key_End, kPad, u"", 35, false},
    {"pad Down", Qt::Key_Down, kPad, u"", 40, false},
    {"pad PageDown", Qt::Key_PageDown, kPad, u"", 34, false},
    {"pad -", Qt::Key_Minus, kPad, u"-", 109, false},
    // US layout: the key that gives the character on the Japanese layout,
    // whatever the Shift key did here.
    {"us Shift+2", Qt::Key_At, kShift, u"@", 192, false},
    {"us Shift+6", Qt::Key_AsciiCircum, kShift, u"^", 222, false},
    {"us Shift+;", Qt::Key_Colon, kShift, u":", 186, false},
    {"us =", Qt::Key_Equal, kNone, u"=", 189, true},
    {"us `", Qt::Key_QuoteLeft, kNone, u"`", 192, true},
    {"us '", Qt::Key_Apostrophe, kNone, u"'", 55, true},
    {"us Shift+'", Qt::Key_QuoteDbl, kShift, u"\"", 50, true},
    {"us Shift+7", Qt::Key_Ampersand, kShift, u"&", 54, true},
    {"us Shift+0", Qt::Key_ParenRight, kShift, u")", 57, true},
    // A digit that needs Shift (French layout) is still the digit.
    {"fr Shift+1", Qt::Key_1, kShift, u"1", 49, false},
    // Letters no key of the Japanese layout gives come as they are.
    {"it e grave", Qt::Key_Egrave, kNone, u"\u00E8", 0, false, u"\u00E8"},
    {"de Shift+u umlaut", Qt::Key_Udiaeresis, kShift, u"\u00DC", 0, true, u"\u00DC"},
    // Keys without a character.
    {"Ctrl", Qt::Key_Control, Qt::ControlModifier, u"", 17, false},
    {"Hankaku", Qt::Key_Zenkaku_Hankaku, kNone, u"", 243, false},
    {"euro sign", Qt::Key_unknown, kNone, u"\u20AC", 0, false},
};

TEST(KeyCodes, EveryLayoutGivesTheCodeOfTheCharacterThatArrived)
{
    for (const TKeyCase &c : kCases) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.mods, QString::fromUtf16(c.text));
        const TKeyPress press = TranslateKey(event);
        EXPECT_EQ(press.code, c.code) << c.name;
        if (c.code != 0) {
            EXPECT_EQ(press.shift, c.shift) << c.name;
        }
        EXPECT_EQ(press.text, QString::fromUtf16(c.foreign)) << c.name;
    }
}

TEST(KeyCodes, AltIsReportedWhateverTheKey)
{
    const TKeyPress press = TranslateKey(QKeyEvent(QEvent::KeyPress, Qt::Key_2, Qt::AltModifier, QStringLiteral("2")));
    EXPECT_TRUE(press.alt);
    EXPECT_EQ(press.code, 50);
}

}
