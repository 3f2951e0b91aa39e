#include "script/report/zelexpressioncache.h"

#include "base/resources/zelresources.h"
#include "script/engine/kvrunerror.h"
#include "script/engine/kvscript.h"
#include "script/engine/kvvariables.h"

#include <algorithm>

struct TzelExpressionCache::Item
{
    std::unique_ptr<TkvScript> Script;
    TkvProcVariable *Function = nullptr;
};

namespace {

// The wrapper function that returns Expression, in Language.
QString wrapper(const QString &language, const QString &name, const QString &expression)
{
    if (language == QLatin1String("C++Script"))
        return QStringLiteral("Variant %1() { return %2; } {}").arg(name, expression);
    if (language == QLatin1String("BasicScript"))
        return QStringLiteral("function %1\r\nreturn %2\r\nend function").arg(name, expression);
    if (language == QLatin1String("JScript"))
        return QStringLiteral("function %1() { return %2; }").arg(name, expression);
    return QStringLiteral("function %1: Variant; begin Result := %2 end; begin end.").arg(name, expression);
}

} // namespace

QString zelReferenceHashNames(const QString &expression)
{
    if (!expression.contains(QLatin1Char('#')))
        return expression;
    static const QLatin1StringView names[] = {QLatin1StringView("TotalPages#"), QLatin1StringView("CopyName#"),
                                              QLatin1StringView("Page#"), QLatin1StringView("Line#")};
    QString result;
    for (qsizetype i = 0; i < expression.size(); ++i) {
        const QChar c = expression[i];
        if (c == u'\'' || c == u'"' || c == u'<') {
            const qsizetype end = expression.indexOf(c == u'<' ? u'>' : c, i + 1);
            const qsizetype stop = end < 0 ? expression.size() : end + 1;
            result += QStringView(expression).mid(i, stop - i);
            i = stop - 1;
            continue;
        }
        const bool wordStart = i == 0 || !(expression[i - 1].isLetterOrNumber() || expression[i - 1] == u'_');
        const auto match = std::find_if(std::begin(names), std::end(names), [&](QLatin1StringView name) {
            return wordStart && QStringView(expression).mid(i).startsWith(name, Qt::CaseInsensitive);
        });
        if (match != std::end(names)) {
            result += QLatin1Char('<');
            result += QStringView(expression).mid(i, match->size());
            result += QLatin1Char('>');
            i += match->size() - 1;
        } else {
            result += c;
        }
    }
    return result;
}


TzelExpressionCache::TzelExpressionCache() = default;
TzelExpressionCache::~TzelExpressionCache() = default;

void TzelExpressionCache::Clear()
{
    FItems.clear();
    FCompiled = 0;
}

TzelExpressionCache::Item *TzelExpressionCache::Compiled(const QString &key, const QString &expression,
                                                         TkvScript &scope, QString &error)
{
    if (const auto it = FItems.constFind(key); it != FItems.cend())
        return it->get();
    auto item = std::make_shared<Item>();
    item->Script = std::make_unique<TkvScript>(&scope);
    TkvScript &script = *item->Script;
    script.ExtendedCharset = true;
    script.SyntaxType = ScriptLanguage;
    const QString name = QStringLiteral("zt3f%1").arg(FCompiled++);
    script.Lines = QStringList{wrapper(ScriptLanguage, name, zelReferenceHashNames(expression))};
    if (!script.Compile()) {
        error = zelRes("clExprError") + QStringLiteral(" '") + expression + QStringLiteral("': ") + script.ErrorMsg;
        return nullptr;
    }
    item->Function = dynamic_cast<TkvProcVariable *>(script.FindLocal(name));
    if (!item->Function) { // a language whose functions need a different form
        error = zelRes("clExprError") + QStringLiteral(" '") + expression + QLatin1Char('\'');
        return nullptr;
    }
    return FItems.insert(key, std::move(item))->get();
}

Variant TzelExpressionCache::Calc(const QString &expression, TkvScript &scope, const QString &procedure,
                                  QString &error)
{
    error.clear();
    QString key = procedure.isEmpty() ? expression : procedure + QLatin1Char('.') + expression;
    if (!CaseSensitive)
        key = key.toUpper();
    Item *item = Compiled(key, expression, scope, error);
    if (!item)
        return Variant::Null();
    try {
        return item->Script->Call(item->Function, {});
    } catch (const TzelException &e) {
        error = e.message();
    }
    return Variant::Null();
}
