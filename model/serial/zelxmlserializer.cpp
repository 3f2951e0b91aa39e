#include "model/serial/zelxmlserializer.h"

#include "base/core/zelcodepage.h"
#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "base/variant/zelformatsettings.h"
#include "base/xml/zelxmldocument.h"
#include "base/xml/zelxmlitem.h"
#include "base/xml/zelxmltext.h"
#include "model/component/zelcomponent.h"
#include "model/report/zelreport.h"
#include "model/reflect/zelclassregistry.h"
#include "model/serial/zelpropstream.h"
#include "model/serial/zelserialhooks.h"

#include <QBuffer>
#include <cmath>

TzelNestedPropertiesOwner::~TzelNestedPropertiesOwner() = default;
TzelTextOwner::~TzelTextOwner() = default;

namespace {

QString res(const char *key)
{
    return zelResources().Get(QString::fromLatin1(key));
}

QString badValue(QStringView name, const QString &value)
{
    return zelFormat(res("xrBadValue"), {value, name.toString()});
}

const QString inheritedName = QStringLiteral("inherited");

void appendAttr(QString &out, const QString &prefix, const QString &name, const QString &value)
{
    out += u' ';
    out += prefix;
    out += name;
    out += QStringLiteral("=\"");
    out += value;
    out += u'"';
}

// Floats read back whichever decimal separator wrote them.
bool readFloat(QString text, double &value)
{
    text.remove(u' ');
    text.replace(u',', u'.');
    bool ok = false;
    value = text.toDouble(&ok);
    return ok && std::isfinite(value);
}

bool readInt64(QStringView text, qint64 &value)
{
    bool ok = false;
    value = text.trimmed().toLongLong(&ok);
    return ok || zelTryStrToInt64(text, value);
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
        if (prefix.isEmpty() && p.Name == QLatin1StringView("Name") && dynamic_cast<const TzelComponent *>(obj)) {
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
            const QString nestedPrefix = prefix + p.Name + u'.';
            WriteProperties(out, nested, nestedPrefix, nestedAncestor, true);
            AppendPropData(out, nestedPrefix, nested, nestedAncestor);
            break;
        }
        case TzelPropKind::ComponentRef: {
            const auto *ref = dynamic_cast<const TzelComponent *>(p.GetRef(*obj));
            const auto *ancestorRef = ap ? dynamic_cast<const TzelComponent *>(ap->GetRef(*ancestor)) : nullptr;
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
            if (!ap || std::fabs(ap->Get(*ancestor).ToDouble() - v) > 0.000001)
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
                                 : (!SerializeDefaultValues && p.HoldsDefault(*obj));
            if (!skip)
                appendAttr(out, prefix, p.Name, ordinalText(p, v));
            break;
        }
        }
    }
}

QString TzelXMLSerializer::ObjToXML(const TzelPersistent *obj, const QString &add, const TzelPersistent *ancestor)
{
    if (const auto *component = dynamic_cast<const TzelComponent *>(obj); component && !ancestor && OnGetAncestor)
        ancestor = OnGetAncestor(component);
    return ObjectText(obj, add, ancestor, !IgnoreName);
}

QString TzelXMLSerializer::ObjectText(const TzelPersistent *obj, const QString &prefix,
                                      const TzelPersistent *ancestor, bool writeName)
{
    auto *component = const_cast<TzelComponent *>(dynamic_cast<const TzelComponent *>(obj));
    if (component)
        component->SetIsWriting(true);
    QString out;
    WriteProperties(out, obj, prefix, ancestor, writeName);
    if (const auto *text = dynamic_cast<const TzelTextOwner *>(obj)) {
        const QString value = text->StoredText();
        const auto *ancestorText = dynamic_cast<const TzelTextOwner *>(ancestor);
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
        if (const auto *owner = dynamic_cast<const TzelNestedPropertiesOwner *>(c))
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

void TzelXMLSerializer::SetValue(TzelPersistent *obj, const TzelPropInfo &p, const QString &value)
{
    switch (p.Kind) {
    case TzelPropKind::Integer:
    case TzelPropKind::Char:
    case TzelPropKind::Color: {
        qint64 v;
        if (!readInt64(value, v) || v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<quint32>::max())
            throw TzelException(badValue(p.Name, value));
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
        qint64 v;
        if (!readInt64(value, v))
            v = p.Enum->ValueOf(value);
        if (v < 0 || v >= p.Enum->Count())
            throw TzelException(badValue(p.Name, value));
        p.Set(*obj, p.Kind == TzelPropKind::Boolean ? Variant(v != 0) : Variant(int(v)));
        break;
    }
    case TzelPropKind::Float: {
        double v;
        if (!readFloat(value, v))
            throw TzelException(badValue(p.Name, value));
        p.Set(*obj, Variant(v));
        break;
    }
    case TzelPropKind::String:
    case TzelPropKind::Event:
    case TzelPropKind::Variant:
    case TzelPropKind::StringList:
        p.Set(*obj, Variant(UnescapeXMLText(value)));
        break;
    case TzelPropKind::ComponentRef:
        Fixups.append({obj, &p, UnescapeXMLText(value)});
        break;
    case TzelPropKind::Object:
    case TzelPropKind::Callback:
        break;
    }
}

void TzelXMLSerializer::ApplyAttribute(TzelPersistent *obj, QStringView name, const QString &value)
{
    auto *component = dynamic_cast<TzelComponent *>(obj);
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
            if (auto *text = dynamic_cast<TzelTextOwner *>(obj)) {
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
    for (qsizetype dot = rest.indexOf(u'.'); dot > 0; dot = rest.indexOf(u'.')) {
        const QStringView part = rest.left(dot);
        const QStringView tail = rest.mid(dot + 1);
        const TzelPropInfo *p = current->ClassInfo().FindProperty(part);
        if (p && p->Kind == TzelPropKind::StringList && tail.compare(u"Text", Qt::CaseInsensitive) == 0) {
            if (p->Set)
                p->Set(*current, Variant(UnescapeXMLText(value)));
            return;
        }
        if (!p || p->Kind != TzelPropKind::Object)
            break;
        current = p->Nested(*current);
        rest = tail;
    }

    if (rest.compare(u"PropData", Qt::CaseInsensitive) == 0) {
        zelReadPropData(*current, QByteArray::fromHex(value.toLatin1()));
        return;
    }
    if (rest.compare(u"Text", Qt::CaseInsensitive) == 0) {
        if (auto *text = dynamic_cast<TzelTextOwner *>(current)) {
            QString s = UnescapeXMLText(value);
            if (OldFormat)
                s = QString::fromUtf8(zelEncodeSystemCodePage(s));
            text->SetStoredText(s);
            return;
        }
    }
    const TzelPropInfo *p = current->ClassInfo().FindProperty(rest);
    if (!p || !p->IsWritable())
        return;
    if (p->Name == QLatin1StringView("Name") && current == obj && component && !component->Parent()
        && component->ClassInfo().InheritsFrom(u"TzelReport"))
        return;
    SetValue(current, *p, value);
}

void TzelXMLSerializer::XMLToObj(const QString &s, TzelPersistent *obj)
{
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && s.at(i) == u' ')
            ++i;
        const qsizetype eq = s.indexOf(u'=', i);
        if (eq < 0)
            break;
        QStringView name = QStringView(s).mid(i, eq - i).trimmed();
        const qsizetype open = s.indexOf(u'"', eq + 1);
        if (open < 0)
            break;
        qsizetype close = s.indexOf(u'"', open + 1);
        if (close < 0)
            close = n;
        const QString value = s.mid(open + 1, close - open - 1);
        i = close + 1;
        try {
            ApplyAttribute(obj, name, value);
        } catch (const TzelException &e) {
            Errors.Add(e.message());
        }
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
        Errors.Add(res("xrCantFindClass") + u' ' + elementName);
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
            // Inherited objects follow the order of the file.
            obj->SetParent(nullptr);
            obj->SetParent(parent);
        } else if (!obj) {
            if (inherited)
                return;
            std::unique_ptr<TzelPersistent> made(cls->Create());
            auto *component = dynamic_cast<TzelComponent *>(made.get());
            if (!component) {
                Errors.Add(res("xrCantFindClass") + u' ' + elementName);
                return;
            }
            made.release();
            component->SetParent(parent);
            obj = component;
        }
    }

    obj->SetIsLoading(true);
    XMLToObj(item->Text(), obj);
    touched << obj;

    const bool handlesNested = HandleNestedProperties && obj->qzComponentStyle.Contains(csHandlesNestedProperties);
    auto *nested = handlesNested ? dynamic_cast<TzelNestedPropertiesOwner *>(obj) : nullptr;
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
            if (auto *c = dynamic_cast<TzelComponent *>(f.Object))
                owner = c->Parent() ? c->TopParent() : c;
        if (TzelComponent *target = owner ? owner->FindObject(f.Name) : nullptr)
            f.Prop->SetRef(*f.Object, target);
    }
    Fixups.clear();
}

void TzelXMLSerializer::ReadRootComponent(TzelComponent *root, TzelXMLItem *item)
{
    TzelXMLDocument document;
    if (!item) {
        document.LoadFromStream(Stream, false);
        OldFormat = document.OldVersion();
        item = document.Root();
    }
    QList<TzelComponent *> touched;
    WalkElement(item, nullptr, root, touched);
    ResolveFixups();
    for (TzelComponent *c : std::as_const(touched)) {
        c->SetIsLoading(false);
        if (!c->ClassInfo().InheritsFrom(u"TzelReport"))
            c->Loaded();
    }
}

TzelComponent *TzelXMLSerializer::ReadComponentStr(TzelComponent *root, const QString &s, bool dontFixup)
{
    const qsizetype blank = s.indexOf(u' ');
    const QString className = blank < 0 ? s : s.left(blank);
    const TzelClassInfo *cls = TzelClassRegistry::Find(className);
    std::unique_ptr<TzelPersistent> made(cls ? cls->Create() : nullptr);
    auto *component = dynamic_cast<TzelComponent *>(made.get());
    if (!component) {
        Errors.Add(res("xrCantFindClass") + u' ' + className);
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
    serializer.Owner = component->Report();
    const auto *report = dynamic_cast<const TzelReport *>(component);
    if (report && report->ParentReportObject() && !streaming) {
        const TzelReport *parent = report->ParentReportObject();
        serializer.OnGetAncestor = [report, parent](const TzelComponent *c) -> const TzelComponent * {
            if (c == report)
                return parent;
            return c->IsAncestor() && !c->Name().isEmpty() ? parent->FindObject(c->Name()) : nullptr;
        };
    }
    serializer.WriteRootComponent(const_cast<TzelComponent *>(component), saveChildren);
}

TzelSortedStrings TzelXMLSerializer::LoadComponent(TzelComponent *component, QIODevice *stream)
{
    if (!component->AncestorOnlyStream)
        component->Clear();
    TzelXMLSerializer serializer(stream);
    serializer.HandleNestedProperties = true;
    serializer.Owner = component->Report();
    serializer.ReadRootComponent(component);
    return serializer.Errors;
}
