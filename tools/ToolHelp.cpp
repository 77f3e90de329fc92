#include "tools/ToolHelp.h"

#include "workspace/Catalog.h"

#include <QSet>

namespace {
constexpr int kLineWidth = 79;
constexpr int kIndent = 2;
constexpr int kMaxColumn = 28;   // where option texts start at most
const QString kProgram = QStringLiteral("tessarion-tool");

const QString kDescription = QStringLiteral(
    "A command-line layer over the learning engine of Tessarion: it studies, shows and checks learning "
    "files, records and settings as the program would, without a window. Commands that only show data "
    "never write a file.");
const QString kExitStatus = QStringLiteral(
    "Exit status:\n"
    "  0  done\n"
    "  1  refused or failed (a damaged file, a refused download, nothing saved);\n"
    "     the reason is on stderr\n"
    "  2  usage error: an unknown command or option, a missing value or argument\n");

// text broken into lines of kLineWidth at most, each indented by indent
// (the first by firstIndent).
QString Wrap(const QString &text, int indent, int firstIndent)
{
    QString out;
    QString line(firstIndent, u' ');
    bool empty = true;
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (!empty && line.size() + 1 + word.size() > kLineWidth) {
            out += line + u'\n';
            line = QString(indent, u' ');
            empty = true;
        }
        if (!empty)
            line += u' ';
        line += word;
        empty = false;
    }
    return out + line + u'\n';
}

QString Paragraphs(const QString &text)
{
    QString out;
    for (const QString &paragraph : text.split(QStringLiteral("\n\n"), Qt::SkipEmptyParts))
        out += (out.isEmpty() ? QString() : QStringLiteral("\n")) + Wrap(paragraph.simplified(), 0, 0);
    return out;
}

// Two columns: the names (indented by kIndent), then the texts wrapped beside them.
QString Table(const QList<std::pair<QString, QString>> &rows)
{
    int column = 0;
    for (const auto &row : rows)
        column = qMax(column, kIndent + static_cast<int>(row.first.size()) + 2);
    column = qMin(column, kMaxColumn);
    QString out;
    for (const auto &[name, text] : rows) {
        QString head = QString(kIndent, u' ') + name;
        if (head.size() + 2 > column) {
            out += head + u'\n';
            head.clear();
        }
        QString wrapped = Wrap(text, column, column);
        wrapped.replace(0, head.size(), head);
        out += wrapped;
    }
    return out;
}

QString OptionSyntax(const TToolOption &option)
{
    return option.valueName.isEmpty() ? QStringLiteral("--") + option.name
                                      : QStringLiteral("--%1 %2").arg(option.name, option.valueName);
}

QString UsageLine(const QString &name, const TToolHelp &help)
{
    QStringList parts{kProgram, name};
    for (const TToolOption &option : help.options)
        parts << (option.required ? OptionSyntax(option) : u'[' + OptionSyntax(option) + u']');
    for (const TToolArgument &argument : help.arguments)
        parts << argument.name;
    return Wrap(parts.join(u' '), 8 + kProgram.size() + 1, 0);
}

QStringList FileCodes()
{
    QStringList codes;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const QString code = FileCodeOfSlot(slot);
        if (FileSlotOfCode(code) == slot)
            codes << code;
    }
    return codes;
}
}

QString ToolHelpText(const QMap<QString, TToolEntry> &commands)
{
    QString text = QStringLiteral("Usage: %1 COMMAND [OPTIONS] [ARGUMENTS]\n"
                                  "  or:  %1 help COMMAND\n"
                                  "  or:  %1 COMMAND --help\n\n").arg(kProgram);
    text += Paragraphs(kDescription);
    QList<std::pair<QString, QString>> rows;
    for (auto it = commands.begin(); it != commands.end(); ++it)
        rows.append({it.key(), it.value().help.summary});
    rows.append({QStringLiteral("help [COMMAND]"), QStringLiteral("Shows this overview, or what COMMAND does, "
                                                                  "its options and an example.")});
    text += QStringLiteral("\nCommands:\n") + Table(rows);
    text += QStringLiteral("\nOptions:\n")
        + Table({{QStringLiteral("-h, --help"), QStringLiteral("Shows this help.")},
                 {QStringLiteral("-v, --version"), QStringLiteral("Shows the version of tessarion-tool.")}});
    text += u'\n'
        + Wrap(QStringLiteral("Most commands take --program-folder FOLDER, the folder holding resource/ and the "
                              "program; without it the folder of tessarion-tool itself is used (the build folder, "
                              "or /usr/lib/tessarion when installed). Folders may be given with or without a "
                              "trailing \"/\", relative to the working folder or absolute."),
               0, 0);
    text += QStringLiteral("\nExample:\n  %1 study --file TT --answers 1101 --seed 3\n"
                           "  %1 help export-records\n\n").arg(kProgram);
    return text + kExitStatus;
}

QString CommandHelpText(const QString &name, const TToolHelp &help)
{
    QString text = QStringLiteral("Usage: ") + UsageLine(name, help) + u'\n';
    text += Paragraphs(help.summary + (help.details.isEmpty() ? QString() : QStringLiteral("\n\n") + help.details));
    if (!help.arguments.isEmpty()) {
        QList<std::pair<QString, QString>> rows;
        for (const TToolArgument &argument : help.arguments)
            rows.append({argument.name, argument.description});
        text += QStringLiteral("\nArguments:\n") + Table(rows);
    }
    QList<std::pair<QString, QString>> rows;
    for (const TToolOption &option : help.options)
        rows.append({OptionSyntax(option), option.description});
    rows.append({QStringLiteral("-h, --help"), QStringLiteral("Shows this help.")});
    text += QStringLiteral("\nOptions:\n") + Table(rows);
    if (!help.examples.isEmpty()) {
        text += help.examples.size() == 1 ? QStringLiteral("\nExample:\n") : QStringLiteral("\nExamples:\n");
        for (const QString &example : help.examples)
            text += QStringLiteral("  ") + example + u'\n';
    }
    return text + u'\n' + kExitStatus;
}

QString BashCompletionScript(const QMap<QString, TToolEntry> &commands)
{
    QStringList names = commands.keys();
    names << QStringLiteral("help");
    QSet<QString> folderOptions;
    QSet<QString> valueOptions;
    QString cases;
    for (auto it = commands.begin(); it != commands.end(); ++it) {
        QStringList options;
        for (const TToolOption &option : it.value().help.options) {
            options << QStringLiteral("--") + option.name;
            if (option.value == TOptionValue::Folder)
                folderOptions.insert(QStringLiteral("--") + option.name);
            else if (option.value == TOptionValue::Text && option.name != QStringLiteral("file"))
                valueOptions.insert(QStringLiteral("--") + option.name);
        }
        options << QStringLiteral("--help");
        cases += QStringLiteral("        %1) options=\"%2\"; arguments=%3 ;;\n")
                     .arg(it.key(), options.join(u' '))
                     .arg(it.value().help.arguments.size());
    }
    QStringList folders = folderOptions.values();
    QStringList values = valueOptions.values();
    folders.sort();
    values.sort();
    return QStringLiteral(
               "# bash completion for tessarion-tool (made by \"tessarion-tool completion\")\n"
               "_tessarion_tool()\n"
               "{\n"
               "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
               "    local commands=\"%1\"\n"
               "    COMPREPLY=()\n"
               "    if [ \"$COMP_CWORD\" -eq 1 ]; then\n"
               "        COMPREPLY=($(compgen -W \"$commands --help --version\" -- \"$cur\"))\n"
               "        return\n"
               "    fi\n"
               "    local command=${COMP_WORDS[1]} options=\"\" arguments=0\n"
               "    if [ \"$command\" = help ]; then\n"
               "        [ \"$COMP_CWORD\" -eq 2 ] && COMPREPLY=($(compgen -W \"$commands\" -- \"$cur\"))\n"
               "        return\n"
               "    fi\n"
               "    case $prev in\n"
               "        %2)\n"
               "            compopt -o filenames 2>/dev/null\n"
               "            COMPREPLY=($(compgen -d -- \"$cur\"))\n"
               "            return ;;\n"
               "        --file)\n"
               "            COMPREPLY=($(compgen -W \"%3\" -- \"$cur\"))\n"
               "            return ;;\n"
               "        %4)\n"
               "            return ;;\n"
               "    esac\n"
               "    case $command in\n"
               "%5"
               "        *) return ;;\n"
               "    esac\n"
               "    if [[ $cur == -* || $arguments -eq 0 ]]; then\n"
               "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
               "    else\n"
               "        compopt -o filenames 2>/dev/null\n"
               "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
               "    fi\n"
               "}\n"
               "complete -F _tessarion_tool tessarion-tool\n")
        .arg(names.join(u' '), folders.join(u'|'), FileCodes().join(u' '),
             values.isEmpty() ? QStringLiteral("--no-value-option") : values.join(u'|'), cases);
}
