#pragma once
// The media libraries' entry points.  The program never links libav* or SDL:
// every function the media code calls is a pointer in namespace av, typed
// from the libraries' own declarations and bound by the loader at run time.
// Call av::avcodec_open2(...), never ::avcodec_open2 (the link would fail).
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavcodec/avfft.h>
#include <libavcodec/bsf.h>
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/avstring.h>
#include <libavutil/channel_layout.h>
#include <libavutil/dict.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libavutil/parseutils.h>
#include <libavutil/pixdesc.h>
#include <libavutil/samplefmt.h>
#include <libavutil/time.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "media/MediaTypes.h"

namespace av {

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#define AV_FUNC(lib, name) inline decltype(&::name) name = nullptr;
#include "media/entry/avcodec.inc"
#include "media/entry/avfilter.inc"
#include "media/entry/avformat.inc"
#include "media/entry/avutil.inc"
#include "media/entry/libc.inc"
#include "media/entry/swresample.inc"
#include "media/entry/swscale.inc"
#undef AV_FUNC
#pragma GCC diagnostic pop

} // namespace av
