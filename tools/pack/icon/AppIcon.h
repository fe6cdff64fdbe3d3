// The program's icon for desktop menus: the king's gold mirror ball from the
// chess section (ting/kingThing.jpg), cut to its disc on a transparent square.
#pragma once

#include <filesystem>

#include "pack/pictures/Canvas.h"

// Square, `size` pixels a side: the ball fills all but a margin of a
// sixteenth on each side, turned sky up as the eye sees a ball; outside it
// everything is transparent, its rim smoothed.
Canvas appIcon(int size);

// The icon as a PNG file.
void writeAppIcon(const std::filesystem::path& path, int size);
