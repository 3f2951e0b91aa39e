#include "engine/render/canvas/zelfontresolver.h"

#include "base/core/zelcaseless.h"

#include <QDir>
#include <QFontDatabase>
#include <QHash>
#include <QHashFunctions>
#include <list>
#include <mutex>
#include <tuple>
#include <unordered_map>

namespace {

// Installed faces that stand in for a name, best first.
const std::unordered_map<QString, QStringList, TzelCaselessHash, TzelCaselessEqual> &standIns()
{
    static const std::unordered_map<QString, QStringList, TzelCaselessHash, TzelCaselessEqual> table = {
        {QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")}},
        {QStringLiteral("Helvetica"), {QStringLiteral("Liberation Sans")}},
        {QStringLiteral("Times New Roman"), {QStringLiteral("Liberation Serif")}},
        {QStringLiteral("Times"), {QStringLiteral("Liberation Serif")}},
        {QStringLiteral("Courier New"), {QStringLiteral("Liberation Mono")}},
        {QStringLiteral("Courier"), {QStringLiteral("Liberation Mono")}},
        {QStringLiteral("Tahoma"), {QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")}},
        {QStringLiteral("MS Sans Serif"), {QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")}},
    };
    return table;
}

const QStringList &lastResorts()
{
    static const QStringList faces = {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
    return faces;
}

// The installed families, with the Wine faces that templates name: their
// package keeps them in a folder the font configuration does not scan.
const QStringList &installed()
{
    static const QStringList families = [] {
        const QDir wine(QStringLiteral("/usr/share/wine/fonts"));
        for (const char *file : {"tahoma.ttf", "tahomabd.ttf", "ms_sans_serif.ttf", "symbol.ttf", "wingding.ttf"})
            if (wine.exists(QLatin1StringView(file)))
                QFontDatabase::addApplicationFont(wine.filePath(QLatin1StringView(file)));
        return QFontDatabase::families();
    }();
    return families;
}

bool isInstalled(const QString &family)
{
    return installed().contains(family, Qt::CaseInsensitive);
}

struct FaceKey
{
    QString Family;
    double PixelSize;
    int Style;
    bool operator==(const FaceKey &) const = default;
};

struct FaceKeyHash
{
    size_t operator()(const FaceKey &k) const
    {
        return qHashMulti(0, k.Family, k.PixelSize, k.Style);
    }
};

// The faces in use, most recently asked first, with an index by key.
struct FaceCache
{
    static constexpr size_t Capacity = 256;
    std::mutex Lock;
    std::list<std::pair<FaceKey, std::shared_ptr<const TzelFontFace>>> Order;
    std::unordered_map<FaceKey, decltype(Order)::iterator, FaceKeyHash> Index;
    std::unordered_map<QString, QString, TzelCaselessHash, TzelCaselessEqual> Families;
};

FaceCache &cache()
{
    static FaceCache c;
    return c;
}

} // namespace

QStringList TzelFontResolver::Candidates(const QString &name)
{
    QStringList faces{name};
    if (const auto it = standIns().find(name); it != standIns().end())
        faces += it->second;
    faces += lastResorts();
    faces.removeDuplicates();
    return faces;
}

QString TzelFontResolver::Family(const QString &name)
{
    FaceCache &c = cache();
    {
        std::lock_guard guard(c.Lock);
        if (const auto it = c.Families.find(name); it != c.Families.end())
            return it->second;
    }
    QString family = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    for (const QString &candidate : Candidates(name))
        if (isInstalled(candidate)) {
            family = candidate;
            break;
        }
    std::lock_guard guard(c.Lock);
    c.Families.emplace(name, family);
    return family;
}

std::shared_ptr<const TzelFontFace> TzelFontResolver::Face(const QString &name, double pixelSize,
                                                           TzelFontStyles style)
{
    const FaceKey key{Family(name), pixelSize, int(style.Bits())};
    FaceCache &c = cache();
    std::lock_guard guard(c.Lock);
    if (const auto it = c.Index.find(key); it != c.Index.end()) {
        c.Order.splice(c.Order.begin(), c.Order, it->second);
        return it->second->second;
    }
    auto face = std::make_shared<const TzelFontFace>(key.Family, pixelSize, style);
    c.Order.emplace_front(key, face);
    c.Index.emplace(key, c.Order.begin());
    if (c.Order.size() > FaceCache::Capacity) {
        c.Index.erase(c.Order.back().first);
        c.Order.pop_back();
    }
    return face;
}
