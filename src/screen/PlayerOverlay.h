// The player's small panel over the picture: show time, the current and next
// cue, the section and the frame rate. Drawn after the frame, with every bit
// of OpenGL state it touches put back, so the show's next frame is the same
// with or without it.
#pragma once

#include <string>
#include <vector>

void drawPlayerOverlay(const std::vector<std::string>& lines);
