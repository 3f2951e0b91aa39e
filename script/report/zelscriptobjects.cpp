#include "script/report/zelscriptobjects.h"

#include "model/component/zelcomponent.h"
#include "model/reflect/zelclassinfo.h"

namespace {

// Report objects: their class is their reflection class, and the components
// a component owns are its descendants by name.
class ReportObjectType final : public TkvObjectType
{
public:
    QString ClassName(const void *object) const override
    {
        const QString &name = static_cast<const TzelPersistent *>(object)->ClassName();
        return name == QLatin1String("TzelPersistent") ? QStringLiteral("TPersistent") : name;
    }
    Variant FindComponent(void *owner, const QString &name) const override
    {
        auto *component = dynamic_cast<TzelComponent *>(static_cast<TzelPersistent *>(owner));
        if (!component)
            return Variant::Null();
        for (TzelComponent *c : component->AllObjects())
            if (c->Name().compare(name, Qt::CaseInsensitive) == 0)
                return zelScriptValue(c);
        return Variant::Null();
    }
    QList<QPair<QString, Variant>> Components(void *owner) const override
    {
        QList<QPair<QString, Variant>> list;
        if (auto *component = dynamic_cast<TzelComponent *>(static_cast<TzelPersistent *>(owner)))
            for (TzelComponent *c : component->Objects())
                list.append({c->Name(), zelScriptValue(c)});
        return list;
    }
};

const ReportObjectType reportObjects;

} // namespace

Variant zelScriptValue(TzelComponent *component)
{
    if (!component)
        return Variant(0);
    return TkvObjects::Ref<TzelPersistent>(component, &reportObjects, [component] {
        std::weak_ptr<void> life = component->LifeToken();
        return [life] { return !life.expired(); };
    });
}

Variant zelScriptValue(TzelPersistent *object, const TzelComponent *owner)
{
    if (!object || !owner)
        return Variant(0);
    return TkvObjects::Ref<TzelPersistent>(object, &reportObjects, [owner] {
        std::weak_ptr<void> life = owner->LifeToken();
        return [life] { return !life.expired(); };
    });
}

Variant zelNestedScriptValue(const Variant &owner, const TzelPropInfo &property)
{
    TzelPersistent *parent = TkvObjects::Get<TzelPersistent>(owner);
    TzelPersistent *object = parent && property.Nested ? property.Nested(*parent) : nullptr;
    if (!object)
        return Variant(0);
    // A parent may replace a nested object (a fill of another kind): the old
    // one is then gone although the parent lives.
    const TzelPropInfo *prop = &property;
    return TkvObjects::Ref<TzelPersistent>(object, &reportObjects, [owner, parent, prop, object] {
        return [owner, parent, prop, object] {
            return TkvObjects::TryGet<TzelPersistent>(owner) == parent && prop->Nested(*parent) == object;
        };
    });
}
