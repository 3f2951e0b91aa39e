#include "script/grammar/kvilparser.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "base/xml/zelxmltext.h"
#include "script/grammar/kvgrammar.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace {

// The walk went deeper than MaxDepth at Position.
struct TooDeep
{
    int Position;
};

// Names of the elements the walker makes itself.
const QString kDsgn = QStringLiteral("dsgn");
const QString kNode = QStringLiteral("node");
const QString kExpr = QStringLiteral("expr");
const QString kString = QStringLiteral("string");
const QString kUses = QStringLiteral("uses");

} // namespace

// One line of the program tree while it grows: an opening or closing tag,
// a leaf, or the finished tree of an included unit. Names point into the
// grammar, which outlives the walk.
struct TkvILParser::Output
{
    enum Kind : unsigned char { Open, Close, Leaf, Tree };

    Output(Kind k, const QString *name = nullptr, QString text = {}, int pos = 0, int pos1 = -1)
        : kind(k), Name(name), Text(std::move(text)), Pos(pos), Pos1(pos1)
    {
    }

    Kind kind;
    const QString *Name;
    QString Text;     // a leaf's text (unless it is the source's, below); the unit of an opening "uses" tag
    int From = 0;     // a leaf whose text is the source's from here (a tree: its index in Units),
    int Length = 0;   // this long
    int Pos = 0;
    int Pos1 = -1;    // "expr" only
};

// What a rule gave the last time it was tried at a position. A rule tried
// twice at one place becomes hot: from then on its small results are kept
// and replayed, as long as no error was recorded meanwhile (an assignment
// and a call both start with a designator).
struct TkvILParser::Memo
{
    int From = 0;
    int To = 0;
    bool Ok = false;
    bool HasLines = false;
    bool Hot = false;
    std::vector<Output> Lines;
};

struct TkvILParser::Walk
{
    std::vector<Output> Out;
    std::vector<std::unique_ptr<TkvXMLItem>> Units; // trees of included units
    std::vector<Memo> Memos; // by rule index
    bool HasError = false;
    QString ErrorText;
    QString ErrorPos;
    bool Term = false;
    int Depth = 0;
};

TkvILParser::TkvILParser() = default;
TkvILParser::~TkvILParser() = default;

void TkvILParser::SelectLanguage(const QString &name)
{
    // Nothing of a language selected before carries over.
    FScanner.Clear();
    FScanner.CaseSensitive = false;
    FScanner.CommentLine2.clear();
    FGrammar = TkvGrammar::ForLanguage(name);
    FLanguageName = name;
    FGrammar->Configure(FScanner, ExtendedCharset);
}

const TkvXMLDocument &TkvILParser::Grammar() const
{
    static const TkvXMLDocument none;
    return FGrammar ? FGrammar->Document() : none;
}

bool TkvILParser::NeedDeclareVars() const
{
    return !FGrammar || FGrammar->DeclareVars();
}

bool TkvILParser::MakeILScript(const QString &text)
{
    if (!FGrammar)
        SelectLanguage(QStringLiteral("PascalScript"));
    ErrorUnit.clear();
    ILScript.Clear();
    if (FUnitName.isEmpty())
        FUsesList.clear(); // a new compilation; units carry theirs over
    FScanner.SetText(text);
    int start = 1;
    if (text.startsWith(QLatin1Char('#'))) {
        FScanner.SetPosition(2);
        if (FScanner.GetWord().compare(QLatin1String("language"), Qt::CaseInsensitive) == 0) {
            // "#language NAME" on the first line picks the grammar.
            const int from = FScanner.Position() - 1;
            qsizetype end = text.indexOf(QLatin1Char('\r'), from);
            const qsizetype lf = text.indexOf(QLatin1Char('\n'), from);
            if (end < 0 || (lf >= 0 && lf < end))
                end = lf;
            if (end < 0)
                end = text.size();
            const QString language = text.mid(from, end - from).trimmed();
            try {
                SelectLanguage(language);
            } catch (const TzelException &e) {
                // A script that names a language nobody registered is a
                // script with an error, shown where the name is.
                ErrorMsg = e.message();
                ErrorPos = FScanner.XYPosition(TokenStart(from + 1));
                return false;
            }
            start = std::min(FScanner.Size() + 1, int(end) + (text.mid(end, 2) == QLatin1String("\r\n") ? 3 : 2));
        }
    }
    FScanner.SetPosition(start);
    ILScript.Clear();
    Walk walk;
    walk.Memos.resize(size_t(FGrammar->RuleCount()));
    walk.Out.reserve(size_t(text.size() / 4)); // about one line of output per four characters
    bool matched = false;
    try {
        matched = Match(FGrammar->Program(), walk);
        if (matched && !walk.HasError && FGrammar->ToEndOfText()) {
            // Nothing may follow the program but blanks and comments.
            FScanner.SkipSpaces();
            while (FScanner.GetEOL())
                ;
            if (FScanner.Position() <= FScanner.Size()) {
                walk.HasError = true;
                walk.ErrorText = FGrammar->StatementExpected().isEmpty() ? QStringLiteral("Syntax error")
                                                                          : FGrammar->StatementExpected();
                walk.ErrorPos = FScanner.GetXYPosition();
            }
        }
    } catch (const TooDeep &deep) {
        matched = false;
        walk.HasError = true;
        walk.ErrorText = QStringLiteral("The script is nested too deeply");
        walk.ErrorPos = FScanner.XYPosition(deep.Position);
    }
    if (!matched && !walk.HasError) {
        // The grammar named no error for this: the program does not even start.
        walk.HasError = true;
        walk.ErrorText = FGrammar->StatementExpected().isEmpty() ? QStringLiteral("Syntax error")
                                                                  : FGrammar->StatementExpected();
        walk.ErrorPos = FScanner.XYPosition(TokenStart(start));
    }
    const bool success = matched && !walk.HasError;
    if (success)
        BuildTree(walk);
    ErrorMsg = walk.ErrorText;
    ErrorPos = walk.ErrorPos;
    return success;
}

bool TkvILParser::Match(const TkvGrammarNode &e, Walk &w)
{
    if (++w.Depth > MaxDepth)
        throw TooDeep{FScanner.Position()};
    struct Leave
    {
        int &Depth;
        ~Leave() { --Depth; }
    } leave{w.Depth};

    const int p0 = FScanner.Position();
    const qsizetype c0 = qsizetype(w.Out.size());
    bool matched = false;
    bool tokenRead = true;
    QStringView token;
    QString owned;
    switch (e.kind) {
    case TkvGrammarNode::Rule:
        if (RulesReached)
            RulesReached->insert(e.Name);
        return MatchRule(e, w);
    case TkvGrammarNode::Sequence:
        matched = true;
        tokenRead = false;
        break;
    case TkvGrammarNode::Char:
        if (!e.NoSkip)
            FScanner.SkipSpaces();
        token = FScanner.GetChar();
        break;
    case TkvGrammarNode::Keyword:
        token = FScanner.GetWord();
        break;
    case TkvGrammarNode::Ident:
        token = FScanner.GetIdent();
        break;
    case TkvGrammarNode::Number:
        owned = FScanner.GetNumber();
        token = owned;
        break;
    case TkvGrammarNode::String:
        owned = FScanner.GetString();
        token = owned;
        break;
    case TkvGrammarNode::QZString:
        owned = FScanner.GetQZString();
        token = owned;
        if (!owned.isEmpty()) {
            // A call of the host function Get with the embedded text.
            const int at = FScanner.Position();
            w.Out.push_back({Output::Open, &kDsgn, {}, at});
            w.Out.push_back({Output::Leaf, &kNode, QStringLiteral("Get"), at});
            w.Out.push_back({Output::Open, &kExpr, {}, at, at});
            w.Out.push_back({Output::Leaf, &kString, QLatin1Char('\'') + owned + QLatin1Char('\''), at});
            w.Out.push_back({Output::Close, &kExpr});
            w.Out.push_back({Output::Close, &kDsgn});
        }
        break;
    case TkvGrammarNode::EOL:
        // The end of the text ends its last line too.
        matched = FScanner.GetEOL() || FScanner.Position() > FScanner.Size();
        tokenRead = false;
        break;
    case TkvGrammarNode::Switch:
    case TkvGrammarNode::OptionalSwitch: {
        // Alternatives that cannot start with the next character are passed over.
        const char16_t next = Shortcuts ? Peek() : 0;
        for (const auto &child : e.Children)
            if ((!Shortcuts || child->MayStartWith(next)) && Match(*child, w))
                return true;
    }
        if (e.kind == TkvGrammarNode::OptionalSwitch)
            return true;
        RecordError(e, p0, w);
        return false;
    case TkvGrammarNode::Loop:
    case TkvGrammarNode::OptionalLoop:
        return MatchLoop(e, w, p0);
    case TkvGrammarNode::Optional:
        if (!StartsHere(e) || !MatchChildren(e, w)) {
            FScanner.SetPosition(p0);
            w.Out.erase(w.Out.begin() + c0, w.Out.end());
        }
        return true;
    case TkvGrammarNode::Reference:
        if (!e.Target)
            throw TzelException(QStringLiteral("Invalid language definition"));
        if (!e.Node.isEmpty() && !e.NodeIsUses)
            w.Out.push_back({Output::Open, &e.Node}); // the wrapper, filled in below
        matched = Match(*e.Target, w);
        tokenRead = false;
        break;
    }
    if (tokenRead)
        matched = !token.isEmpty() &&
                  (e.Text.isEmpty() ||
                   token.compare(e.Text, FScanner.CaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0);

    bool result = false;
    if (!matched) {
        RecordError(e, p0, w);
    } else {
        if (!e.Node.isEmpty())
            Wrap(e, c0, p0, w);
        if (!e.Add.isEmpty()) {
            if (e.HasAddText || !owned.isNull()) {
                w.Out.push_back({Output::Leaf, &e.Add, e.HasAddText ? e.AddText : owned, FScanner.Position()});
            } else {
                // The token is the source's own text: nothing is copied until the tree is built.
                Output leaf{Output::Leaf, &e.Add, {}, FScanner.Position()};
                leaf.From = int(token.utf16() - FScanner.Text().utf16());
                leaf.Length = int(token.size());
                w.Out.push_back(std::move(leaf));
            }
        }
        result = MatchChildren(e, w);
    }
    if (!result) {
        // What a failed element read and produced is taken back.
        FScanner.SetPosition(p0);
        w.Out.erase(w.Out.begin() + c0, w.Out.end());
    }
    return result;
}

bool TkvILParser::MatchRule(const TkvGrammarNode &e, Walk &w)
{
    const int p0 = FScanner.Position();
    Memo none;
    Memo &memo = e.RuleIndex >= 0 ? w.Memos[size_t(e.RuleIndex)] : none;
    if (memo.From == p0 && Shortcuts) {
        if (memo.HasLines && !w.HasError) {
            w.Out.insert(w.Out.end(), memo.Lines.begin(), memo.Lines.end());
            FScanner.SetPosition(memo.To);
            return memo.Ok;
        }
        memo.Hot = true;
    }
    const qsizetype c0 = qsizetype(w.Out.size());
    const bool wraps = !e.Node.isEmpty() && !e.NodeIsUses;
    if (wraps)
        w.Out.push_back({Output::Open, &e.Node}); // the wrapper, filled in by Wrap
    if (!e.Add.isEmpty())
        w.Out.push_back({Output::Leaf, &e.Add, e.AddText, p0});
    const bool errorBefore = w.HasError;
    const bool result = MatchChildren(e, w);
    if (!result) {
        FScanner.SetPosition(p0);
        w.Out.erase(w.Out.begin() + c0, w.Out.end());
    } else if (!e.Node.isEmpty()) {
        Wrap(e, c0, p0, w);
    }
    // Rules inside this one may have used the slot meanwhile. Large results
    // are not kept: what is tried again is small.
    constexpr qsizetype kMemoLines = 32;
    memo.From = p0;
    memo.To = FScanner.Position();
    memo.Ok = result;
    memo.HasLines = memo.Hot && !errorBefore && !w.HasError && !e.NodeIsUses &&
                    qsizetype(w.Out.size()) - c0 <= kMemoLines;
    // A unit is included once: what holds one is never replayed.
    if (memo.HasLines)
        memo.HasLines = std::none_of(w.Out.begin() + c0, w.Out.end(),
                                     [](const Output &o) { return o.kind == Output::Tree; });
    if (memo.HasLines)
        memo.Lines.assign(w.Out.begin() + c0, w.Out.end());
    return result;
}

char16_t TkvILParser::Peek()
{
    const int at = FScanner.Position();
    FScanner.SkipSpaces();
    const int next = FScanner.Position();
    FScanner.SetPosition(at);
    return next <= FScanner.Size() ? FScanner.Text()[next - 1].unicode() : 0;
}

bool TkvILParser::StartsHere(const TkvGrammarNode &e)
{
    // The children in order cannot match when the first one cannot start here.
    return !Shortcuts || e.Children.empty() || !e.Children.front()->Predicts ||
           e.Children.front()->MayStartWith(Peek());
}

bool TkvILParser::MatchChildren(const TkvGrammarNode &e, Walk &w)
{
    for (const auto &child : e.Children)
        if (!Match(*child, w))
            return false;
    return true;
}

bool TkvILParser::MatchLoop(const TkvGrammarNode &e, Walk &w, int p0)
{
    const qsizetype c0 = qsizetype(w.Out.size());
    int iterations = 0;
    bool failed = false;        // the last repetition failed
    bool errorInFailed = false; // and recorded an error
    for (;;) {
        ++iterations;
        const int start = FScanner.Position();
        const qsizetype lines = qsizetype(w.Out.size());
        const bool errorBefore = w.HasError;
        if (!StartsHere(e) || !MatchChildren(e, w)) {
            // A failed repetition gives back what it read and produced; a
            // separator read before it stays consumed.
            FScanner.SetPosition(start);
            w.Out.erase(w.Out.begin() + lines, w.Out.end());
            failed = true;
            errorInFailed = !errorBefore && w.HasError;
            break;
        }
        const int end = FScanner.Position();
        if (!e.Text.isEmpty()) {
            FScanner.SkipSpaces();
            if (FScanner.GetChar() != e.Text) {
                FScanner.SetPosition(end);
                break;
            }
        }
        if (FScanner.Position() == start)
            break;
    }
    if (!failed)
        return true;
    if (iterations > 1) {
        // The error of the repetition that did not come is no error.
        if (errorInFailed && (e.LoopSkip || w.Term)) {
            w.HasError = false;
            w.ErrorText.clear();
            w.ErrorPos.clear();
            w.Term = false;
        }
        return true;
    }
    FScanner.SetPosition(p0);
    w.Out.erase(w.Out.begin() + c0, w.Out.end());
    return e.kind == TkvGrammarNode::OptionalLoop;
}

void TkvILParser::RecordError(const TkvGrammarNode &e, int p0, Walk &w)
{
    if (!e.HasErr || w.HasError)
        return;
    w.HasError = true;
    w.ErrorText = e.ErrText;
    w.ErrorPos = FScanner.XYPosition(TokenStart(p0));
    w.Term = e.Term;
}

int TkvILParser::TokenStart(int position)
{
    const int saved = FScanner.Position();
    FScanner.SetPosition(position);
    FScanner.SkipSpaces();
    const int start = FScanner.Position();
    FScanner.SetPosition(saved);
    return start;
}

void TkvILParser::Wrap(const TkvGrammarNode &e, qsizetype c0, int p0, Walk &w)
{
    if (e.NodeIsUses) {
        IncludeUnits(c0, w);
        return;
    }
    Output open{Output::Open, &e.Node, {}, TokenStart(p0), e.NodeIsExpr ? FScanner.Position() : -1};
    // Rules and references reserved their opening tag before they matched.
    if (e.kind == TkvGrammarNode::Rule || e.kind == TkvGrammarNode::Reference)
        w.Out[size_t(c0)] = std::move(open);
    else
        w.Out.insert(w.Out.begin() + c0, std::move(open));
    w.Out.push_back({Output::Close, &e.Node});
}

void TkvILParser::IncludeUnits(qsizetype c0, Walk &w)
{
    // The file names follow C0; the last one named is included first, and
    // each unit's block goes in at C0, before the names still waiting.
    while (qsizetype(w.Out.size()) > c0) {
        QString unit = w.Out.back().Text;
        if (unit.size() >= 2 && unit.startsWith(QLatin1Char('\'')) && unit.endsWith(QLatin1Char('\'')))
            unit = unit.mid(1, unit.size() - 2);
        w.Out.pop_back();
        if (FUsesList.contains(unit, Qt::CaseInsensitive))
            continue;
        FUsesList.append(unit);
        if (!IncludeUnit(unit, c0, w))
            return;
    }
}

bool TkvILParser::IncludeUnit(const QString &unit, qsizetype &at, Walk &w)
{
    QString text;
    if (!OnGetUnit || !OnGetUnit(unit, text)) {
        QString path = unit;
        for (const QString &folder : IncludePath) {
            path = QDir(folder).filePath(unit);
            if (QFile::exists(path))
                break;
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            if (w.HasError)
                return false;
            w.HasError = true;
            w.ErrorText = zelFormat(zelRes("ioCantOpen"), {path, file.errorString()});
            w.ErrorPos = FScanner.GetXYPosition();
            if (ErrorUnit.isEmpty())
                ErrorUnit = FUnitName;
            return false;
        }
        text = QString::fromUtf8(file.readAll());
    }
    if (text.isEmpty())
        return true;
    TkvILParser nested;
    nested.ExtendedCharset = ExtendedCharset;
    nested.IncludePath = IncludePath;
    nested.OnGetUnit = OnGetUnit;
    // Units nest inside the text that names them: they share its depth budget.
    nested.MaxDepth = MaxDepth - w.Depth;
    if (nested.MaxDepth <= 0)
        throw TooDeep{FScanner.Position()};
    nested.FUnitName = unit;
    nested.FUsesList = FUsesList;
    nested.SelectLanguage(FLanguageName);
    if (!nested.MakeILScript(text)) {
        if (w.HasError)
            return false;
        w.HasError = true;
        w.ErrorText = nested.ErrorMsg;
        w.ErrorPos = nested.ErrorPos;
        if (ErrorUnit.isEmpty())
            ErrorUnit = nested.ErrorUnit.isEmpty() ? unit : nested.ErrorUnit;
        return false;
    }
    FUsesList = nested.FUsesList;
    Output open{Output::Open, &kUses, unit};
    Output tree{Output::Tree};
    tree.From = int(w.Units.size());
    w.Units.push_back(nested.ILScript.TakeRoot());
    std::vector<Output> block;
    block.push_back(std::move(open));
    block.push_back(std::move(tree));
    block.push_back({Output::Close, &kUses});
    w.Out.insert(w.Out.begin() + at, std::make_move_iterator(block.begin()), std::make_move_iterator(block.end()));
    at += qsizetype(block.size());
    return true;
}

void TkvILParser::BuildTree(Walk &walk)
{
    TkvXMLItem *root = ILScript.Root();
    root->Clear();
    root->SetName(QStringLiteral("program"));
    root->SetText(QString());
    TkvXMLItem *current = root;
    const auto position = [this](int pos) { return FScanner.XYPosition(pos); };
    for (Output &o : walk.Out) {
        switch (o.kind) {
        case Output::Open: {
            current = current->Add(*o.Name);
            QString attributes;
            if (o.Name == &kUses) { // an included unit
                attributes = QLatin1String("unit=\"") + EscapeXMLText(o.Text) + QLatin1Char('"');
            } else {
                const QString pos = position(o.Pos);
                const QString pos1 = o.Pos1 >= 0 ? position(o.Pos1) : QString();
                attributes.reserve(7 + pos.size() + (pos1.isEmpty() ? 0 : 8 + pos1.size()));
                attributes.append(QLatin1String("pos=\"")).append(pos).append(QLatin1Char('"'));
                if (!pos1.isEmpty())
                    attributes.append(QLatin1String(" pos1=\"")).append(pos1).append(QLatin1Char('"'));
            }
            current->SetText(attributes);
            break;
        }
        case Output::Close:
            if (current != root)
                current = current->Parent();
            break;
        case Output::Leaf: {
            const QString text =
                EscapeXMLText(o.Length > 0 ? FScanner.Text().mid(o.From, o.Length).toString() : o.Text);
            const QString pos = position(o.Pos);
            QString attributes;
            attributes.reserve(15 + text.size() + pos.size());
            attributes.append(QLatin1String("text=\""))
                .append(text)
                .append(QLatin1String("\" pos=\""))
                .append(pos)
                .append(QLatin1Char('"'));
            current->Add(*o.Name)->SetText(attributes);
            break;
        }
        case Output::Tree:
            current->AddItem(walk.Units[size_t(o.From)].release());
            break;
        }
    }
    if (const TkvXMLItem *types = FGrammar->Types())
        root->Add()->Assign(*types);
}
