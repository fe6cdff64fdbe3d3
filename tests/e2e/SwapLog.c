/* Preloaded into the show by the end-to-end tests: records the time of every
 * buffer swap, so a test can measure the real frame pacing of the binary.
 * Times are on the monotonic clock, or on the wall clock when
 * MARROWICK_SWAP_CLOCK=realtime, which a shell can read too (to measure from
 * launch, as tools/measure-startup does). */
#define _GNU_SOURCE
#include <GL/glx.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    static void (*real)(Display*, GLXDrawable) = NULL;
    static int log = -2;
    static clockid_t swapClock = CLOCK_MONOTONIC;
    if (real == NULL) real = (void (*)(Display*, GLXDrawable))dlsym(RTLD_NEXT, "glXSwapBuffers");
    if (log == -2) {
        const char* path = getenv("MARROWICK_SWAP_LOG");
        log = path ? open(path, O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0644) : -1;
        const char* clockName = getenv("MARROWICK_SWAP_CLOCK");
        if (clockName != NULL && strcmp(clockName, "realtime") == 0) swapClock = CLOCK_REALTIME;
    }
    if (log >= 0) {
        struct timespec now;
        clock_gettime(swapClock, &now);
        char line[32];
        int length = snprintf(line, sizeof line, "%lld\n", (long long)now.tv_sec * 1000000LL + now.tv_nsec / 1000);
        if (write(log, line, (size_t)length) < 0) { /* the test notices missing lines */
        }
    }
    real(display, drawable);
}
