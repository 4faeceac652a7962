#include "app/CommandManual.h"

#include "app/HeadlessCommand.h"

#include <QStringList>

namespace {

// A hyphen in a name must stay a hyphen-minus in the typeset page, so it can be copied.
QString Roff(QString text) {
    text.replace(u'\\', QStringLiteral("\\e"));
    text.replace(u'-', QStringLiteral("\\-"));
    if (text.startsWith(u'.') || text.startsWith(u'\''))
        text.prepend(QStringLiteral("\\&"));
    // Japanese has no blanks to break at: every character after a Japanese one may start a line.
    QString broken;
    for (const QChar c : text) {
        broken += c;
        if (c.unicode() >= 0x3000)
            broken += QStringLiteral("\\:");
    }
    return broken;
}

// The file kind a command's value names ("FILE.pdf" gives "pdf").
QString Extension(const QString &valueName) {
    const qsizetype dot = valueName.lastIndexOf(u'.');
    return dot < 0 ? QString() : valueName.mid(dot + 1);
}

} // namespace

QString ManualPage(const QString &version) {
    QStringList page = {
        QStringLiteral(".TH PELLOR3 1 \"\" \"pellor3 %1\" \"User Commands\"").arg(version),
        // Lines of Japanese are set ragged: spreading them would only widen the few blanks.
        QStringLiteral(".ad l"),
        QStringLiteral(".SH NAME"),
        QStringLiteral("pellor3 \\- customer book that prints addresses on Japanese postcards, "
                       "envelopes and labels"),
        QStringLiteral(".SH SYNOPSIS"),
        QStringLiteral(".B pellor3"),
        QStringLiteral("[\\fIcommand\\fR]"),
        QStringLiteral(".SH DESCRIPTION"),
        Roff(QStringLiteral("顧客名簿の画面を開きます。コマンドを与えると画面を開かずに実行し、"
                            "終了状態で結果を返します。")),
        QStringLiteral(".SH OPTIONS"),
    };
    for (const CommandDescription &command : DescribedCommands()) {
        QStringList names;
        for (const QString &name : command.names)
            names << QStringLiteral("\\fB%1\\fR").arg(Roff(name));
        QString head = names.join(QStringLiteral(", "));
        if (!command.valueName.isEmpty())
            head += QStringLiteral(" \\fI%1\\fR").arg(Roff(command.valueName));
        page << QStringLiteral(".TP") << head << Roff(command.help);
    }
    page << QStringLiteral(".SH EXIT STATUS") << Roff(ExitStatusText())
         << QStringLiteral(".SH FILES") << QStringLiteral(".TP")
         << QStringLiteral("\\fI~/.config/pellor3/registry.ini\\fR")
         << Roff(QStringLiteral("顧客データのフォルダの場所。")) << QStringLiteral(".TP")
         << QStringLiteral("\\fI~/.local/share/pellor3/\\fR")
         << Roff(QStringLiteral("初回起動時に作られる顧客データのフォルダ。"));
    return page.join(u'\n') + u'\n';
}

QString BashCompletion() {
    QStringList words;
    QStringList valueCases;
    for (const CommandDescription &command : DescribedCommands()) {
        const QStringList &dashed = command.names;
        words << dashed;
        if (!command.valueName.isEmpty())
            // A file of the kind the value names; a value that is no file (a year) gets nothing.
            valueCases << QStringLiteral("    %1)\n        COMPREPLY=(%2)\n        return ;;")
                              .arg(dashed.join(u'|'),
                                   Extension(command.valueName).isEmpty()
                                       ? QString()
                                       : QStringLiteral("$(compgen -f -X '!*.%1' -- \"$cur\")")
                                             .arg(Extension(command.valueName)));
    }
    return QStringLiteral(
               "# bash completion for pellor3\n"
               "_pellor3() {\n"
               "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
               "    case $prev in\n"
               "%1\n"
               "    esac\n"
               "    COMPREPLY=($(compgen -W '%2' -- \"$cur\"))\n"
               "}\n"
               "complete -o filenames -o plusdirs -F _pellor3 pellor3\n")
        .arg(valueCases.join(u'\n'), words.join(u' '));
}
