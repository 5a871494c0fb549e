/* The contract of a frame-hook library named by the option "vhook": three
 * C entry points, called on the conversion's thread.  Plain C, so that a
 * hook can be written in either language. */
#ifndef TARVIK_MEDIA_VHOOK_H
#define TARVIK_MEDIA_VHOOK_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The planes of a picture; the hook may change the pixels in place. */
typedef struct TVHookPicture {
    uint8_t* data[4];
    int linesize[4];
} TVHookPicture;

/* "Configure": argv[0] is the library's file name; 0 on success. */
typedef int (*TVHookConfigure)(void** ctxp, int argc, char* argv[]);
/* "Process": pix_fmt is the libraries' pixel format number; pts in
 * microseconds. */
typedef void (*TVHookProcess)(void* ctx, TVHookPicture* picture, int pix_fmt, int width, int height,
                              int64_t pts);
/* "Release": optional. */
typedef void (*TVHookRelease)(void* ctx);

#ifdef __cplusplus
}
#endif

#endif
