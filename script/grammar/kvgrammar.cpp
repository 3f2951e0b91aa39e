#include "script/grammar/kvgrammar.h"

#include "base/core/zelexception.h"
#include "script/grammar/kvlanguages.h"
#include "script/scan/kvparser.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>

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
    const QString text = TkvLanguages::GetLanguageGrammar(name);
    const QMutexLocker locker(&lock);
    if (version != TkvLanguages::Version()) {
        cache.clear();
        version = TkvLanguages::Version();
    }
    const QString key = name.toLower();
    auto found = cache.find(key);
    if (found == cache.end())
        found = cache.insert(key, std::make_shared<const TkvGrammar>(text));
    return *found;
}
