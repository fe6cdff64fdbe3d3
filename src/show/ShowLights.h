// The two lights as start-up sets them, once the window exists: the first
// placed overhead and left off (the scenes switch it on), the second on.
// Positions are taken under whatever modelview is current.
#pragma once

class Light;

void setUpShowLights(Light& light0, Light& light1);
