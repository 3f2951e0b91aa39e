#include "engine/export/zelpdfextras.h"

#include "base/core/zelexception.h"

#include <QIODevice>
#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

namespace {

using Handle = QPDFObjectHandle;

// qpdf's output written to a Qt device.
class DevicePipeline final : public Pipeline
{
public:
    explicit DevicePipeline(QIODevice &device) : Pipeline("zelreport", nullptr), FDevice(device) {}
    void write(unsigned char const *data, size_t len) override
    {
        if (FDevice.write(reinterpret_cast<const char *>(data), qint64(len)) != qint64(len))
            throw TzelException(QStringLiteral("Could not write the PDF file: %1").arg(FDevice.errorString()));
    }
    void finish() override {}

private:
    QIODevice &FDevice;
};

Handle text(const QString &s)
{
    return Handle::newUnicodeString(s.toStdString());
}

Handle destination(const std::vector<QPDFPageObjectHelper> &pages, const TzelPdfExtras::Target &t)
{
    const size_t page = std::min(size_t(std::max(t.Page, 0)), pages.size() - 1);
    return Handle::newArray({pages[page].getObjectHandle(), Handle::newName("/XYZ"), Handle::newReal(t.Left, 2),
                             Handle::newReal(t.Top, 2), Handle::newNull()});
}

// Writes Items as the children of Parent; returns how many items are open below it.
int addBookmarks(QPDF &pdf, const std::vector<QPDFPageObjectHelper> &pages, Handle parent,
                 const QList<TzelPdfExtras::Bookmark> &items)
{
    Handle previous;
    int count = 0;
    for (const TzelPdfExtras::Bookmark &b : items) {
        Handle item = pdf.makeIndirectObject(Handle::newDictionary());
        item.replaceKey("/Title", text(b.Title));
        item.replaceKey("/Parent", parent);
        item.replaceKey("/Dest", destination(pages, b.Destination));
        if (previous.isInitialized()) {
            previous.replaceKey("/Next", item);
            item.replaceKey("/Prev", previous);
        } else {
            parent.replaceKey("/First", item);
        }
        parent.replaceKey("/Last", item);
        ++count;
        if (!b.Children.isEmpty()) {
            const int below = addBookmarks(pdf, pages, item, b.Children);
            item.replaceKey("/Count", Handle::newInteger(-below)); // closed
        }
        previous = item;
    }
    return count;
}

// Qt embeds only the glyphs a document uses, but names each font as the
// whole face; readers know a subset by a tag of six capitals before its name.
void tagSubsetFonts(QPDF &pdf)
{
    int serial = 0;
    for (Handle font : pdf.getAllObjects()) {
        if (!font.isDictionary() || !font.getKey("/Type").isNameAndEquals("/Font") ||
            !font.getKey("/Subtype").isNameAndEquals("/Type0"))
            continue;
        std::string tag(6, 'A');
        for (int i = 5, n = serial++; i >= 0 && n > 0; --i, n /= 26)
            tag[size_t(i)] = char('A' + n % 26);
        const auto rename = [&tag](Handle dict, const char *key) {
            Handle name = dict.getKey(key);
            if (name.isName() && name.getName().find('+') == std::string::npos)
                dict.replaceKey(key, Handle::newName("/" + tag + "+" + name.getName().substr(1)));
        };
        rename(font, "/BaseFont");
        Handle descendants = font.getKey("/DescendantFonts");
        for (int i = 0; descendants.isArray() && i < descendants.getArrayNItems(); ++i) {
            Handle cid = descendants.getArrayItem(i);
            rename(cid, "/BaseFont");
            if (Handle descriptor = cid.getKey("/FontDescriptor"); descriptor.isDictionary())
                rename(descriptor, "/FontName");
        }
    }
}

} // namespace

void TzelPdfExtras::Apply(const QString &source, QIODevice &output) const
{
    try {
        QPDF pdf;
        pdf.processFile(source.toLocal8Bit().constData());
        tagSubsetFonts(pdf);
        const std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(pdf).getAllPages();
        if (!pages.empty()) {
            if (!Bookmarks.isEmpty()) {
                Handle outlines = pdf.makeIndirectObject(Handle::newDictionary());
                outlines.replaceKey("/Type", Handle::newName("/Outlines"));
                outlines.replaceKey("/Count", Handle::newInteger(addBookmarks(pdf, pages, outlines, Bookmarks)));
                Handle root = pdf.getRoot();
                root.replaceKey("/Outlines", outlines);
                root.replaceKey("/PageMode", Handle::newName("/UseOutlines"));
            }
            for (const Link &l : Links) {
                if (l.Page < 0 || size_t(l.Page) >= pages.size())
                    continue;
                Handle annot = pdf.makeIndirectObject(Handle::newDictionary());
                annot.replaceKey("/Type", Handle::newName("/Annot"));
                annot.replaceKey("/Subtype", Handle::newName("/Link"));
                annot.replaceKey("/Rect", Handle::newArray(Handle::Rectangle(l.Rect.left(), l.Rect.top(),
                                                                             l.Rect.right(), l.Rect.bottom())));
                annot.replaceKey("/Border", Handle::newArray({Handle::newInteger(0), Handle::newInteger(0),
                                                              Handle::newInteger(0)}));
                if (!l.Uri.isEmpty()) {
                    Handle action = Handle::newDictionary();
                    action.replaceKey("/S", Handle::newName("/URI"));
                    action.replaceKey("/URI", Handle::newString(l.Uri.toUtf8().toStdString()));
                    annot.replaceKey("/A", action);
                } else {
                    annot.replaceKey("/Dest", destination(pages, l.Destination));
                }
                Handle page = pages[size_t(l.Page)].getObjectHandle();
                Handle annots = page.getKey("/Annots");
                if (!annots.isArray()) {
                    annots = Handle::newArray();
                    page.replaceKey("/Annots", annots);
                }
                annots.appendItem(annot);
            }
        }
        Handle info = pdf.getTrailer().getKey("/Info");
        if (!info.isDictionary()) {
            info = pdf.makeIndirectObject(Handle::newDictionary());
            pdf.getTrailer().replaceKey("/Info", info);
        }
        const auto set = [&info](const char *key, const QString &value) {
            if (!value.isEmpty())
                info.replaceKey(key, text(value));
        };
        set("/Title", Title);
        set("/Author", Author);
        set("/Subject", Subject);
        set("/Creator", Creator);
        DevicePipeline pipeline(output);
        QPDFWriter writer(pdf);
        writer.setOutputPipeline(&pipeline);
        writer.write();
    } catch (const TzelException &) {
        throw;
    } catch (const std::exception &e) {
        throw TzelException(QStringLiteral("The PDF file could not be completed: %1").arg(QString::fromUtf8(e.what())));
    }
}
