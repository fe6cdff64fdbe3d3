// Where "is the space bar down?" goes when nothing replaced the query: one
// backend per platform (the X server's key map on the desktop; the browser's
// is told by the page's key events).
#pragma once

namespace platform {

bool systemSpaceDown();

}  // namespace platform
