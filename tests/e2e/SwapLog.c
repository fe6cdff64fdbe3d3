/* Preloaded into the show by the end-to-end tests: records the time of every
 * buffer swap, so a test can measure the real frame pacing of the binary.
 * Times are on the monotonic clock, or on the wall clock when
 * MARROWICK_SWAP_CLOCK=realtime, which a shell can read too (to measure from
 * launch, as tools/measure-startup does).
 * With MARROWICK_SWAP_MIN_PERIOD_US set, each swap is held back until that
 * long after the previous one: a machine too slow for the show's frame period.
 * It also plays a driver that offers the swap-control extensions named in
 * MARROWICK_GLX_OFFER, and writes each swap-interval request made through
 * them to MARROWICK_GL_CALL_LOG: the function, the interval, and whether a
 * context was current. The requests go no further. */
#define _GNU_SOURCE
#include <GL/glx.h>
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static void writeLine(const char* variable, int* log, const char* line) {
    if (*log == -2) {
        const char* path = getenv(variable);
        *log = path ? open(path, O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0644) : -1;
    }
    if (*log >= 0 && write(*log, line, strlen(line)) < 0) { /* the test notices missing lines */
    }
}

void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    static void (*real)(Display*, GLXDrawable) = NULL;
    static int log = -2;
    static clockid_t swapClock = CLOCK_MONOTONIC;
    static long long minPeriodUs = 0;
    static struct timespec previous = {0, 0};
    if (real == NULL) real = (void (*)(Display*, GLXDrawable))dlsym(RTLD_NEXT, "glXSwapBuffers");
    if (log == -2) {
        const char* clockName = getenv("MARROWICK_SWAP_CLOCK");
        if (clockName != NULL && strcmp(clockName, "realtime") == 0) swapClock = CLOCK_REALTIME;
        const char* period = getenv("MARROWICK_SWAP_MIN_PERIOD_US");
        if (period != NULL) minPeriodUs = atoll(period);
    }
    if (minPeriodUs > 0 && previous.tv_sec != 0) {
        long long due = (long long)previous.tv_sec * 1000000000LL + previous.tv_nsec + minPeriodUs * 1000LL;
        struct timespec until = {(time_t)(due / 1000000000LL), (long)(due % 1000000000LL)};
        while (clock_nanosleep(swapClock, TIMER_ABSTIME, &until, NULL) == EINTR) {
        }
    }
    struct timespec now;
    clock_gettime(swapClock, &now);
    previous = now;
    char line[32];
    snprintf(line, sizeof line, "%lld\n", (long long)now.tv_sec * 1000000LL + now.tv_nsec / 1000);
    writeLine("MARROWICK_SWAP_LOG", &log, line);
    real(display, drawable);
}

static void logRequest(const char* function, int interval) {
    static int log = -2;
    GLXContext (*current)(void) = (GLXContext(*)(void))dlsym(RTLD_DEFAULT, "glXGetCurrentContext");
    char line[96];
    snprintf(line, sizeof line, "%s %d %s\n", function, interval, current && current() ? "current" : "none");
    writeLine("MARROWICK_GL_CALL_LOG", &log, line);
}

static void swapIntervalEXT(Display* display, GLXDrawable drawable, int interval) {
    (void)display;
    (void)drawable;
    logRequest("glXSwapIntervalEXT", interval);
}
static int swapIntervalMESA(unsigned interval) {
    logRequest("glXSwapIntervalMESA", (int)interval);
    return 0;
}
static int swapIntervalSGI(int interval) {
    logRequest("glXSwapIntervalSGI", interval);
    return 0;
}

const char* glXQueryExtensionsString(Display* display, int screen) {
    static const char* (*real)(Display*, int) = NULL;
    static char* offered = NULL;
    if (real == NULL) real = (const char* (*)(Display*, int))dlsym(RTLD_NEXT, "glXQueryExtensionsString");
    const char* extensions = real(display, screen);
    const char* offer = getenv("MARROWICK_GLX_OFFER");
    if (offer == NULL || extensions == NULL) return extensions;
    if (offered == NULL && (offered = malloc(strlen(extensions) + strlen(offer) + 2)) != NULL) {
        sprintf(offered, "%s %s", extensions, offer);
    }
    return offered ? offered : extensions;
}

static __GLXextFuncPtr wrapped(const GLubyte* name) {
    if (strcmp((const char*)name, "glXSwapIntervalEXT") == 0) return (__GLXextFuncPtr)swapIntervalEXT;
    if (strcmp((const char*)name, "glXSwapIntervalMESA") == 0) return (__GLXextFuncPtr)swapIntervalMESA;
    if (strcmp((const char*)name, "glXSwapIntervalSGI") == 0) return (__GLXextFuncPtr)swapIntervalSGI;
    return NULL;
}

__GLXextFuncPtr glXGetProcAddressARB(const GLubyte* name) {
    static __GLXextFuncPtr (*real)(const GLubyte*) = NULL;
    if (real == NULL) real = (__GLXextFuncPtr(*)(const GLubyte*))dlsym(RTLD_NEXT, "glXGetProcAddressARB");
    __GLXextFuncPtr own = wrapped(name);
    return own ? own : real(name);
}

__GLXextFuncPtr glXGetProcAddress(const GLubyte* name) {
    static __GLXextFuncPtr (*real)(const GLubyte*) = NULL;
    if (real == NULL) real = (__GLXextFuncPtr(*)(const GLubyte*))dlsym(RTLD_NEXT, "glXGetProcAddress");
    __GLXextFuncPtr own = wrapped(name);
    return own ? own : real(name);
}
