// The key map's rows, one case each: the key, the flow's state, the action.
#include "app/KeyMap.h"

#include <gtest/gtest.h>

namespace {
enum class TS { Loading, PendingStep, Ready, Asking, AskingTyping, Reviewing, WordToMeaningAsking, WordToMeaningReviewing, GlimpseAsking };

TKeyFlowState StateOf(TS s)
{
    TKeyFlowState st;
    switch (s) {
    case TS::Loading: st.ignoresKeys = true; break;
    case TS::PendingStep: st.stepPending = true; st.asking = true; st.busy = true; break;
    case TS::Ready: st.ready = true; st.busy = true; break;
    case TS::Asking: st.asking = true; st.busy = true; break;
    case TS::AskingTyping: st.asking = true; st.busy = true; st.typingQuestion = true; break;
    case TS::Reviewing: break;
    case TS::WordToMeaningAsking: st.asking = true; st.busy = true; st.wordToMeaning = true; break;
    case TS::WordToMeaningReviewing: st.wordToMeaning = true; break;
    case TS::GlimpseAsking: st.asking = true; st.busy = true; st.typingQuestion = true; st.glimpseShown = true; break;
    }
    return st;
}

TKeyPress K(int code, bool shift = false, bool alt = false) { return {code, shift, alt, {}}; }

TKeyDecision A(TKeyAction action) { TKeyDecision d; d.action = action; return d; }
TKeyDecision Option(int n) { TKeyDecision d = A(TKeyAction::ChooseOption); d.option = n; return d; }
TKeyDecision Typed(const char *text, bool completion, bool sound)
{
    TKeyDecision d = A(TKeyAction::Type);
    d.text = QString::fromUtf8(text);
    d.completionTest = completion;
    d.typingSound = sound;
    return d;
}
TKeyDecision Next(bool stopReaction = false) { TKeyDecision d = A(TKeyAction::NextQuestion); d.stopReaction = stopReaction; return d; }
}

TEST(KeyMap, EveryRowOfTheMap)
{
    using namespace vk;
    const struct {
        const char *row;
        TKeyPress key;
        TS state;
        TKeyDecision decision;
    } rows[] = {
        {"loading ignores every key", K(LetterA), TS::Loading, A(TKeyAction::PassOn)},
        {"a pending step swallows keys", K(Digit1), TS::PendingStep, A(TKeyAction::Consume)},
        {"up flashes the hint", K(Up), TS::GlimpseAsking, A(TKeyAction::Glimpse)},
        {"hankaku flashes the hint", K(Hankaku), TS::GlimpseAsking, A(TKeyAction::Glimpse)},
        {"alt passes on", K(LetterA, false, true), TS::Reviewing, A(TKeyAction::PassOn)},
        {"windows key", K(LeftWindows), TS::Asking, A(TKeyAction::Consume)},
        {"arrows", K(Right), TS::Reviewing, A(TKeyAction::Consume)},
        {"esc while not asking", K(Escape), TS::Reviewing, A(TKeyAction::Escape)},
        {"esc while asking", K(Escape), TS::Asking, A(TKeyAction::Consume)},
        {"enter gives up", K(Enter), TS::Asking, A(TKeyAction::GiveUp)},
        {"enter goes on", K(Enter), TS::Reviewing, Next(true)},
        {"tab when not busy", K(Tab), TS::Reviewing, A(TKeyAction::NextTab)},
        {"tab when busy", K(Tab), TS::Ready, A(TKeyAction::Consume)},
        {"delete when not busy", K(Delete), TS::Reviewing, A(TKeyAction::ToggleExclusion)},
        {"delete when busy", K(Delete), TS::Asking, A(TKeyAction::Consume)},
        {"1 in a typing question", K(Digit1), TS::AskingTyping, A(TKeyAction::Consume)},
        {"shift+2 types a quote", K(Digit2, true), TS::Asking, Typed("\"", false, false)},
        {"shift+end types nothing", K(End, true), TS::Asking, A(TKeyAction::Consume)},
        {"2 chooses", K(Digit2), TS::Asking, Option(2)},
        {"pad 3 chooses", K(Numpad3), TS::Asking, Option(3)},
        {"end chooses 1", K(End), TS::Asking, Option(1)},
        {"down chooses 2 without the glimpse panel", K(Down), TS::Asking, Option(2)},
        {"page down chooses 3", K(PageDown), TS::Asking, Option(3)},
        {"1 goes on when not asking", K(Digit1), TS::Reviewing, Next()},
        {"letters do not type word to meaning", K(LetterA), TS::WordToMeaningAsking, A(TKeyAction::Consume)},
        {"letters go on word to meaning", K(LetterA), TS::WordToMeaningReviewing, Next()},
        {"backspace while asking", K(Backspace), TS::Asking, A(TKeyAction::Backspace)},
        {"backspace otherwise passes on", K(Backspace), TS::Reviewing, A(TKeyAction::PassOn)},
        {"space types", K(Space), TS::Asking, Typed(" ", false, true)},
        {"space starts from the start screen", K(Space), TS::Ready, Next()},
        {"space in reviewing", K(Space), TS::Reviewing, A(TKeyAction::ShowEtymology)},
        {"punctuation types", K(191, true), TS::Asking, Typed("?", false, true)},
        {"at sign", K(192), TS::Asking, Typed("@", false, true)},
        {"pad minus types", K(NumpadMinus), TS::Asking, Typed("-", false, true)},
        {"punctuation otherwise passes on", K(188), TS::Reviewing, A(TKeyAction::PassOn)},
        {"ctrl speaks when not busy", K(Control), TS::Reviewing, A(TKeyAction::SpeakWord)},
        {"ctrl starts from the start screen", K(Control), TS::Ready, Next()},
        {"any key goes on", K(LetterA + 5), TS::Reviewing, Next()},
        {"a letter types", K(LetterA), TS::Asking, Typed("a", true, true)},
        {"shift+a types a capital", K(LetterA, true), TS::Asking, Typed("A", true, true)},
        {"shift+7 types an apostrophe", K(Digit0 + 7, true), TS::Asking, Typed("'", true, true)},
        {"pad digits type", K(Numpad0 + 5), TS::Asking, Typed("5", true, true)},
        {"4 types in a typing question", K(Digit0 + 4), TS::AskingTyping, Typed("4", true, true)},
        {"an accented letter of another layout", TKeyPress{0, false, false, QStringLiteral("é")}, TS::Asking,
         Typed("é", true, true)},
        {"shift alone types nothing", K(Shift), TS::Asking, A(TKeyAction::Consume)},
    };
    for (const auto &r : rows)
        EXPECT_TRUE(MapKey(r.key, StateOf(r.state)) == r.decision) << r.row;
}
