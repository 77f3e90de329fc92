// Headword markup and typed-answer checking on any stored word and any typed
// text, for every kind of file. The input is the kind (first byte), then
// LF-separated texts: the stored word, the typed text and two more words of
// the file (the other choices, look-alike candidates).
#include "fuzz/FuzzTarget.h"

namespace {
struct TFuzzFile {
    QString code;
    int slot;
};
const TFuzzFile kFiles[] = {{QStringLiteral("TT"), 6}, {QStringLiteral("TJ"), 7},
                            {QStringLiteral("IT"), 8}, {QStringLiteral("DJ"), 28},
                            {QStringLiteral("U1"), 32}};
constexpr int kWordsInFile = 3;
const QString kSharedMeaning = QStringLiteral("意味");
}

TESSARION_FUZZ_TARGET(answer_check, input)
{
    if (input.isEmpty())
        return;
    const TFuzzFile &file = kFiles[static_cast<unsigned char>(input.front()) % std::size(kFiles)];
    QStringList texts = FuzzText(input.sliced(1)).split(u'\n');
    while (texts.size() < 2 + kWordsInFile - 1)
        texts.append(QString());
    const QString &word = texts.at(0);
    const QString &typed = texts.at(1);

    TFuzzEngine &engine = FuzzEngine();
    TCC &cc = engine.cc();
    engine.UseFile(file.code, file.slot, kWordsInFile);
    cc.words[1].word = word;
    cc.words[2].word = texts.at(2);
    cc.words[3].word = texts.at(3);
    for (int p = 1; p <= kWordsInFile; ++p)
        cc.words[p].meanings[0] = kSharedMeaning;

    for (bool flag : {false, true}) {
        cc.FormatHeadword(word, flag);
        cc.FormatPhraseHeadword(word, flag);
    }
    StripHomonymDigit(word);
    FoldDiacritics(word);
    cc.ExpandAcceptedAnswers(word);
    FuzzExpect(cc.acceptedForms.size() <= kMaxAcceptedForms, "at most nine accepted forms");

    cc.CheckTypedAnswer(word, typed);
    cc.CheckTypedAnswerAlternatives(word, typed, {1, 2, 3});
    // Typing exactly the form that is checked is always right.
    QString form = cc.DisplayForm(1);
    if (!form.isEmpty() && form.back().isDigit())
        form.chop(1);
    if (!form.isEmpty())
        FuzzExpect(cc.CheckTypedAnswer(word, form), "the checked form itself is accepted");

    for (int p = 1; p <= kWordsInFile; ++p) {
        cc.words[p].level = 2;   // an even level: typed when the hint allows it
        const TTypingDecision decision = cc.DecideTypingQuestion(p, true, TAnswerDirection::MeaningToWord);
        if (decision.typing)
            FuzzExpect(decision.hint.size() == cc.DisplayForm(p).size(),
                       "the hint has one place per character of the answer");
    }
}
