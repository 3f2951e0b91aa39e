#include "engine/render/canvas/zelcanvas.h"

Canvas::~Canvas() = default;
