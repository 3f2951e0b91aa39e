#pragma once
/// \file

#include "base/imaging/zelimage.h"
#include "model/reflect/zelpersistent.h"

#include <QByteArray>
#include <QString>
#include <functional>

class QIODevice;

/// A picture held by a picture object or a page: a PNG or JPEG image kept in
/// the bytes it was loaded from, so that saving never encodes it again. Its
/// header is read on the way in (size and encoding); the pixels are decoded
/// only by Image. Data whose header does not read raises "Invalid image
/// format". A template entry that is no picture is kept as it was stored, with
/// an Unknown format, so that saving the template writes it back unchanged.
class TzelPicture : public TzelPersistent
{
    ZEL_CLASS(TzelPicture, TzelPersistent)

    /// An empty picture.
    TzelPicture();
    /// Copies the image; the change callback is not copied.
    TzelPicture(const TzelPicture &other);
    /// Takes Other's image and reports a change.
    TzelPicture &operator=(const TzelPicture &other);
    /// Whether both hold the same encoded bytes.
    bool operator==(const TzelPicture &other) const { return FData == other.FData; }

    /// Whether there is no image.
    bool IsEmpty() const { return FData.isEmpty(); }
    /// Width of the image in pixels (0 when empty).
    int Width() const { return FWidth; }
    /// Height of the image in pixels (0 when empty).
    int Height() const { return FHeight; }
    /// The encoding of the image.
    TzelImageFormat Format() const { return FFormat; }
    /// The encoded image as loaded.
    const QByteArray &Data() const { return FData; }

    /// Takes an encoded PNG or JPEG image; empty Data clears the picture.
    /// Data whose header does not read, or a picture of more pixels than
    /// can be decoded, raises and leaves the picture as it was.
    void LoadFromData(const QByteArray &data);
    /// Reads Stream to its end and takes the bytes as LoadFromData does.
    void LoadFromStream(QIODevice *stream);
    /// Loads the file FileName.
    void LoadFromFile(const QString &fileName);
    /// Writes the encoded image to Stream.
    void SaveToStream(QIODevice *stream) const;
    /// Writes the encoded image to the file FileName.
    void SaveToFile(const QString &fileName) const;
    /// Takes Image, encoded as PNG; an empty image clears the picture.
    void SetImage(const TzelImage &image);
    /// The decoded pixels (empty for an empty picture); raises "Invalid
    /// image format" for data that does not decode.
    TzelImage Image() const;
    /// Removes the image.
    void Clear();

    /// Called after every change of the image.
    std::function<void()> OnChange;

    /// Stores the image as the binary entry "Data": the format's tag (a
    /// length byte and 8-bit characters) followed by the encoded bytes.
    void DefineProperties(TzelFiler &filer) override;

private:
    static void CheckDecodable(int width, int height);
    void Take(const QByteArray &data, TzelImageFormat format, int width, int height);
    void ReadStored(const QByteArray &stored);
    QByteArray WriteStored() const;

    QByteArray FData;
    TzelImageFormat FFormat = TzelImageFormat::Unknown;
    int FWidth = 0;
    int FHeight = 0;
};
