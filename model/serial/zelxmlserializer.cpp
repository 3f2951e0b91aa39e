#include "model/serial/zelxmlserializer.h"

#include "base/core/zelcaseless.h"
#include "base/core/zelcodepage.h"
#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "base/variant/zelformatsettings.h"
#include "base/xml/zelxmldocument.h"
#include "base/xml/zelxmlitem.h"
#include "base/xml/zelxmltext.h"
#include "base/stream/zeltextposition.h"
#include "model/component/zelcomponent.h"
#include "model/component/zelunits.h"
#include "model/component/zelreportcontext.h"
#include "model/reflect/zelclassregistry.h"
#include "model/serial/zelpropstream.h"
#include "model/serial/zelserialhooks.h"

#include <QBuffer>
#include <QStringBuilder>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <typeindex>
#include <unordered_map>

TzelNestedPropertiesOwner::~TzelNestedPropertiesOwner() = default;
TzelTextOwner::~TzelTextOwner() = default;

namespace {

QString badValue(QStringView name, QStringView value)
{
    return zelFormat(zelRes("xrBadValue"), {value.toString(), name.toString()});
}

// A cast from a reflected object to one of its bases or interfaces. Every
// dynamic type has one fixed layout, so the offset a dynamic_cast finds is
// kept per type: the cast runs for every object written or read, and a cross
// cast through a deep hierarchy costs far more than the lookup.
template <class I>
I *fastCast(const TzelPersistent *obj)
{
    if (!obj)
        return nullptr;
    static constexpr std::ptrdiff_t none = std::numeric_limits<std::ptrdiff_t>::min();
    thread_local std::unordered_map<std::type_index, std::ptrdiff_t> offsets;
    const std::type_index type(typeid(*obj));
    auto it = offsets.find(type);
    if (it == offsets.end()) {
        auto *target = dynamic_cast<const I *>(obj);
        const std::ptrdiff_t offset = target ? reinterpret_cast<const char *>(target) - reinterpret_cast<const char *>(obj)
                                             : none;
        it = offsets.emplace(type, offset).first;
    }
    if (it->second == none)
        return nullptr;
    return const_cast<I *>(reinterpret_cast<const I *>(reinterpret_cast<const char *>(obj) + it->second));
}

const QString inheritedName = QStringLiteral("inherited");

void appendAttr(QString &out, const QString &prefix, const QString &name, const QString &value)
{
    // One append: each piece appended alone would pay the growth check.
    out += u' ' % prefix % name % u"=\"" % value % u'"';
}

// Floats read back whichever decimal separator wrote them: every "," or "."
// is the decimal point and blanks are ignored.
bool readFloat(QStringView text, double &value)
{
    char buffer[64];
    qsizetype n = 0;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u' ')
            continue;
        if (u >= 0x80 || n == qsizetype(sizeof buffer))
            return false;
        buffer[n++] = u == u',' ? '.' : char(u);
    }
    const char *begin = buffer;
    if (n > 0 && *begin == '+')
        ++begin;
    const auto [end, ec] = std::from_chars(begin, buffer + n, value);
    return ec == std::errc() && end == buffer + n && n > 0 && std::isfinite(value);
}

// Position of the first dot of Name, or -1.
qsizetype indexOfDot(QStringView name)
{
    for (qsizetype i = 0; i < name.size(); ++i)
        if (name[i] == u'.')
            return i;
    return -1;
}

// Decimal integers as the format writes them; "$" and "0x" hexadecimal too.
bool readInt64(QStringView text, qint64 &value)
{
    // Plain decimals, by far the most common, are read in place.
    const qsizetype n = text.size();
    const bool negative = n > 0 && text[0] == u'-';
    if (n > qsizetype(negative) && n < 19) {
        qsizetype i = negative ? 1 : 0;
        qint64 v = 0;
        for (; i < n; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9')
                break;
            v = v * 10 + (c - u'0');
        }
        if (i == n) {
            value = negative ? -v : v;
            return true;
        }
    }
    text = text.trimmed();
    if (text.startsWith(u'$') || text.startsWith(u"0x", Qt::CaseInsensitive))
        return zelTryStrToInt64(text, value);
    bool ok = false;
    value = text.toLongLong(&ok, 10);
    return ok;
}

bool startsLikeNumber(QStringView text)
{
    text = text.trimmed();
    return !text.isEmpty() && (text.front().isDigit() || text.front() == u'-' || text.front() == u'$');
}

// The text form of a value of an ordinal kind.
QString ordinalText(const TzelPropInfo &prop, const Variant &v)
{
    switch (prop.Kind) {
    case TzelPropKind::Enum:
    case TzelPropKind::Boolean:
        return prop.Enum->NameOf(prop.Kind == TzelPropKind::Boolean ? (v.ToBool() ? 1 : 0) : v.ToInt());
    case TzelPropKind::Int64:
        return QString::number(v.ToInt64());
    case TzelPropKind::Set:
        return QString::number(v.ToInt64());
    default:
        return QString::number(v.ToInt());
    }
}

const TzelPropInfo *sameProperty(const TzelPersistent *ancestor, const TzelPropInfo &prop)
{
    return ancestor ? ancestor->ClassInfo().FindProperty(prop.Name) : nullptr;
}

} // namespace

TzelXMLSerializer::TzelXMLSerializer(QIODevice *stream)
    : Stream(stream)
{
}

TzelXMLSerializer::~TzelXMLSerializer() = default;

std::recursive_mutex &TzelXMLSerializer::ReadLock()
{
    static std::recursive_mutex lock;
    return lock;
}

// Writing.

void TzelXMLSerializer::WriteProperties(QString &out, const TzelPersistent *obj, const QString &prefix,
                                        const TzelPersistent *ancestor, bool writeName)
{
    const bool diff = ancestor && !SaveAncestorOnly;
    for (const TzelPropInfo *prop : obj->ClassInfo().Properties()) {
        const TzelPropInfo &p = *prop;
        if (p.Kind == TzelPropKind::Callback || !p.IsStored(*obj))
            continue;
        if (prefix.isEmpty() && p.Name == QLatin1StringView("Name") && fastCast<TzelComponent>(obj)) {
            // The name identifies the element: written whenever names are.
            const QString name = p.Get(*obj).ToString();
            if (writeName && !name.isEmpty())
                appendAttr(out, prefix, p.Name, name);
            continue;
        }
        const TzelPropInfo *ap = diff ? sameProperty(ancestor, p) : nullptr;

        switch (p.Kind) {
        case TzelPropKind::Object: {
            const TzelPersistent *nested = p.Nested(*obj);
            const TzelPersistent *nestedAncestor = ap && ap->Nested ? ap->Nested(*ancestor) : nullptr;
            const QString nestedPrefix = prefix % p.Name % u'.';
            WriteProperties(out, nested, nestedPrefix, nestedAncestor, true);
            AppendPropData(out, nestedPrefix, nested, nestedAncestor);
            break;
        }
        case TzelPropKind::ComponentRef: {
            const auto *ref = fastCast<TzelComponent>(p.GetRef(*obj));
            const auto *ancestorRef = ap ? fastCast<TzelComponent>(ap->GetRef(*ancestor)) : nullptr;
            if (ref) {
                if (!ancestorRef || ancestorRef->Name() != ref->Name())
                    appendAttr(out, prefix, p.Name, ref->Name());
            } else if (ancestorRef) {
                appendAttr(out, prefix, p.Name, QStringLiteral("nil"));
            }
            break;
        }
        case TzelPropKind::StringList: {
            const QString text = p.Get(*obj).ToString();
            if (!ap || ap->Get(*ancestor).ToString() != text)
                appendAttr(out, prefix, p.Name + QStringLiteral(".Text"), EscapeXMLText(text));
            break;
        }
        case TzelPropKind::Float: {
            const double v = p.Get(*obj).ToDouble();
            if (!ap || !zelSameCoord(ap->Get(*ancestor).ToDouble(), v))
                appendAttr(out, prefix, p.Name, zelFloatToStr(v));
            break;
        }
        case TzelPropKind::String:
        case TzelPropKind::Event:
        case TzelPropKind::Variant: {
            const Variant v = p.Get(*obj);
            const QString text = v.ToString();
            if (ap ? !Variant::Identical(ap->Get(*ancestor), v) : (p.Kind == TzelPropKind::Variant || !text.isEmpty()))
                appendAttr(out, prefix, p.Name, EscapeXMLText(text));
            break;
        }
        default: {
            const Variant v = p.Get(*obj);
            const bool skip = ap ? Variant::Identical(ap->Get(*ancestor), v)
                                 : (!SerializeDefaultValues && p.Default && Variant::Identical(v, *p.Default));
            if (!skip)
                appendAttr(out, prefix, p.Name, ordinalText(p, v));
            break;
        }
        }
    }
}

QString TzelXMLSerializer::ObjToXML(const TzelPersistent *obj, const QString &add, const TzelPersistent *ancestor)
{
    if (const auto *component = fastCast<TzelComponent>(obj); component && !ancestor && OnGetAncestor)
        ancestor = OnGetAncestor(component);
    return ObjectText(obj, add, ancestor, !IgnoreName);
}

QString TzelXMLSerializer::ObjectText(const TzelPersistent *obj, const QString &prefix,
                                      const TzelPersistent *ancestor, bool writeName)
{
    auto *component = fastCast<TzelComponent>(obj);
    if (component)
        component->SetIsWriting(true);
    QString out;
    out.reserve(512); // most objects' attributes fit: no regrowing on the way
    WriteProperties(out, obj, prefix, ancestor, writeName);
    if (const auto *text = fastCast<TzelTextOwner>(obj)) {
        const QString value = text->StoredText();
        const auto *ancestorText = fastCast<TzelTextOwner>(ancestor);
        if (!(ancestorText && ancestorText->StoredText() == value))
            appendAttr(out, prefix, QStringLiteral("Text"), EscapeXMLText(value));
    }
    const bool handlesNested = component && HandleNestedProperties
                               && component->qzComponentStyle.Contains(csHandlesNestedProperties);
    if (!handlesNested)
        AppendPropData(out, prefix, obj, ancestor);
    if (component)
        component->SetIsWriting(false);
    return out;
}

void TzelXMLSerializer::AppendPropData(QString &out, const QString &prefix, const TzelPersistent *obj,
                                       const TzelPersistent *ancestor)
{
    const QByteArray data = zelWritePropData(*obj);
    if (!data.isEmpty() && !(ancestor && zelWritePropData(*ancestor) == data))
        appendAttr(out, prefix, QStringLiteral("PropData"), QString::fromLatin1(data.toHex().toUpper()));
}

void TzelXMLSerializer::WriteElement(TzelXMLItem *item, const TzelComponent *c, bool isRoot, bool saveChildren)
{
    const TzelComponent *ancestor = OnGetAncestor ? OnGetAncestor(c) : nullptr;
    const bool inherited = OnGetAncestor && c->IsAncestor() && !isRoot;
    item->SetName(inherited ? inheritedName : c->ClassName());

    item->SetText(ObjectText(c, QString(), ancestor, !isRoot && !IgnoreName));
    const bool handlesNested = HandleNestedProperties && c->qzComponentStyle.Contains(csHandlesNestedProperties);
    if (handlesNested)
        if (const auto *owner = fastCast<TzelNestedPropertiesOwner>(c))
            owner->WriteNestedProperties(item, ancestor);
    if (saveChildren)
        for (const TzelComponent *child : c->Objects())
            WriteElement(item->Add(), child, false, true);
}

void TzelXMLSerializer::WriteRootComponent(TzelComponent *root, bool saveChildren, TzelXMLItem *item)
{
    if (item) {
        WriteElement(item, root, true, saveChildren);
        return;
    }
    TzelXMLDocument document;
    document.SetAutoIndent(true);
    WriteElement(document.Root(), root, true, saveChildren);
    if (OnSaveCustomData)
        OnSaveCustomData(document.Root()->Add(QStringLiteral("ZelCustomData")));
    document.SaveToStream(Stream);
}

void TzelXMLSerializer::WriteComponent(const TzelComponent *c, const TzelComponent *ancestor)
{
    Stream->write("<");
    Stream->write(WriteComponentStr(c, ancestor).toUtf8());
    Stream->write("/>");
}

QString TzelXMLSerializer::WriteComponentStr(const TzelComponent *c, const TzelComponent *ancestor)
{
    QString text = ObjToXML(c, QString(), ancestor);
    if (text.startsWith(u' '))
        text.remove(0, 1);
    return text.isEmpty() ? c->ClassName() : c->ClassName() + u' ' + text;
}

// Reading.

void TzelXMLSerializer::SetValue(TzelPersistent *obj, const TzelPropInfo &p, QStringView value)
{
    switch (p.Kind) {
    case TzelPropKind::Integer:
    case TzelPropKind::Char:
    case TzelPropKind::Color: {
        qint64 v;
        if (!readInt64(value, v) || v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<quint32>::max())
            throw TzelException(badValue(p.Name, value));
        if (p.SetNumber)
            p.SetNumber(*obj, qint32(v));
        else
            p.Set(*obj, Variant(qint32(v)));
        break;
    }
    case TzelPropKind::Int64: {
        qint64 v;
        if (!readInt64(value, v))
            throw TzelException(badValue(p.Name, value));
        p.Set(*obj, Variant(v));
        break;
    }
    case TzelPropKind::Set: {
        qint64 v;
        if (!readInt64(value, v) || v < 0 || v >= (qint64(1) << p.Enum->Count()))
            throw TzelException(badValue(p.Name, value));
        p.Set(*obj, Variant(v));
        break;
    }
    case TzelPropKind::Enum:
    case TzelPropKind::Boolean: {
        qint64 v = -1;
        if (!startsLikeNumber(value) || !readInt64(value, v))
            v = p.Enum->ValueOf(value);
        if (v < 0 || v >= p.Enum->Count())
            throw TzelException(badValue(p.Name, value));
        if (p.SetNumber)
            p.SetNumber(*obj, v);
        else
            p.Set(*obj, p.Kind == TzelPropKind::Boolean ? Variant(v != 0) : Variant(int(v)));
        break;
    }
    case TzelPropKind::Float: {
        double v;
        if (!readFloat(value, v))
            throw TzelException(badValue(p.Name, value));
        if (p.SetFloat)
            p.SetFloat(*obj, v);
        else
            p.Set(*obj, Variant(v));
        break;
    }
    case TzelPropKind::String:
    case TzelPropKind::Event:
    case TzelPropKind::Variant:
    case TzelPropKind::StringList:
        if (p.SetText)
            p.SetText(*obj, UnescapeXMLText(value));
        else
            p.Set(*obj, Variant(UnescapeXMLText(value)));
        break;
    case TzelPropKind::ComponentRef:
        Fixups.append({obj, &p, UnescapeXMLText(value), FCurrentItem});
        break;
    case TzelPropKind::Object:
    case TzelPropKind::Callback:
        break;
    }
}

void TzelXMLSerializer::ApplyAttribute(TzelPersistent *obj, TzelComponent *component, QStringView name,
                                       QStringView value)
{
    if (name.size() == 1 && component) {
        double v;
        switch (name.at(0).unicode()) {
        case u'l':
        case u't':
        case u'w':
        case u'h':
            if (!readFloat(value, v))
                throw TzelException(badValue(name, value));
            if (name == u"l")
                component->SetLeft(v);
            else if (name == u"t")
                component->SetTop(v);
            else if (name == u"w")
                component->SetWidth(v);
            else
                component->SetHeight(v);
            return;
        case u'x':
        case u'u':
            if (auto *text = fastCast<TzelTextOwner>(obj)) {
                QString s = UnescapeXMLText(value);
                if (name == u"u" && OldFormat)
                    s = QString::fromUtf8(zelEncodeSystemCodePage(s));
                text->SetStoredText(s);
            }
            return;
        default:
            break;
        }
    }

    // Follow dotted names through nested objects.
    TzelPersistent *current = obj;
    QStringView rest = name;
    for (qsizetype dot = indexOfDot(rest); dot > 0; dot = indexOfDot(rest)) {
        const QStringView part = rest.left(dot);
        const QStringView tail = rest.mid(dot + 1);
        const TzelPropInfo *p = Lookup(current->ClassInfo(), part);
        if (p && p->Kind == TzelPropKind::StringList && zelSameName(tail, u"Text")) {
            if (p->Set)
                p->Set(*current, Variant(UnescapeXMLText(value)));
            return;
        }
        if (!p || p->Kind != TzelPropKind::Object)
            break;
        current = p->Nested(*current);
        rest = tail;
    }

    if (zelSameName(rest, u"PropData")) {
        try {
            zelReadPropData(*current, QByteArray::fromHex(value.toLatin1()));
        } catch (const TzelException &e) {
            const QString owner = component ? component->Name() : obj->ClassInfo().ClassName();
            throw TzelException(zelFormat(zelRes("xrPropDataError"), {owner, e.message()}));
        }
        return;
    }
    if (zelSameName(rest, u"Text")) {
        if (auto *text = fastCast<TzelTextOwner>(current)) {
            QString s = UnescapeXMLText(value);
            if (OldFormat)
                s = QString::fromUtf8(zelEncodeSystemCodePage(s));
            text->SetStoredText(s);
            return;
        }
    }
    const TzelPropInfo *p = Lookup(current->ClassInfo(), rest);
    if (!p || !p->IsWritable())
        return;
    // A report takes no name from its template.
    if (current == obj && component && p->Name == QLatin1StringView("Name") && component->ReportRoot() == component)
        return;
    SetValue(current, *p, value);
}

// Objects of a class mostly carry the same attributes in the same order, so
// the property found for the n-th name of the last object of the class is
// tried first.
const TzelPropInfo *TzelXMLSerializer::Lookup(const TzelClassInfo &cls, QStringView name)
{
    const size_t n = FLookupIndex++;
    std::vector<LookupEntry> &lookups = *FLookups;
    if (n < lookups.size()) {
        const LookupEntry &e = lookups[n];
        if (e.Class == &cls && e.Name.size() == name.size()
            && std::memcmp(e.Name.constData(), name.data(), size_t(name.size()) * sizeof(QChar)) == 0)
            return e.Prop;
    } else {
        lookups.resize(n + 1);
    }
    LookupEntry &e = lookups[n];
    e.Class = &cls;
    e.Name = name.toString();
    e.Prop = cls.FindProperty(name);
    return e.Prop;
}

void TzelXMLSerializer::XMLToObj(const QString &s, TzelPersistent *obj)
{
    auto *component = fastCast<TzelComponent>(obj);
    std::vector<LookupEntry> *outerLookups = std::exchange(FLookups, &FLookupsByClass[&obj->ClassInfo()]);
    const size_t outerIndex = std::exchange(FLookupIndex, 0);
    const QStringView text(s);
    const qsizetype n = text.size();
    // Position of C at or after From, or N. A plain loop: the library's
    // search costs more to set up than these short runs take.
    const auto find = [&](char16_t c, qsizetype from) {
        while (from < n && text[from] != c)
            ++from;
        return from;
    };
    qsizetype i = 0;
    while (i < n) {
        while (i < n && text[i] == u' ')
            ++i;
        const qsizetype eq = find(u'=', i);
        const qsizetype open = find(u'"', eq);
        if (open >= n)
            break;
        const qsizetype close = find(u'"', open + 1);
        qsizetype nameEnd = eq;
        while (nameEnd > i && text[nameEnd - 1].isSpace())
            --nameEnd;
        const QStringView name = text.sliced(i, nameEnd - i);
        const QStringView value = text.sliced(open + 1, close - open - 1);
        i = close + 1;
        try {
            ApplyAttribute(obj, component, name, value);
        } catch (const TzelException &e) {
            AddError(e.message(), obj, name, FCurrentItem);
        }
    }
    FLookups = outerLookups;
    FLookupIndex = outerIndex;
}

void TzelXMLSerializer::AddError(const QString &message, const TzelPersistent *obj, QStringView attribute,
                                 const TzelXMLItem *item, qint64 offset)
{
    Errors.Add(message);
    TzelLocatedError error;
    error.Message = message;
    error.Where = zelPathOf(obj);
    if (!attribute.isEmpty())
        error.Where += (error.Where.isEmpty() ? QString() : QStringLiteral(".")) + attribute.toString();
    LocatedErrors << error;
    FErrorPlaces << ErrorPlace{item, attribute.toString(), offset};
}

// Gives each error the line and column of its element, or of its attribute
// in the element's start tag, and puts them in file order.
void TzelXMLSerializer::PlaceErrors(const TzelXMLDocument &document)
{
    if (LocatedErrors.isEmpty())
        return;
    const QHash<const TzelXMLItem *, qint64> starts = document.ElementStarts();
    QList<std::pair<qint64, TzelLocatedError>> placed;
    for (qsizetype i = 0; i < LocatedErrors.size(); ++i) {
        TzelLocatedError error = LocatedErrors[i];
        const auto &[item, attribute, offset] = FErrorPlaces[i];
        const qint64 start = item ? starts.value(item, -1) : offset;
        if (start >= 0) {
            const TzelTextPosition place = zelTextPosition(Stream, start);
            error.Line = place.Line;
            error.Column = place.Column;
            if (item && !attribute.isEmpty())
                MoveToAttribute(error, *item, attribute);
        }
        placed << std::pair{start < 0 ? std::numeric_limits<qint64>::max() : start, error};
    }
    std::stable_sort(placed.begin(), placed.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    LocatedErrors.clear();
    for (const auto &p : placed)
        LocatedErrors << p.second;
    FErrorPlaces.clear();
}

// From the place of Item's "<" to the place of its attribute Attribute: the
// start tag is "<", the name, a blank and the item's text as read.
void TzelXMLSerializer::MoveToAttribute(TzelLocatedError &error, const TzelXMLItem &item, const QString &attribute)
{
    const QString &text = item.Text();
    qsizetype at = -1;
    for (qsizetype from = text.indexOf(attribute + u'=', 0, Qt::CaseInsensitive); from >= 0;
         from = text.indexOf(attribute + u'=', from + 1, Qt::CaseInsensitive)) {
        if (from == 0 || text.at(from - 1).isSpace()) {
            at = from;
            break;
        }
    }
    if (at < 0)
        return;
    const QStringView before = QStringView(text).left(at);
    if (const qsizetype newline = before.lastIndexOf(u'\n'); newline >= 0) {
        error.Line += int(before.count(u'\n'));
        error.Column = int(at - newline);
    } else {
        error.Column += int(item.Name().size() + 2 + at);
    }
}

void TzelXMLSerializer::WalkElement(TzelXMLItem *item, TzelComponent *parent, TzelComponent *root,
                                    QList<TzelComponent *> &touched)
{
    const QString &elementName = item->Name();
    if (elementName.compare(QLatin1StringView("ZelCustomData"), Qt::CaseInsensitive) == 0) {
        if (OnGetCustomData)
            OnGetCustomData(item);
        return;
    }
    const bool inherited = elementName == inheritedName;
    const TzelClassInfo *cls = inherited ? nullptr : TzelClassRegistry::Find(elementName);
    if (!inherited && !cls) {
        AddError(zelRes("xrCantFindClass") + u' ' + elementName, parent, {}, item);
        return;
    }

    TzelComponent *obj = nullptr;
    if (!parent) {
        obj = root;
    } else {
        if (!IgnoreName) {
            const QString name = item->Prop(QStringLiteral("Name"));
            if (!name.isEmpty())
                obj = NameOwner(root)->FindObject(name);
        }
        if (obj && inherited) {
            // Inherited objects follow the order of the file. An element
            // nested in its own object is refused before the object leaves
            // the tree, where nothing would free it.
            for (const TzelComponent *p = parent; p; p = p->Parent())
                if (p == obj)
                    throw TzelException(zelRes("clCirRefNotAllow"));
            obj->SetParent(nullptr);
            obj->SetParent(parent);
        } else if (!obj) {
            if (inherited)
                return;
            std::unique_ptr<TzelPersistent> made(cls->Create());
            auto *component = fastCast<TzelComponent>(made.get());
            if (!component) {
                AddError(zelRes("xrCantFindClass") + u' ' + elementName, parent, {}, item);
                return;
            }
            made.release();
            component->SetParent(parent);
            obj = component;
        }
    }

    obj->SetIsLoading(true);
    FCurrentItem = item;
    XMLToObj(item->Text(), obj);
    FCurrentItem = nullptr;
    touched << obj;

    const bool handlesNested = HandleNestedProperties && obj->qzComponentStyle.Contains(csHandlesNestedProperties);
    auto *nested = handlesNested ? fastCast<TzelNestedPropertiesOwner>(obj) : nullptr;
    for (int i = 0; i < item->Count(); ++i) {
        TzelXMLItem *child = item->Items(i);
        if (nested && nested->ReadNestedProperty(child))
            continue;
        WalkElement(child, obj, root, touched);
    }
}

void TzelXMLSerializer::ResolveFixups()
{
    for (const Fixup &f : std::as_const(Fixups)) {
        if (f.Name.compare(QLatin1StringView("nil"), Qt::CaseInsensitive) == 0) {
            f.Prop->SetRef(*f.Object, nullptr);
            continue;
        }
        TzelComponent *owner = Owner;
        if (!owner)
            if (auto *c = fastCast<TzelComponent>(f.Object))
                owner = c->Parent() ? c->TopParent() : c;
        // A setter may refuse the reference (a circular child chain): that
        // costs this reference only.
        if (TzelComponent *target = owner ? owner->FindObject(f.Name) : nullptr) {
            try {
                f.Prop->SetRef(*f.Object, target);
            } catch (const TzelException &e) {
                AddError(e.message(), f.Object, f.Prop->Name, f.Item);
            }
        }
    }
    Fixups.clear();
}

void TzelXMLSerializer::ReadRootComponent(TzelComponent *root, TzelXMLItem *item)
{
    TzelXMLDocument document;
    if (!item) {
        document.SetKeepTruncated(true);
        document.SetTrackElementStarts(true);
        document.LoadFromStream(Stream, false);
        OldFormat = document.OldVersion();
        item = document.Root();
    }
    QList<TzelComponent *> touched;
    WalkElement(item, nullptr, root, touched);
    ResolveFixups();
    if (document.Truncated())
        AddError(zelRes("xrTruncated"), nullptr, {}, nullptr, Stream->size());
    PlaceErrors(document);
    for (TzelComponent *c : std::as_const(touched)) {
        c->SetIsLoading(false);
        if (c->ReportRoot() != c)
            c->Loaded();
    }
}

TzelComponent *TzelXMLSerializer::ReadComponentStr(TzelComponent *root, const QString &s, bool dontFixup)
{
    const qsizetype blank = s.indexOf(u' ');
    const QString className = blank < 0 ? s : s.left(blank);
    const TzelClassInfo *cls = TzelClassRegistry::Find(className);
    std::unique_ptr<TzelPersistent> made(cls ? cls->Create() : nullptr);
    auto *component = fastCast<TzelComponent>(made.get());
    if (!component) {
        AddError(zelRes("xrCantFindClass") + u' ' + className, root, {}, nullptr);
        return nullptr;
    }
    made.release();
    component->SetParent(root);
    component->SetIsLoading(true);
    if (blank >= 0)
        XMLToObj(s.mid(blank + 1), component);
    component->SetIsLoading(false);
    if (!dontFixup)
        ResolveFixups();
    return component;
}

TzelComponent *TzelXMLSerializer::ReadComponent(TzelComponent *root)
{
    // One element, "<Class attributes/>", read as text.
    QByteArray tag;
    char c;
    while (Stream->getChar(&c) && c != '<') {
    }
    while (Stream->getChar(&c) && c != '>')
        tag.append(c);
    if (tag.endsWith('/'))
        tag.chop(1);
    return ReadComponentStr(root, OldFormat ? zelDecodeSystemCodePage(tag) : QString::fromUtf8(tag));
}

void TzelXMLSerializer::ReadPersistentStr(TzelComponent *root, TzelPersistent *obj, const QString &s)
{
    TzelComponent *saved = Owner;
    if (!Owner)
        Owner = root;
    XMLToObj(s, obj);
    ResolveFixups();
    Owner = saved;
}

// Components.

void TzelXMLSerializer::SaveComponent(const TzelComponent *component, QIODevice *stream, bool saveChildren,
                                      bool saveDefaultValues, bool streaming)
{
    TzelXMLSerializer serializer(stream);
    serializer.HandleNestedProperties = true;
    serializer.SaveAncestorOnly = component->AncestorOnlyStream;
    serializer.SerializeDefaultValues = saveDefaultValues;
    serializer.Owner = component->ReportRoot();
    const TzelReportContext *report = const_cast<TzelComponent *>(component)->AsReportContext();
    if (report && report->ParentTemplate() && !streaming) {
        const TzelComponent *parent = report->ParentTemplate();
        serializer.OnGetAncestor = [component, parent](const TzelComponent *c) -> const TzelComponent * {
            if (c == component)
                return parent;
            return c->IsAncestor() && !c->Name().isEmpty() ? parent->FindObject(c->Name()) : nullptr;
        };
    }
    serializer.WriteRootComponent(const_cast<TzelComponent *>(component), saveChildren);
}

QList<TzelLocatedError> TzelXMLSerializer::LoadComponent(TzelComponent *component, QIODevice *stream)
{
    if (!component->AncestorOnlyStream)
        component->Clear();
    TzelXMLSerializer serializer(stream);
    serializer.HandleNestedProperties = true;
    serializer.Owner = component->ReportRoot();
    serializer.ReadRootComponent(component);
    return serializer.LocatedErrors;
}
