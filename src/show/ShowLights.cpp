#include "show/ShowLights.h"

#include "model/Light.h"

void setUpShowLights(Light& light0, Light& light1) {
    light0.setPosition(0, 50, 0);
    light0.setSpecular(1, 1, 1, 1);
    light0.setDiffuse(1, 1, 1, 1);
    light1.enable();
    light1.setSpecular(1, 1, 1, 1);
    light1.setAmbient(0, 0, 0, 1);
    light1.setDiffuse(1, 1, 1, 1);
    light1.setPosition(0, 40, -10);
}
