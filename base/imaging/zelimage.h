#pragma once
/// \file

#include <cstddef>
#include <vector>

/// Encodings of pictures the library reads.
enum class TzelImageFormat {
    Unknown, ///< not a picture the library knows
    Png,     ///< Portable Network Graphics
    Jpeg,    ///< JPEG (JFIF or Exif)
};

/// A decoded picture: 8-bit RGBA pixels, rows top to bottom without padding.
struct TzelImage
{
    int Width = 0;                    ///< pixels per row
    int Height = 0;                   ///< rows
    std::vector<unsigned char> Pixels; ///< Width * Height * 4 bytes: R, G, B, A

    /// Whether the image holds no pixels.
    bool IsEmpty() const { return Width <= 0 || Height <= 0; }
    /// Bytes of one row.
    std::size_t Stride() const { return std::size_t(Width) * 4; }
};
