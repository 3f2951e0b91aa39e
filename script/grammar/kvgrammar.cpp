#include "script/grammar/kvgrammar.h"

#include "base/core/zelexception.h"
#include "script/grammar/kvlanguages.h"
#include "script/scan/kvparser.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <unordered_map>
#include <unordered_set>

namespace {

const QHash<QString, TkvGrammarNode::Kind> &elementKinds()
{
    static const QHash<QString, TkvGrammarNode::Kind> kinds{
        {QStringLiteral("char"), TkvGrammarNode::Char},
        {QStringLiteral("keyword"), TkvGrammarNode::Keyword},
        {QStringLiteral("ident"), TkvGrammarNode::Ident},
        {QStringLiteral("number"), TkvGrammarNode::Number},
        {QStringLiteral("string"), TkvGrammarNode::String},
        {QStringLiteral("qzstring"), TkvGrammarNode::QZString},
        {QStringLiteral("eol"), TkvGrammarNode::EOL},
        {QStringLiteral("sequence"), TkvGrammarNode::Sequence},
        {QStringLiteral("switch"), TkvGrammarNode::Switch},
        {QStringLiteral("optionalswitch"), TkvGrammarNode::OptionalSwitch},
        {QStringLiteral("optional"), TkvGrammarNode::Optional},
        {QStringLiteral("loop"), TkvGrammarNode::Loop},
        {QStringLiteral("optionalloop"), TkvGrammarNode::OptionalLoop},
    };
    return kinds;
}

bool isSection(const QString &name)
{
    return name.compare(QLatin1String("parser"), Qt::CaseInsensitive) == 0 ||
           name.compare(QLatin1String("types"), Qt::CaseInsensitive) == 0;
}

} // namespace

TkvGrammar::TkvGrammar(const QString &grammarText)
{
    FDocument.FromText(grammarText.toUtf8());
    const TkvXMLItem *language = FDocument.Root();
    for (int i = 0; i < language->Count(); ++i) {
        const TkvXMLItem *child = language->Items(i);
        const QString name = child->Name().toLower();
        if (name == QLatin1String("parser") && !FParser)
            FParser = child;
        else if (name == QLatin1String("types") && !FTypes)
            FTypes = child;
    }
    if (FParser) {
        const int errors = FParser->Find(QStringLiteral("errors"));
        FErrors = errors >= 0 ? FParser->Items(errors) : nullptr;
        const auto setting = [this](const char *name) {
            const int at = FParser->Find(QLatin1String(name));
            return at < 0 ? QString() : FParser->Items(at)->Prop(QStringLiteral("text"));
        };
        FDeclareVars = setting("declarevars") != QLatin1String("0");
        FToEndOfText = setting("endoftext") == QLatin1String("1");
        if (FErrors && FErrors->Find(QStringLiteral("err3")) >= 0)
            FStatementExpected = FErrors->Items(FErrors->Find(QStringLiteral("err3")))->Prop(QStringLiteral("text"));
    }
    for (int i = 0; i < language->Count(); ++i)
        if (!isSection(language->Items(i)->Name())) {
            FRules.push_back(Compile(*language->Items(i), true));
            FRules.back()->RuleIndex = int(FRules.size()) - 1;
        }
    for (const auto &rule : FRules)
        Resolve(*rule);
    Predict();
    for (const auto &rule : FRules)
        if (!FProgram && rule->Name.compare(QLatin1String("program"), Qt::CaseInsensitive) == 0)
            FProgram = rule.get();
    if (!FProgram) {
        FEmptyProgram = std::make_unique<TkvGrammarNode>();
        FEmptyProgram->kind = TkvGrammarNode::Rule;
        FEmptyProgram->Name = QStringLiteral("program");
        FProgram = FEmptyProgram.get();
    }
}

std::unique_ptr<TkvGrammarNode> TkvGrammar::Compile(const TkvXMLItem &item, bool isRule) const
{
    auto node = std::make_unique<TkvGrammarNode>();
    node->Name = item.Name();
    if (isRule) {
        node->kind = TkvGrammarNode::Rule;
    } else {
        const auto kind = elementKinds().constFind(item.Name().toLower());
        node->kind = kind == elementKinds().cend() ? TkvGrammarNode::Reference : *kind;
    }
    node->Text = item.Prop(QStringLiteral("text"));
    if (node->kind != TkvGrammarNode::Loop && node->kind != TkvGrammarNode::OptionalLoop)
        node->Text = node->Text.toLower();
    const QString err = item.Prop(QStringLiteral("err"));
    if (!err.isEmpty()) {
        node->HasErr = true;
        if (FErrors) {
            const int at = FErrors->Find(err);
            if (at >= 0)
                node->ErrText = FErrors->Items(at)->Prop(QStringLiteral("text"));
        }
    }
    node->Term = item.Prop(QStringLiteral("term")) == QLatin1String("1");
    const QString skip = item.Prop(QStringLiteral("skip"));
    node->NoSkip = skip == QLatin1String("0");
    node->LoopSkip = skip == QLatin1String("1");
    node->Node = item.Prop(QStringLiteral("node")).toLower();
    node->NodeIsUses = node->Node == QLatin1String("uses");
    node->NodeIsExpr = node->Node == QLatin1String("expr");
    node->Add = item.Prop(QStringLiteral("add"));
    node->HasAddText = item.PropExists(QStringLiteral("addtext"));
    node->AddText = item.Prop(QStringLiteral("addtext"));
    for (int i = 0; i < item.Count(); ++i)
        node->Children.push_back(Compile(*item.Items(i), false));
    return node;
}

void TkvGrammar::Resolve(TkvGrammarNode &node) const
{
    if (node.kind == TkvGrammarNode::Reference)
        for (const auto &rule : FRules)
            if (rule->Name.compare(node.Name, Qt::CaseInsensitive) == 0) {
                node.Target = rule.get();
                break;
            }
    for (const auto &child : node.Children)
        Resolve(*child);
}

namespace {

// What an element can start with, worked out once per grammar.
struct Start
{
    bool Nullable = false; // may match nothing
    bool Known = false;    // First holds every character a match may start with
    bool Silent = true;    // failing at the first token records no error
    std::bitset<128> First;
    bool NonAscii = false;
};

class Predictor
{
public:
    Predictor(const TkvParser &scanner) : FScanner(scanner) {}

    Start Of(const TkvGrammarNode &node)
    {
        const auto found = FDone.find(&node);
        if (found != FDone.end())
            return found->second;
        if (FBusy.count(&node))
            return Start{}; // recursion: nothing known
        FBusy.insert(&node);
        const Start start = Compute(node);
        FBusy.erase(&node);
        FDone.emplace(&node, start);
        return start;
    }

private:
    static Start Chars(std::initializer_list<char16_t> chars, bool silent)
    {
        Start s;
        s.Known = true;
        s.Silent = silent;
        for (char16_t c : chars)
            if (c < 128)
                s.First.set(c);
        return s;
    }

    Start IdentStart(bool silent) const
    {
        Start s;
        s.Known = true;
        s.Silent = silent;
        s.NonAscii = true;
        for (char16_t c = 0; c < 128; ++c)
            if (FScanner.IdentifierCharset.test(c) && !(c >= '0' && c <= '9'))
                s.First.set(c);
        return s;
    }

    // The start of the children: in order, the first one's and the next
    // one's too while the ones before may match nothing; as alternatives,
    // any one's.
    Start Children(const TkvGrammarNode &node, bool silent, bool alternatives)
    {
        Start s;
        s.Known = true;
        s.Nullable = !alternatives;
        s.Silent = silent;
        for (const auto &child : node.Children) {
            const Start c = Of(*child);
            if (!c.Known)
                return Start{};
            s.First |= c.First;
            s.NonAscii = s.NonAscii || c.NonAscii;
            s.Silent = s.Silent && c.Silent;
            if (alternatives) {
                s.Nullable = s.Nullable || c.Nullable;
            } else if (!c.Nullable) {
                s.Nullable = false;
                break;
            }
        }
        return s;
    }

    Start Compute(const TkvGrammarNode &node)
    {
        const bool silent = !node.HasErr;
        switch (node.kind) {
        case TkvGrammarNode::Char:
            if (node.NoSkip)
                return Start{}; // read without skipping blanks first
            if (node.Text.size() == 1)
                return Chars({node.Text.front().unicode()}, silent);
            {
                Start s;
                s.Known = true;
                s.Silent = silent;
                for (char16_t c = 33; c < 127; ++c)
                    if (kvIsPunctuation(c))
                        s.First.set(c);
                return s;
            }
        case TkvGrammarNode::Keyword:
            if (!node.Text.isEmpty() && node.Text.front().unicode() < 128 && node.Text.front().isLetter()) {
                // Case folding beyond ASCII may turn other letters into this one.
                Start s = Chars({node.Text.front().toLower().unicode(), node.Text.front().toUpper().unicode()}, silent);
                s.NonAscii = true;
                return s;
            }
            return IdentStart(silent);
        case TkvGrammarNode::Ident:
            return IdentStart(silent);
        case TkvGrammarNode::Number: {
            Start s = Chars({'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'}, silent);
            if (!FScanner.HexSequence.isEmpty() && FScanner.HexSequence.front().unicode() < 128)
                s.First.set(FScanner.HexSequence.front().unicode());
            return s;
        }
        case TkvGrammarNode::String:
            if (!FScanner.StringQuotes.isEmpty() && FScanner.StringQuotes.front().unicode() < 128)
                return Chars({FScanner.StringQuotes.front().unicode(), '#'}, silent);
            return Start{};
        case TkvGrammarNode::Reference: {
            if (!node.Target)
                return Start{};
            Start s = Of(*node.Target);
            s.Silent = s.Silent && silent;
            return s;
        }
        case TkvGrammarNode::Rule:
        case TkvGrammarNode::Sequence:
        case TkvGrammarNode::Loop:
            return Children(node, silent, false);
        case TkvGrammarNode::Switch:
            return Children(node, silent, true);
        case TkvGrammarNode::OptionalSwitch: {
            Start s = Children(node, silent, true);
            s.Nullable = true;
            return s;
        }
        case TkvGrammarNode::Optional:
        case TkvGrammarNode::OptionalLoop: {
            Start s = Children(node, silent, false);
            s.Nullable = true;
            return s;
        }
        case TkvGrammarNode::QZString: // reads from where it stands
        case TkvGrammarNode::EOL:      // line ends may be blanks
            return Start{};
        }
        return Start{};
    }

    const TkvParser &FScanner;
    std::unordered_map<const TkvGrammarNode *, Start> FDone;
    std::unordered_set<const TkvGrammarNode *> FBusy;
};

void applyPrediction(TkvGrammarNode &node, Predictor &predictor)
{
    const Start start = predictor.Of(node);
    node.Predicts = start.Known && !start.Nullable && start.Silent;
    node.First = start.First;
    node.FirstNonAscii = start.NonAscii;
    for (const auto &child : node.Children)
        applyPrediction(*child, predictor);
}

} // namespace

void TkvGrammar::Predict()
{
    // The grammar's own scanner settings decide what identifiers, numbers
    // and strings start with.
    TkvParser scanner;
    Configure(scanner, false);
    Predictor predictor(scanner);
    for (const auto &rule : FRules)
        applyPrediction(*rule, predictor);
}

void TkvGrammar::Configure(TkvParser &scanner, bool extendedCharset) const
{
    for (int i = 0; FParser && i < FParser->Count(); ++i) {
        const TkvXMLItem *setting = FParser->Items(i);
        const QString name = setting->Name().toLower();
        const QString value = setting->Prop(QStringLiteral("text"));
        if (name == QLatin1String("identchars"))
            scanner.ConstructCharset(value);
        else if (name == QLatin1String("commentline1"))
            scanner.CommentLine1 = value;
        else if (name == QLatin1String("commentline2"))
            scanner.CommentLine2 = value;
        else if (name == QLatin1String("commentblock1"))
            scanner.SetCommentBlock1(value);
        else if (name == QLatin1String("commentblock2"))
            scanner.SetCommentBlock2(value);
        else if (name == QLatin1String("stringquotes"))
            scanner.StringQuotes = value;
        else if (name == QLatin1String("hexsequence"))
            scanner.HexSequence = value;
        else if (name == QLatin1String("specstrchar"))
            scanner.SpecStrChar = value == QLatin1String("1");
        else if (name == QLatin1String("skipeol"))
            scanner.SkipEOL = value != QLatin1String("0");
        else if (name == QLatin1String("skipchar"))
            scanner.SkipChar = value;
        else if (name == QLatin1String("casesensitive"))
            scanner.CaseSensitive = value == QLatin1String("1");
        else if (name == QLatin1String("keywords"))
            for (int k = 0; k < setting->Count(); ++k)
                scanner.AddKeyword(setting->Items(k)->Name());
    }
    if (extendedCharset)
        for (int c = 128; c < 256; ++c)
            scanner.IdentifierCharset.set(size_t(c));
}

std::shared_ptr<const TkvGrammar> TkvGrammar::ForLanguage(const QString &name)
{
    static QMutex lock;
    static QHash<QString, std::shared_ptr<const TkvGrammar>> cache;
    static int version = -1;
    // The version is read before the text: a grammar replaced in between
    // makes the next call read it again.
    const int current = TkvLanguages::Version();
    const QString text = TkvLanguages::GetLanguageGrammar(name);
    const QMutexLocker locker(&lock);
    if (version != current) {
        cache.clear();
        version = current;
    }
    const QString key = name.toLower();
    auto found = cache.find(key);
    if (found == cache.end())
        found = cache.insert(key, std::make_shared<const TkvGrammar>(text));
    return *found;
}
