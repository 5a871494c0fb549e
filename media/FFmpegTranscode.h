#pragma once
// The state of one conversion run, shared by the engine's run files:
//   FFmpegTranscodeSetup.cpp  the run's tables, stream mapping, copy and
//                             encoding preparation, two-pass files
//   FFmpegCodecOpen.cpp       codecs, metadata, chapters, headers, mapping dump
//   FFmpegTranscodeLoop.cpp   Transcode: the read loop, join mode, the end
//   FFmpegInputPackets.cpp    one input packet: clock, decode or copy, dispatch
//   FFmpegWritePacket.cpp     bitstream filters and the interleaved write
//   FFmpegProgress.cpp        the status line, OnProgress, the summary
//   FFmpegEncodePaths.cpp     the encoders fed from decoded frames
#include <memory>
#include <mutex>
#include <vector>

#include "media/AVBuffer.h"
#include "media/FFmpegEngine.h"
#include "media/FFmpegRunRecords.h"

struct AVBSFContext;
struct AVFormatContext;

namespace media {

// Packets of a run, freed with the library's allocator (frames: TFramePtr).
struct TPacketFree {
    void operator()(AVPacket* p) const;
};
using TPacketPtr = std::unique_ptr<AVPacket, TPacketFree>;

struct TTranscodeRun {
    // What Transcode was given.
    AVFormatContext** output_files = nullptr;
    int nb_output_files = 0;
    AVFormatContext** input_files = nullptr;
    int nb_input_files = 0;
    const TAVStreamMap* stream_maps = nullptr;
    int nb_stream_maps = 0;

    std::vector<TAVInputFile> file_table;
    std::vector<std::unique_ptr<TAVInputStream>> ist_table;
    std::vector<std::unique_ptr<TAVOutputStream>> ost_table;
    // The stream count of the first output entry; in join mode every block
    // of the output stream table has this size.
    int streams_per_output = 0;

    // Inputs that asked to be read again later (one flag per possible file).
    std::vector<bool> no_packet;
    int no_packet_count = 0;

    // Per output stream table index, the started bitstream filters of its
    // chain (made once the stream's parameters are final).
    std::vector<std::vector<AVBSFContext*>> bsf_chains;

    // Whether the video is scaled and encoded on the engine's video stage.
    bool staged = false;
    // Held while the output files, the muxing positions, the byte counters
    // and the encoders' statistics change or are read: with a video stage,
    // its thread writes packets beside the run's own thread.
    mutable std::recursive_mutex mux_lock;

    // Decoded audio as interleaved 16-bit samples, written by the sample
    // converter's SIMD routines; only grows.
    TAVBuffer samples;

    int nb_istreams() const { return static_cast<int>(ist_table.size()); }
    int nb_ostreams() const { return static_cast<int>(ost_table.size()); }
    TAVOutputStream* ost(int i) const { return ost_table[static_cast<size_t>(i)].get(); }
    TAVInputStream* ist(int i) const { return ist_table[static_cast<size_t>(i)].get(); }
    TAVInputStream* source(const TAVOutputStream* o) const { return ist(o->source_index); }
};

} // namespace media
