#pragma once

// How the script fuzzer and its regression test parse an input: the first
// byte picks the language, the rest is the script. It is parsed with and
// without the walker's shortcuts, which must agree, a program tree that was
// built must survive being written and read back, and compile to a program
// or to an error with a message (it is not run: an endless loop is a valid
// program).
#include "base/core/zelutf8.h"
#include "script/engine/kvscript.h"
#include "script/grammar/kvilparser.h"

#include <QBuffer>

#include <QByteArray>
#include <QString>

namespace zelfuzz {

/// The outcome of one input.
struct ParsedScript
{
    bool Parsed = false;   ///< a program tree was built
    QString Error;         ///< "line:column: message" otherwise
    QByteArray Tree;       ///< the tree as XML
    QString CompileError;  ///< "line:column: message" when the tree does not compile
};

inline ParsedScript parseScript(const QByteArray &input)
{
    static const char *const languages[] = {"PascalScript", "C++Script", "BasicScript", "JScript"};
    ParsedScript result;
    if (input.isEmpty())
        return result;
    const QByteArray bytes = input.mid(1);
    QString text;
    qsizetype bad = 0;
    if (!zelDecodeUtf8(bytes, text, bad)) {
        result.Error = zelUtf8Position(bytes, bad) + QStringLiteral(": not UTF-8");
        return result;
    }
    // Parsed twice: the walker's shortcuts must not change the outcome. Near
    // the nesting limit they may: fewer frames reach deeper, so one walk may
    // stop at the limit where the other goes on; those inputs are not compared.
    QString outcomes[2];
    bool tooDeep = false;
    for (const bool shortcuts : {false, true}) { // the outcome kept is the one with shortcuts
        TkvILParser parser;
        parser.Shortcuts = shortcuts;
        // Every unit a script names is one small unit.
        parser.OnGetUnit = [](const QString &, QString &unitText) {
            unitText = QStringLiteral("x = 1");
            return true;
        };
        parser.SelectLanguage(QString::fromLatin1(languages[uchar(input[0]) % 4]));
        result.Parsed = parser.MakeILScript(text);
        result.Error = result.Parsed ? QString() : parser.ErrorPos + QStringLiteral(": ") + parser.ErrorMsg;
        result.Tree = result.Parsed ? parser.ILScript.ToText() : QByteArray();
        tooDeep = tooDeep || result.Error.endsWith(QLatin1String("The script is nested too deeply"));
        outcomes[shortcuts ? 1 : 0] = result.Error + QString::fromUtf8(result.Tree);
    }
    if (!tooDeep && outcomes[0] != outcomes[1]) {
        result.Parsed = true;
        result.Error = QStringLiteral("the shortcuts changed the outcome");
        return result;
    }
    if (!result.Parsed)
        return result;
    TkvXMLDocument again;
    again.FromText(result.Tree);
    if (again.ToText() != result.Tree) {
        result.Error = QStringLiteral("the program tree changed when read back");
        return result;
    }
    TkvScript script(TkvScript::GlobalUnit());
    script.SyntaxType = QString::fromLatin1(languages[uchar(input[0]) % 4]);
    QBuffer tree;
    tree.setData(result.Tree);
    tree.open(QIODevice::ReadOnly);
    if (!script.SetILCode(tree)) {
        if (script.ErrorMsg.isEmpty())
            result.Error = QStringLiteral("a compile failed without a message");
        else
            result.CompileError = script.ErrorText();
    }
    return result;
}

} // namespace zelfuzz
