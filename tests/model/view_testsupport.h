#pragma once

// Helpers shared by the view tests: pinned number formats, template
// round trips through the serializer, and small pictures made in memory.
#include "base/imaging/zelimagecodec.h"
#include "base/variant/zelformatsettings.h"
#include "model/report/zelmodelclasses.h"
#include "model/report/zelreport.h"
#include "model/serial/zelxmlserializer.h"

#include <QBuffer>
#include <gtest/gtest.h>

// Writes floats with "." whatever the locale, and registers the model's classes.
class ViewTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { zelRegisterModelClasses(); }
    void SetUp() override
    {
        FSaved = zelFormatSettings();
        TzelFormatSettings s = FSaved;
        s.DecimalSeparator = u'.';
        zelSetFormatSettings(s);
    }
    void TearDown() override { zelSetFormatSettings(FSaved); }

    /// The template text of Report.
    static QByteArray save(const TzelReport &report)
    {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        TzelXMLSerializer::SaveComponent(&report, &out);
        return out.data();
    }
    /// Clears Report, reads Text into it and returns the collected errors.
    static QStringList load(TzelReport &report, QByteArray text)
    {
        QBuffer in(&text);
        in.open(QIODevice::ReadOnly);
        return TzelXMLSerializer::LoadComponent(&report, &in).Items();
    }
    /// A template whose report holds the given elements.
    static QByteArray templateWith(const QByteArray &elements)
    {
        return "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?><TzelReport>" + elements
               + "</TzelReport>";
    }

private:
    TzelFormatSettings FSaved;
};

/// A Width x Height image whose pixel (x, y) is (x * 40, y * 40, 200, 255).
inline TzelImage zelTestImage(int width, int height)
{
    TzelImage image;
    image.Width = width;
    image.Height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Pixels.insert(image.Pixels.end(), {static_cast<unsigned char>(x * 40),
                                                     static_cast<unsigned char>(y * 40), 200, 255});
    return image;
}

/// zelTestImage encoded as PNG.
inline QByteArray zelTestPng(int width, int height)
{
    std::vector<unsigned char> png;
    EXPECT_TRUE(zelEncodePng(zelTestImage(width, height), png));
    return QByteArray(reinterpret_cast<const char *>(png.data()), qsizetype(png.size()));
}
