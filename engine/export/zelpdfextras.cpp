#include "engine/export/zelpdfextras.h"

#include "base/core/zelexception.h"

#include <QFile>
#include <QIODevice>
#include <map>
#include <set>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

namespace {

using Handle = QPDFObjectHandle;

Handle text(const QString &s)
{
    return Handle::newUnicodeString(s.toStdString());
}

Handle destination(std::vector<QPDFPageObjectHelper> &pages, const TzelPdfExtras::Target &t)
{
    const size_t page = std::min(size_t(std::max(t.Page, 0)), pages.size() - 1);
    return Handle::newArray({pages[page].getObjectHandle(), Handle::newName("/XYZ"), Handle::newReal(t.Left, 2),
                             Handle::newReal(t.Top, 2), Handle::newNull()});
}

// Writes Items as the children of Parent; returns how many items are open below it.
template <class Add>
int addBookmarks(const Add &add, std::vector<QPDFPageObjectHelper> &pages, Handle parent,
                 const QList<TzelPdfExtras::Bookmark> &items)
{
    Handle previous;
    int count = 0;
    for (const TzelPdfExtras::Bookmark &b : items) {
        Handle item = add(Handle::newDictionary());
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
            const int below = addBookmarks(add, pages, item, b.Children);
            item.replaceKey("/Count", Handle::newInteger(-below)); // closed
        }
        previous = item;
    }
    return count;
}

// The objects an update writes again or adds, by number.
using Changes = std::map<QPDFObjGen, Handle>;

// Qt embeds only the glyphs a document uses, but names each font as the
// whole face; readers know a subset by a tag of six capitals before its name.
void tagSubsetFonts(std::vector<QPDFPageObjectHelper> &pages, Changes &changes)
{
    std::set<QPDFObjGen> seen;
    int serial = 0;
    const auto rename = [](Handle dict, const char *key, const std::string &tag) {
        Handle name = dict.getKey(key);
        if (!name.isName() || name.getName().find('+') != std::string::npos)
            return false;
        dict.replaceKey(key, Handle::newName("/" + tag + "+" + name.getName().substr(1)));
        return true;
    };
    for (QPDFPageObjectHelper page : pages) {
        Handle fonts = page.getObjectHandle().getKey("/Resources").getKey("/Font");
        if (!fonts.isDictionary())
            continue;
        for (const std::string &key : fonts.getKeys()) {
            Handle font = fonts.getKey(key);
            if (!font.isIndirect() || !seen.insert(font.getObjGen()).second || !font.isDictionary() ||
                !font.getKey("/Subtype").isNameAndEquals("/Type0"))
                continue;
            std::string tag(6, 'A');
            for (int i = 5, n = serial++; i >= 0 && n > 0; --i, n /= 26)
                tag[size_t(i)] = char('A' + n % 26);
            if (rename(font, "/BaseFont", tag))
                changes[font.getObjGen()] = font;
            Handle descendants = font.getKey("/DescendantFonts");
            for (int i = 0; descendants.isArray() && i < descendants.getArrayNItems(); ++i) {
                Handle cid = descendants.getArrayItem(i);
                if (cid.isIndirect() && rename(cid, "/BaseFont", tag))
                    changes[cid.getObjGen()] = cid;
                if (Handle descriptor = cid.getKey("/FontDescriptor");
                    descriptor.isIndirect() && descriptor.isDictionary() && rename(descriptor, "/FontName", tag))
                    changes[descriptor.getObjGen()] = descriptor;
            }
        }
    }
}

// The offset of the last cross-reference section of the PDF file File.
qint64 lastXref(QFile &file)
{
    const qint64 tail = std::min<qint64>(file.size(), 1024);
    file.seek(file.size() - tail);
    const QByteArray end = file.read(tail);
    const qsizetype at = end.lastIndexOf("startxref");
    bool ok = false;
    const qint64 offset = at < 0 ? -1 : end.mid(at + 9).trimmed().split('\n').value(0).trimmed().toLongLong(&ok);
    if (!ok || offset <= 0)
        throw TzelException(QStringLiteral("The PDF writer left a file without a cross-reference table"));
    return offset;
}

} // namespace

void TzelPdfExtras::Apply(const QString &source, QIODevice &output) const
{
    // The writer's file is copied as it is, and what changes follows it as an
    // incremental update: rewriting a long document would cost more than
    // writing it did.
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        throw TzelException(QStringLiteral("Could not read the PDF file: %1").arg(file.errorString()));
    const qint64 previous = lastXref(file);
    try {
        QPDF pdf;
        pdf.processFile(source.toLocal8Bit().constData());
        Changes changes;
        std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(pdf).getAllPages();
        tagSubsetFonts(pages, changes);
        const auto add = [&](Handle object) {
            Handle indirect = pdf.makeIndirectObject(object);
            changes[indirect.getObjGen()] = indirect;
            return indirect;
        };
        Handle root = pdf.getRoot();
        if (!pages.empty()) {
            if (!Bookmarks.isEmpty()) {
                Handle outlines = add(Handle::newDictionary());
                outlines.replaceKey("/Type", Handle::newName("/Outlines"));
                outlines.replaceKey("/Count", Handle::newInteger(addBookmarks(add, pages, outlines, Bookmarks)));
                root.replaceKey("/Outlines", outlines);
                root.replaceKey("/PageMode", Handle::newName("/UseOutlines"));
                changes[root.getObjGen()] = root;
            }
            for (const Link &l : Links) {
                if (l.Page < 0 || size_t(l.Page) >= pages.size())
                    continue;
                Handle annot = add(Handle::newDictionary());
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
                changes[(annots.isIndirect() ? annots : page).getObjGen()] = annots.isIndirect() ? annots : page;
            }
        }
        Handle trailer = pdf.getTrailer();
        Handle info = trailer.getKey("/Info");
        if (!info.isDictionary() || !info.isIndirect())
            info = add(Handle::newDictionary());
        const auto set = [&info](const char *key, const QString &value) {
            if (!value.isEmpty())
                info.replaceKey(key, text(value));
        };
        set("/Title", Title);
        set("/Author", Author);
        set("/Subject", Subject);
        set("/Creator", Creator);
        changes[info.getObjGen()] = info;

        const auto put = [&output](const QByteArray &bytes) {
            if (output.write(bytes) != bytes.size())
                throw TzelException(QStringLiteral("Could not write the PDF file: %1").arg(output.errorString()));
        };
        file.seek(0);
        while (!file.atEnd())
            put(file.read(1 << 20));
        put("\n");
        // The objects, then a cross-reference section for them that leads
        // back to the writer's own.
        qint64 at = output.pos();
        std::map<int, qint64> offsets;
        for (auto &[id, object] : changes) {
            offsets[id.getObj()] = at;
            const QByteArray body = QByteArray::number(id.getObj()) + ' ' + QByteArray::number(id.getGen()) +
                                    " obj\n" + QByteArray::fromStdString(object.unparseResolved()) + "\nendobj\n";
            put(body);
            at += body.size();
        }
        QByteArray xref = "xref\n";
        for (auto it = offsets.begin(); it != offsets.end();) {
            auto end = it;
            int count = 0;
            while (end != offsets.end() && end->first == it->first + count) {
                ++end;
                ++count;
            }
            xref += QByteArray::number(it->first) + ' ' + QByteArray::number(count) + '\n';
            for (; it != end; ++it)
                xref += QByteArray::number(it->second).rightJustified(10, '0') + " 00000 n\r\n";
        }
        const long long size = std::max<long long>(trailer.getKey("/Size").getIntValue(), offsets.rbegin()->first + 1);
        Handle update = Handle::newDictionary();
        update.replaceKey("/Size", Handle::newInteger(size));
        update.replaceKey("/Root", root);
        update.replaceKey("/Info", info);
        update.replaceKey("/Prev", Handle::newInteger(previous));
        if (Handle id = trailer.getKey("/ID"); id.isArray())
            update.replaceKey("/ID", id);
        xref += "trailer\n" + QByteArray::fromStdString(update.unparse()) + "\nstartxref\n" +
                QByteArray::number(at) + "\n%%EOF\n";
        put(xref);
    } catch (const TzelException &) {
        throw;
    } catch (const std::exception &e) {
        throw TzelException(QStringLiteral("The PDF file could not be completed: %1").arg(QString::fromUtf8(e.what())));
    }
}
