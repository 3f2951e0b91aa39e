#include "base/imaging/zelimagecodec.h"
#include "model/view/zelpictureview.h"
#include "support/testsupport.h"
#include "view_testsupport.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <jpeglib.h>
#include <zlib.h>

namespace {

const unsigned char *bytesOf(const QByteArray &data)
{
    return reinterpret_cast<const unsigned char *>(data.constData());
}

// A small JPEG in the given colour space, encoded with libjpeg for the test.
QByteArray makeJpeg(int width, int height, J_COLOR_SPACE space)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char *out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = space == JCS_GRAYSCALE ? 1 : 3;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(size_t(width * cinfo.input_components), 0);
    for (int x = 0; x < width * cinfo.input_components; x += cinfo.input_components)
        row[size_t(x)] = 200; // red, or light grey
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    QByteArray jpeg(reinterpret_cast<const char *>(out), qsizetype(size));
    jpeg_destroy_compress(&cinfo);
    free(out);
    return jpeg;
}

// One PNG chunk with a valid CRC.
QByteArray pngChunk(const QByteArray &type, const QByteArray &data)
{
    const QByteArray body = type + data;
    QByteArray chunk;
    for (quint32 v : {quint32(data.size()), quint32(crc32(0, reinterpret_cast<const Bytef *>(body.constData()),
                                                             uInt(body.size())))}) {
        for (int shift = 24; shift >= 0; shift -= 8)
            chunk.append(char((v >> shift) & 0xFF));
        if (chunk.size() == 4)
            chunk.append(body);
    }
    return chunk;
}

// A PNG claiming the given size: signature, header chunk and the start of
// its pixel data, which is not there.
QByteArray pngHeader(quint32 width, quint32 height)
{
    QByteArray header;
    for (quint32 v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            header.append(char((v >> shift) & 0xFF));
    header.append("\x08\x06\x00\x00\x00", 5); // 8 bits, RGBA
    return QByteArray("\x89PNG\r\n\x1A\n", 8) + pngChunk("IHDR", header) + pngChunk("IDAT", "no pixels");
}

class PictureView : public ViewTest
{
};

} // namespace

TEST(ImageCodec, PngRoundTripKeepsEveryPixel)
{
    const TzelImage image = zelTestImage(5, 3);
    std::vector<unsigned char> png;
    ASSERT_TRUE(zelEncodePng(image, png));
    EXPECT_EQ(zelDetectImageFormat(png.data(), png.size()), TzelImageFormat::Png);

    TzelImageInfo info;
    ASSERT_TRUE(zelReadImageInfo(png.data(), png.size(), info));
    EXPECT_EQ(info.Format, TzelImageFormat::Png);
    EXPECT_EQ(info.Width, 5);
    EXPECT_EQ(info.Height, 3);

    TzelImage decoded;
    ASSERT_TRUE(zelDecodeImage(png.data(), png.size(), decoded));
    EXPECT_EQ(decoded.Width, 5);
    EXPECT_EQ(decoded.Height, 3);
    EXPECT_EQ(decoded.Pixels, image.Pixels);
}

TEST(ImageCodec, JpegDecodesColourAndGreyToRgba)
{
    for (const auto &[space, red, green] : {std::tuple{JCS_RGB, 200, 0}, {JCS_GRAYSCALE, 200, 200}}) {
        const QByteArray jpeg = makeJpeg(16, 8, space);
        TzelImage image;
        std::string error;
        ASSERT_TRUE(zelDecodeImage(bytesOf(jpeg), size_t(jpeg.size()), image, &error)) << error;
        EXPECT_EQ(image.Width, 16);
        EXPECT_EQ(image.Height, 8);
        ASSERT_EQ(image.Pixels.size(), size_t(16 * 8 * 4));
        EXPECT_NEAR(image.Pixels[0], red, 8);
        EXPECT_NEAR(image.Pixels[1], green, 8);
        EXPECT_EQ(image.Pixels[3], 255);
    }
}

TEST(ImageCodec, DamagedOrHostileDataIsRefusedWithAReason)
{
    const QByteArray png = zelTestPng(8, 8);
    const QByteArray jpeg = makeJpeg(8, 8, JCS_RGB);
    QByteArray badCrc = png;
    badCrc[29] = char(badCrc[29] ^ 0x55); // inside the header chunk's CRC
    const QByteArray cases[] = {
        QByteArray(),
        QByteArray("GIF89a not one of ours"),
        png.left(png.size() / 2),
        badCrc,
        pngHeader(500000, 500000), // asks for a terabyte of pixels
        jpeg.left(20),
        QByteArray("\xFF\xD8\xFF\xE0") + " garbage after a JPEG start",
    };
    for (const QByteArray &data : cases) {
        TzelImage image;
        std::string error;
        EXPECT_FALSE(zelDecodeImage(bytesOf(data), size_t(data.size()), image, &error)) << data.toHex().toStdString();
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(image.IsEmpty());
    }
    // The header alone still tells the size of a picture too large to decode.
    TzelImageInfo info;
    EXPECT_TRUE(zelReadImageInfo(bytesOf(cases[4]), size_t(cases[4].size()), info));
    EXPECT_EQ(info.Width, 500000);
    EXPECT_FALSE(zelReadImageInfo(bytesOf(cases[5]), size_t(cases[5].size()), info));
    EXPECT_EQ(info.Format, TzelImageFormat::Unknown);
}

TEST_F(PictureView, KeepsTheLoadedBytesAndStoresThemAsPropData)
{
    const QByteArray jpeg = makeJpeg(16, 8, JCS_RGB);
    TzelReport report;
    auto *view = new TzelPictureView(&report);
    view->SetName(QStringLiteral("Picture1"));
    view->SetAutoSize(true);
    view->Picture().LoadFromData(jpeg);
    EXPECT_EQ(view->Width(), 16); // AutoSize follows the picture
    EXPECT_EQ(view->Height(), 8);
    EXPECT_TRUE(view->PictureChanged);
    EXPECT_EQ(view->Picture().Format(), TzelImageFormat::Jpeg);

    // The entry "Data": the format's tag, then the file's bytes unchanged.
    const QByteArray stored = QByteArray("\x04" "Data" "\x0A", 6);
    const QByteArray tag("\x0DTzelJPEGImage");
    QByteArray data = tag + jpeg;
    QByteArray length(4, 0);
    qToLittleEndian(qint32(data.size()), length.data());
    const QByteArray text = save(report);
    EXPECT_TRUE(text.contains(" Picture.PropData=\"" + (stored + length + data).toHex().toUpper() + "\""));

    TzelReport copy;
    EXPECT_EQ(load(copy, text), QStringList());
    auto *read = dynamic_cast<TzelPictureView *>(copy.FindObject(QStringLiteral("Picture1")));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Picture().Data(), jpeg);
    EXPECT_EQ(read->Width(), 16);
    EXPECT_EQ(save(copy), text);

    // Other writers put the graphic's length before its bytes; that reads too.
    QByteArray sized(4, 0);
    qToLittleEndian(qint32(jpeg.size()), sized.data());
    data = QByteArray("\x07" "Another") + sized + jpeg;
    qToLittleEndian(qint32(data.size()), length.data());
    TzelReport other;
    load(other, templateWith("<TzelPictureView Name=\"Picture1\" Picture.PropData=\""
                             + (stored + length + data).toHex() + "\"/>"));
    EXPECT_EQ(dynamic_cast<TzelPictureView *>(other.FindObject(QStringLiteral("Picture1")))->Picture().Data(), jpeg);
}

TEST_F(PictureView, ACorruptPictureIsRefusedWithoutHarmingTheRest)
{
    TzelPicture picture;
    const QByteArray png = zelTestPng(2, 2);
    picture.LoadFromData(png);
    try {
        picture.LoadFromData(QByteArray("\x89PNG\r\n\x1A\n broken", 15));
        FAIL() << "no error";
    } catch (const TzelException &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Invalid image format"));
    }
    EXPECT_EQ(picture.Data(), png); // unchanged

    // In a template the damaged picture is an error naming its object; its
    // bytes stay as they were stored, so saving the template loses nothing.
    const QByteArray brokenPng = QByteArray("\x0C" "TzelPNGImage") + png.left(20);
    QByteArray brokenLength(4, 0);
    qToLittleEndian(qint32(brokenPng.size()), brokenLength.data());
    const QByteArray damaged = QByteArray("\x04" "Data" "\x0A") + brokenLength + brokenPng;
    TzelReport report;
    EXPECT_EQ(load(report, templateWith("<TzelPictureView Name=\"Picture1\" Width=\"50\" Picture.PropData=\""
                                        + damaged.toHex() + "\" Stretched=\"False\"/>")),
              QStringList{QStringLiteral("Cannot read the data of \"Picture1\": Invalid image format")});
    auto *view = dynamic_cast<TzelPictureView *>(report.FindObject(QStringLiteral("Picture1")));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Picture().Format(), TzelImageFormat::Unknown);
    EXPECT_THROW(view->Picture().Image(), TzelException);
    EXPECT_TRUE(save(report).contains("Picture.PropData=\"" + damaged.toHex().toUpper() + "\""));
    EXPECT_EQ(view->Width(), 50);
    EXPECT_FALSE(view->Stretched);
}

TEST_F(PictureView, PixelsAreDecodedOnlyWhenAskedFor)
{
    // A header claiming 8192 x 8192 pixels costs nothing to load: the size
    // comes from the header, and only Image decodes (here: finds no pixels).
    TzelPicture picture;
    picture.LoadFromData(pngHeader(8192, 8192));
    EXPECT_EQ(picture.Width(), 8192);
    EXPECT_EQ(picture.Height(), 8192);
    EXPECT_THROW(picture.Image(), TzelException);

    // More pixels than can be decoded are refused with the size.
    try {
        picture.LoadFromData(pngHeader(10000, 9000));
        ADD_FAILURE() << "no error";
    } catch (const TzelException &e) {
        EXPECT_EQ(e.message(), QStringLiteral("The picture has 10000 x 9000 pixels, more than the 67108864 that can "
                                              "be shown"));
    }
    EXPECT_EQ(picture.Width(), 8192);

    picture.LoadFromData(zelTestPng(3, 2));
    EXPECT_EQ(picture.Image().Pixels, zelTestImage(3, 2).Pixels);
}

TEST_F(PictureView, FilesAndStreamsLoadThroughTheSameCheck)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("a.png"));
    const QString bad = dir.filePath(QStringLiteral("b.png"));
    zelWriteFile(good, zelTestPng(4, 3));
    zelWriteFile(bad, "not a picture");
    TzelPictureView view;
    view.LoadFromFile(good);
    EXPECT_EQ(view.Picture().Width(), 4);
    EXPECT_THROW(view.LoadFromFile(bad), TzelException);
    EXPECT_THROW(view.LoadFromFile(dir.filePath(QStringLiteral("missing.png"))), TzelFileError);
    EXPECT_EQ(view.Picture().Height(), 3);

    QBuffer buffer;
    buffer.setData("xx" + zelTestPng(6, 1));
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(2);
    view.LoadPictureFromStream(&buffer, false);
    EXPECT_EQ(view.Picture().Width(), 6);

    // The designer's undo stores the cache index instead of the picture.
    view.StorePicture = false;
    view.StoreImageIndex = true;
    view.ImageIndex = 3;
    TzelXMLSerializer serializer;
    const QString text = serializer.ObjToXML(&view);
    EXPECT_TRUE(text.contains(QStringLiteral(" ImageIndex=\"3\"")));
    EXPECT_FALSE(text.contains(QStringLiteral("PropData")));
}
