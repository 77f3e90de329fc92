#pragma once
// The key map of the training window as a pure function: a key press and
// the flow's state give the action; the flow carries it out. The first
// matching row decides.
#include "app/KeyCodes.h"

#include <QString>

// What the flow is doing when a key arrives.
struct TKeyFlowState {
    bool ignoresKeys = false;      // quit asked for, a file loading or closing
    bool stepPending = false;      // a question posted, or answered and not graded yet
    bool glimpseShown = false;     // the glimpse panel is visible
    bool asking = false;           // a question waits for its answer
    bool ready = false;            // the start screen of a file
    bool busy = false;             // asking, loading or ready
    bool typingQuestion = false;   // the question on screen is typed
    bool wordToMeaning = false;    // questions show the word, options its meanings
};

enum class TKeyAction {
    PassOn,            // not consumed: the focused control gets the key
    Consume,           // consumed, nothing happens
    Glimpse,           // flash the answer of a typing question
    Escape,            // offer to end the program
    GiveUp,            // the question ends with what has been typed
    NextQuestion,      // ask the next question
    NextTab,           // the next page of the word panel
    ToggleExclusion,   // the exclusion switch
    ChooseOption,      // option 1..3 answers
    Type,              // a character is added to the typed answer
    Backspace,         // the last typed character goes
    SpeakWord,         // the current word is spoken
    ShowEtymology,     // the etymology window shows the current word
};

struct TKeyDecision {
    TKeyAction action = TKeyAction::PassOn;
    int option = 0;                // ChooseOption: 1..3
    QString text;                  // Type: the character
    bool completionTest = false;   // Type: a complete answer ends the question
    bool typingSound = false;      // Type: the key clicks
    // NextQuestion: the agent's reaction timer stops first (Enter).
    bool stopReaction = false;

    friend bool operator==(const TKeyDecision &, const TKeyDecision &) = default;
};

TKeyDecision MapKey(const TKeyPress &key, const TKeyFlowState &state);
