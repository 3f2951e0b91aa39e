#include "model/view/zelviewclasses.h"

#include "model/reflect/zelclassregistry.h"
#include "model/view/zelbrushfill.h"
#include "model/view/zelglassfill.h"
#include "model/view/zelgradientfill.h"
#include "model/view/zellineview.h"
#include "model/view/zelmemoview.h"
#include "model/view/zelpictureview.h"
#include "model/view/zelshapeview.h"
#include "model/view/zelsubreport.h"
#include "model/view/zelsysmemoview.h"

void zelRegisterViewClasses()
{
    zelRegisterClass<TzelCustomMemoView>();
    zelRegisterClass<TzelMemoView>();
    zelRegisterClass<TzelSysMemoView>();
    zelRegisterClass<TzelCustomLineView>();
    zelRegisterClass<TzelLineView>();
    zelRegisterClass<TzelPictureView>();
    zelRegisterClass<TzelShapeView>();
    zelRegisterClass<TzelSubreport>();
    zelRegisterClass<TzelFrame>();
    zelRegisterClass<TzelHighlight>();
    zelRegisterClass<TzelBrushFill>();
    zelRegisterClass<TzelGradientFill>();
    zelRegisterClass<TzelGlassFill>();
}
