#include "app/KeyMap.h"

namespace {
constexpr int kFirstPunctuation = 186;
constexpr int kLastPunctuationLow = 192;
constexpr int kFirstPunctuationHigh = 219;
constexpr int kLastPunctuationHigh = 222;
constexpr int kBackslashUnderscore = 226;
constexpr int kShiftedDigitOffset = 16;
constexpr int kLowerCaseOffset = 32;

// Characters of the punctuation keys (Japanese layout), without and with Shift.
QString PunctuationCharacter(int code, bool shift)
{
    switch (code) {
    case 186: return shift ? QStringLiteral("*") : QStringLiteral(":");
    case 187: return shift ? QStringLiteral("+") : QStringLiteral(";");
    case 188: return shift ? QStringLiteral("<") : QStringLiteral(",");
    case 189: return shift ? QStringLiteral("=") : QStringLiteral("-");
    case 190: return shift ? QStringLiteral(">") : QStringLiteral(".");
    case 191: return shift ? QStringLiteral("?") : QStringLiteral("/");
    case 192: return shift ? QStringLiteral("`") : QStringLiteral("@");
    case 219: return shift ? QStringLiteral("{") : QStringLiteral("[");
    case 220: return shift ? QStringLiteral("|") : QStringLiteral("\\");
    case 221: return shift ? QStringLiteral("}") : QStringLiteral("]");
    case 222: return shift ? QStringLiteral("~") : QStringLiteral("^");
    case 226: return shift ? QStringLiteral("_") : QStringLiteral("\\");
    default: return {};
    }
}

bool IsPunctuation(int code)
{
    return (code >= kFirstPunctuation && code <= kLastPunctuationLow)
           || (code >= kFirstPunctuationHigh && code <= kLastPunctuationHigh) || code == kBackslashUnderscore;
}

// The character of any other key with a code above 32: letters in the case
// of the Shift key, digits as themselves or, with Shift, the character 16
// codes below (Shift+4 "$", Shift+7 the apostrophe). The numeric pad types
// its digits. Keys that stand for no character type nothing.
QString KeyCharacter(int code, bool shift)
{
    if (code >= vk::Numpad0 && code <= vk::Numpad0 + 9)
        return QString(QChar(vk::Digit0 + code - vk::Numpad0));
    if (code >= vk::LetterA && code <= vk::LetterA + 25)
        return QString(QChar(shift ? code : code + kLowerCaseOffset));
    if (code >= vk::Digit0 && code <= vk::Digit0 + 9)
        return QString(QChar(shift ? code - kShiftedDigitOffset : code));
    return {};
}

// The option a choosing key stands for; 0 for other keys.
int OptionOfKey(int code)
{
    switch (code) {
    case vk::Digit1:
    case vk::Numpad1:
    case vk::End: return 1;
    case vk::Digit2:
    case vk::Numpad2:
    case vk::Down: return 2;
    case vk::Digit3:
    case vk::Numpad3:
    case vk::PageDown: return 3;
    default: return 0;
    }
}

TKeyDecision Act(TKeyAction action)
{
    TKeyDecision d;
    d.action = action;
    return d;
}

TKeyDecision TypeText(const QString &text, bool completionTest, bool typingSound)
{
    TKeyDecision d = Act(TKeyAction::Type);
    d.text = text;
    d.completionTest = completionTest;
    d.typingSound = typingSound;
    return d;
}
}

TKeyDecision MapKey(const TKeyPress &key, const TKeyFlowState &state)
{
    if (state.ignoresKeys)
        return Act(TKeyAction::PassOn);
    // The next question has been asked for and is not on screen yet, or it
    // is answered and not graded yet: keys wait for it, none starts a second
    // step and none loses the answer.
    if (state.stepPending)
        return Act(TKeyAction::Consume);
    const bool glimpseKey = key.code == vk::Hankaku || key.code == vk::Zenkaku || key.code == vk::Up
                            || key.code == vk::Down;
    if (glimpseKey && state.glimpseShown)
        return Act(TKeyAction::Glimpse);
    if (key.alt)
        return Act(TKeyAction::PassOn);

    const bool asking = state.asking;
    switch (key.code) {
    case vk::LeftWindows:
    case vk::Left:
    case vk::Right:
        return Act(TKeyAction::Consume);
    case vk::Escape:
        return Act(asking ? TKeyAction::Consume : TKeyAction::Escape);
    case vk::Enter:
        if (asking)
            return Act(TKeyAction::GiveUp);
        else {
            TKeyDecision d = Act(TKeyAction::NextQuestion);
            d.stopReaction = true;
            return d;
        }
    case vk::Tab:
        return Act(state.busy ? TKeyAction::Consume : TKeyAction::NextTab);
    case vk::Delete:
        return Act(state.busy ? TKeyAction::Consume : TKeyAction::ToggleExclusion);
    default:
        break;
    }

    if (const int option = OptionOfKey(key.code)) {
        if (asking && state.typingQuestion)
            return Act(TKeyAction::Consume);
        if (asking && key.shift) {
            if (key.code >= vk::Digit1 && key.code <= vk::Digit3)
                return TypeText(QString(QChar(key.code - kShiftedDigitOffset)), false, false);
            return Act(TKeyAction::Consume);
        }
        if (asking) {
            TKeyDecision d = Act(TKeyAction::ChooseOption);
            d.option = option;
            return d;
        }
        return Act(TKeyAction::NextQuestion);
    }

    if (state.wordToMeaning)
        return Act(asking ? TKeyAction::Consume : TKeyAction::NextQuestion);
    if (key.code == vk::Backspace)
        return Act(asking ? TKeyAction::Backspace : TKeyAction::PassOn);
    if (key.code == vk::Space) {
        if (asking)
            return TypeText(QStringLiteral(" "), false, true);
        return Act(state.ready ? TKeyAction::NextQuestion : TKeyAction::ShowEtymology);
    }
    if (IsPunctuation(key.code) || key.code == vk::NumpadMinus) {
        if (!asking)
            return Act(TKeyAction::PassOn);
        return TypeText(key.code == vk::NumpadMinus ? QStringLiteral("-") : PunctuationCharacter(key.code, key.shift),
                        false, true);
    }
    if (key.code == vk::Control && !state.busy)
        return Act(TKeyAction::SpeakWord);
    if (!asking)
        return Act(TKeyAction::NextQuestion);
    const QString typed = key.code > vk::Space ? KeyCharacter(key.code, key.shift) : key.text;
    if (typed.isEmpty())
        return Act(TKeyAction::Consume);
    return TypeText(typed, true, true);
}
