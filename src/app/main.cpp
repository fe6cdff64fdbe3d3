// Marrowick: a real-time intro. The music's cue points drive every event; the
// process exits 0 when the music reaches its closing cue.
#include "app/Entry.h"
#include "app/ShowObjects.h"

int main(int argc, char** argv) {
    // The global objects first, in their fixed order, before any window.
    ShowObjects& show = showObjects();
    return runShow(argc, argv, show);
}
