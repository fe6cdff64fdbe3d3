// Frames that a seek runs on the way to its target are never seen: they need
// every change they make to the show's state, not the geometry they would
// send. While this is on, the routines that send the show's heavy geometry
// (model lists, sky-box faces, particles) leave it out and do all the rest.
#pragma once

void setGeometryLeftOut(bool leftOut);
bool geometryLeftOut();
