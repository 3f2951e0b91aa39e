#include "script/gui/kvguibinder.h"

#include "script/engine/kvevents.h"
#include "script/gui/kvguiobjects.h"

TkvBinder::TkvBinder(TkvScript &script, const QString &className, const QString &ancestor, bool native)
    : FScript(script), FClass(script.AddClass(className, ancestor)), FNative(native)
{
}

TkvCallMethodEvent TkvBinder::Wrap(TkvCallMethodEvent call) const
{
    if (!FNative)
        return call;
    return [call = std::move(call)](TkvMethodCall &c) {
        Variant result;
        kvNativeCall([&] { result = call(c); });
        return result;
    };
}

void TkvBinder::Method(const char *syntax, TkvCallMethodEvent call)
{
    if (FClass)
        kvTypeParams(FScript, FClass->AddMethod(QString::fromLatin1(syntax), Wrap(std::move(call))));
}

void TkvBinder::Constructor(const char *syntax, TkvCallMethodEvent call)
{
    if (FClass)
        kvTypeParams(FScript, FClass->AddConstructor(QString::fromLatin1(syntax), Wrap(std::move(call))));
}

void TkvBinder::Prop(const char *name, const char *type, TkvGetter get, TkvSetter set)
{
    if (!FClass)
        return;
    TkvSetValueEvent write;
    if (set) {
        write = [set = std::move(set), native = FNative](const Variant &self, const QString &, const Variant &value) {
            if (native)
                kvNativeCall([&] { set(self, value); });
            else
                set(self, value);
        };
    }
    kvTypeProperty(FClass->AddProperty(QString::fromLatin1(name), QString::fromLatin1(type),
                                       [get = std::move(get)](const Variant &self, const QString &) { return get(self); },
                                       std::move(write)));
}

void TkvBinder::Indexed(const char *name, const char *params, const char *type, TkvCallMethodEvent call,
                        bool readOnly, bool isDefault)
{
    if (!FClass)
        return;
    const QString n = QString::fromLatin1(name);
    const QString p = QString::fromLatin1(params);
    const QString t = QString::fromLatin1(type);
    kvTypeParams(FScript, isDefault ? FClass->AddDefaultProperty(n, p, t, Wrap(std::move(call)), readOnly)
                                    : FClass->AddIndexProperty(n, p, t, Wrap(std::move(call)), readOnly));
}

void TkvBinder::Event(const char *name, TkvEventFactory factory)
{
    if (FClass)
        FClass->AddEvent(QString::fromLatin1(name), std::move(factory));
}
