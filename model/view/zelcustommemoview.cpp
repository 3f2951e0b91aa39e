#include "model/view/zelcustommemoview.h"

#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "base/core/zelerrorlist.h"
#include "base/xml/zelxmlitem.h"
#include "base/xml/zelxmltext.h"
#include "model/component/zeldiffwriter.h"
#include "model/reflect/zelpublisher.h"
#include "model/component/zelreportcontext.h"
#include "model/serial/zelxmlserializer.h"
#include "model/style/zelstyleitem.h"
#include "model/style/zelstyles.h"
#include "model/view/zelexpressiontext.h"
#include "model/view/zelmemolayout.h"
#include "base/variant/zelformatroutines.h"
#include "base/variant/zelformatsettings.h"
#include "model/data/zeldataset.h"
#include "model/data/zelvariables.h"

#include <array>
#include <cmath>
#include <optional>

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

// HideZeros hides numbers that are zero, or closer to it than Precision;
// never texts ("0" from a text field).
bool isZero(const Variant &value, double precision)
{
    if (value.IsNull() || value.IsEmpty() || value.IsString() || value.IsArray())
        return false;
    try {
        const double d = value.ToDouble();
        return precision > 0 ? std::abs(d) < precision : d == 0;
    } catch (const TzelException &) {
        return false;
    }
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
    // The memo the text flowed into gets its design back.
    if (const std::unique_ptr<FlowTarget> saved = std::move(FFlowSaved))
        if (TzelCustomMemoView *next = FlowTo()) {
            next->Memo = saved->Memo;
            next->AllowExpressions = saved->AllowExpressions;
        }
    if (const std::unique_ptr<SavedLook> saved = std::move(FHighlightSaved)) {
        SetFont(saved->Font);
        SetParentFont(saved->ParentFont);
        SetFill(saved->Fill.Fill());
        SetFrame(saved->Frame);
        SetVisible(saved->Visible);
    }
    if (!IsDataField())
        Memo = FTempMemo;
    FirstParaBreak = FTempFirstParaBreak;
    LastParaBreak = FTempLastParaBreak;
    FPartMemo.clear();
    FPartParaBreak = false;
    TzelStretcheable::AfterPrint();
}

void TzelCustomMemoView::GetData()
{
    TzelStretcheable::GetData();
    TzelReportContext *report = Context();
    if (!report)
        return;
    if (IsDataField() && DataSet()->IsBlobField(DataField)) {
        // A memo field's text, stored as bytes: UTF-16 for wide memos, else UTF-8.
        QByteArray blob;
        DataSet()->AssignBlobTo(DataField, blob);
        const QString text = DataSet()->IsWideMemoBlobField(DataField)
                                 ? QString::fromUtf16(reinterpret_cast<const char16_t *>(blob.constData()),
                                                      blob.size() / 2)
                                 : QString::fromUtf8(blob);
        Value = Variant(text);
        SetText(text);
    } else if (IsDataField()) {
        Value = DataSet()->GetValue(DataField);
        const bool formatted = FFormats.Count() && FFormats.Items(0)->Kind != fkText;
        QString text = formatted ? FormatData(Value) : DataSet()->GetDisplayText(DataField);
        if (HideZeros && isZero(Value, report->ZeroPrecision()))
            text.clear();
        SetText(text);
    } else if (AllowExpressions && HasOpeningDelimiter()) {
        const TzelExpressionDelimiters delimiters = TzelExpressionDelimiters::FromText(ExpressionDelimiters);
        const QString text = Text();
        qsizetype begin = 0, end = 0;
        if (delimiters.Find(text, 0, begin, end))
            SetText(delimiters.Expand(text, [this](const QString &expression, int index) {
                return ExpandExpression(expression, index);
            }));
    }
    report->SetLocalValue(Value);
    for (int i = 0; i < FHighlights.Count(); ++i) {
        const TzelHighlight &highlight = *FHighlights.Items(i);
        if (highlight.HasCondition() && report->Calc(highlight.Condition).ToBool()) {
            ApplyHighlight(highlight);
            break;
        }
    }
    if (SuppressRepeated) {
        const QString text = Text();
        if (FLastValue.IsString() && FLastValue.ToString() == text)
            SetText(QString());
        else
            FLastValue = Variant(text);
    }
    // What does not fit flows on into the next memo, taken as it is.
    if (TzelCustomMemoView *next = FlowTo(); next && next != this) {
        if (!FFlowSaved)
            FFlowSaved = std::make_unique<FlowTarget>(FlowTarget{next->Memo, next->AllowExpressions});
        InitPart();
        DrawPart();
        next->SetText(FPartMemo);
        next->AllowExpressions = false;
        FPartMemo.clear();
    }
}

void TzelCustomMemoView::ApplyHighlight(const TzelHighlight &highlight)
{
    if (!FHighlightSaved) {
        FHighlightSaved = std::make_unique<SavedLook>();
        FHighlightSaved->Font = Font();
        FHighlightSaved->ParentFont = ParentFont();
        FHighlightSaved->Fill.SetFill(Fill());
        FHighlightSaved->Frame = Frame();
        FHighlightSaved->Visible = Visible();
    }
    if (highlight.ApplyFont)
        SetFont(highlight.Font());
    if (highlight.ApplyFill)
        SetFill(highlight.Fill());
    if (highlight.ApplyFrame)
        SetFrame(highlight.Frame());
    SetVisible(highlight.Visible);
}

bool TzelCustomMemoView::HasOpeningDelimiter() const
{
    // Most texts hold no expression: they are looked at without copying.
    const qsizetype comma = ExpressionDelimiters.indexOf(QLatin1Char(','));
    const QStringView open = QStringView(ExpressionDelimiters).left(comma < 0 ? ExpressionDelimiters.size() : comma);
    if (open.isEmpty())
        return false;
    for (const QString &line : Memo)
        if (line.contains(open))
            return true;
    return false;
}

QString TzelCustomMemoView::ExpandExpression(const QString &expression, int index)
{
    // Drawing completes the page total and the copy name.
    const QStringView name = QStringView(expression).trimmed();
    if (name.compare(QLatin1String("TOTALPAGES#"), Qt::CaseInsensitive) == 0
        || name.compare(QLatin1String("COPYNAME#"), Qt::CaseInsensitive) == 0)
        return QLatin1Char('[') + expression.trimmed() + QLatin1Char(']');
    const TzelFormat *format = FFormats.Count() ? FFormats.Items(qMin(index, FFormats.Count() - 1)) : nullptr;
    std::optional<TzelFormat> written;
    QString code = expression;
    // "[expr #n0.00]": a format written after the expression.
    if (const qsizetype hash = expression.lastIndexOf(QStringLiteral(" #"));
        hash >= 0 && hash + 2 < expression.size() && !expression.mid(hash + 2).contains(QLatin1Char(')'))) {
        code = expression.left(hash);
        const QChar kind = expression.at(hash + 2).toUpper();
        QString pattern = expression.mid(hash + 3);
        written.emplace();
        written->Kind = kind == QLatin1Char('N') ? fkNumeric
                      : kind == QLatin1Char('D') || kind == QLatin1Char('T') ? fkDateTime
                      : kind == QLatin1Char('B') ? fkBoolean
                                                 : fkText;
        if (written->Kind == fkNumeric)
            for (QChar &c : pattern)
                if (c == QLatin1Char(',') || c == QLatin1Char('-') || c == QLatin1Char('.')) {
                    written->DecimalSeparator = c;
                    c = QLatin1Char('.');
                }
        written->FormatStr = pattern;
        format = &*written;
    }
    TzelReportContext *report = Context();
    Value = report->Calc(code);
    if (HideZeros && isZero(Value, report->ZeroPrecision()))
        return QString();
    return FormatData(Value, format);
}

QString TzelCustomMemoView::FormatData(const Variant &value, const TzelFormat *format) const
{
    if (value.IsNull() || value.IsEmpty())
        return QString();
    if (!format)
        format = FFormats.Count() ? FFormats.Items(0) : nullptr;
    if (!format || format->Kind == fkText)
        return value.ToString();
    try {
        const QString &pattern = format->FormatStr;
        switch (format->Kind) {
        case fkNumeric: {
            const TzelFormatSettings &settings = zelFormatSettings();
            QString text;
            if (pattern.contains(QLatin1Char('#')) || pattern.startsWith(QLatin1Char('0')))
                text = zelFormatFloat(pattern, value.ToDouble());
            else if (pattern.contains(QLatin1Char('d')) || pattern.contains(QLatin1Char('u')))
                text = zelFormatValues(pattern, std::array{Variant(value.ToInt64())});
            else
                text = zelFormatValues(pattern, std::array{Variant(value.ToDouble())});
            if (format->DecimalSeparator.size() == 1 && format->DecimalSeparator.at(0) != settings.DecimalSeparator)
                if (const qsizetype at = text.lastIndexOf(settings.DecimalSeparator); at >= 0)
                    text[at] = format->DecimalSeparator.at(0);
            if (format->ThousandSeparator.size() == 1
                && format->ThousandSeparator.at(0) != settings.ThousandSeparator)
                text.replace(settings.ThousandSeparator, format->ThousandSeparator.at(0));
            return text;
        }
        case fkDateTime:
            return zelFormatDateTime(pattern, value.ToDate());
        case fkBoolean: {
            // True takes the part after the comma; anything else the part before.
            const qsizetype comma = pattern.indexOf(QLatin1Char(','));
            const bool isTrue = value.VarType() == varBoolean ? value.ToBool()
                                : !value.IsString() && value.ToDouble() != 0;
            return isTrue ? pattern.mid(comma + 1) : pattern.left(qMax<qsizetype>(comma, 0));
        }
        case fkText:
            break;
        }
    } catch (const TzelException &) {
        // A value the format cannot take prints as it is, and the report
        // says so once per object and format.
        if (TzelReportContext *report = Context()) {
            const QString message = zelFormat(zelRes("clFormatMismatch"), {Name(), format->FormatStr});
            if (!report->Errors().Contains(message))
                report->Errors().Add(message);
        }
    }
    return value.ToString();
}

double TzelCustomMemoView::CalcHeight() const
{
    const TzelMemoLayout &layout = zelMemoLayout();
    return layout.CalcHeight ? layout.CalcHeight(*this) : TzelStretcheable::CalcHeight();
}

double TzelCustomMemoView::CalcWidth() const
{
    const TzelMemoLayout &layout = zelMemoLayout();
    return layout.CalcWidth ? layout.CalcWidth(*this) : Width();
}

void TzelCustomMemoView::ExtractMacros()
{
    static const QString totalPages = QStringLiteral("[TOTALPAGES#]");
    static const QString copyName = QStringLiteral("[COPYNAME#]");
    QString copy;
    bool copyNamed = false;
    for (QString &line : Memo) {
        if (!line.contains(QLatin1Char('#')))
            continue;
        line.replace(totalPages, QString::number(TotalPages), Qt::CaseInsensitive);
        if (line.contains(copyName, Qt::CaseInsensitive)) {
            if (!copyNamed) {
                const Variant name = zelGlobalVariables().Value(QStringLiteral("CopyName") + QString::number(CopyNo));
                copy = name.IsNull() ? QString() : name.ToString();
                copyNamed = true;
            }
            line.replace(copyName, copy, Qt::CaseInsensitive);
        }
    }
}

void TzelCustomMemoView::FitAutoWidth()
{
    if (!AutoWidth)
        return;
    const double width = CalcWidth();
    double left = Left();
    if (HAlign == haRight)
        left += Width() - width;
    else if (HAlign == haCenter)
        left += (Width() - width) / 2;
    SetBounds(left, Top(), width, Height());
    if (TzelComponent *parent = Parent())
        parent->AlignChildren();
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
