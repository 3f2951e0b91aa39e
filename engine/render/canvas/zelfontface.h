#pragma once
/// \file

#include "model/component/zelcomponenttypes.h"

#include <QRawFont>
#include <QString>
#include <QStringView>
#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

/// One installed face at one pixel size and style, unhinted and unkerned, with
/// the advance of every character measured once: text layout asks for the
/// width of each character of every line it wraps.
class TzelFontFace
{
public:
    /// The face Family at PixelSize (em height) with Style.
    TzelFontFace(const QString &family, double pixelSize, TzelFontStyles style);
    ~TzelFontFace();
    TzelFontFace(const TzelFontFace &) = delete;
    TzelFontFace &operator=(const TzelFontFace &) = delete;

    /// The font the glyphs are drawn with.
    const QRawFont &RawFont() const { return FRawFont; }
    /// The installed family this face is made of.
    const QString &Family() const { return FFamily; }
    /// Em height in pixels.
    double PixelSize() const { return FPixelSize; }
    /// Distance from the top of the cell to the baseline.
    double Ascent() const { return FAscent; }
    /// Distance from the baseline to the bottom of the cell.
    double Descent() const { return FDescent; }
    /// Height of the character cell: ascent plus descent.
    double CellHeight() const { return FAscent + FDescent; }

    /// Advance of character C in pixels.
    double Advance(char16_t c) const;
    /// Advances of every character of Text into Out (Text.size() values).
    void Advances(QStringView text, double *out) const;
    /// Sum of the advances of Text.
    double Width(QStringView text) const;

private:
    using Page = std::array<float, 256>;
    const Page &PageOf(char16_t c) const;
    double PairAdvance(QStringView pair) const;

    QString FFamily;
    double FPixelSize;
    double FAscent = 0;
    double FDescent = 0;
    QRawFont FRawFont;
    mutable std::mutex FLock;                             ///< guards the filling of pages
    mutable std::array<std::atomic<const Page *>, 256> FPages{}; ///< advances by high byte, filled on demand
    mutable std::vector<std::unique_ptr<Page>> FOwned;    ///< the pages filled so far
};
