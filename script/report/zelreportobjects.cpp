#include "script/report/zelreportobjects.h"

#include "model/report/zelcustomengine.h"
#include "model/report/zelcustomoutline.h"
#include "model/report/zelcustompreviewpages.h"
#include "model/report/zelreport.h"
#include "script/engine/kvobjects.h"

namespace {

// A helper known by one fixed class name.
class NamedType final : public TkvObjectType
{
public:
    explicit NamedType(const char *name) : FName(QString::fromLatin1(name)) {}
    QString ClassName(const void *) const override { return FName; }

private:
    QString FName;
};

const NamedType variablesType("TzelVariables");
const NamedType engineType("TzelEngine");
const NamedType pagesType("TzelPreviewPages");
const NamedType outlineType("TzelOutline");

// Makes the test of whether Report still lives (always, for none).
auto lifeOf(const TzelReport *report)
{
    return [report]() -> std::function<bool()> {
        if (!report)
            return [] { return true; };
        std::weak_ptr<void> life = report->LifeToken();
        return [life] { return !life.expired(); };
    };
}

} // namespace

Variant zelVariablesValue(TzelVariables *variables, const TzelReport *report)
{
    return TkvObjects::Ref(variables, &variablesType, lifeOf(report));
}

Variant zelEngineValue(TzelCustomEngine *engine, const TzelReport *report)
{
    return TkvObjects::Ref(engine, &engineType, lifeOf(report));
}

Variant zelPreviewPagesValue(TzelCustomPreviewPages *pages, const TzelReport *report)
{
    return TkvObjects::Ref(pages, &pagesType, lifeOf(report));
}

Variant zelOutlineValue(TzelCustomOutline *outline, const TzelReport *report)
{
    return TkvObjects::Ref(outline, &outlineType, lifeOf(report));
}
