#pragma once

// What the export tests share: a small report of three pages built in the
// process, a filter that records what the export hands it, and readers of
// the outputs that go through other programs (poppler, qpdf, librsvg) so that
// a fault of our own reader cannot hide one of the writer.
#include "engine/datatemplate.h"
#include "support/testsupport.h"

#include "model/band/zelmasterdata.h"
#include "model/band/zelpagefooter.h"
#include "model/band/zelpageheader.h"
#include "model/report/zelcustomexportfilter.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>

/// The folder of the example templates beside the sample database.
inline QString examplePath(const QString &name)
{
    return QFileInfo(QStringLiteral(ZEL_SAMPLE_DB)).dir().filePath(name);
}

/// Seven rows of three to a page under a page header and over a page footer:
/// three 100 mm square pages. Texts are "Head N", "Row N" and "Page N of 3".
struct ThreePages : DataTemplate
{
    TzelMasterData *Rows = nullptr;

    ThreePages()
    {
        Line<TzelPageHeader>("Header", 0, QStringLiteral("Head [Page#]"), 20);
        Rows = Line<TzelMasterData>("Rows", 40, QStringLiteral("Row [Line]"), 100);
        Rows->SetRowCount(7);
        Line<TzelPageFooter>("Footer", 300, QStringLiteral("Page [Page#] of [TOTALPAGES#]"), 20);
    }

    // Builds the pages; false (and a failed test) when the report does not build.
    bool Prepare()
    {
        const bool built = Report.PrepareReport();
        EXPECT_TRUE(built) << Report.Errors().Text().toStdString();
        EXPECT_EQ(Report.PreviewPages()->Count(), 3);
        return built && Report.PreviewPages()->Count() == 3;
    }

    // Exports the built pages through Filter into File (none for filters that write nothing).
    bool Export(TzelCustomExportFilter &filter, const QString &file = {})
    {
        filter.ShowDialog = false;
        filter.ShowProgress = false;
        filter.FileName = file;
        return Report.PreviewPages()->Export(&filter);
    }
};

/// What an export hands a filter: the index of every page begun and, per
/// page, each object as its name, with ": text" for a memo.
class RecordingFilter : public TzelCustomExportFilter
{
public:
    RecordingFilter() : TzelCustomExportFilter(NoRegister) {}

    void StartPage(TzelReportPage *, int index) override
    {
        Pages << index;
        Objects << QStringList();
    }
    void ExportObject(TzelComponent *object) override
    {
        QString entry = object->Name();
        if (const auto *memo = zelAs<TzelCustomMemoView>(object))
            entry += QStringLiteral(": ") + memo->Text();
        Objects.last() << entry;
    }
    void FinishPage(TzelReportPage *, int index) override { Finished << index; }

    QList<int> Pages;
    QList<int> Finished;
    QList<QStringList> Objects;
};

/// Runs an installed program; the test fails when it cannot be run or fails.
inline QString runOk(const QString &program, const QStringList &args)
{
    const ZelToolRun run = zelRun(program, args);
    EXPECT_EQ(run.status, 0) << qPrintable(program + u' ' + args.join(u' ')) << "\n" << qPrintable(run.err);
    return run.out;
}

/// The text poppler reads from a PDF file, pages divided by form feeds.
inline QString pdfText(const QString &pdf, const QStringList &options = {})
{
    return runOk(QStringLiteral("pdftotext"), options + QStringList{pdf, QStringLiteral("-")});
}

/// The non-empty lines of Text, trimmed.
inline QStringList textLines(const QString &text)
{
    QStringList lines;
    for (const QString &line : text.split(QRegularExpression(QStringLiteral("[\n\f]"))))
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    return lines;
}

/// What qpdf says of a PDF file as JSON (version 2).
inline QJsonObject pdfJson(const QString &pdf)
{
    const QString out = runOk(QStringLiteral("qpdf"), {QStringLiteral("--json=2"), pdf});
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(out.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << qPrintable(error.errorString());
    return doc.object();
}

/// The objects of qpdf's JSON by their reference ("12 0 R"), each its value.
inline QJsonObject pdfObjects(const QJsonObject &json)
{
    QJsonObject objects;
    const QJsonObject all = json.value(QStringLiteral("qpdf")).toArray().at(1).toObject();
    for (auto it = all.begin(); it != all.end(); ++it) {
        const QString key = it.key();
        if (key.startsWith(QStringLiteral("obj:")))
            objects.insert(key.mid(4), it.value().toObject().value(QStringLiteral("value"))); // streams have none
        else if (key == QStringLiteral("trailer"))
            objects.insert(key, it.value().toObject().value(QStringLiteral("value")));
    }
    return objects;
}

/// A text string of qpdf's JSON as it reads: "u:" and the text, or "b:" and
/// the bytes in hex, UTF-16 after a byte order mark and otherwise
/// PDFDocEncoding, which agrees with Latin-1 for the letters the tests use.
inline QString pdfString(const QJsonValue &value)
{
    const QString s = value.toString();
    if (s.startsWith(QStringLiteral("u:")))
        return s.mid(2);
    if (!s.startsWith(QStringLiteral("b:")))
        return s;
    const QByteArray bytes = QByteArray::fromHex(s.mid(2).toLatin1());
    if (bytes.startsWith("\xfe\xff")) {
        QString text;
        for (qsizetype i = 2; i + 1 < bytes.size(); i += 2)
            text += QChar(char16_t((uchar(bytes[i]) << 8) | uchar(bytes[i + 1])));
        return text;
    }
    return QString::fromLatin1(bytes);
}

/// The bookmarks (qpdf's "outlines") as "title -> page" lines, children indented by two blanks.
inline QStringList bookmarks(const QJsonArray &items, int depth = 0)
{
    QStringList lines;
    for (const QJsonValue &v : items) {
        const QJsonObject item = v.toObject();
        lines << QString(depth * 2, u' ') + item.value(QStringLiteral("title")).toString() + QStringLiteral(" -> ") +
                     QString::number(item.value(QStringLiteral("destpageposfrom1")).toInt());
        lines << bookmarks(item.value(QStringLiteral("kids")).toArray(), depth + 1);
    }
    return lines;
}

/// A picture as grey values.
inline QImage greyImage(const QString &path)
{
    const QImage image(path);
    EXPECT_FALSE(image.isNull()) << qPrintable(path);
    return image.convertToFormat(QImage::Format_Grayscale8);
}

/// The mean absolute difference of the grey values of A and B, over the
/// area both cover (renderers may round a page's size differently).
inline double meanDifference(const QImage &a, const QImage &b)
{
    const int w = std::min(a.width(), b.width());
    const int h = std::min(a.height(), b.height());
    double sum = 0;
    for (int y = 0; y < h; ++y) {
        const uchar *pa = a.constScanLine(y);
        const uchar *pb = b.constScanLine(y);
        for (int x = 0; x < w; ++x)
            sum += std::abs(int(pa[x]) - int(pb[x]));
    }
    return w * h > 0 ? sum / (double(w) * h) : 255;
}

/// How dark Image is on average: 0 for a white page.
inline double meanInk(const QImage &image)
{
    QImage white(image.size(), QImage::Format_Grayscale8);
    white.fill(255);
    return meanDifference(image, white);
}
