#include "model/view/zelcustommemoview.h"

#include "base/resources/zelresources.h"
#include "base/xml/zelxmlitem.h"
#include "base/xml/zelxmltext.h"
#include "model/component/zeldiffwriter.h"
#include "model/reflect/zelpublisher.h"
#include "model/component/zelreportcontext.h"
#include "model/serial/zelxmlserializer.h"
#include "model/style/zelstyleitem.h"
#include "model/style/zelstyles.h"
#include "model/view/zelmemolayout.h"

namespace {

const QString formatsName = QStringLiteral("Formats");
const QString highlightsName = QStringLiteral("Highlights");
const QString itemName = QStringLiteral("item");
const QString inheritedNameAttr = QStringLiteral("InheritedName");
const QString uniqueIndexAttr = QStringLiteral("uin");

// Highlights have no name of their own; across inheritance they are known by
// their unique index.
QString inheritedName(int uniqueIndex)
{
    return QStringLiteral("zelUIN") + QString::number(uniqueIndex);
}

QString attribute(const QString &name, const QString &value)
{
    return QStringLiteral(" ") + name + QStringLiteral("=\"") + value + QStringLiteral("\"");
}

} // namespace

TzelCustomMemoView::TzelCustomMemoView(TzelComponent *owner)
    : TzelStretcheable(owner)
{
    qzComponentStyle.Exclude(csDefaultDiff);
    qzComponentStyle.Include(csHandlesNestedProperties);
}

TzelCustomMemoView::~TzelCustomMemoView() = default;

QString TzelCustomMemoView::GetDescription() const
{
    return zelResources().Get(QStringLiteral("obText"));
}

QString TzelCustomMemoView::Text() const
{
    return zelJoinLines(Memo);
}

void TzelCustomMemoView::SetText(const QString &value)
{
    Memo = zelSplitLines(value);
}

void TzelCustomMemoView::SetStyle(const QString &value)
{
    FStyle = value;
    // A template stores the look the object had; reading it must not
    // overwrite that look with the style's.
    if (IsLoading())
        return;
    if (const TzelReportContext *report = Context())
        if (const TzelStyleItem *style = report->FindStyle(value))
            style->ApplyTo(*this);
}

void TzelCustomMemoView::SetUnderlines(bool value)
{
    if (!value)
        UnderlinesTextMode = ulmNone;
    else if (UnderlinesTextMode == ulmNone)
        UnderlinesTextMode = ulmUnderlinesAll;
}

TzelCustomMemoView *TzelCustomMemoView::FlowTo() const
{
    return FFlowTo.Get();
}

void TzelCustomMemoView::SetFlowTo(TzelCustomMemoView *value)
{
    FFlowTo = value;
}

TzelFormat &TzelCustomMemoView::DisplayFormat()
{
    return *(FFormats.Count() ? FFormats.Items(0) : FFormats.Add());
}

TzelHighlight &TzelCustomMemoView::Highlight()
{
    return *(FHighlights.Count() ? FHighlights.Items(0) : FHighlights.Add());
}

QString TzelCustomMemoView::Diff(const TzelComponent *other)
{
    QString s = TzelStretcheable::Diff(other);
    const auto *o = dynamic_cast<const TzelCustomMemoView *>(other);
    if (!o)
        return s;
    TzelDiffWriter d(s);
    d.Bool("AutoWidth", AutoWidth, o->AutoWidth);
    d.Float("CharSpacing", CharSpacing, o->CharSpacing);
    d.Float("GapX", GapX, o->GapX);
    d.Float("GapY", GapY, o->GapY);
    d.Enum("HAlign", HAlign, o->HAlign);
    d.Float("LineSpacing", LineSpacing, o->LineSpacing);
    d.Bool("UseDefaultCharset", UseDefaultCharset, o->UseDefaultCharset);
    d.Add("u", EscapeXMLText(Text()));
    if (!Hint.isEmpty())
        d.Add("Hint", EscapeXMLText(Hint));
    d.Float("ParagraphGap", ParagraphGap, o->ParagraphGap);
    d.Int("Rotation", FRotation, o->FRotation);
    d.Bool("RTLReading", RTLReading, o->RTLReading);
    d.Enum("UnderlinesTextMode", UnderlinesTextMode, o->UnderlinesTextMode);
    d.Enum("VAlign", VAlign, o->VAlign);
    d.Bool("WordWrap", WordWrap, o->WordWrap);
    if (FFormats.Count() == 1) {
        const TzelFormat none;
        const TzelFormat &f = *FFormats.Items(0);
        const TzelFormat &of = o->FFormats.Count() ? *o->FFormats.Items(0) : none;
        TzelDiffWriter format(d, "DisplayFormat");
        format.Properties(f, of, {"Kind", "DecimalSeparator", "ThousandSeparator", "FormatStr"});
    }
    if (FirstParaBreak)
        d.Add("FirstParaBreak", TzelDiffWriter::BoolText(true));
    if (LastParaBreak)
        d.Add("LastParaBreak", TzelDiffWriter::BoolText(true));
    FirstParaBreak = LastParaBreak;
    LastParaBreak = false;
    return s;
}

// Collections.

void TzelCustomMemoView::WriteNestedProperties(TzelXMLItem *item, const TzelComponent *ancestor) const
{
    TzelXMLSerializer serializer;
    if (FFormats.Count() > 1) {
        TzelXMLItem *list = item->Add(formatsName);
        for (int i = 0; i < FFormats.Count(); ++i)
            list->Add(itemName)->SetText(serializer.ObjToXML(FFormats.Items(i)));
    }
    if (FHighlights.Count() > 1) {
        const auto *ancestorMemo = dynamic_cast<const TzelCustomMemoView *>(ancestor);
        TzelXMLItem *list = item->Add(highlightsName);
        for (int i = 0; i < FHighlights.Count(); ++i) {
            const TzelHighlight &h = *FHighlights.Items(i);
            const TzelHighlight *inherited = ancestorMemo ? ancestorMemo->FHighlights.FindByUniqueIndex(h.UniqueIndex)
                                                          : nullptr;
            QString text;
            if (inherited)
                text = attribute(inheritedNameAttr, inheritedName(h.UniqueIndex));
            text += serializer.ObjToXML(&h, QString(), inherited);
            text += attribute(uniqueIndexAttr, QString::number(h.UniqueIndex));
            list->Add(itemName)->SetText(text);
        }
    }
}

void TzelCustomMemoView::CopyNestedProperties(const TzelComponent &source)
{
    const auto &memo = static_cast<const TzelCustomMemoView &>(source);
    FFormats = memo.FFormats;
    FHighlights = memo.FHighlights;
}

bool TzelCustomMemoView::ReadNestedProperty(TzelXMLItem *item)
{
    if (item->Name().compare(formatsName, Qt::CaseInsensitive) == 0) {
        ReadFormats(item);
        return true;
    }
    if (item->Name().compare(highlightsName, Qt::CaseInsensitive) == 0) {
        ReadHighlights(item);
        return true;
    }
    return false;
}


void TzelCustomMemoView::ReadFormats(TzelXMLItem *item)
{
    // Formats are not matched across inheritance: the file's list replaces ours.
    FFormats.Clear();
    TzelXMLSerializer serializer;
    for (int i = 0; i < item->Count(); ++i)
        serializer.XMLToObj(item->Items(i)->Text(), FFormats.Add());
    // The errors met in a collection join the report's, as those of the
    // object's own attributes do.
    KeepErrors(serializer.LocatedErrors);
}

void TzelCustomMemoView::ReadHighlights(TzelXMLItem *item)
{
    const bool inherits = IsAncestor();
    if (!inherits)
        FHighlights.Clear();
    TzelXMLSerializer serializer;
    for (int i = 0; i < item->Count(); ++i) {
        TzelXMLItem *entry = item->Items(i);
        const QString name = entry->Prop(inheritedNameAttr);
        TzelHighlight *h = nullptr;
        if (inherits && !name.isEmpty()) {
            for (int j = 0; j < FHighlights.Count() && !h; ++j)
                if (inheritedName(FHighlights.Items(j)->UniqueIndex).compare(name, Qt::CaseInsensitive) == 0)
                    h = FHighlights.Items(j);
            if (!h)
                continue;
        } else {
            h = FHighlights.Add();
        }
        serializer.XMLToObj(entry->Text(), h);
        bool ok = false;
        const int uin = entry->Prop(uniqueIndexAttr).toInt(&ok);
        if (ok)
            h->UniqueIndex = uin;
    }
    KeepErrors(serializer.LocatedErrors);
}

void TzelCustomMemoView::Publish(TzelPublisher<TzelCustomMemoView> &p)
{
    using T = TzelCustomMemoView;
    p.Prop("FirstParaBreak", &T::FirstParaBreak).Default(false);
    p.Prop("LastParaBreak", &T::LastParaBreak).Default(false);
    p.Prop("Cursor", &TzelView::Cursor).Default(0).Type("TCursor");
    p.Prop("TagStr", &TzelView::TagStr);
    p.Prop("URL", &TzelView::URL, &TzelView::SetURL).NotStored();
}

void TzelCustomMemoView::BeforePrint()
{
    TzelStretcheable::BeforePrint();
    if (!IsDataField())
        FTempMemo = Memo;
    FTempFirstParaBreak = FirstParaBreak;
    FTempLastParaBreak = LastParaBreak;
}

void TzelCustomMemoView::AfterPrint()
{
    if (!IsDataField())
        Memo = FTempMemo;
    FirstParaBreak = FTempFirstParaBreak;
    LastParaBreak = FTempLastParaBreak;
    FPartMemo.clear();
    FPartParaBreak = false;
    TzelStretcheable::AfterPrint();
}

double TzelCustomMemoView::CalcHeight() const
{
    const TzelMemoLayout &layout = zelMemoLayout();
    return layout.CalcHeight ? layout.CalcHeight(*this) : TzelStretcheable::CalcHeight();
}

void TzelCustomMemoView::InitPart()
{
    if (const TzelMemoLayout &layout = zelMemoLayout(); layout.InitPart)
        layout.InitPart(*this);
}

double TzelCustomMemoView::DrawPart()
{
    const TzelMemoLayout &layout = zelMemoLayout();
    return layout.DrawPart ? layout.DrawPart(*this) : TzelStretcheable::DrawPart();
}
