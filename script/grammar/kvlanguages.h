#pragma once
/// \file

#include <QString>
#include <QStringList>

/// The process-wide list of script languages: a name and the XML text of its
/// grammar each. "PascalScript", "C++Script", "BasicScript" and "JScript" are
/// registered on first use.
class TkvLanguages
{
public:
    /// Registers Grammar as the language Name, replacing the grammar of a
    /// language of that name in any case.
    static void AddLanguageGrammar(const QString &name, const QString &grammar);
    /// The grammar of the language Name; raises TzelException "Language
    /// '%s' not found" when there is none.
    static QString GetLanguageGrammar(const QString &name);
    /// Replaces List by the names of the languages offered to users (not
    /// those beginning with '@'), in the order they were registered.
    static void ListLanguages(QStringList &list);
    /// How often the grammars were changed; compiled grammars are kept per version.
    static int Version();
};
