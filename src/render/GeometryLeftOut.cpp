#include "render/GeometryLeftOut.h"

namespace {

bool leftOut = false;

}  // namespace

void setGeometryLeftOut(bool value) { leftOut = value; }

bool geometryLeftOut() { return leftOut; }
