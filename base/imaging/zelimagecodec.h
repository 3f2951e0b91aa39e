#pragma once
/// \file

#include "base/imaging/zelimage.h"

#include <cstddef>
#include <string>
#include <vector>

// Reading and writing of encoded pictures (PNG, JPEG) without any GUI
// library. Functions return False on data they cannot take and never throw;
// Error, when given, receives the codec's reason in English.

/// Largest picture decoded, in pixels (8192 x 8192), so that damaged or
/// hostile headers cannot ask for unbounded memory. Reading a header gives
/// the size of any picture.
constexpr std::size_t zelMaxImagePixels = std::size_t(1) << 26;

/// What the first bytes of Data say the encoding is.
TzelImageFormat zelDetectImageFormat(const unsigned char *data, std::size_t size);

/// Size and encoding of a picture read from its header alone.
struct TzelImageInfo
{
    TzelImageFormat Format = TzelImageFormat::Unknown; ///< the encoding
    int Width = 0;                                     ///< pixels per row
    int Height = 0;                                    ///< rows
};

/// Reads the header of Data into Info; the pixels are not decoded.
bool zelReadImageInfo(const unsigned char *data, std::size_t size, TzelImageInfo &info, std::string *error = nullptr);
/// Decodes all of Data into Image; Image is left empty on failure, and a
/// picture of more than zelMaxImagePixels is refused.
bool zelDecodeImage(const unsigned char *data, std::size_t size, TzelImage &image, std::string *error = nullptr);
/// Encodes Image as PNG (RGBA, 8 bits per channel) into Png.
bool zelEncodePng(const TzelImage &image, std::vector<unsigned char> &png, std::string *error = nullptr);
