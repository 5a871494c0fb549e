/* A frame-hook library for the tests: inverts the first plane of every
 * picture and counts its calls.  Built twice, once without "Configure". */
#include <stdint.h>
#include <stdlib.h>

#include "media/VHook.h"

typedef struct HookContext {
    int argc;
    int tag; /* the second argument, a number, tells the hooks apart */
} HookContext;

#ifdef NO_CONFIGURE
/* Both variants live in one test process: their globals need their own names. */
#define vhook_process_calls vhook_nc_process_calls
#define vhook_release_calls vhook_nc_release_calls
#define vhook_last_argc vhook_nc_last_argc
#define vhook_order vhook_nc_order
#endif

int vhook_process_calls = 0;
int vhook_release_calls = 0;
int vhook_last_argc = 0;
/* The tags of the hooks in the order they were called. */
int vhook_order[16];

#ifndef NO_CONFIGURE
int Configure(void** ctxp, int argc, char* argv[]) {
    HookContext* ctx;
    if (argc > 1 && argv[1][0] == 'x') return 1; /* refused */
    ctx = (HookContext*)calloc(1, sizeof(HookContext));
    ctx->argc = argc;
    ctx->tag = argc > 1 ? atoi(argv[1]) : 0;
    vhook_last_argc = argc;
    *ctxp = ctx;
    return 0;
}

void Release(void* ctx) {
    ++vhook_release_calls;
    free(ctx);
}
#endif

void Process(void* ctx, TVHookPicture* picture, int pix_fmt, int width, int height, int64_t pts) {
    int x, y;
    (void)pix_fmt;
    (void)pts;
    if (vhook_process_calls < 16) vhook_order[vhook_process_calls] = ctx ? ((HookContext*)ctx)->tag : -1;
    ++vhook_process_calls;
    for (y = 0; y < height; ++y)
        for (x = 0; x < width; ++x) picture->data[0][y * picture->linesize[0] + x] ^= 0xFF;
}
