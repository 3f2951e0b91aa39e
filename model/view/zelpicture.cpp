#include "model/view/zelpicture.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/imaging/zelimagecodec.h"
#include "base/resources/zelresources.h"
#include "base/stream/zelsafefile.h"
#include "model/reflect/zelfiler.h"

#include <QFile>
#include <QtEndian>

namespace {

const char *formatTag(TzelImageFormat format)
{
    return format == TzelImageFormat::Jpeg ? "TzelJPEGImage" : "TzelPNGImage";
}

const unsigned char *bytes(const QByteArray &data)
{
    return reinterpret_cast<const unsigned char *>(data.constData());
}

} // namespace

TzelPicture::TzelPicture() = default;

TzelPicture::TzelPicture(const TzelPicture &other)
    : TzelPersistent(other), FData(other.FData), FFormat(other.FFormat), FWidth(other.FWidth),
      FHeight(other.FHeight)
{
}

TzelPicture &TzelPicture::operator=(const TzelPicture &other)
{
    if (this != &other)
        Take(other.FData, other.FFormat, other.FWidth, other.FHeight);
    return *this;
}

void TzelPicture::Take(const QByteArray &data, TzelImageFormat format, int width, int height)
{
    FData = data;
    FFormat = format;
    FWidth = width;
    FHeight = height;
    if (OnChange)
        OnChange();
}

void TzelPicture::LoadFromData(const QByteArray &data)
{
    if (data.isEmpty()) {
        Clear();
        return;
    }
    // The header gives the size; pixels are decoded only when drawn, so a
    // small file cannot cost much memory by merely being loaded.
    TzelImageInfo info;
    if (!zelReadImageInfo(bytes(data), size_t(data.size()), info))
        throw TzelException(zelRes("erInvalidImg"));
    CheckDecodable(info.Width, info.Height);
    Take(data, info.Format, info.Width, info.Height);
}

void TzelPicture::CheckDecodable(int width, int height)
{
    if (qint64(width) * height > qint64(zelMaxImagePixels))
        throw TzelException(zelFormat(zelRes("erImgTooLarge"), {QString::number(width), QString::number(height),
                                                                QString::number(zelMaxImagePixels)}));
}

void TzelPicture::LoadFromStream(QIODevice *stream)
{
    LoadFromData(stream->readAll());
}

void TzelPicture::LoadFromFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw TzelFileError(zelFormat(zelRes("ioCantOpen"), {fileName, file.errorString()}));
    LoadFromStream(&file);
}

void TzelPicture::SaveToStream(QIODevice *stream) const
{
    stream->write(FData);
}

void TzelPicture::SaveToFile(const QString &fileName) const
{
    zelSaveFile(fileName, [this](QIODevice *stream) { SaveToStream(stream); });
}

void TzelPicture::SetImage(const TzelImage &image)
{
    if (image.IsEmpty()) {
        Clear();
        return;
    }
    std::vector<unsigned char> png;
    if (!zelEncodePng(image, png))
        throw TzelException(zelRes("erInvalidImg"));
    Take(QByteArray(reinterpret_cast<const char *>(png.data()), qsizetype(png.size())), TzelImageFormat::Png,
         image.Width, image.Height);
}

TzelImage TzelPicture::Image() const
{
    TzelImage image;
    if (FData.isEmpty())
        return image;
    CheckDecodable(FWidth, FHeight);
    if (FFormat == TzelImageFormat::Unknown || !zelDecodeImage(bytes(FData), size_t(FData.size()), image))
        throw TzelException(zelRes("erInvalidImg"));
    return image;
}

void TzelPicture::Clear()
{
    Take(QByteArray(), TzelImageFormat::Unknown, 0, 0);
}

QByteArray TzelPicture::WriteStored() const
{
    // Bytes that never read as a picture go back exactly as they came.
    if (FFormat == TzelImageFormat::Unknown)
        return FData;
    const QByteArray tag(formatTag(FFormat));
    QByteArray stored;
    stored.reserve(1 + tag.size() + FData.size());
    stored.append(char(tag.size()));
    stored.append(tag);
    stored.append(FData);
    return stored;
}

void TzelPicture::ReadStored(const QByteArray &stored)
{
    // The tag names the format; the bytes are checked by their signature, so
    // that other tags, and a 4-byte length before the image, read as well.
    if (stored.isEmpty())
        throw TzelException(zelRes("erInvalidImg"));
    const qsizetype tagLength = quint8(stored.at(0));
    QByteArray data = stored.mid(1 + tagLength);
    if (zelDetectImageFormat(bytes(data), size_t(data.size())) == TzelImageFormat::Unknown && data.size() > 4) {
        const quint32 length = qFromLittleEndian<quint32>(data.constData());
        const QByteArray inner = data.mid(4);
        if (length <= quint32(inner.size())
            && zelDetectImageFormat(bytes(inner), size_t(inner.size())) != TzelImageFormat::Unknown)
            data = inner.left(qsizetype(length));
    }
    try {
        LoadFromData(data);
    } catch (const TzelException &) {
        // Kept as read, so that saving the template again loses nothing; the
        // error still reaches the reader of the template.
        Take(stored, TzelImageFormat::Unknown, 0, 0);
        throw;
    }
}

void TzelPicture::DefineProperties(TzelFiler &filer)
{
    filer.DefineBinaryProperty(
        "Data", [this](const QByteArray &stored) { ReadStored(stored); }, [this] { return WriteStored(); },
        !IsEmpty());
}
