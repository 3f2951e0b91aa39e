#include "script/report/zelreportobjects.h"

#include "model/data/zelarray.h"
#include "model/report/zelcustomengine.h"
#include "model/report/zelcustompostprocessor.h"
#include "model/report/zelcustomoutline.h"
#include "model/report/zelcustompreviewpages.h"
#include "model/report/zelreport.h"
#include "model/style/zelstyles.h"
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
const NamedType postProcessorType("TzelPostProcessor");
const NamedType stylesType("TzelStyles");
const NamedType arrayType("TzelArray");

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

Variant zelPostProcessorValue(TzelCustomPostProcessor *processor, const TzelReport *report)
{
    return TkvObjects::Ref(processor, &postProcessorType, lifeOf(report));
}

Variant zelStylesValue(TzelStyles *styles, const TzelReport *report)
{
    return TkvObjects::Ref(styles, &stylesType, lifeOf(report));
}

Variant zelAdoptVariables(std::shared_ptr<TzelVariables> variables)
{
    return TkvObjects::Adopt(std::move(variables), &variablesType);
}

Variant zelAdoptArray(std::shared_ptr<TzelArray> array)
{
    return TkvObjects::Adopt(std::move(array), &arrayType);
}

Variant zelAdoptStyles(std::shared_ptr<TzelStyles> styles)
{
    return TkvObjects::Adopt(std::move(styles), &stylesType);
}
