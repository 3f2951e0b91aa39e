#pragma once
/// \file

#include "script/xml/kvxmldocument.h"

#include <QString>
#include <bitset>
#include <memory>
#include <vector>

class TkvParser;

/// One element of a grammar, ready for the walker: its kind decided, its
/// attributes read and lower-cased once, rule references resolved.
struct TkvGrammarNode
{
    /// What the element matches.
    enum Kind : unsigned char {
        Rule, Char, Keyword, Ident, Number, String, QZString, EOL,
        Sequence, Switch, OptionalSwitch, Optional, Loop, OptionalLoop, Reference
    };

    Kind kind = Sequence; ///< what the element matches
    bool HasErr = false;     ///< records an error when it fails
    bool Term = false;       ///< an enclosing completed loop discards its error
    bool NoSkip = false;     ///< a character that must follow without blanks
    bool LoopSkip = false;   ///< a loop that discards the error of its last, failed repetition
    bool HasAddText = false; ///< the leaf's text is AddText, not the token
    bool NodeIsUses = false; ///< Node is "uses": its file leaves are units to include
    bool NodeIsExpr = false; ///< Node is "expr": its tag also records where it ends
    QString Text;            ///< the token (lower case) or a loop's separator
    QString ErrText;         ///< the message recorded on failure
    QString Node;            ///< the program-tree element wrapping what it produced
    QString Add;             ///< the program-tree leaf it emits
    QString AddText;         ///< the leaf's text
    QString Name;            ///< the element name (a rule's or a referenced rule's)
    int RuleIndex = -1;      ///< a rule's place among the grammar's rules
    const TkvGrammarNode *Target = nullptr; ///< the rule a reference names; nullptr when undefined
    /// Whether the walker may pass the element over when the character
    /// after the blanks is not in First: it could not start a match there,
    /// and failing at its first token records no error.
    bool Predicts = false;
    std::bitset<128> First;      ///< the ASCII characters a match may start with
    bool FirstNonAscii = false;  ///< whether characters from 127 up (all identifier characters) may start one
    /// Whether Character (after blanks) may start a match; always true without prediction.
    bool MayStartWith(char16_t character) const
    {
        return !Predicts || (character < 127 ? First.test(character) : FirstNonAscii);
    }
    std::vector<std::unique_ptr<TkvGrammarNode>> Children; ///< the elements of a sequence, switch, optional part or loop
};

/// A language grammar read from its XML text: the scanner settings, the type
/// aliases and the rules, with the start rule "program". Read once per
/// grammar text and shared by every compilation in that language.
class TkvGrammar
{
public:
    /// Reads GrammarText; raises TzelException when it is not a grammar.
    explicit TkvGrammar(const QString &grammarText);

    /// The grammar as an XML document.
    const TkvXMLDocument &Document() const { return FDocument; }
    /// Sets the scanner up for the language (after its Clear).
    void Configure(TkvParser &scanner, bool extendedCharset) const;
    /// The start rule (an empty one when the grammar has none).
    const TkvGrammarNode &Program() const { return *FProgram; }
    /// The "types" element of the grammar, or nullptr.
    const TkvXMLItem *Types() const { return FTypes; }
    /// Whether undeclared identifiers are errors.
    bool DeclareVars() const { return FDeclareVars; }
    /// Number of rules (RuleIndex runs below it).
    int RuleCount() const { return int(FRules.size()); }
    /// Whether the program must reach the end of the text (else what
    /// follows it is ignored, as after a Pascal program's final "end.").
    bool ToEndOfText() const { return FToEndOfText; }
    /// The grammar's message for a statement that was expected (its third error).
    QString StatementExpected() const { return FStatementExpected; }

    /// The grammar of the registered language Name, read once; raises
    /// "Language '%s' not found" when there is none.
    static std::shared_ptr<const TkvGrammar> ForLanguage(const QString &name);

private:
    std::unique_ptr<TkvGrammarNode> Compile(const TkvXMLItem &item, bool isRule) const;
    void Resolve(TkvGrammarNode &node) const;
    void Predict();

    TkvXMLDocument FDocument;
    const TkvXMLItem *FTypes = nullptr;
    const TkvXMLItem *FParser = nullptr;
    const TkvXMLItem *FErrors = nullptr;
    bool FDeclareVars = true;
    bool FToEndOfText = false;
    QString FStatementExpected;
    std::vector<std::unique_ptr<TkvGrammarNode>> FRules;
    std::unique_ptr<TkvGrammarNode> FEmptyProgram;
    const TkvGrammarNode *FProgram = nullptr;
};
