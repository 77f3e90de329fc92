#include "app/KeyCodes.h"

#include <QKeyEvent>

namespace {
// Punctuation keys of the Japanese layout, by the character they give
// without and with Shift.
struct TPunctuation {
    int key;
    int code;
};
constexpr TPunctuation kPunctuation[] = {
    {Qt::Key_Colon, 186},       {Qt::Key_Asterisk, 186},   {Qt::Key_Semicolon, 187},
    {Qt::Key_Plus, 187},        {Qt::Key_Comma, 188},      {Qt::Key_Less, 188},
    {Qt::Key_Minus, 189},       {Qt::Key_Equal, 189},      {Qt::Key_Period, 190},
    {Qt::Key_Greater, 190},     {Qt::Key_Slash, 191},      {Qt::Key_Question, 191},
    {Qt::Key_At, 192},          {Qt::Key_QuoteLeft, 192},  {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219},   {Qt::Key_Backslash, 220},  {Qt::Key_Bar, 220},
    {Qt::Key_BracketRight, 221}, {Qt::Key_BraceRight, 221}, {Qt::Key_AsciiCircum, 222},
    {Qt::Key_AsciiTilde, 222},  {Qt::Key_Underscore, 226},
};
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
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        press.code = vk::Digit0 + (key - Qt::Key_0);
        return press;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        press.code = vk::LetterA + (key - Qt::Key_A);
        return press;
    }
    // Shifted digits arrive as their characters.
    static const QString kShiftedDigits = QStringLiteral("!\"#$%&'()");
    if (press.shift && !event.text().isEmpty()) {
        const qsizetype i = kShiftedDigits.indexOf(event.text().front());
        if (i >= 0) {
            press.code = vk::Digit1 + static_cast<int>(i);
            return press;
        }
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
    default: break;
    }
    for (const TPunctuation &p : kPunctuation)
        if (p.key == key) {
            press.code = p.code;
            return press;
        }
    // Any other key with a code of its own (function keys, Insert, ...).
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
        press.code = 112 + (key - Qt::Key_F1);
        return press;
    }
    return press;
}
