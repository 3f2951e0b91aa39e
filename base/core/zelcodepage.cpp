#include "base/core/zelcodepage.h"

#include <QMutex>
#include <QMutexLocker>
#include <QStringDecoder>
#include <QStringEncoder>
#include <atomic>
#include <optional>

namespace {

QMutex codePageLock;
QByteArray codePageName = QByteArrayLiteral("windows-1252");
// Bumped on every change so that each thread's cached converters notice it.
std::atomic<int> codePageGeneration{0};

QByteArray currentName(int *generation)
{
    QMutexLocker lock(&codePageLock);
    *generation = codePageGeneration.load(std::memory_order_relaxed);
    return codePageName;
}

// Opening a converter costs far more than converting one attribute, so each
// thread keeps one per direction until the setting changes.
template <typename Converter>
Converter &cachedConverter()
{
    thread_local std::optional<Converter> converter;
    thread_local int generation = -1;
    if (!converter || generation != codePageGeneration.load(std::memory_order_relaxed)) {
        const QByteArray name = currentName(&generation);
        converter.emplace(name.constData(), QStringConverter::Flag::Stateless);
    }
    return *converter;
}

} // namespace

QByteArray zelSystemCodePage()
{
    QMutexLocker lock(&codePageLock);
    return codePageName;
}

bool zelSetSystemCodePage(const QByteArray &name)
{
    if (!QStringDecoder(name.constData()).isValid())
        return false;
    QMutexLocker lock(&codePageLock);
    codePageName = name;
    codePageGeneration.fetch_add(1, std::memory_order_relaxed);
    return true;
}

QString zelDecodeSystemCodePage(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return QString();
    QStringDecoder &decoder = cachedConverter<QStringDecoder>();
    decoder.resetState();
    return decoder.decode(bytes);
}

QByteArray zelEncodeSystemCodePage(QStringView text)
{
    if (text.isEmpty())
        return QByteArray();
    QStringEncoder &encoder = cachedConverter<QStringEncoder>();
    encoder.resetState();
    return encoder.encode(text);
}
