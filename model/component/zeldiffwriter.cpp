#include "model/component/zeldiffwriter.h"

#include "model/reflect/zelclassinfo.h"
#include "model/reflect/zelpersistent.h"

void TzelDiffWriter::Property(const TzelPropInfo &prop, const TzelPersistent &value, const TzelPersistent &other)
{
    const Variant v = prop.Get(value);
    const Variant o = prop.Get(other);
    switch (prop.Kind) {
    case TzelPropKind::Boolean:
        Bool(QStringView(prop.Name), v.ToBool(), o.ToBool());
        break;
    case TzelPropKind::Integer:
    case TzelPropKind::Int64:
    case TzelPropKind::Char:
    case TzelPropKind::Color:
    case TzelPropKind::Enum:
    case TzelPropKind::Set:
        Int(QStringView(prop.Name), v.ToInt64(), o.ToInt64());
        break;
    case TzelPropKind::Float:
        Float(QStringView(prop.Name), v.ToDouble(), o.ToDouble());
        break;
    case TzelPropKind::String:
    case TzelPropKind::Event:
    case TzelPropKind::Variant:
        String(QStringView(prop.Name), v.ToString(), o.ToString());
        break;
    case TzelPropKind::StringList:
    case TzelPropKind::Object:
    case TzelPropKind::ComponentRef:
    case TzelPropKind::Callback:
        break;
    }
}

void TzelDiffWriter::Properties(const TzelPersistent &value, const TzelPersistent &other)
{
    for (const TzelPropInfo *prop : value.ClassInfo().Properties())
        if (prop->Get)
            Property(*prop, value, other);
}

void TzelDiffWriter::Properties(const TzelPersistent &value, const TzelPersistent &other,
                                std::initializer_list<const char *> names)
{
    for (const char *name : names)
        if (const TzelPropInfo *prop = value.ClassInfo().FindProperty(QString::fromLatin1(name)))
            Property(*prop, value, other);
}
