#include "app/KeyCodes.h"

#include <QKeyEvent>

namespace {
constexpr int kFirstFunctionKey = 112;   // F1

// The printable characters of the Japanese 106/109-key layout by the key that
// gives them there and whether that key is held with Shift. A character is
// looked up by what arrived, not by the Shift key: on another layout Shift+2
// gives "@", which here is the unshifted key 192, and ":" is the unshifted
// key 186 even when Shift had to be held for it.
struct TCharacterKey {
    char16_t character;
    int code;
    bool shifted;
};
constexpr TCharacterKey kCharacterKeys[] = {
    {u'!', 49, true},   {u'"', 50, true},   {u'#', 51, true},   {u'$', 52, true},   {u'%', 53, true},
    {u'&', 54, true},   {u'\'', 55, true},  {u'(', 56, true},   {u')', 57, true},   {u':', 186, false},
    {u'*', 186, true},  {u';', 187, false}, {u'+', 187, true},  {u',', 188, false}, {u'<', 188, true},
    {u'-', 189, false}, {u'=', 189, true},  {u'.', 190, false}, {u'>', 190, true},  {u'/', 191, false},
    {u'?', 191, true},  {u'@', 192, false}, {u'`', 192, true},  {u'[', 219, false}, {u'{', 219, true},
    {u'\\', 220, false}, {u'|', 220, true}, {u']', 221, false}, {u'}', 221, true},  {u'^', 222, false},
    {u'~', 222, true},  {u'_', 226, true},
};

bool IsPrintableAscii(QChar c)
{
    return c.unicode() > 0x20 && c.unicode() < 0x7F;
}

// The one character the key typed: the event's text when it is a single
// printable character, else the character the key itself stands for (Qt's
// key numbers of printable ASCII are the characters themselves). A null
// character when neither gives one (Ctrl held, a dead key, a named key).
QChar ArrivedCharacter(const QKeyEvent &event)
{
    const QString text = event.text();
    if (text.size() == 1 && text.front().isPrint() && !text.front().isSpace())
        return text.front();
    const int key = event.key();
    if (key > 0x20 && key < 0x7F)
        return QChar(key);
    return {};
}

// Letters with accents and the Spanish opening marks of other layouts: no
// key of the Japanese layout gives them, but answers may hold them.
bool IsForeignAnswerCharacter(QChar c)
{
    if (c.unicode() < 0x80)
        return false;
    return (c.isLetter() && c.script() == QChar::Script_Latin) || c == QChar(0x00BF) || c == QChar(0x00A1);
}
}

TKeyPress TranslateKey(const QKeyEvent &event)
{
    TKeyPress press;
    const Qt::KeyboardModifiers mods = event.modifiers();
    press.shift = mods.testFlag(Qt::ShiftModifier);
    press.alt = mods.testFlag(Qt::AltModifier);
    const int key = event.key();
    const bool keypad = mods.testFlag(Qt::KeypadModifier);

    if (keypad && key >= Qt::Key_0 && key <= Qt::Key_9) {
        press.code = vk::Numpad0 + (key - Qt::Key_0);
        return press;
    }
    if (keypad && key == Qt::Key_Minus) {
        press.code = vk::NumpadMinus;
        return press;
    }
    // Letters keep the Shift key's case, as the layout's table has it.
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        press.code = vk::LetterA + (key - Qt::Key_A);
        return press;
    }
    switch (key) {
    case Qt::Key_Backspace: press.code = vk::Backspace; return press;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: press.code = vk::Tab; return press;
    case Qt::Key_Return:
    case Qt::Key_Enter: press.code = vk::Enter; return press;
    case Qt::Key_Shift: press.code = vk::Shift; return press;
    case Qt::Key_Control: press.code = vk::Control; return press;
    case Qt::Key_Alt: press.code = vk::Alt; return press;
    case Qt::Key_Escape: press.code = vk::Escape; return press;
    case Qt::Key_Space: press.code = vk::Space; return press;
    case Qt::Key_PageDown: press.code = vk::PageDown; return press;
    case Qt::Key_End: press.code = vk::End; return press;
    case Qt::Key_Left: press.code = vk::Left; return press;
    case Qt::Key_Up: press.code = vk::Up; return press;
    case Qt::Key_Right: press.code = vk::Right; return press;
    case Qt::Key_Down: press.code = vk::Down; return press;
    case Qt::Key_Delete: press.code = vk::Delete; return press;
    case Qt::Key_Meta:
    case Qt::Key_Super_L: press.code = vk::LeftWindows; return press;
    case Qt::Key_Zenkaku_Hankaku:
    case Qt::Key_Hankaku: press.code = vk::Hankaku; return press;
    case Qt::Key_Zenkaku: press.code = vk::Zenkaku; return press;
    // The yen key of the Japanese layout is its backslash key.
    case Qt::Key_yen: press.code = vk::Backslash; press.shift = false; return press;
    default: break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
        press.code = kFirstFunctionKey + (key - Qt::Key_F1);
        return press;
    }

    const QChar c = ArrivedCharacter(event);
    if (c.isNull())
        return press;
    if (c >= u'0' && c <= u'9') {
        // A digit that arrived is the digit, with or without Shift held.
        press.code = vk::Digit0 + (c.unicode() - u'0');
        press.shift = false;
        return press;
    }
    if (IsPrintableAscii(c)) {
        for (const TCharacterKey &k : kCharacterKeys)
            if (k.character == c.unicode()) {
                press.code = k.code;
                press.shift = k.shifted;
                return press;
            }
        return press;
    }
    if (IsForeignAnswerCharacter(c))
        press.text = QString(c);
    return press;
}
