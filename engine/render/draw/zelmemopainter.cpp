#include "engine/render/draw/zelmemopainter.h"

#include "engine/render/draw/zelviewpainter.h"
#include "engine/render/text/zelmemotext.h"
#include "model/view/zelcustommemoview.h"

void zelDrawMemo(const TzelCustomMemoView &memo, const TzelViewDrawState &state)
{
    zelDrawPlainView(memo, state);
    zelDrawMemoText(memo, state);
}
