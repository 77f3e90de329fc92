#pragma once
// The day's questions: the file queue, today's question list, the asked-word
// list, the current question and the answer to "nothing can be asked".
//
// Every list has a fixed capacity and refuses to grow past it.
#include <QString>
#include <QtGlobal>
#include <array>
#include <bitset>

inline constexpr int kQuestionListCapacity = 9998;
inline constexpr int kAskedWordCapacity = 200;
inline constexpr int kFileQueueCapacity = 49;
inline constexpr int kChoiceCount = 3;

enum class TSelectMode {
    Next = 0,         // choose the next question
    FirstOfDay = 1,   // file start: queue today's due stage-2/3 words, report whether anything can be asked
};

// What the learner answers when no word is due, no new word is left and no
// word is in stage 1.
enum class TNoQuestionsChoice {
    End,          // "終了": the file ends
    GoOnRandom,   // "ランダム出題で続行": random questions until the program ends
};

// Asked by the selection in that case. The main window shows its
// no-questions window; headless callers answer themselves.
class TNoQuestionsHandler {
public:
    virtual ~TNoQuestionsHandler() = default;
    virtual TNoQuestionsChoice AskNoQuestions() = 0;
};

// A fixed answer, for tools and tests.
class TFixedNoQuestionsAnswer : public TNoQuestionsHandler {
public:
    explicit TFixedNoQuestionsAnswer(TNoQuestionsChoice choice) : choice(choice) {}
    TNoQuestionsChoice AskNoQuestions() override
    {
        ++asked;
        return choice;
    }
    TNoQuestionsChoice choice;
    int asked = 0;
};

// Today's question list: word positions waiting to be asked, in the order
// they fell due. A position is in the list at most once.
class TQuestionList {
public:
    TQuestionList() = default;
    TQuestionList(const TQuestionList &other);
    TQuestionList &operator=(const TQuestionList &other);
    int Count() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }
    int First() const { return m_count > 0 ? m_items[static_cast<size_t>(m_head)] : 0; }
    int At(int index) const { return m_items[static_cast<size_t>((m_head + index) % kQuestionListCapacity)]; }
    bool Contains(int position) const { return IsMember(position) && m_member.test(static_cast<size_t>(position)); }
    // False when the list is full or the position is already in it.
    bool Append(int position);
    int TakeFirst();
    void Clear();
    // Changes whenever a position leaves the list (or the list is replaced
    // by another), never to a value it had before: whoever remembers it
    // knows whether the list may have lost a position since.
    quint64 Removals() const { return m_removals; }

private:
    static bool IsMember(int position) { return position >= 1 && position < kMemberBits; }
    static constexpr int kMemberBits = 30001;
    std::array<int, kQuestionListCapacity> m_items{};   // a ring: entry 0 at m_head
    int m_head = 0;
    int m_count = 0;
    std::bitset<kMemberBits> m_member;
    quint64 m_removals = 0;
};

// The words asked in this study run: entry k is the k-th question's word
// (k = quota - remaining), k = 1..200.
class TAskedWordList {
public:
    // Writes entry k; an index outside 1..200 is not stored.
    void Set(int index, int position);
    int At(int index) const;   // 0 outside 1..200 or when not set
    // Entries 1.. up to the first unset one.
    int Count() const;
    void Clear() { m_items.fill(0); }

private:
    std::array<int, kAskedWordCapacity + 1> m_items{};
};

// The day's learning files in learning order.
class TFileQueue {
public:
    bool IsEmpty() const { return m_count == 0; }
    int Count() const { return m_count; }
    QString First() const { return m_count > 0 ? m_codes[0] : QString(); }
    QString At(int index) const { return m_codes[static_cast<size_t>(index)]; }
    bool Append(const QString &code);
    void RemoveFirst();
    void Clear();

private:
    std::array<QString, kFileQueueCapacity> m_codes;
    int m_count = 0;
};

// Whether a question is typed, decided with the choice of its word: the
// hint the window shows in place of the options is part of the decision.
struct TTypingDecision {
    bool typing = false;      // typing question: choice 1, others hidden
    bool lookAlike = false;   // another word looks alike: the hint shows the last letter too
    QString hint;             // the first-letter hint of a typing question
};

// The question on screen.
struct TQuestion {
    int word = 0;                            // the chosen word's position
    std::array<int, kChoiceCount> choices{}; // positions shown as options 1..3
    int correctPosition = 1;                 // 1..3: where the chosen word is
    TTypingDecision typing;                  // typing question: choice 1, others hidden
};
