#pragma once
/// \file

// What the parts of TzelPreviewPages share (zelpreviewpages*.cpp): section
// names of the document, small element helpers and the page cache entry.
// Not part of the library's interface.
#include "prepared/zelpreviewpages.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "base/xml/zelinvalidxmlexception.h"
#include "base/variant/zelformatsettings.h"
#include "base/xml/zelxmlitem.h"
#include "model/band/zelband.h"
#include "model/band/zelcolumnfooter.h"
#include "model/band/zelnullband.h"
#include "model/band/zeloverlay.h"
#include "model/band/zelpagefooter.h"
#include "model/band/zelpageheader.h"
#include "model/band/zelreporttitle.h"
#include "model/component/zelunits.h"
#include "model/io/zeliotransportfile.h"
#include "model/io/zelopentransport.h"
#include "model/page/zelreportpage.h"
#include "model/reflect/zelclassinfo.h"
#include "model/reflect/zelclassregistry.h"
#include "model/report/zelcustomcompressor.h"
#include "model/report/zelreport.h"
#include "model/serial/zelxmlserializer.h"
#include "model/view/zelcustommemoview.h"
#include "model/view/zelpictureview.h"
#include "model/report/zelcustomoutline.h"
#include "prepared/zelitemattributes.h"
#include "prepared/zeloutline.h"
#include "model/report/zelpagesengine.h"
#include "prepared/zelpicturecache.h"
#include "prepared/zelpostprocessor.h"
#include <QFile>
#include <QScopeGuard>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zelpages {

inline const QString kPreviewPages = QStringLiteral("previewpages"); ///< the root element of a stored report
inline const QString kAnchors = QStringLiteral("anchors"); ///< the anchors element
inline const QString kLogicalPages = QStringLiteral("logicalpagenumbers"); ///< the logical page numbers element
inline const QString kReport = QStringLiteral("report"); ///< the element holding the template
inline const QString kSourcePages = QStringLiteral("sourcepages"); ///< the source pages element
inline const QString kDictionary = QStringLiteral("dictionary"); ///< the dictionary element
inline const QString kPictureCache = QStringLiteral("picturecache"); ///< the picture cache element
inline const QString kPostProcessing = QStringLiteral("postprocessing"); ///< the post-processor's stored values element
inline const QString kCutted = QStringLiteral("cutted"); ///< the element holding objects CutObjects took off a page
inline const QString kPagePrefix = QStringLiteral("page"); ///< the prefix of pages stored as differences

/// "page" followed by a number: a page stored as differences from source page
/// Number. Anything else is a page stored whole, named by its class.
inline bool numberedPage(const QString &name, int *sourceIndex = nullptr)
{
    if (!name.startsWith(kPagePrefix))
        return false;
    bool ok = false;
    const int n = QStringView(name).mid(kPagePrefix.size()).toInt(&ok);
    if (sourceIndex)
        *sourceIndex = ok ? n : -1;
    return ok;
}


/// Whether C is a T.
template <class T>
bool is(const TzelComponent *c)
{
    return dynamic_cast<const T *>(c) != nullptr;
}

/// The geometry and visibility of Obj that differ from Source: all a page of
/// the first of two passes needs, since those pages are thrown away.
inline QString geometryDiff(const TzelComponent *obj, const TzelComponent *source)
{
    QString s;
    auto add = [&s](const char *name, double value) {
        s += u' ' + QLatin1StringView(name) + QStringLiteral("=\"") + zelFloatToStr(value) + u'"';
    };
    if (!zelSameCoord(obj->Left(), source->Left()))
        add("l", obj->Left());
    if (is<TzelBand>(obj) || !zelSameCoord(obj->Top(), source->Top()))
        add("t", obj->Top()); // bands always: pasting moves them by their top
    if (!zelSameCoord(obj->Width(), source->Width()))
        add("w", obj->Width());
    if (!zelSameCoord(obj->Height(), source->Height()))
        add("h", obj->Height());
    if (obj->Visible() != source->Visible())
        s += obj->Visible() ? QStringLiteral(" Visible=\"1\"") : QStringLiteral(" Visible=\"0\"");
    return s;
}

/// Points a report's picture objects at a picture store while they are stored.
class PictureStoreScope
{
public:
    /// Sets Report's picture store to Store until the scope ends.
    PictureStoreScope(TzelReport *report, TzelPictureStore *store)
        : FReport(report), FSaved(report ? report->PictureStore() : nullptr)
    {
        if (FReport)
            FReport->SetPictureStore(store);
    }
    ~PictureStoreScope()
    {
        if (FReport)
            FReport->SetPictureStore(FSaved);
    }
    PictureStoreScope(const PictureStoreScope &) = delete;
    PictureStoreScope &operator=(const PictureStoreScope &) = delete;

private:
    TzelReport *FReport;
    TzelPictureStore *FSaved;
};

/// Leaves a picture object's picture out of what is written while alive:
/// source copies and reference texts never carry pictures, the picture cache
/// holds them.
class WithoutPicture
{
public:
    /// Hides the picture of C while the guard lives (nothing when C is no picture object).
    explicit WithoutPicture(const TzelComponent *c) : FPicture(dynamic_cast<TzelPictureView *>(const_cast<TzelComponent *>(c)))
    {
        if (FPicture) {
            FSaved = FPicture->StorePicture;
            FPicture->StorePicture = false;
        }
    }
    ~WithoutPicture()
    {
        if (FPicture)
            FPicture->StorePicture = FSaved;
    }
    WithoutPicture(const WithoutPicture &) = delete;
    WithoutPicture &operator=(const WithoutPicture &) = delete;

private:
    TzelPictureView *FPicture;
    bool FSaved = true;
};

/// Number of elements below Item.
inline int countElements(const TzelXMLItem *item)
{
    int n = item->Count();
    for (int i = 0; i < item->Count(); ++i)
        n += countElements(item->Items(i));
    return n;
}

/// The element at Position (depth first, 1 = first child) below Item, or nullptr.
inline TzelXMLItem *elementAt(TzelXMLItem *item, int position)
{
    for (int i = 0; i < item->Count() && position > 0; ++i) {
        TzelXMLItem *child = item->Items(i);
        if (--position == 0)
            return child;
        const int below = countElements(child);
        if (position <= below)
            return elementAt(child, position);
        position -= below;
    }
    return nullptr;
}

/// The page class named Name, or the report page when Name is no page class.
inline const TzelClassInfo &newPageClass(const QString &name)
{
    const TzelClassInfo *cls = TzelClassRegistry::Find(name);
    return cls && cls->InheritsFrom(TzelReportPage::StaticClassInfo()) && cls->CanCreate()
               ? *cls
               : TzelReportPage::StaticClassInfo();
}

/// A page of the class named Name (see newPageClass).
inline TzelReportPage *newPageOfClass(const QString &name)
{
    return static_cast<TzelReportPage *>(newPageClass(name).Create());
}

/// Without leading blanks, an element reads back with the same text it was
/// written from, so a loaded report saves to the same bytes.
inline QString storedText(QString text)
{
    qsizetype blanks = 0;
    while (blanks < text.size() && text.at(blanks) == u' ')
        ++blanks;
    return blanks ? text.remove(0, blanks) : text;
}

} // namespace zelpages

/// A rebuilt page and, for ModifyObject, the element each of its objects was
/// read from.
struct TzelPreviewPages::CachedPage
{
    int Index; ///< -1 once detached from the pages
    std::unique_ptr<TzelReportPage> Page; ///< the page read back from the stream
    ElementMap Elements; ///< the element each object of Page was read from
};
