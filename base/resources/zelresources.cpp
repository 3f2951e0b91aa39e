#include "base/resources/zelresources.h"

#include "base/core/zelcodepage.h"
#include "base/xml/zelxmldocument.h"
#include "base/xml/zelxmlitem.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringView>

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace {

// Case-insensitive hashing by Unicode case folding, so that it agrees with
// QStringView::compare(..., Qt::CaseInsensitive) used for equality. Lookups
// fold on the fly: Get() is on every caption's path and must not allocate.
struct FoldedHash
{
    using is_transparent = void;

    size_t operator()(QStringView s) const noexcept
    {
        size_t h = 14695981039346656037ull;
        const qsizetype n = s.size();
        for (qsizetype i = 0; i < n; ++i) {
            char32_t c = s[i].unicode();
            if (c < 0x80) {
                if (c >= 'A' && c <= 'Z')
                    c += 'a' - 'A';
            } else {
                if (QChar::isHighSurrogate(c) && i + 1 < n && s[i + 1].isLowSurrogate()) {
                    c = QChar::surrogateToUcs4(s[i], s[i + 1]);
                    ++i;
                }
                c = QChar::toCaseFolded(c);
            }
            h = (h ^ c) * 1099511628211ull;
        }
        return h;
    }
};

struct FoldedEqual
{
    using is_transparent = void;

    bool operator()(QStringView a, QStringView b) const noexcept
    {
        return a.compare(b, Qt::CaseInsensitive) == 0;
    }
};

// Old-format files are read as 8-bit text in the system code page, but their
// resource texts are UTF-8: turn the characters back into the bytes they came
// from and decode those. Texts that are not UTF-8 stay as the reader gave them.
QString OldFormatText(const QString &text)
{
    const QByteArray bytes = zelEncodeSystemCodePage(text);
    if (zelDecodeSystemCodePage(bytes) != text)
        return text;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8.decode(bytes);
    return utf8.hasError() ? text : decoded;
}

QString ExecutableDir()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absolutePath();
}

QString LanguageName(const QString &fileName)
{
    QString name = fileName.left(fileName.size() - 4).toLower();
    if (!name.isEmpty())
        name[0] = name[0].toUpper();
    return name;
}

} // namespace

struct TzelResources::Private
{
    std::unordered_map<QString, QString, FoldedHash, FoldedEqual> Strings;
    int CodePage = 1252;
    QStringList Languages;
    QStringList LanguageFiles; // parallel to Languages
    int ImagesPPI = 96;
    int ImagesGeneration = 0;
    std::vector<std::function<void(const TzelResources &)>> Hooks;

    void FindLanguages();
};

void TzelResources::Private::FindLanguages()
{
    const QDir dir(ExecutableDir());
    const QStringList files =
        dir.entryList({QStringLiteral("*.zlc")}, QDir::Files | QDir::Readable, QDir::NoSort);
    std::vector<std::pair<QString, QString>> found;
    found.reserve(size_t(files.size()));
    for (const QString &file : files)
        found.emplace_back(LanguageName(file), dir.absoluteFilePath(file));
    std::sort(found.begin(), found.end(), [](const auto &a, const auto &b) {
        return a.first.compare(b.first, Qt::CaseInsensitive) < 0;
    });
    for (const auto &[name, path] : found) {
        Languages << name;
        LanguageFiles << path;
    }
}

TzelResources::TzelResources()
    : d(std::make_unique<Private>())
{
    d->FindLanguages();
}

TzelResources::~TzelResources() = default;

QString TzelResources::Get(const QString &key) const
{
    const auto it = d->Strings.find(QStringView(key));
    const QString &text = it != d->Strings.end() ? it->second : key;
    // "!" marks texts that translators must leave alone; it is never shown.
    if (text.startsWith(u'!'))
        return text.mid(1);
    return text;
}

QString TzelResources::Get(int key) const
{
    return Get(QString::number(key));
}

void TzelResources::Add(const QString &key, const QString &text)
{
    d->Strings.insert_or_assign(key, text);
}

void TzelResources::AddStrings(const QString &lines)
{
    const qsizetype n = lines.size();
    qsizetype start = 0;
    while (start < n) {
        qsizetype end = start;
        while (end < n && lines[end] != u'\n' && lines[end] != u'\r')
            ++end;
        const QStringView line = QStringView(lines).mid(start, end - start);
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0 && eq < line.size() - 1)
            Add(line.left(eq).toString(), line.mid(eq + 1).toString());
        start = end;
        if (start < n && lines[start] == u'\r')
            ++start;
        if (start < n && lines[start] == u'\n')
            ++start;
    }
}

void TzelResources::AddXML(const QByteArray &utf8)
{
    QByteArray data = utf8;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    LoadFromStream(&buffer);
}

void TzelResources::LoadFromFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return;
    LoadFromStream(&file);
}

void TzelResources::LoadFromStream(QIODevice *stream)
{
    TzelXMLDocument doc;
    doc.LoadFromStream(stream, false);
    const TzelXMLItem *root = doc.Root();
    if (root->Name() == QLatin1StringView("Resources")) {
        bool ok = false;
        const int codePage = root->Prop(QStringLiteral("CodePage")).toInt(&ok);
        if (ok)
            d->CodePage = codePage;
        const bool oldFormat = doc.OldVersion();
        const QString nameAttr = QStringLiteral("Name");
        const QString textAttr = QStringLiteral("Text");
        for (int i = 0; i < root->Count(); ++i) {
            const TzelXMLItem *item = root->Items(i);
            if (item->Name() != QLatin1StringView("StrRes"))
                continue;
            const QString text = item->Prop(textAttr);
            Add(item->Prop(nameAttr), oldFormat ? OldFormatText(text) : text);
        }
    }
    UpdateKVResources();
}

void TzelResources::Clear()
{
    d->Strings.clear();
}

int TzelResources::CodePage() const
{
    return d->CodePage;
}

const QStringList &TzelResources::Languages() const
{
    return d->Languages;
}

QString TzelResources::LanguageFile(const QString &name) const
{
    for (qsizetype i = 0; i < d->Languages.size(); ++i) {
        if (d->Languages[i].compare(name, Qt::CaseInsensitive) == 0)
            return d->LanguageFiles[i];
    }
    return {};
}

QString TzelResources::HelpFile() const
{
    return QStringLiteral("QZUser.chm");
}

int TzelResources::ImagesPPI() const
{
    return d->ImagesPPI;
}

void TzelResources::SetImagesPPI(int value)
{
    // Image strips are cut in steps of 24 dpi; below one step there is nothing to draw.
    const int ppi = std::max(24, value - value % 24);
    if (ppi == d->ImagesPPI)
        return;
    d->ImagesPPI = ppi;
    ++d->ImagesGeneration;
}

int TzelResources::ImagesGeneration() const
{
    return d->ImagesGeneration;
}

void TzelResources::UpdateKVResources()
{
    for (const auto &hook : d->Hooks)
        hook(*this);
}

void TzelResources::AddKVResourcesHook(std::function<void(const TzelResources &)> hook)
{
    if (!hook)
        return;
    // The built-in blocks are loaded before anyone can register, so the new
    // hook gets the texts in effect at once.
    hook(*this);
    d->Hooks.push_back(std::move(hook));
}

static void LoadBuiltinBlocks(TzelResources &res)
{
    // The blocks live in a static library; naming the initializer keeps the
    // linker from dropping them.
    Q_INIT_RESOURCE(builtin);
    for (const char *block : {"general", "props", "designer"}) {
        QFile file(QStringLiteral(":/zel/resources/%1.xml").arg(QLatin1StringView(block)));
        if (file.open(QIODevice::ReadOnly))
            res.LoadFromStream(&file);
    }
}

TzelResources &zelResources()
{
    static TzelResources *instance = [] {
        static TzelResources res;
        LoadBuiltinBlocks(res);
        return &res;
    }();
    return *instance;
}

QString zelRes(const char *key)
{
    return zelResources().Get(QString::fromLatin1(key));
}
