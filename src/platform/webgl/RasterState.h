// The state WebGL keeps itself (tests, blending, culling, the viewport...),
// set on WebGL as it is set on the layer.
#pragma once

namespace mwgl {

// Sets one capability of AttribState on WebGL, if WebGL has it.
void applyCapability(int bit, bool on);
// Sets all of it, as after glPopAttrib.
void applyAllRasterState();
// Queues the end-of-task flush (Context.cpp).
void queueEndOfTaskFlush();

}  // namespace mwgl
