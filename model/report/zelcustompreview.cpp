#include "model/report/zelcustompreview.h"

namespace {

TzelPreviewWindowMaker &Maker()
{
    static TzelPreviewWindowMaker maker;
    return maker;
}

} // namespace

void zelSetPreviewWindowMaker(TzelPreviewWindowMaker maker)
{
    Maker() = std::move(maker);
}

const TzelPreviewWindowMaker &zelPreviewWindowMaker()
{
    return Maker();
}
