// The state WebGL keeps itself (tests, blending, culling, the viewport...),
// set on WebGL as it is set on the layer.
#pragma once

namespace mwgl {

struct AttribState;

// Sets one capability of AttribState on WebGL, if WebGL has it.
void applyCapability(int bit, bool on);
// Sets all of it, as after glPopAttrib.
void applyAllRasterState(const AttribState& s);

}  // namespace mwgl
