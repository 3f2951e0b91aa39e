#include "exporttest.h"

#include "engine/export/zelpdfexport.h"
#include "engine/export/zelpngexport.h"
#include "engine/export/zelsvgexport.h"

#include <QXmlStreamReader>
#include <memory>

// The PDF, PNG and SVG filters, their output read back by other programs:
// text, fonts, bookmarks, links and document information of the PDF; PNG
// and SVG pages drawn as poppler draws the PDF.

namespace {

// The three pages with what a PDF carries besides text: a bold line of
// text beyond Latin-1 per row, each row's text linked to an address, a link
// to page 3 under the header's text, an outline entry per row, and the
// document's name, author and description.
struct LinkedPages : ThreePages
{
    LinkedPages()
    {
        Report.ReportOptions().Name = QStringLiteral("Quarterly — Müller");
        Report.ReportOptions().Author = QStringLiteral("Zoë Åström");
        Report.ReportOptions().Description = {QStringLiteral("Sales by row"), QStringLiteral("second line")};
        auto *row = dynamic_cast<TzelMemoView *>(Page->FindObject(QStringLiteral("RowsText")));
        row->Hyperlink().Kind = hkURL;
        row->Hyperlink().Value = QStringLiteral("https://example.com/row[Line]");
        TzelMemoView *greeting = addMemo(Rows, "Greeting", 50, 20, QStringLiteral("Grüße [Line] – Œuvre €"));
        greeting->SetWidth(250);
        greeting->Font().SetStyle({fsBold});
        // Below the header's text: beside it, poppler would read it as a column of its own.
        auto *header = dynamic_cast<TzelBand *>(Page->FindObject(QStringLiteral("Header")));
        header->SetHeight(40);
        TzelMemoView *jump = addMemo(header, "Jump", 20, 20, QStringLiteral("to the end"));
        jump->Hyperlink().Kind = hkPageNumber;
        jump->Hyperlink().Value = QStringLiteral("3");
        Rows->OutlineText = QStringLiteral("'Row ' + IntToStr(<Line>)");
    }
};

// A word poppler finds, in PDF units from the page's top left corner.
struct Word
{
    QString Text;
    QRectF Box;
};

// The words of every page of a PDF file.
QList<QList<Word>> pdfWords(const QString &pdf)
{
    const QString html = pdfText(pdf, {QStringLiteral("-bbox")});
    static const QRegularExpression tag(QStringLiteral(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<QList<Word>> pages;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0) == QStringLiteral("<page "))
            pages.append(QList<Word>());
        else if (!pages.isEmpty())
            pages.last().append({m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                                       QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
    }
    return pages;
}

// The link annotations of each page: "uri" or "page N" (from 1), and the
// rectangle in PDF units from the page's top left corner.
struct Link
{
    QString Target;
    QRectF Rect;
};

QList<QList<Link>> pdfLinks(const QJsonObject &json)
{
    const QJsonObject objects = pdfObjects(json);
    QStringList pageRefs;
    for (const QJsonValue &page : json.value(QStringLiteral("pages")).toArray())
        pageRefs << page.toObject().value(QStringLiteral("object")).toString();
    QList<QList<Link>> links;
    for (const QString &ref : std::as_const(pageRefs)) {
        const QJsonObject page = objects.value(ref).toObject();
        const QJsonArray box = page.value(QStringLiteral("/MediaBox")).toArray();
        const double height = box.at(3).toDouble();
        QJsonValue annots = page.value(QStringLiteral("/Annots"));
        if (annots.isString())
            annots = objects.value(annots.toString());
        QList<Link> pageLinks;
        for (const QJsonValue &a : annots.toArray()) {
            const QJsonObject annot = objects.value(a.toString()).toObject();
            if (annot.value(QStringLiteral("/Subtype")).toString() != QStringLiteral("/Link"))
                continue;
            Link link;
            const QJsonArray r = annot.value(QStringLiteral("/Rect")).toArray();
            link.Rect = QRectF(QPointF(r.at(0).toDouble(), height - r.at(3).toDouble()),
                               QPointF(r.at(2).toDouble(), height - r.at(1).toDouble()))
                            .normalized();
            const QJsonObject action = annot.value(QStringLiteral("/A")).toObject();
            if (!action.isEmpty())
                link.Target = pdfString(action.value(QStringLiteral("/URI")));
            else
                link.Target = QStringLiteral("page %1").arg(
                    pageRefs.indexOf(annot.value(QStringLiteral("/Dest")).toArray().at(0).toString()) + 1);
            pageLinks << link;
        }
        links << pageLinks;
    }
    return links;
}

// The page of a PDF file as poppler draws it in grey, at Dpi.
QImage popplerPage(const QString &pdf, int page, int dpi, const QString &dir)
{
    const QString base = QDir(dir).filePath(QStringLiteral("poppler-%1-%2").arg(page).arg(dpi));
    runOk(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
                                       QString::number(page), QStringLiteral("-l"), QString::number(page),
                                       QStringLiteral("-gray"), QStringLiteral("-singlefile"), QStringLiteral("-png"),
                                       pdf, base});
    return greyImage(base + QStringLiteral(".png"));
}

} // namespace

// The linked pages exported once as a whole, for the tests that read the
// document back.
class PDFExport : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        Dir = std::make_unique<QTemporaryDir>();
        Pdf = Dir->filePath(QStringLiteral("out.pdf"));
        LinkedPages t;
        if (!t.Prepare())
            return;
        TzelPDFExport filter(TzelCustomExportFilter::NoRegister);
        EXPECT_TRUE(t.Export(filter, Pdf));
        EXPECT_EQ(filter.Files, QStringList{Pdf});
        Json = pdfJson(Pdf);
    }
    static void TearDownTestSuite() { Dir.reset(); }

    static inline std::unique_ptr<QTemporaryDir> Dir;
    static inline QString Pdf;
    static inline QJsonObject Json;
};

TEST_F(PDFExport, TextReadsBackInOrderFromEmbeddedSubsetsAndQpdfFindsNoFault)
{
    // Every memo's text, characters beyond Latin-1 included.
    QStringList expected;
    for (int page = 1, row = 1; page <= 3; ++page) {
        expected << QStringLiteral("Head %1").arg(page) << QStringLiteral("to the end");
        for (int i = 0; i < 3 && row <= 7; ++i, ++row)
            expected << QStringLiteral("Row %1").arg(row) << QStringLiteral("Grüße %1 – Œuvre €").arg(row);
        expected << QStringLiteral("Page %1 of 3").arg(page);
    }
    const QString text = pdfText(Pdf);
    EXPECT_EQ(text.count(u'\f'), 3);
    EXPECT_EQ(textLines(text), expected) << qPrintable(text);

    // Every font embedded as a tagged subset that maps back to Unicode.
    const QStringList fonts = runOk(QStringLiteral("pdffonts"), {Pdf}).split(u'\n', Qt::SkipEmptyParts).mid(2);
    EXPECT_GE(fonts.size(), 2) << "regular and bold";
    static const QRegularExpression subset(QStringLiteral(R"(^[A-Z]{6}\+\S+ .* yes\s+yes\s+yes\s+\d+\s+\d+$)"));
    for (const QString &font : fonts)
        EXPECT_TRUE(subset.match(font).hasMatch()) << qPrintable(font);

    // Also the update that adds the bookmarks, links and information.
    const ZelToolRun check = zelRun(QStringLiteral("qpdf"), {QStringLiteral("--check"), Pdf});
    EXPECT_EQ(check.status, 0) << qPrintable(check.out + check.err);
    EXPECT_TRUE(check.out.contains(QStringLiteral("No syntax or stream encoding errors"))) << qPrintable(check.out);
}

TEST_F(PDFExport, TheOutlineBecomesBookmarksToTheirPages)
{
    EXPECT_EQ(bookmarks(Json.value(QStringLiteral("outlines")).toArray()),
              (QStringList{QStringLiteral("Row 1 -> 1"), QStringLiteral("Row 2 -> 1"), QStringLiteral("Row 3 -> 1"),
                           QStringLiteral("Row 4 -> 2"), QStringLiteral("Row 5 -> 2"), QStringLiteral("Row 6 -> 2"),
                           QStringLiteral("Row 7 -> 3")}));
}

TEST_F(PDFExport, HyperlinksBecomeLinksOverTheirText)
{
    // An address per row, and the header's link to page 3.
    const QList<QList<Link>> links = pdfLinks(Json);
    const QList<QList<Word>> words = pdfWords(Pdf);
    ASSERT_EQ(links.size(), 3);
    ASSERT_EQ(words.size(), 3);
    for (int page = 0, row = 1; page < 3; ++page) {
        SCOPED_TRACE(page + 1);
        QStringList targets;
        for (const Link &l : links[page])
            targets << l.Target;
        // Links to pages written later lead there too (they are placed once
        // every page is written).
        QStringList wanted{QStringLiteral("page 3")};
        for (int i = 0; i < 3 && row <= 7; ++i, ++row)
            wanted << QStringLiteral("https://example.com/row%1").arg(row);
        EXPECT_EQ(targets, wanted);

        // The header's link lies over "to the end", the n-th address over the n-th "Row".
        QList<QRectF> texts;
        for (const Word &w : words[page])
            if (w.Text == QStringLiteral("end"))
                texts.prepend(w.Box);
            else if (w.Text == QStringLiteral("Row"))
                texts.append(w.Box);
        ASSERT_EQ(texts.size(), links[page].size());
        for (qsizetype i = 0; i < texts.size(); ++i) {
            const QRectF &r = links[page][i].Rect;
            EXPECT_TRUE(r.contains(texts[i].center()))
                << qPrintable(links[page][i].Target) << ": link " << r.x() << ',' << r.y() << ' ' << r.width() << 'x'
                << r.height() << ", text at " << texts[i].center().x() << ',' << texts[i].center().y();
        }
    }
}

TEST_F(PDFExport, ReportOptionsBecomeTheDocumentInformation)
{
    const QJsonObject objects = pdfObjects(Json);
    const QString ref = objects.value(QStringLiteral("trailer")).toObject().value(QStringLiteral("/Info")).toString();
    const QJsonObject info = objects.value(ref).toObject();
    EXPECT_EQ(pdfString(info.value(QStringLiteral("/Title"))), QStringLiteral("Quarterly — Müller"));
    EXPECT_EQ(pdfString(info.value(QStringLiteral("/Author"))), QStringLiteral("Zoë Åström"));
    EXPECT_EQ(pdfString(info.value(QStringLiteral("/Subject"))), QStringLiteral("Sales by row\nsecond line"));
}

TEST_F(PDFExport, LinksAndBookmarksOfAPartialExportLeadToTheRightPages)
{
    // Pages 2 and 3 only: what led to page 3 leads to the document's second page.
    LinkedPages t;
    ASSERT_TRUE(t.Prepare());
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    TzelPDFExport filter(TzelCustomExportFilter::NoRegister);
    filter.PageNumbers = QStringLiteral("2-3");
    ASSERT_TRUE(t.Export(filter, pdf));
    EXPECT_EQ(zelRun(QStringLiteral("qpdf"), {QStringLiteral("--check"), pdf}).status, 0);
    const QJsonObject json = pdfJson(pdf);
    QStringList targets;
    for (const QList<Link> &page : pdfLinks(json))
        for (const Link &l : page)
            targets << l.Target;
    EXPECT_EQ(targets, (QStringList{QStringLiteral("page 2"), QStringLiteral("https://example.com/row4"),
                                    QStringLiteral("https://example.com/row5"), QStringLiteral("https://example.com/row6"),
                                    QStringLiteral("page 2"), QStringLiteral("https://example.com/row7")}));
    const QStringList marks = bookmarks(json.value(QStringLiteral("outlines")).toArray());
    EXPECT_TRUE(marks.contains(QStringLiteral("Row 4 -> 1"))) << qPrintable(marks.join(u'\n'));
    EXPECT_TRUE(marks.contains(QStringLiteral("Row 7 -> 2"))) << qPrintable(marks.join(u'\n'));
}

TEST(PNGExport, PagesLookAsPopplerDrawsThePDFAtEveryResolution)
{
    ThreePages t;
    // Frames and a fill, so that a shift or a scale shows beyond the text.
    TzelMemoView *box = addMemo(t.Rows, "Box", 20, 60, QStringLiteral("framed"));
    box->SetLeft(120);
    box->SetWidth(200);
    box->Frame().Typ = {ftLeft, ftRight, ftTop, ftBottom};
    box->Frame().SetWidth(2);
    box->SetColor(clGray);
    ASSERT_TRUE(t.Prepare());
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    TzelPDFExport pdfFilter(TzelCustomExportFilter::NoRegister);
    ASSERT_TRUE(t.Export(pdfFilter, pdf));

    struct Case
    {
        int Dpi;
        int Pixels; // a side of the 100 mm page
    };
    const Case cases[] = {{96, 378}, {48, 189}, {200, 787}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Dpi);
        TzelPNGExport png(TzelCustomExportFilter::NoRegister);
        png.Resolution = c.Dpi;
        ASSERT_TRUE(t.Export(png, dir.filePath(QStringLiteral("dpi%1-%d.png").arg(c.Dpi))));
        ASSERT_EQ(png.Files.size(), 3);
        for (int page = 1; page <= 3; page += 2) {
            SCOPED_TRACE(page);
            const QImage ours = greyImage(png.Files[page - 1]);
            EXPECT_EQ(ours.size(), QSize(c.Pixels, c.Pixels));
            EXPECT_NEAR(ours.dotsPerMeterX() * 0.0254, c.Dpi, 0.5);
            const QImage poppler = popplerPage(pdf, page, c.Dpi, dir.path());
            EXPECT_LE(std::abs(poppler.width() - ours.width()), 1);
            EXPECT_LE(std::abs(poppler.height() - ours.height()), 1);
            const double ink = meanInk(poppler);
            const double difference = meanDifference(ours, poppler);
            // Renderers smooth edges their own way: a few per cent of the ink
            // apart, where a shift of two pixels is a fifth of it.
            EXPECT_GT(ink, 10.0);
            EXPECT_LT(difference, ink * 0.1) << "ink " << ink;
        }
    }
}

TEST(SVGExport, EachPageIsAWellFormedDrawingThatRendersAsThePNG)
{
    ThreePages t;
    ASSERT_TRUE(t.Prepare());
    QTemporaryDir dir;
    TzelSVGExport svg(TzelCustomExportFilter::NoRegister);
    ASSERT_TRUE(t.Export(svg, dir.filePath(QStringLiteral("page.svg"))));
    TzelPNGExport png(TzelCustomExportFilter::NoRegister);
    ASSERT_TRUE(t.Export(png, dir.filePath(QStringLiteral("page.png"))));
    EXPECT_EQ(svg.Files, (QStringList{dir.filePath(QStringLiteral("page-1.svg")), dir.filePath(QStringLiteral("page-2.svg")),
                                      dir.filePath(QStringLiteral("page-3.svg"))}));
    ASSERT_EQ(png.Files.size(), 3);
    for (qsizetype i = 0; i < svg.Files.size(); ++i) {
        SCOPED_TRACE(i + 1);
        QXmlStreamReader xml(zelReadFile(svg.Files[i]));
        QString root;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && root.isEmpty())
                root = xml.name().toString();
        }
        EXPECT_FALSE(xml.hasError()) << qPrintable(xml.errorString());
        EXPECT_EQ(root, QStringLiteral("svg"));

        const QString rendered = dir.filePath(QStringLiteral("rsvg-%1.png").arg(i + 1));
        runOk(QStringLiteral("rsvg-convert"), {QStringLiteral("-o"), rendered, svg.Files[i]});
        const QImage drawn = greyImage(rendered);
        EXPECT_EQ(drawn.size(), QSize(378, 378));
        const QImage ours = greyImage(png.Files[i]);
        // Text only, so smoothing weighs more than on the PNG's own page; a
        // shift of two pixels would exceed the ink.
        EXPECT_GT(meanInk(ours), 0.5);
        EXPECT_LT(meanDifference(drawn, ours), meanInk(ours) * 0.5) << "ink " << meanInk(ours);
    }
}
