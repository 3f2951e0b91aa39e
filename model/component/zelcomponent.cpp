#include "model/component/zelcomponent.h"
#include "model/component/zelunits.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "base/variant/zelformatsettings.h"
#include "model/component/zeldiffwriter.h"
#include "model/component/zelinteractiveparams.h"
#include "model/component/zelnameindex.h"
#include "base/core/zelerrorlist.h"
#include "model/component/zelreportcontext.h"
#include "model/serial/zelcomponentcopier.h"
#include "model/serial/zelxmlserializer.h"

#include <QBuffer>

#include <algorithm>
#include <cmath>

namespace {

bool isIdentifier(const QString &name)
{
    if (name.isEmpty() || name.at(0).isDigit())
        return false;
    return std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c.isLetterOrNumber() || c == u'_'; });
}

} // namespace

TzelComponent::TzelComponent(TzelComponent *owner)
{
    FFont.OnChange = [this] { FontChanged(); };
    if (owner)
        SetParent(owner);
}

TzelComponent::~TzelComponent()
{
    // A root drops its index first, so that freeing the tree costs no upkeep.
    FNames.reset();
    SetParent(nullptr);
    while (!FObjects.isEmpty())
        delete FObjects.last();
}

void TzelComponent::Publish(TzelPublisher<TzelComponent> &p)
{
    p.Prop("Name", &TzelComponent::Name, &TzelComponent::SetName).Type("TComponentName");
    p.Prop("Tag", &TzelComponent::Tag).Default(0);
}

// Names.

TzelNameIndex *TzelComponent::RootIndex()
{
    TzelComponent *root = FParent ? TopParent() : this;
    if (!root->FNames) {
        root->FNames = std::make_unique<TzelNameIndex>();
        root->EnterNames(*root->FNames);
    }
    return root->FNames.get();
}

void TzelComponent::EnterNames(TzelNameIndex &index)
{
    if (!FName.isEmpty())
        index.Add(FName, this);
    for (TzelComponent *c : std::as_const(FObjects))
        c->EnterNames(index);
}

void TzelComponent::RemoveNames(TzelNameIndex &index)
{
    if (!FName.isEmpty())
        index.Remove(FName, this);
    for (TzelComponent *c : std::as_const(FObjects))
        c->RemoveNames(index);
}

void TzelComponent::SetName(const QString &value)
{
    if (value.compare(FName, Qt::CaseInsensitive) == 0)
        return;
    if (!value.isEmpty() && !isIdentifier(value))
        throw TzelException(zelFormat(zelRes("clInvalidName"), {value}));
    TzelComponent *root = FParent ? TopParent() : this;
    if (!value.isEmpty() && ReportRoot()) {
        TzelComponent *holder = RootIndex()->Find(value);
        if (holder && holder != this)
            throw TzelDuplicateNameError(zelRes("prDupl"));
    }
    if (FIsAncestor)
        throw TzelException(zelFormat(zelRes("clCantRen"), {FName}));
    if (TzelNameIndex *index = root->FNames.get()) {
        if (!FName.isEmpty())
            index->Remove(FName, this);
        if (!value.isEmpty())
            index->Add(value, this);
    }
    FName = value;
}

void TzelComponent::CreateUniqueName(TzelComponent *defaultReport)
{
    TzelComponent *ownRoot = FParent ? TopParent() : this;
    TzelNameIndex *index = defaultReport ? defaultReport->RootIndex() : RootIndex();
    QList<QString> entered;
    if (defaultReport) {
        // The default report's names count while the name is made, and so do
        // those of the whole tree this component sits in.
        QList<TzelComponent *> tree = ownRoot->AllObjects();
        tree.prepend(ownRoot);
        for (TzelComponent *c : std::as_const(tree))
            if (!c->FName.isEmpty() && !index->Contains(c->FName)) {
                index->Add(c->FName, c);
                entered << c->FName;
            }
    }

    const QString base = BaseName();
    int n = 1;
    if (index->Count() >= 4) {
        const QString low = base + u'0';
        const QString high = base + u'A';
        index->Add(low, nullptr);
        index->Add(high, nullptr);
        n = index->CountBetween(low, high);
        while (n > 0 && !index->Contains(base + QString::number(n)))
            --n;
    }
    while (index->Contains(base + QString::number(n)))
        ++n;
    const QString name = base + QString::number(n);

    TzelNameIndex *target = (defaultReport && defaultReport->RootIndex() != ownRoot->RootIndex())
                                ? ownRoot->RootIndex() : index;
    if (TzelNameIndex *own = ownRoot->FNames.get(); own && !FName.isEmpty())
        own->Remove(FName, this);
    FName = name;
    target->Add(name, this);

    for (const QString &e : std::as_const(entered))
        index->RemoveName(e);
}

QString TzelComponent::BaseName() const
{
    QString name = ClassName();
    if (const qsizetype i = name.indexOf(QLatin1StringView("Tzel")); i >= 0)
        name.remove(i, 4);
    if (const qsizetype i = name.indexOf(QLatin1StringView("View")); i >= 0)
        name.remove(i, 4);
    return name;
}

TzelComponent *TzelComponent::FindObject(const QString &name) const
{
    if (name.isEmpty())
        return nullptr;
    if (!FParent && ReportRoot() == this) {
        // Names are unique inside a report, so its index answers at once.
        TzelComponent *found = const_cast<TzelComponent *>(this)->RootIndex()->Find(name);
        return found != this ? found : nullptr;
    }
    const QList<TzelComponent *> all = AllObjects();
    for (TzelComponent *c : all)
        if (c->FName.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

// The tree.

void TzelComponent::SetParent(TzelComponent *value)
{
    if (value == FParent)
        return;
    for (const TzelComponent *p = value; p; p = p->FParent)
        if (p == this)
            throw TzelException(zelRes("clCirRefNotAllow"));

    if (TzelComponent *old = FParent) {
        if (TzelNameIndex *index = TopParent()->FNames.get())
            RemoveNames(*index);
        old->FObjects.removeOne(this);
        FParent = nullptr;
        old->ObjectsChanged(this, false);
    }
    if (value) {
        FNames.reset();
        FParent = value;
        value->FObjects.append(this);
        if (TzelNameIndex *index = TopParent()->FNames.get())
            EnterNames(*index);
        value->ObjectsChanged(this, true);
        if (FParentFont)
            ApplyParentFont();
    }
}

void TzelComponent::MoveChild(TzelComponent *child, int index)
{
    const qsizetype from = FObjects.indexOf(child);
    if (from >= 0)
        FObjects.move(from, std::clamp<qsizetype>(index, 0, FObjects.size() - 1));
}

QList<TzelComponent *> TzelComponent::AllObjects() const
{
    QList<TzelComponent *> list;
    AllObjectsInto(list);
    return list;
}

void TzelComponent::AllObjectsInto(QList<TzelComponent *> &list) const
{
    for (TzelComponent *c : FObjects) {
        list << c;
        c->AllObjectsInto(list);
    }
}

TzelComponent *TzelComponent::TopParent() const
{
    if (!FParent)
        return nullptr;
    TzelComponent *p = FParent;
    while (p->FParent)
        p = p->FParent;
    return p;
}

QString TzelComponent::Path() const
{
    QStringList names;
    for (const TzelComponent *c = this; c && c->FParent; c = c->FParent)
        names.prepend(c->FName.isEmpty() ? c->ClassInfo().ClassName() : c->FName);
    return names.join(u'.');
}

QString zelPathOf(const TzelPersistent *obj)
{
    if (const auto *c = dynamic_cast<const TzelComponent *>(obj))
        return c->Path();
    return obj ? obj->ClassInfo().ClassName() : QString();
}

TzelComponent *TzelComponent::ReportRoot() const
{
    for (const TzelComponent *c = this; c; c = c->FParent)
        if (const_cast<TzelComponent *>(c)->AsReportContext())
            return const_cast<TzelComponent *>(c);
    return nullptr;
}

TzelReportContext *TzelComponent::Context() const
{
    TzelComponent *root = ReportRoot();
    return root ? root->AsReportContext() : nullptr;
}

TzelComponent *TzelComponent::Owner() const
{
    TzelComponent *root = ReportRoot();
    return root == this ? nullptr : root;
}

void TzelComponent::Clear()
{
    // A root lets its index go at once, rather than keep it up while its
    // objects go one by one; it is made again when next needed.
    if (!FParent)
        FNames.reset();
    const QList<TzelComponent *> children = FObjects;
    for (TzelComponent *c : children) {
        if (c->FIsAncestor)
            c->Clear();
        else
            delete c;
    }
    if (!FParent)
        FNames.reset();
}

// Bounds.

void TzelComponent::SetLeft(double value)
{
    if (FIsDesigning && Restrictions().Contains(rfDontMove))
        return;
    FLeft = value;
}

void TzelComponent::SetTop(double value)
{
    if (FIsDesigning && Restrictions().Contains(rfDontMove))
        return;
    FTop = value;
}

void TzelComponent::SetWidth(double value)
{
    if (FIsDesigning && Restrictions().Contains(rfDontSize))
        return;
    if (!FObjects.isEmpty() && std::fabs(value - FWidth) > 0.01)
        UpdateAnchors(value - FWidth, 0);
    FWidth = value;
}

void TzelComponent::SetHeight(double value)
{
    if (FIsDesigning && Restrictions().Contains(rfDontSize))
        return;
    if (!FObjects.isEmpty() && std::fabs(value - FHeight) > 0.01)
        UpdateAnchors(0, value - FHeight);
    FHeight = value;
}

void TzelComponent::SetBounds(double left, double top, double width, double height)
{
    SetLeft(left);
    SetTop(top);
    SetWidth(width);
    SetHeight(height);
}

void TzelComponent::UpdateAnchors(double dx, double dy)
{
    if (FAnchorsGuard)
        return;
    FAnchorsGuard = true;
    struct Release { bool &flag; ~Release() { flag = false; } } release{FAnchorsGuard};
    // An object anchored to neither edge keeps its relative place.
    auto apply = [](double d, bool nearEdge, bool farEdge, double pos, double size, auto setPos, auto setSize) {
        if (d == 0)
            return;
        if (farEdge) {
            if (nearEdge)
                setSize(size + d);
            else
                setPos(pos + d);
        } else if (!nearEdge) {
            setPos(pos + std::nearbyint(d / 1.18));
        }
    };
    const QList<TzelComponent *> children = FObjects;
    for (TzelComponent *c : children) {
        const TzelAnchors a = c->Anchors();
        apply(dx, a.Contains(fraLeft), a.Contains(fraRight), c->Left(), c->Width(),
              [c](double v) { c->SetLeft(v); }, [c](double v) { c->SetWidth(v); });
        apply(dy, a.Contains(fraTop), a.Contains(fraBottom), c->Top(), c->Height(),
              [c](double v) { c->SetTop(v); }, [c](double v) { c->SetHeight(v); });
    }
}

void TzelComponent::SetAnchors(TzelAnchors value)
{
    FAnchors = value;
}

double TzelComponent::AbsLeft() const
{
    return FParent && !FParent->KeepsChildCoordinates() ? FLeft + FParent->AbsLeft() : FLeft;
}

double TzelComponent::AbsTop() const
{
    return FParent && !FParent->KeepsChildCoordinates() ? FTop + FParent->AbsTop() : FTop;
}

void TzelComponent::SetVisible(bool value)
{
    FVisible = value;
}

// Fonts.

void TzelComponent::SetFont(const TzelFont &value)
{
    FFont = value;
}

void TzelComponent::SetParentFont(bool value)
{
    FParentFont = value;
    if (value && FParent)
        ApplyParentFont();
}

void TzelComponent::ApplyParentFont()
{
    // Taking the parent's font is not a change of one's own font.
    FFontGuard = true;
    FFont = FParent->FFont;
    FFontGuard = false;
}

void TzelComponent::FontChanged()
{
    if (!FFontGuard)
        FParentFont = false;
    for (TzelComponent *c : std::as_const(FObjects))
        if (c->FParentFont)
            c->ApplyParentFont();
}

// Differences.

QString TzelComponent::Diff(const TzelComponent *other)
{
    QString s;
    TzelDiffWriter d(s);
    d.Float("l", FLeft, other->FLeft);
    if (DiffAlwaysWritesTop())
        d.Add("t", zelFloatToStr(FTop));
    else
        d.Float("t", FTop, other->FTop);
    if (!DiffSkipsWidth())
        d.Float("w", FWidth, other->FWidth);
    d.Float("h", FHeight, other->FHeight);
    d.Bool("Visible", FVisible, other->FVisible);
    if (!FParentFont) {
        const TzelFont &f = FFont;
        const TzelFont &o = other->FFont;
        d.String("Font.Name", f.Name(), o.Name());
        d.Int("Font.Size", f.Size(), o.Size());
        d.Int("Font.Color", f.Color(), o.Color());
        d.Set("Font.Style", f.Style(), o.Style());
        d.Int("Font.Charset", f.Charset(), o.Charset());
    }
    d.Bool("ParentFont", FParentFont, other->FParentFont);
    d.Int("Tag", Tag, other->Tag);
    d.Bool("AllowMirrorMode", AllowMirrorMode, other->AllowMirrorMode);
    return s;
}

QString TzelComponent::AllDiff(const TzelComponent *other)
{
    TzelXMLSerializer serializer;
    serializer.IgnoreName = true;
    serializer.SerializeDefaultValues = !other;
    QString s = serializer.ObjToXML(this, QString(), other);
    if (other)
        s += Diff(other);
    if (IsNullBand()) {
        // Always placed, but each attribute once: a repeated name would make
        // the element malformed XML.
        TzelDiffWriter d(s);
        if (!s.contains(QLatin1StringView(" l=\"")))
            d.Add("l", zelFloatToStr(FLeft));
        if (!s.contains(QLatin1StringView(" t=\"")))
            d.Add("t", zelFloatToStr(FTop));
    }
    return s;
}

// Copying.

void TzelComponent::Assign(const TzelComponent *source)
{
    if (!source || source == this)
        return;
    TzelComponentCopier copier(ReportRoot());
    copier.CopyProperties(*source, *this, false);
    copier.ResolveReferences();
    KeepErrors(copier.Errors);
}

void TzelComponent::AssignAll(const TzelComponent *source)
{
    if (!source || source == this)
        return;
    TzelComponent *root = ReportRoot();
    TzelComponentCopier copier(root ? root : this);
    copier.CopyTree(*source, *this);
    KeepErrors(copier.Errors);
}

void TzelComponent::KeepErrors(const QList<TzelLocatedError> &errors)
{
    if (TzelReportContext *context = Context())
        for (const TzelLocatedError &e : errors)
            context->Errors().Add(e);
}

void TzelComponent::AssignAllWithOriginals(const TzelComponent *source)
{
    AssignAll(source);
    QList<TzelComponent *> mine = AllObjects();
    mine.prepend(this);
    QList<TzelComponent *> theirs = source->AllObjects();
    theirs.prepend(const_cast<TzelComponent *>(source));
    for (qsizetype i = 0; i < mine.size() && i < theirs.size(); ++i) {
        mine[i]->AliasName = theirs[i]->AliasName;
        mine[i]->OriginalComponent = theirs[i]->OriginalComponent;
    }
}

void TzelComponent::SaveToStream(QIODevice *stream, bool saveChildren, bool saveDefaultValues, bool streaming)
{
    TzelXMLSerializer::SaveComponent(this, stream, saveChildren, saveDefaultValues, streaming);
}

bool TzelComponent::LoadFromStream(QIODevice *stream)
{
    try {
        KeepErrors(TzelXMLSerializer::LoadComponent(this, stream));
        return true;
    } catch (const TzelException &e) {
        KeepErrors({TzelLocatedError{QString(), 0, 0, Path(), e.message()}});
        return false;
    }
}

// Mirroring and alignment.

void TzelComponent::DoMirror(TzelMirrorControlModes modes)
{
    if (modes.Contains(mcmOnlyAllowed) && !FIsSelected && !AllowMirrorMode)
        return;
    MirrorContent(modes);
    if (!FParent)
        return;
    const bool leaf = FObjects.isEmpty();
    const bool band = MirrorsAsBand();
    if ((modes.Contains(mcmRTLObjects) && leaf) || (modes.Contains(mcmRTLBands) && band))
        SetLeft(FParent->Width() - (FLeft + FWidth));
    if ((modes.Contains(mcmBTTObjects) && leaf) || (modes.Contains(mcmBTTBands) && band))
        SetTop(FParent->Height() - (FTop + FHeight));
}

void TzelComponent::AlignChildren(bool ignoreInvisible, TzelMirrorControlModes modes)
{
    QList<TzelComponent *> aligned;
    for (TzelComponent *c : std::as_const(FObjects))
        if (c->AlignMode() != baHidden && (!ignoreInvisible || c->Visible()))
            aligned << c;
    for (TzelComponent *c : std::as_const(aligned))
        c->DoMirror(modes);

    // Only neighbours aligned to each other need the order; without them
    // (most containers of a built page) each child just aligns its own.
    const bool sideAligned = std::any_of(aligned.cbegin(), aligned.cend(), [](const TzelComponent *c) {
        const TzelAlign a = c->AlignMode();
        return a == baLeft || a == baRight || a == baWidth;
    });
    // Sorted by a text key of Left, as the layout has always been ordered;
    // each key is made once.
    QList<TzelComponent *> sorted;
    if (sideAligned) {
        QList<std::pair<QString, TzelComponent *>> keyed;
        keyed.reserve(aligned.size());
        for (TzelComponent *c : std::as_const(aligned)) {
            const double left = c->Left();
            keyed.append({(left >= 0 ? QStringLiteral("1") : QStringLiteral("0")) +
                              QString::asprintf("%9.2f", left >= 0 ? left : -left),
                          c});
        }
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        sorted.reserve(keyed.size());
        for (const auto &k : std::as_const(keyed))
            sorted << k.second;
    }

    const double clientWidth = FWidth;
    const double clientHeight = FHeight;
    auto overlapsVertically = [](const TzelComponent *a, const TzelComponent *b) {
        return a->Top() < b->Top() + b->Height() - zelFloatTolerance
               && b->Top() < a->Top() + a->Height() - zelFloatTolerance;
    };

    for (qsizetype i = 0; i < sorted.size(); ++i) {
        TzelComponent *c = sorted[i];
        const TzelAlign a = c->AlignMode();
        if (a != baLeft && a != baWidth)
            continue;
        TzelComponent *neighbour = nullptr;
        for (qsizetype j = i - 1; j >= 0 && !neighbour; --j) {
            TzelComponent *n = sorted[j];
            if (n == c || !overlapsVertically(c, n))
                continue;
            if (a == baLeft || n->Left() <= c->Left())
                neighbour = n;
        }
        c->SetLeft(neighbour ? neighbour->Left() + neighbour->Width() : 0);
    }

    for (qsizetype i = sorted.size() - 1; i >= 0; --i) {
        TzelComponent *c = sorted[i];
        const TzelAlign a = c->AlignMode();
        if (a != baRight && a != baWidth)
            continue;
        TzelComponent *neighbour = nullptr;
        for (qsizetype j = i + 1; j < sorted.size() && !neighbour; ++j) {
            TzelComponent *n = sorted[j];
            if (n == c || !overlapsVertically(c, n))
                continue;
            if (a == baRight || n->Left() + n->Width() >= c->Left() + c->Width())
                neighbour = n;
        }
        const double edge = neighbour ? neighbour->Left() : clientWidth;
        if (a == baRight)
            c->SetLeft(edge - c->Width());
        else
            c->SetWidth(edge - c->Left());
    }

    for (TzelComponent *c : std::as_const(aligned)) {
        switch (c->AlignMode()) {
        case baCenter:
            c->SetLeft((clientWidth - c->Width()) / 2);
            break;
        case baBottom:
            c->SetTop(clientHeight - c->Height());
            break;
        case baClient:
            c->SetBounds(0, 0, clientWidth, clientHeight);
            break;
        default:
            break;
        }
        c->AlignChildren(ignoreInvisible, modes);
    }
}

// Hit testing.

bool TzelComponent::IsContain(double x, double y) const
{
    double l = AbsLeft(), t = AbsTop(), w = FWidth, h = FHeight;
    if (w == 0) {
        l -= 4;
        w = 8;
    } else if (h == 0) {
        t -= 4;
        h = 8;
    }
    const QRectF r = QRectF(l, t, w, h).normalized();
    return x >= r.left() && x <= r.right() && y >= r.top() && y <= r.bottom();
}

bool TzelComponent::IsInRect(const QRectF &rect) const
{
    const QRectF r = QRectF(AbsLeft(), AbsTop(), FWidth, FHeight).normalized();
    const QRectF a = rect.normalized();
    return r.left() <= a.right() && a.left() <= r.right() && r.top() <= a.bottom() && a.top() <= r.bottom();
}

TzelComponent *TzelComponent::GetContainedComponent(double x, double y, TzelComponent *canContain)
{
    const bool contains = IsContain(x, y);
    if (!contains && FObjects.isEmpty())
        return nullptr;
    for (qsizetype i = FObjects.size() - 1; i >= 0; --i) {
        TzelComponent *found = FObjects[i]->GetContainedComponent(x, y, canContain);
        if (found && !found->IsNullBand())
            return found;
    }
    if ((contains || FObjects.isEmpty()) && canContain != this && IsAcceptControl(canContain))
        return this;
    return nullptr;
}

void TzelComponent::GetContainedComponents(const QRectF &rect, const TzelClassInfo &inheritFrom,
                                           QList<TzelComponent *> &components, bool selectContainers)
{
    const bool overlaps = IsInRect(rect);
    if (!overlaps && FObjects.isEmpty())
        return;
    if (!components.contains(this) && (selectContainers || !qzComponentStyle.Contains(csObjectsContainer))
        && (FObjects.isEmpty() || overlaps) && InheritsFrom(inheritFrom))
        components << this;
    for (TzelComponent *c : std::as_const(FObjects))
        c->GetContainedComponents(rect, inheritFrom, components, false);
}

bool TzelComponent::IsAcceptControl(const TzelComponent *control) const
{
    if (!control)
        return true;
    return IsAcceptControls() && control != this && control->IsAcceptAsChild(this)
           && !control->qzComponentStyle.Contains(csContained);
}

// Interactive routing.

bool TzelComponent::RoutingAllowed(const TzelInteractiveEventsParams &params) const
{
    return params.EventSender != esPreview || (Editable.Contains(ferAllowInPreview) && !params.EditRestricted);
}

template <class Handler>
void TzelComponent::Route(double x, double y, TzelInteractiveEventsParams &params, Handler handler)
{
    if (!RoutingAllowed(params))
        return;
    if (handler(*this))
        params.Handled = this;
    if (params.FireParentEvent && FParent && FParent->IsContain(x, y)) {
        params.FireParentEvent = false;
        handler(*FParent);
    }
}

void TzelComponent::MouseDown(double x, double y, TzelInteractiveEventsParams &params)
{
    Route(x, y, params, [&](TzelComponent &c) { return c.DoMouseDown(x, y, params); });
}

void TzelComponent::MouseMove(double x, double y, TzelInteractiveEventsParams &params)
{
    Route(x, y, params, [&](TzelComponent &c) { return c.DoMouseMove(x, y, params); });
}

void TzelComponent::MouseUp(double x, double y, TzelInteractiveEventsParams &params)
{
    Route(x, y, params, [&](TzelComponent &c) { return c.DoMouseUp(x, y, params); });
}

void TzelComponent::MouseClick(double x, double y, TzelInteractiveEventsParams &params)
{
    Route(x, y, params, [&](TzelComponent &c) { return c.DoMouseClick(x, y, params); });
}

void TzelComponent::MouseWheel(double x, double y, int delta, TzelInteractiveEventsParams &params)
{
    Route(x, y, params, [&](TzelComponent &c) { return c.DoMouseWheel(x, y, delta, params); });
}

void TzelComponent::MouseEnter(TzelInteractiveEventsParams &params)
{
    if (!RoutingAllowed(params) || FMouseInside)
        return;
    if (FParent && !FParent->FMouseInside)
        FParent->MouseEnter(params);
    FMouseInside = true;
    DoMouseEnter(params);
}

void TzelComponent::MouseLeave(TzelInteractiveEventsParams &params)
{
    if (!RoutingAllowed(params) || !FMouseInside)
        return;
    for (TzelComponent *c : std::as_const(FObjects))
        c->MouseLeave(params);
    FMouseInside = false;
    DoMouseLeave(params);
}

TzelReportContext::~TzelReportContext() = default;
