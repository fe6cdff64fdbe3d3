// The view the show is drawn through, and where it sits in a frame.
#pragma once

// Viewport only; the projection's aspect stays 1.0 whatever the window.
void reshape(int width, int height);

struct ViewportArea {
    int x, y, width, height;
};
// The largest 4:3 area centred in a width x height frame: the shape of the
// screens the show was made for, with black bars beside or above it.
ViewportArea centredFourByThree(int width, int height);
// reshape() onto part of the frame.
void reshapeOnto(const ViewportArea& area);
// reshape() onto the largest centred 4:3 area of the window.
void reshapeKeepingAspect(int width, int height);
