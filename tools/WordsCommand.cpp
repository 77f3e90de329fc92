// tessarion-tool words --program-folder P --file CODE: the word table after
// the learning file of CODE is loaded as the program loads it (catalog first,
// so TangoTotal is known, then the file's settings, the learning file and its
// record file). One TAB-separated line per position
// 1..DBTangoTotal that holds a word: position, number, word, attributes 1 and
// 3, links 1 and 2, meanings 1..6, joined meanings, IT columns 9 and 12..15.
#include "tools/EngineSession.h"

namespace {
int RunWords(const QStringList &rawArgs)
{
    auto cc = OpenFileAsProgram(TToolArgs(rawArgs), TAccess::ReadOnly);
    const int last = qMin(cc->catalog.rows[cc->fileSlot].DBTangoTotal, kMaxWords);
    for (int position = 1; position <= last; ++position) {
        const TTango &t = cc->words[position];
        if (t.word.isEmpty())
            continue;
        QStringList fields{QString::number(position), QString::number(t.number), t.word, t.attributes[0],
                           t.attributes[2], t.links[0], t.links[1]};
        for (const QString &m : t.meanings)
            fields.append(m);
        fields << t.joinedMeanings << t.itColumn9 << t.itColumn12;
        for (const QString &c : t.itColumns13to15)
            fields.append(c);
        PrintFields(fields);
    }
    return 0;
}

const TToolCommand reg(QStringLiteral("words"),
                       {QStringLiteral("Prints the word table of a learning file as the program loads it."),
                        QStringLiteral("One TAB-separated line per position that holds a word: position, number, word, attributes, links, meanings 1 to 6, joined meanings, the Italian columns. Nothing is written."),
                        {ProgramFolderOption(),
                         FileCodeOption()},
                        {},
                        {QStringLiteral("tessarion-tool words --file TT")}},
                       &RunWords);
}
