// Marrowick: a real-time intro. The music's cue points drive every event; the
// process exits 0 when the music reaches its closing cue. The show's objects
// are built before this runs (see ShowObjects.cpp).
#include "app/Entry.h"
#include "app/ShowObjects.h"

int main(int argc, char** argv) { return runShow(argc, argv, showLoop()); }
