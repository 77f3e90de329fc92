#pragma once
// Key codes of the training keyboard: the key handler's rules are written
// against these numbers (the codes of the Japanese 106/109-key layout), and
// one translation turns a Qt key event into them.
#include <QString>

class QKeyEvent;

namespace vk {
inline constexpr int Backspace = 8;
inline constexpr int Tab = 9;
inline constexpr int Enter = 13;
inline constexpr int Shift = 16;
inline constexpr int Control = 17;
inline constexpr int Alt = 18;
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int PageDown = 34;
inline constexpr int End = 35;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Delete = 46;
inline constexpr int Digit0 = 48;
inline constexpr int Digit1 = 49;
inline constexpr int Digit2 = 50;
inline constexpr int Digit3 = 51;
inline constexpr int LetterA = 65;
inline constexpr int LeftWindows = 91;
inline constexpr int Numpad0 = 96;
inline constexpr int Numpad1 = 97;
inline constexpr int Numpad2 = 98;
inline constexpr int Numpad3 = 99;
inline constexpr int NumpadMinus = 109;
inline constexpr int Backslash = 220;
inline constexpr int Hankaku = 243;
inline constexpr int Zenkaku = 244;
}

// One key press in the codes of the table. For the keys that type a
// character, shift tells which of the key's two characters arrived, whatever
// the learner's layout needed to give it (Shift+2 on a US keyboard arrives as
// the unshifted at-sign key); for letters and the other keys it is the Shift
// key's state.
struct TKeyPress {
    int code = 0;        // 0: a key without a code here
    bool shift = false;
    bool alt = false;
    QString text;        // with code 0: an accented letter of another layout
};

TKeyPress TranslateKey(const QKeyEvent &event);
