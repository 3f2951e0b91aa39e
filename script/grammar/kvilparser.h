#pragma once
/// \file

#include "script/scan/kvparser.h"
#include "script/xml/kvxmldocument.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class TkvGrammar;
struct TkvGrammarNode;

/// Turns script source into the language-neutral program tree by walking the
/// grammar of the selected language over the scanner: declarations,
/// statements and flat expression token lists, each with its position.
class TkvILParser
{
public:
    TkvILParser();
    ~TkvILParser();
    TkvILParser(const TkvILParser &) = delete;
    TkvILParser &operator=(const TkvILParser &) = delete;

    /// Selects the grammar of the registered language Name; raises
    /// TzelException "Language '%s' not found" when there is none.
    void SelectLanguage(const QString &name);
    /// The selected language's name.
    const QString &LanguageName() const { return FLanguageName; }
    /// The selected grammar as an XML document.
    const TkvXMLDocument &Grammar() const;
    /// Whether undeclared identifiers are errors in the selected language.
    bool NeedDeclareVars() const;
    /// The scanner, set up for the selected language.
    TkvParser &Scanner() { return FScanner; }

    /// Builds ILScript from Text; False with ErrorMsg and ErrorPos set when
    /// the text does not parse. Raises TzelException "Invalid language
    /// definition" when the walk reaches a rule the grammar lacks.
    bool MakeILScript(const QString &text);
    /// The program tree MakeILScript built: a "program" element.
    TkvXMLDocument ILScript;

    // What the compilation supplies.
    bool ExtendedCharset = false; ///< codes 128..255 are identifier characters
    QStringList IncludePath;      ///< folders searched for units
    /// Gives the source of a unit; False to search IncludePath instead.
    std::function<bool(const QString &unitName, QString &text)> OnGetUnit;
    /// The deepest the grammar may nest while parsing; deeper sources
    /// give "The script is nested too deeply".
    int MaxDepth = 600;
    /// When set, collects the names of the grammar rules the walk entered.
    QSet<QString> *RulesReached = nullptr;
    /// Whether the walk passes over what cannot match and replays what it
    /// parsed before; the tree and errors are the same either way (off only
    /// to check exactly that).
    bool Shortcuts = true;

    // What the compilation found.
    QString ErrorMsg;  ///< the first syntax error, empty when none
    QString ErrorPos;  ///< where it is, as "line:column"
    QString ErrorUnit; ///< the unit it is in, empty for the main text

private:
    struct Output;
    struct Memo;
    struct Walk;

    bool Match(const TkvGrammarNode &element, Walk &walk);
    bool MatchRule(const TkvGrammarNode &rule, Walk &walk);
    bool MatchChildren(const TkvGrammarNode &element, Walk &walk);
    // The character a token read here would start with (after blanks).
    char16_t Peek();
    // Whether Element's first child may start here.
    bool StartsHere(const TkvGrammarNode &element);
    bool MatchLoop(const TkvGrammarNode &element, Walk &walk, int p0);
    void RecordError(const TkvGrammarNode &element, int p0, Walk &walk);
    void Wrap(const TkvGrammarNode &element, qsizetype c0, int p0, Walk &walk);
    void IncludeUnits(qsizetype c0, Walk &walk);
    bool IncludeUnit(const QString &unit, qsizetype &at, Walk &walk);
    int TokenStart(int position);
    void BuildTree(Walk &walk);

    TkvParser FScanner;
    std::shared_ptr<const TkvGrammar> FGrammar;
    QString FLanguageName;
    QString FUnitName;
    QStringList FUsesList;
};
