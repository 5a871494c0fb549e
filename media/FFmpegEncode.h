#pragma once
// The encoding paths of a conversion run: what happens to decoded audio,
// pictures and subtitles on their way to an encoder, and the frame hooks.
// They work on the run's stream records and the engine's settings; what
// becomes of an encoder's packets is the caller's (the run sends frames to
// the encoder and writes its packets interleaved).
//   FFmpegAudioOut.cpp     resampling, sync, the FIFO cut into encoder frames
//   FFmpegVideoOut.cpp     pre-processing, custom hook, vsync, crop, scaling,
//                          post hooks, video statistics
//   FFmpegSubtitleOut.cpp  subtitle encoding
//   FFmpegFilterGraph.cpp  the video filter graph of an output stream
//   Deinterlace.cpp        our zero-delay line deinterlacer
//   FFmpegHooks.cpp        the frame-hook libraries ("vhook")
#include <cstdint>
#include <functional>

extern "C" {
#include <libavutil/pixfmt.h>
}

#include "media/FFmpegEngine.h"

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVSubtitle;

namespace media {

// Sends one frame to the stream's encoder and writes whatever packets it
// gives back; the result is the number of bytes written.
using TFrameEncoder = std::function<int(AVFrame* AFrame)>;
// Writes one packet of the stream (through its bitstream filters).
using TPacketWriter = std::function<void(AVPacket* APacket)>;

// ---- audio (FFmpegAudioOut.cpp) ----
// ASamples: ASize bytes of interleaved 16-bit samples at the decoder's rate
// and channel count.  Converts them to the encoder's format, rate and
// layout, keeps the output in step with the input clock and hands the
// encoder frames of its frame size (encoders of any frame size get each
// chunk whole).  Raises FFmpegException.
void AudioOut(TCustomFFmpeg& e, TAVOutputStream* ost, TAVInputStream* ist, const uint8_t* ASamples, int ASize,
              const TFrameEncoder& AEncode);
// An empty frame of ASamples samples in the encoder's format, rate and
// layout, for the audio path and for the last frame at the flush alike.
// Raises FFmpegException when no memory can be had.
TFramePtr NewAudioFrame(const AVCodecContext* enc, int ASamples);
// The encoders of any frame size: PCM and those that say so.
bool AnyFrameSize(const AVCodecContext* enc);

// ---- video (FFmpegVideoOut.cpp) ----
// Counts the picture, then deinterlaces it and runs the custom hook or the
// frame hooks.  The result is the picture to go on with: APicture itself, or
// the engine's hook copy of it.
AVFrame* PreprocessPicture(TCustomFFmpeg& e, TAVInputStream* ist, AVFrame* APicture);
void RunCustomHook(TCustomFFmpeg& e, AVFrame* APicture, int64_t APTS);
// Video sync, the frame limit, crop, scaling and the post hooks for one
// decoded picture; AEncode receives each copy to encode (AVFrame.pts in
// encoder ticks).  The result is the number of bytes written.
int EncodeVideoFrame(TCustomFFmpeg& e, const AVFormatContext* oc, TAVOutputStream* ost, TAVInputStream* ist,
                     AVFrame* APicture, const TFrameEncoder& AEncode);
// The parts of EncodeVideoFrame, for a run that encodes on a stage thread.
// Video sync and the frame limit: how many copies of the picture are to be
// encoded (0: it is dropped); the stream's clock moves to the first.
int VideoCopies(TCustomFFmpeg& e, const AVFormatContext* oc, TAVOutputStream* ost, const TAVInputStream* ist);
// The picture cropped and scaled to the encoder's size and format: APicture
// itself, AView, or the stream's scaled picture; nullptr when it cannot be
// cropped (logged).
AVFrame* ScaledPicture(TCustomFFmpeg& e, TAVOutputStream* ost, const TAVInputStream* ist, AVFrame* APicture,
                       TFramePtr& AView);
// One copy of the scaled picture APicture of ASource, at APts in encoder
// ticks, through AEncode and the post hooks (AHookFrame: the number the
// hooks give the picture).  The number of bytes written.
int EncodeCopy(TCustomFFmpeg& e, const AVCodecContext* enc, const TAVOutputStream* ost,
               const AVFrame* ASource, const AVFrame* APicture, int64_t APts, int AHookFrame,
               const TFrameEncoder& AEncode);
// Hands the picture to the preview-bitmap event at most once per
// PreviewInterval.  The hook-settings lock is held only to read and change
// the hook settings, never while the event runs: the event waits for the GUI
// thread, which may itself be waiting for that lock.
void RunPostHooks(TCustomFFmpeg& e, const AVFrame* APicture, const AVCodecContext* enc, int AHookFrame);
// What the encoder said of a packet: its quantiser (lambda units), the
// squared error of the first plane and the picture type.
struct TCodedPicture {
    int quality = 0;
    int64_t error = 0;
    int pict_type = 0;
};
// One line of video statistics for AEncodedSize bytes of the stream.
void WriteVideoStats(TCustomFFmpeg& e, const TAVOutputStream* ost, int AEncodedSize,
                     const TCodedPicture& ACoded);

// ---- subtitles (FFmpegSubtitleOut.cpp) ----
// APts in the input stream's time base; a DVB subtitle gives two packets.
void EncodeSubtitle(TCustomFFmpeg& e, TAVOutputStream* ost, const TAVInputStream* ist, int64_t APts,
                    AVSubtitle* ASubtitle, const TPacketWriter& AWrite);

// ---- the filter graph (FFmpegFilterGraph.cpp) ----
// Builds the stream's graph from the decoder's pictures to the encoder's
// size and format: 0, or -1 on any failure (the half-built graph stays with
// the stream and goes with it).  Sets the encoder's size to the graph's.
int ConfigureVideoFilters(TCustomFFmpeg& e, const AVCodecContext* dec, TAVOutputStream* ost);
// Feeds a decoded picture into the stream's graph; false on failure.
bool SendFilterPicture(TAVOutputStream* ost, const AVFrame* APicture);
// 1 with the next filtered picture in AFrame (its time stamp APTS), -1 when
// the graph has none.
int GetFilteredPicture(TAVOutputStream* ost, AVFrame* AFrame, int64_t APTS);

// ---- deinterlacing (Deinterlace.cpp) ----
// Every other line rebuilt from its neighbours of the same picture (no
// delay); 0, or -1 for a format it cannot take.  dst may be src.
int DeinterlacePicture(uint8_t* const dst[4], const int dstLinesize[4], const uint8_t* const src[4],
                       const int srcLinesize[4], AVPixelFormat APixFmt, int AWidth, int AHeight);

// ---- frame hooks (FFmpegHooks.cpp) ----
// Calls Process of every hook in the chain, in order.
void FrameHookProcess(TFrameHookEntry* AFirst, AVFrame* APicture, int64_t APTS);

} // namespace media
