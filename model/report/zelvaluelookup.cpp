#include "model/report/zelvaluelookup.h"

#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "model/data/zeldataset.h"
#include "model/data/zelvariables.h"
#include "model/report/zelreport.h"

namespace {

// A variable whose expression names itself would recurse without end.
thread_local int lookupDepth = 0;
constexpr int maxLookupDepth = 64;

struct DepthGuard
{
    explicit DepthGuard(const QString &name)
    {
        if (++lookupDepth > maxLookupDepth) {
            --lookupDepth;
            throw TzelException(zelFormat(zelResources().Get(QStringLiteral("varCircular")), {name}));
        }
    }
    ~DepthGuard() { --lookupDepth; }
};

} // namespace

TzelGlobalScriptEvents &zelGlobalScriptEvents()
{
    static TzelGlobalScriptEvents events;
    return events;
}

std::function<bool(const QString &name, Variant &value)> &zelGlobalGetValueHook()
{
    static std::function<bool(const QString &, Variant &)> hook;
    return hook;
}

Variant zelConvertNull(int fieldType)
{
    switch (fieldType) {
    case fftString:
        return Variant(QString());
    case fftBoolean:
        return Variant(false);
    default:
        return Variant(0);
    }
}

bool zelLookupValue(TzelReport &report, const QString &name, Variant &value)
{
    value = Variant::Null();
    if (const auto &hook = zelGlobalGetValueHook(); hook && hook(name, value))
        return true;
    value = Variant::Null();

    TzelDataSet *dataSet = nullptr;
    QString field;
    report.GetDatasetAndField(name, dataSet, field);
    if (dataSet && !field.isEmpty()) {
        value = dataSet->GetValue(field);
        if (value.IsNull() && report.EngineOptions().ConvertNulls)
            value = zelConvertNull(dataSet->GetFieldType(field));
        return true;
    }

    const TzelValueLookupHooks &hooks = report.ValueHooks;
    if (report.SystemVariables().contains(name) && hooks.SystemVariable && hooks.SystemVariable(name, value))
        return true;

    if (report.OnGetValue) {
        report.OnGetValue(name, value);
        if (!value.IsNull())
            return true;
    }
    if (report.OnNewGetValue) {
        report.OnNewGetValue(&report, name, value);
        if (!value.IsNull())
            return true;
    }

    if (const int i = report.Variables().IndexOf(name); i >= 0) {
        const Variant &stored = report.Variables().Items(i)->Value;
        if (stored.IsString() && hooks.Calc) {
            const QString text = stored.ToString();
            if (!text.contains(QStringLiteral("\r\n"))) {
                DepthGuard guard(name);
                value = hooks.Calc(text);
                return true;
            }
        }
        value = stored;
        return true;
    }

    if (const int i = zelGlobalVariables().IndexOf(name); i >= 0) {
        value = zelGlobalVariables().Items(i)->Value;
        return true;
    }

    return hooks.ScriptVariable && hooks.ScriptVariable(name, value);
}
