// The related-words file resource/ENG_Quote_enc.dat as the program reads it
// once per run: decoded, split into entries, meanings normalised.
#include "data/RelatedWords.h"
#include "fuzz/FuzzTarget.h"

TESSARION_FUZZ_TARGET(related_words, input)
{
    static TRelatedWords table;
    TFuzzEngine &engine = FuzzEngine();
    engine.Reset(QStringLiteral("TT"), 6, 3, 0);
    engine.Write(kRelatedWordsFile, input);
    if (!FuzzCleanly([&] { LoadRelatedWords(engine.cc().programFolder, table); }))
        return;
    FuzzExpect(table.entryCount >= 0 && table.entryCount <= kMaxRelatedWords,
               "the related words fit their table");
    FuzzExpect(table.lineCount == 0 || table.lineCount == table.entryCount + 2,
               "the line count is the entries and the two lines around them");
}
