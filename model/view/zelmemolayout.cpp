#include "model/view/zelmemolayout.h"

namespace {

TzelMemoLayout &installed()
{
    static TzelMemoLayout layout;
    return layout;
}

} // namespace

void zelSetMemoLayout(const TzelMemoLayout &layout)
{
    installed() = layout;
}

const TzelMemoLayout &zelMemoLayout()
{
    return installed();
}
