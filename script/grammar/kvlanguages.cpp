#include "script/grammar/kvlanguages.h"

#include "base/core/zelexception.h"

#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <utility>
#include <vector>

// The grammars live in a static library; naming the initializer keeps the
// linker from dropping them. Outside any namespace, as Qt requires.
static void initGrammarResources()
{
    Q_INIT_RESOURCE(languages);
}

namespace {

struct Registry
{
    QMutex Lock;
    std::vector<std::pair<QString, QString>> Languages;
    int Version = 0;
};

QString builtIn(const char *file)
{
    QFile grammar(QStringLiteral(":/zelreport/languages/%1.xml").arg(QLatin1String(file)));
    grammar.open(QIODevice::ReadOnly);
    return QString::fromUtf8(grammar.readAll());
}

void add(Registry &r, const QString &name, const QString &grammar)
{
    ++r.Version;
    for (auto &language : r.Languages)
        if (language.first.compare(name, Qt::CaseInsensitive) == 0) {
            language.second = grammar;
            return;
        }
    r.Languages.emplace_back(name, grammar);
}

Registry &registry()
{
    static Registry r;
    static const bool standard = [] {
        initGrammarResources();
        add(r, QStringLiteral("PascalScript"), builtIn("pascalscript"));
        add(r, QStringLiteral("C++Script"), builtIn("cppscript"));
        add(r, QStringLiteral("BasicScript"), builtIn("basicscript"));
        add(r, QStringLiteral("JScript"), builtIn("jscript"));
        return true;
    }();
    (void)standard;
    return r;
}

} // namespace

void TkvLanguages::AddLanguageGrammar(const QString &name, const QString &grammar)
{
    Registry &r = registry();
    const QMutexLocker locker(&r.Lock);
    add(r, name, grammar);
}

QString TkvLanguages::GetLanguageGrammar(const QString &name)
{
    Registry &r = registry();
    const QMutexLocker locker(&r.Lock);
    for (const auto &language : r.Languages)
        if (language.first.compare(name, Qt::CaseInsensitive) == 0)
            return language.second;
    throw TzelException(QStringLiteral("Language '%1' not found").arg(name));
}

void TkvLanguages::ListLanguages(QStringList &list)
{
    Registry &r = registry();
    const QMutexLocker locker(&r.Lock);
    list.clear();
    for (const auto &language : r.Languages)
        if (!language.first.startsWith(QLatin1Char('@')))
            list.append(language.first);
}

int TkvLanguages::Version()
{
    Registry &r = registry();
    const QMutexLocker locker(&r.Lock);
    return r.Version;
}
