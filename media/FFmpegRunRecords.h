#pragma once
// The records of one conversion run, and what the opening of the files leaves
// for them.  The libraries' streams no longer carry a codec context, so the
// opening of an input gives each of its streams a decoder context of ours
// (TInputStreamCodec) and the opening of an output gives each of its streams
// an encoder context of ours (TOutputStreamCodec); the engine owns both until
// it closes the files.  A run's TAVInputStream and TAVOutputStream records
// point at them.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

extern "C" {
#include <libavutil/channel_layout.h>
}

#include "media/AVHandles.h"
#include "media/ParkedSettings.h"

struct AVAudioFifo;
struct AVCodec;
struct AVCodecContext;
struct AVFilterContext;
struct AVFilterGraph;
struct AVFormatContext;
struct AVFrame;
struct AVInputFormat;
struct AVStream;
struct SwrContext;
struct SwsContext;

namespace media {

// How an input was opened: a task waiting in a list closes its input and
// opens it again the same way when its run starts.
struct TInputOpening {
    std::string file_name;
    // The forced format, or nullptr.
    const AVInputFormat* format = nullptr;
    // The generic demuxing options set on the context before opening, and
    // the parameters handed to the demuxer.
    std::vector<std::pair<std::string, std::string>> context_options;
    std::vector<std::pair<std::string, std::string>> parameters;
    std::string video_codec, audio_codec, subtitle_codec;
    bool pgmyuv = false;
    int program_id = 0;
    int64_t start_time = 0;
    // The size the file had; a different size at the run's start means
    // another file stands at the name.
    int64_t file_size = -1;
    // While the input waits closed: a context that only describes it (name,
    // format, durations, metadata, programs and streams) and stands for it
    // in the engine's file table until the run opens the file again.
    AVFormatContext* stand_in = nullptr;
};

// One stream of an opened input file.
struct TInputStreamCodec {
    AVStream* st = nullptr;
    // Filled from the stream's parameters and the recorded decoding options;
    // opened by the run.  Allocated for its decoder (when one is known), so
    // that the decoder's own options reach it.
    TCodecContextPtr dec;
    // A task waiting in a list gives its decoder's private state back (it
    // is large: several hundred KiB for H.264); its run makes it afresh.
    TParkedState parked;
};

// One stream of an opened output file.
struct TOutputStreamCodec {
    AVStream* st = nullptr;
    // The encoder's settings, or for a copied stream the few settings the
    // copy keeps (type, aspect ratio, audio rate and channels).  Allocated for
    // its encoder (when one is known), so that the encoder's own options
    // reach it.
    TCodecContextPtr enc;
    // The encoder that enc was made for; nullptr for copies and streams
    // without one.
    const AVCodec* encoder = nullptr;
    bool stream_copy = false;
    // Fixed-quantiser quality (lambda) for the stream's pictures; 0 when none.
    float quality = 0;
    // The encoder's private state while the task waits, as for decoders.
    TParkedState parked;
};

// One input file of a run.
struct TAVInputFile {
    int eof_reached = 0;
    int ist_index = 0;
    int buffer_size = 0;
    int nb_streams = 0;
};

// One stream of an input file of a run.
struct TAVInputStream {
    int file_index = 0;
    int index = 0;
    AVStream* st = nullptr;
    // The stream's decoder context (owned by the engine's input tables).
    AVCodecContext* dec_ctx = nullptr;
    int discard = 0;
    int decoding_needed = 0;
    int64_t sample_index = 0;
    int64_t start = 0;
    int64_t next_pts = 0;
    int64_t pts = 0;
    int is_start = 0;
    int showed_multi_packet_warning = 0;
    int is_past_recording_time = 0;
    int decoder_flushed = 0;
    AVFilterContext* out_video_filter = nullptr;
    AVFilterContext* input_video_filter = nullptr;
    AVFrame* filter_frame = nullptr;
    int has_filter_frame = 0;
    AVFrame* picref = nullptr;
    // Turns the decoder's samples into interleaved 16-bit samples at the
    // decoder's own rate and channels, on which the volume works.
    SwrContext* to_s16 = nullptr;
    // What to_s16 was made for: the layout, rate and sample format of the
    // decoded frames, which a stream may change in its middle.  The 16-bit
    // samples handed on have this layout and rate.
    AVChannelLayout s16_layout{};
    int s16_rate = 0;
    int s16_format = -1;
};

// One stream of an output file entry of a run.
struct TAVOutputStream {
    int file_index = 0;
    int index = 0;
    int source_index = 0;
    AVStream* st = nullptr;
    // The stream's encoder context and opening record (owned by the engine's
    // output tables; in join mode every block shares them).
    AVCodecContext* enc_ctx = nullptr;
    TOutputStreamCodec* codec = nullptr;
    int encoding_needed = 0;
    int frame_number = 0;
    TAVInputStream* sync_ist = nullptr;
    int64_t sync_opts = 0;
    int video_resample = 0;
    AVFrame* pict_tmp = nullptr;
    SwsContext* img_resample_ctx = nullptr;
    // The stream's own filter graph (buffer -> crop -> scale -> the user's
    // filters -> buffersink) when video filters are asked for: one graph per
    // output stream, since two outputs of one input may differ in size.
    TFilterGraphPtr filter_graph;
    AVFilterContext* input_video_filter = nullptr;
    AVFilterContext* out_video_filter = nullptr;
    int resample_height = 0, resample_width = 0, resample_pix_fmt = 0;
    int original_height = 0, original_width = 0;
    int video_crop = 0;
    int topBand = 0, bottomBand = 0, leftBand = 0, rightBand = 0;
    int original_topBand = 0, original_bottomBand = 0, original_leftBand = 0, original_rightBand = 0;
    int audio_resample = 0;
    // The layout and rate of the samples that resample and reformat_ctx
    // were made for; a chunk of another kind has them made anew.
    AVChannelLayout convert_layout{};
    int convert_rate = 0;
    SwrContext* resample = nullptr;
    int reformat_pair = -6;
    SwrContext* reformat_ctx = nullptr;
    AVAudioFifo* fifo = nullptr;
    FILE* logfile = nullptr;
    int codec_id = 0;
    int show_fps = 0;
    // The stream's muxing position in its time base: the end of the last
    // packet written (the muxer no longer exposes its own).  AV_NOPTS_VALUE
    // before the first packet.
    int64_t mux_pts = INT64_MIN;
    // What the encoder said of its last packet (its quality statistics side
    // data): the quantiser in lambda units and the squared error per plane.
    int coded_quality = 0;
    int64_t coded_error[4] = {};
};

} // namespace media
