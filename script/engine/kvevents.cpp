#include "script/engine/kvevents.h"

#include "script/engine/kvrunerror.h"
#include "script/engine/kvscript.h"
#include "script/engine/kvvariables.h"

TkvCustomEvent::~TkvCustomEvent() = default;

void TkvCustomEvent::CallHandler(std::span<Variant> args) const
{
    FTarget.Script->Call(FTarget.Handler, args);
}

TkvEventHelper::TkvEventHelper(const QString &name, TkvEventFactory factory)
    : TkvPropertyHelper(name, fvtString, QStringLiteral("String"), nullptr, nullptr), FFactory(std::move(factory))
{
    IsReadOnly = false;
}

Variant TkvEventHelper::Get(const Variant &, TkvScript &) const
{
    return Variant(QString());
}

void TkvEventHelper::Set(const Variant &instance, const Variant &value, TkvScript &script) const
{
    const QString text = value.ToString();
    TkvScript &owner = *script.MainScript();
    if (text == QLatin1String("0")) {
        owner.RemoveEvent(instance, Name);
        return;
    }
    auto *handler = dynamic_cast<TkvProcVariable *>(script.Find(text));
    if (!handler)
        TkvRunError::Raise("SEventError");
    owner.AddEvent(FFactory(TkvEventTarget{instance, Name, handler, &owner}));
}
