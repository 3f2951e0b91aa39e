#include "engine/render/canvas/zelfontface.h"

#include <QFont>

namespace {

// Whether Text holds a surrogate pair at I.
bool pairAt(QStringView text, qsizetype i)
{
    return QChar::isHighSurrogate(text[i].unicode()) && i + 1 < text.size()
           && QChar::isLowSurrogate(text[i + 1].unicode());
}

} // namespace

TzelFontFace::TzelFontFace(const QString &family, double pixelSize, TzelFontStyles style)
    : FFamily(family)
    , FPixelSize(pixelSize)
{
    QFont font(family);
    // Widths must not depend on the device: no hinting, no kerning, and no
    // other face filling in for missing characters.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    font.setStyleStrategy(QFont::NoFontMerging);
    font.setBold(style.Contains(fsBold));
    font.setItalic(style.Contains(fsItalic));
    font.setPixelSize(std::max(1, int(pixelSize + 0.5)));
    FRawFont = QRawFont::fromFont(font);
    FRawFont.setPixelSize(pixelSize);
    FAscent = FRawFont.ascent();
    FDescent = FRawFont.descent();
}

TzelFontFace::~TzelFontFace() = default;

const TzelFontFace::Page &TzelFontFace::PageOf(char16_t c) const
{
    std::atomic<const Page *> &slot = FPages[c >> 8];
    std::lock_guard guard(FLock);
    if (!slot.load(std::memory_order_acquire)) {
        // A whole page of 256 characters is measured in one call: the raw
        // font answers many glyphs for little more than the cost of one.
        QString chars(256, Qt::Uninitialized);
        const char16_t base = char16_t(c & 0xFF00);
        for (int i = 0; i < 256; ++i) {
            const char16_t u = char16_t(base + i);
            // Surrogate halves are measured as pairs by the caller.
            chars[i] = QChar::isSurrogate(u) ? QChar(u' ') : QChar(u);
        }
        const QList<quint32> glyphs = FRawFont.glyphIndexesForString(chars);
        const QList<QPointF> advances =
            FRawFont.advancesForGlyphIndexes(glyphs, QRawFont::SeparateAdvances | QRawFont::UseDesignMetrics);
        auto made = std::make_unique<Page>();
        for (int i = 0; i < 256; ++i)
            (*made)[size_t(i)] = i < advances.size() ? float(advances[i].x()) : 0.0f;
        slot.store(made.get(), std::memory_order_release);
        FOwned.push_back(std::move(made));
    }
    return *slot.load(std::memory_order_acquire);
}

double TzelFontFace::PairAdvance(QStringView pair) const
{
    const QList<quint32> glyph = FRawFont.glyphIndexesForString(pair.toString());
    const QList<QPointF> advance =
        FRawFont.advancesForGlyphIndexes(glyph, QRawFont::SeparateAdvances | QRawFont::UseDesignMetrics);
    return advance.isEmpty() ? 0 : advance.first().x();
}

double TzelFontFace::Advance(char16_t c) const
{
    const Page *page = FPages[c >> 8].load(std::memory_order_acquire);
    return (page ? *page : PageOf(c))[c & 0xFF];
}

void TzelFontFace::Advances(QStringView text, double *out) const
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (pairAt(text, i)) {
            // One glyph for the pair: its advance on the first half, none on the second.
            out[i] = PairAdvance(text.sliced(i, 2));
            out[++i] = 0;
            continue;
        }
        out[i] = Advance(text[i].unicode());
    }
}

double TzelFontFace::Width(QStringView text) const
{
    double width = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (pairAt(text, i)) {
            width += PairAdvance(text.sliced(i++, 2));
            continue;
        }
        width += Advance(text[i].unicode());
    }
    return width;
}
