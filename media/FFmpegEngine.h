#pragma once
// The transcoder engine: one object holds one conversion (its input and
// output files, stream and metadata maps, every transcoding option and the
// state of a run).  The engine's parts share its fields as one class, split
// over several files by topic:
//   FFmpegEngine.cpp    creation, defaults, reset and clean-up
//   FFmpegOptions.cpp   SetOption and its table, the small setters
//   FFmpegHandlers.cpp  the stream and picture option handlers
//   FFmpegTargets.cpp   targets (vcd, svcd, dvd, dv, dv50) and presets
//   X264Presets.cpp     the built-in libx264 presets and legacy x264 keys
//   FFmpegInput.cpp     input file opening and the codec lookup by name
//   FFmpegOutputStreams.cpp  output stream creation
//   FFmpegOutput.cpp    output file opening
//   FFmpegTranscode*.cpp, FFmpegCodecOpen.cpp, FFmpegInputPackets.cpp,
//   FFmpegWritePacket.cpp, FFmpegEncodePaths.cpp, FFmpegProgress.cpp
//                       the conversion run (FFmpegTranscode.h)
//   FFmpegThread.cpp    the conversion's thread: start, pause, stop, termination
#include <array>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <vector>
extern "C" {
#include <libavcodec/codec_id.h>
#include <libavutil/avutil.h>
#include <libavutil/pixfmt.h>
#include <libavutil/rational.h>
#include <libavutil/samplefmt.h>
}

#include "media/AVBuffer.h"
#include "media/FFOptions.h"
#include "media/FFmpegRunRecords.h"
#include "media/MediaErrors.h"
#include "media/OutputFile.h"
#include "media/RGBConvert.h"
#include "media/StageThread.h"
#include "os/Component.h"
#include "os/CriticalSection.h"
#include "os/Thread.h"

struct AVBitStreamFilter;
struct AVCodec;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct AVSubtitle;
struct AVFilterGraph;
struct AVFormatContext;
struct AVInputFormat;
struct AVOutputFormat;

namespace media {

class TCustomPreviewer;

// The libraries' stream limit per file; every per-stream table has this many
// entries per file.
constexpr int MAX_STREAMS = 20;
constexpr int MaxEngineFiles = 512;

struct TAVStreamMap {
    int file_index = 0;
    int stream_index = 0;
    int sync_file_index = 0;
    int sync_stream_index = 0;
};

struct TAVMetaDataMap {
    int out_file = 0;
    int in_file = 0;
};

// Bitstream filters waiting for their stream; the contexts are made when the
// stream's parameters are known, since a filter now needs them to start.
using TBitstreamFilterChain = std::vector<const AVBitStreamFilter*>;

struct TMetadataPair {
    std::string Key;
    std::string Value;
};

enum TPostHook { phPreview, phBitmap, phHBITMAP };

class TPostHooks {
public:
    constexpr TPostHooks() = default;
    constexpr TPostHooks(std::initializer_list<TPostHook> hooks) {
        for (TPostHook h : hooks) bits_ |= static_cast<uint8_t>(1 << h);
    }
    constexpr bool Has(TPostHook h) const { return bits_ & (1 << h); }
    constexpr TPostHooks With(TPostHook h) const {
        TPostHooks out = *this;
        out += h;
        return out;
    }
    constexpr TPostHooks& operator+=(TPostHook h) {
        bits_ |= static_cast<uint8_t>(1 << h);
        return *this;
    }
    constexpr TPostHooks& operator-=(TPostHook h) {
        bits_ &= static_cast<uint8_t>(~(1 << h));
        return *this;
    }
    constexpr bool operator==(const TPostHooks&) const = default;

private:
    uint8_t bits_ = 0;
};

struct TCustomHookContext {
    std::unique_ptr<TRGBConvertContext> Context;
};

struct TPostHookContext {
    std::unique_ptr<TRGBConvertContext> Context;
    // Changed under the hook-settings lock.  A worker painting a frame holds
    // its own reference, taken under that lock, so that the GUI thread
    // dropping the preview cannot free the window in the middle of a paint.
    std::shared_ptr<TCustomPreviewer> Previewer;
    int64_t preview_last_time = 0;
    int64_t preview_cur_time = 0;
};

struct TFrameHookEntry;
struct TAVInputStream;
struct TAVOutputStream;
struct TTranscodeRun;

// The stream records whose codecs a run has opened, newest first, so that an
// interrupted run can still close each of them once.
template <class T> class TCodecList {
public:
    void Add(T* st) { items_.insert(items_.begin(), st); }
    // Unlinks the first entry for the record; nothing when absent.
    void Remove(T* st) {
        for (auto it = items_.begin(); it != items_.end(); ++it)
            if (*it == st) {
                items_.erase(it);
                return;
            }
    }
    const std::vector<T*>& Items() const { return items_; }
    bool Empty() const { return items_.empty(); }
    void Clear() { items_.clear(); }

private:
    std::vector<T*> items_;
};

using TCustomHookEvent = std::function<void(os::TObject* Sender, TFrameBitmap* ABitmap, int32_t AFrameNumber,
                                            int64_t APTS, bool& AUpdate, bool& AStopHook)>;
using TPreviewBitmapEvent =
    std::function<void(os::TObject* Sender, TFrameBitmap* ABitmap, int32_t AFrameNumber, int64_t APTS)>;
using TProgressEvent = std::function<void(os::TObject* Sender, int32_t AFileIndex, int32_t AFrameNumber,
                                          int32_t AFPS, float AQuality, float ABitRate, int64_t ACurrentSize,
                                          int64_t ACurrentDuration, int64_t ATotalDuration)>;
using TNotifyEvent = std::function<void(os::TObject* Sender)>;

// The video rate a target fixed: its bit rate, the limits and the buffer.
// Zero bit rate: no target fixed one.
struct TTargetRate {
    int64_t BitRate = 0, MaxRate = 0, MinRate = 0, BufSize = 0;
};

// The option and run fields: InitDefaults writes exactly these defaults (the
// resources among them are freed by CleanUp first).
struct TFFmpegSettings {
    int Fnb_input_files = 0;
    int Fnb_output_files = 0;
    int Fnb_stream_maps = 0;
    int Fnb_meta_data_maps = 0;
    int Fstreamid_map[MAX_STREAMS] = {};
    std::string Flast_asked_format;
    int Fframe_width = 0, Fframe_height = 0;
    float Fframe_aspect_ratio = 0;
    AVPixelFormat Fframe_pix_fmt = AV_PIX_FMT_NONE;
    // Fframe_pix_fmt comes from the option "pix_fmt", not from an input.
    bool Fframe_pix_fmt_asked = false;
    AVSampleFormat Faudio_sample_fmt = AV_SAMPLE_FMT_NONE;
    int Fframe_topBand = 0, Fframe_bottomBand = 0, Fframe_leftBand = 0, Fframe_rightBand = 0;
    // Indexed by media type: video, audio, data, subtitle.
    int Fmax_frames[4] = {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX};
    AVRational Fframe_rate = {0, 0};
    float Fvideo_qscale = 0;
    // 64 coefficients once set; empty means none.
    std::vector<uint16_t> Fintra_matrix, Finter_matrix;
    std::string Fvideo_rc_override_string;
    bool Fvideo_disable = false;
    int Fvideo_discard = 0;
    // Codec names: empty means none (an empty name is never accepted).
    std::string Fvideo_codec_name;
    uint32_t Fvideo_codec_tag = 0;
    std::string Fvideo_language;
    bool Fsame_quality = false;
    bool Fdo_deinterlace = false;
    int Ftop_field_first = -1;
    int Fme_threshold = 0;
    int Fintra_dc_precision = 8;
    bool Floop_input = false;
    int Floop_output = -1;
    bool Fqp_hist = false;
    std::string Fvfilters;
    bool FEnableFilter = false;
    AVFilterGraph* Fgraph = nullptr;
    bool Fintra_only = false;
    int Faudio_sample_rate = 44100;
    int64_t Fchannel_layout = 0;
    float Faudio_qscale = -99999.0f;
    bool Faudio_disable = false;
    int Faudio_channels = 2;
    std::string Faudio_codec_name;
    uint32_t Faudio_codec_tag = 0;
    std::string Faudio_language;
    bool Fsubtitle_disable = false;
    std::string Fsubtitle_codec_name;
    std::string Fsubtitle_language;
    uint32_t Fsubtitle_codec_tag = 0;
    float Fmux_preload = 0.5f;
    float Fmux_max_delay = 0.7f;
    TTargetRate Ftarget_rate;
    int64_t Frecording_time = INT64_MAX;
    int64_t Fstart_time = 0;
    int64_t Frecording_timestamp = 0;
    int64_t Finput_ts_offset = 0;
    std::vector<TMetadataPair> Fmetadata;
    int Fdo_benchmark = 0;
    bool Fdo_hex_dump = false, Fdo_pkt_dump = false, Fdo_psnr = false;
    int Fdo_pass = 0;
    std::string Fpass_logfilename_prefix;
    int Faudio_stream_copy = 0, Fvideo_stream_copy = 0, Fsubtitle_stream_copy = 0;
    int Fvideo_sync_method = -1;
    int Faudio_sync_method = 0;
    float Faudio_drift_threshold = 0.1f;
    bool Fcopy_ts = false;
    bool Fopt_shortest = false;
    int Fvideo_global_header = 0;
    // Empty means none.
    std::string Fvstats_filename;
    FILE* Fvstats_file = nullptr;
    int Fopt_programid = 0;
    int Fcopy_initial_nonkeyframes = 0;
    bool Frate_emu = false;
    int Fvideo_channel = 0;
    std::string Fvideo_standard;
    int Faudio_volume = 256;
    bool Fexit_on_error = false;
    int Fusing_stdin = 0;
    bool Fusing_vhook = false;
    int Fverbose = 1;
    int Fthread_count = 1;
    int Fq_pressed = 0;
    int64_t Fvideo_size = 0, Faudio_size = 0, Fextra_size = 0;
    int Fnb_frames_dup = 0, Fnb_frames_drop = 0;
    bool FShowDupOrDrop = false;
    bool Finput_sync = false;
    int64_t Flimit_filesize = 0;
    bool Fforce_fps = false;
    int Fpgmyuv_compatibility_hack = 0;
    float Fdts_delta_threshold = 10.0f;
    unsigned Fsws_flags = 4; // bicubic
    TFFOptions FOptions;
    int64_t Ftimer_start = 0;
    TBitstreamFilterChain Fvideo_bitstream_filters, Faudio_bitstream_filters, Fsubtitle_bitstream_filters;
    int Fbit_buffer_size = 262144;
    // Work buffers of the encoding paths.  They belong to the engine, never to
    // the process, because several engines convert at the same time; they
    // only grow during a run.
    TAVBuffer Finput_tmp; // read by the sample converter's SIMD routines
    std::vector<uint8_t> Fsubtitle_out;
    TFramePtr FHookBuf;
    TFrameHookEntry* FFirstHook = nullptr;
    int FHookFrameNumber = 0;
    TPostHooks FPostHooks;
    bool FFatalException = false;
    std::string FFatalMessage;
    int64_t FTotalOutputDuration = -1;
    std::string FLastErrMsg;
};

// Held while post hooks change and for the whole post-hook step of each
// encoded picture; process-wide.
os::CriticalSection& HookSettingsLock();

class TCustomFFmpeg : public os::TObject, public TFFmpegSettings {
public:
    // AMaxFiles input and as many output files, 1 to 512 (a consistency
    // check otherwise).  The option contexts stay unallocated until Reset.
    explicit TCustomFFmpeg(int AMaxFiles);
    ~TCustomFFmpeg() override;
    TCustomFFmpeg(const TCustomFFmpeg&) = delete;
    TCustomFFmpeg& operator=(const TCustomFFmpeg&) = delete;
    std::string ClassName() const override { return "TCustomFFmpeg"; }

    // Every option and run field back to its default, everything of an
    // earlier run freed, the option contexts allocated.  Nothing at all while
    // the media libraries are not loaded.
    void Reset();
    void InitDefaults();
    void CleanUp();

    int nb_input_files() const { return Fnb_input_files; }
    int nb_output_files() const { return Fnb_output_files; }
    bool Finished() const { return FFinished; }
    bool FatalException() const { return FFatalException; }
    const std::string& FatalMessage() const { return FFatalMessage; }

    // ---- the conversion and its thread (FFmpegThread.cpp) ----
    // Starts the conversion, once between resets.  With AUseThread the
    // worker is returned not yet running and Resume starts it; nullptr when
    // the run happened in the caller or the start was refused (a refusal has
    // already fired the termination event in the caller).
    os::OsThread* StartConvert(bool AUseThread, os::ThreadPriority APriority);
    // Asks a running conversion to stop; with AWaitFor returns only when the
    // worker is done with the engine (a caller on the GUI thread keeps
    // running synchronous calls and messages meanwhile).
    void Stop(bool AWaitFor);
    // Stop for a converting engine; an engine that never started has its
    // termination delivered on a short-lived thread; nothing once terminated.
    void StopOrTerminate(bool AWaitFor);
    // Linux cannot suspend a thread: Pause closes a gate at which the worker
    // parks at its next safe point (CheckPause), never while holding a lock.
    // Resume opens it, or starts a worker that has not run yet.
    void Pause();
    void Resume();
    // The run's safe point, between packets.
    void CheckPause();
    // The worker is parked at the gate (or about to be).
    bool Parked() const { return FParked; }
    // Whether the run's video stage has no work in hand (a paused run's stage
    // comes to rest once the pictures handed to it are encoded), and whether
    // its thread runs.
    bool StageResting() const { return FVideoStage.Resting(); }
    bool StageRunning() const { return FVideoStage.Running(); }
    bool Converting() const;
    bool Terminated() const;
    // A start would be accepted: neither converting nor terminated.
    bool Startable() const;
    // Joins and frees the worker of a run that has ended: an ended thread
    // keeps its control block, thread-local storage and part of its stack
    // until it is joined.  Only for a worker that is past its termination
    // event (or never started), from another thread.
    void ReapWorker();
    bool HoldsWorker() const;

    // ---- option table (FFmpegOptions.cpp) ----
    // One of the 114 option names, or any name the codec, format and scaler
    // contexts (or a codec's or format's private options) know.  Conversion
    // errors raise os::EConvertError; refused values and names that nothing
    // knows raise FFmpegException ("Invalid option or argument: ...").
    void SetOption(const std::string& AName, const std::string& AValue);
    // The names SetOption knows itself, in table order.
    static std::vector<std::string> OptionNames();
    void SetStartTimeValue(int64_t AValue);
    void SetProgramId(int AValue);
    // Takes the hook-settings lock; SetPostHooksNoLock is for code that holds it.
    void SetPostHooks(TPostHooks AHooks);
    void SetPostHooksNoLock(TPostHooks AHooks);
    void SetAudioVolume(int AValue);
    void SetAudioSyncMethod(int AValue);
    void SetVideoSyncMethod(int AValue);
    void SetMuxMaxDelay(float AValue);
    void SetMuxPreload(float AValue);
    void SetPass(const std::string& AValue);
    void SetMatrix(const std::string& AName, const std::string& AValue);
    void SetVStats();
    void SetVStatsFile(const std::string& AValue);
    void AddBitstreamFilter(const std::string& AName, const std::string& AValue);
    void SetStreamId(const std::string& AName, const std::string& AValue);
    void NewStreamOption(const std::string& AName);

    // ---- stream and picture option handlers (FFmpegHandlers.cpp) ----
    void SetAskedFormat(const std::string& AValue);
    void SetFrameRate(const std::string& AValue);
    void SetFrameSize(const std::string& AValue);
    void SetAspectRatio(const std::string& AValue);
    void SetPixelFormat(const std::string& AValue);
    void SetCropTop(int AValue);
    void SetCropBottom(int AValue);
    void SetCropLeft(int AValue);
    void SetCropRight(int AValue);
    void SetQScale(double AValue);
    void SetRcOverride(const std::string& AValue);
    void SetMeThreshold(int AValue);
    void SetTopFieldFirst(int AValue);
    void SetVideoCodec(const std::string& AValue);
    void SetAudioCodec(const std::string& AValue);
    void SetSubtitleCodec(const std::string& AValue);
    void SetVideoTag(const std::string& AValue);
    void SetAudioTag(const std::string& AValue);
    void SetSubtitleTag(const std::string& AValue);
    void SetVideoFilters(const std::string& AValue);
    void AddVideoHook(const std::string& AValue);
    void SetBitRateOption(const std::string& AName, const std::string& AValue);
    void SetAudioRate(int AValue);
    void SetAudioChannels(int AValue);
    void SetSampleFormat(const std::string& AValue);
    void SetVideoChannel(int AValue);
    void SetVideoStandard(const std::string& AValue);
    void SetVerbose(int AValue);
    void AddStreamMap(const std::string& AValue);
    void AddMetaDataMap(const std::string& AValue);
    void AddMetadataOption(const std::string& AValue);
    void AddMetadataTag(const std::string& AKey, const std::string& AValue);
    void SetInputTsScale(const std::string& AValue);
    void SetRecordingTimeOption(const std::string& AName, const std::string& AValue);
    void SetRecordingTime(int64_t AValue);
    void SetStartTime(const std::string& AName, const std::string& AValue);
    void SetInputTsOffset(const std::string& AName, const std::string& AValue);
    void SetRecordingTimestamp(const std::string& AName, const std::string& AValue);
    // The generic codec, format and scaler option setter; false when no
    // context knows the option or the value is refused.
    bool SetGenericOption(const std::string& AName, const std::string& AValue);
    bool SetGenericIntOption(const std::string& AName, int AValue);
    static void SetCodecChoice(int& AStreamCopy, std::string& ACodecName, const std::string& AValue);
    static int64_t ParseTimeOrFail(const std::string& AName, const std::string& AValue, bool AIsDuration);
    // "hook.so|-a|b c" or "hook.so -a": the pieces of a frame-hook text.
    static std::vector<std::string> SplitHookArguments(const std::string& AValue);

    // ---- targets and presets (FFmpegTargets.cpp) ----
    void ApplyTarget(const std::string& ATarget, const std::string& ANorm, const std::string& AFallbackNorm);
    void SetTargetOption(const std::string& AValue);
    // An explicit video bit rate after a target: the target's limits and
    // buffer follow it in proportion, so that a fixed rate (minimum =
    // maximum) moves as a whole.  A limit set on its own since stays.
    void FollowTargetRate();
    static std::string FindBuiltinPreset(const std::string& AName);
    void ApplyPreset(const std::string& AKind, const std::string& AName);

    // ---- input file opening (FFmpegInput.cpp) ----
    // Looks the name up among the encoders or decoders; an empty name gives
    // AV_CODEC_ID_NONE.  False with the reason in FLastErrMsg; raises nothing.
    bool FindCodecId(const std::string& AName, AVMediaType AMediaType, AVCodecID& ACodecId, int AStrict,
                     bool AEncoder);
    // Opens and records input number Fnb_input_files with the current
    // input-side settings.  False with the reason in FLastErrMsg; hard errors
    // raise FFmpegException.
    bool OpenInputFile(const std::string& AFileName);
    // The stream records of an opened input (nullptr outside the table).
    TInputStreamCodec* InputStream(int AFileIndex, int AStreamIndex);
    // For a task that waits for its run: the input's decoder contexts give
    // their private state back, keeping their own settings (FFmpegCodecOpen.cpp).
    void ParkInputDecoders(int AFileIndex);
    // Gives every parked decoder context its private state again; a run
    // starts with this.
    void UnparkInputDecoders();
    // The same for the encoder contexts of the outputs set so far.
    void ParkOutputEncoders();
    void UnparkOutputEncoders();
    // For a task that waits for its run: the input is closed, and a
    // context that only describes it stands in the file table.  Inputs that
    // cannot be read again from the start (pipes, streams, devices) stay
    // open (FFmpegInputParking.cpp).
    void ParkInput(int AFileIndex);
    // Opens every parked input again as it was opened first; raises with a
    // clear text when the file is gone or another file stands at its name.
    // A run starts with this.
    void UnparkInputs();
    // The inputs held open (a parked input is not).
    int OpenInputs() const;

    // ---- output stream creation (FFmpegOutputStreams.cpp) ----
    // Which kinds of streams the recorded inputs hold (only the first input
    // with AFirstOnly).  Raises "invalid codec_type of input file".
    void check_audio_video_sub_inputs(bool& AHasVideo, bool& AHasAudio, bool AFirstOnly, bool& AHasSubtitle);
    // Each adds one stream to AContext, whose output format and name are set,
    // and records it for output entry AFileIndex; raises FFmpegException.
    void new_video_stream(AVFormatContext* AContext, int AFileIndex);
    void new_audio_stream(AVFormatContext* AContext, int AFileIndex);
    void new_subtitle_stream(AVFormatContext* AContext, int AFileIndex);
    // The stream records of an output entry; in join mode every entry of the
    // one output answers with the same records.  nullptr outside the table.
    TOutputStreamCodec* OutputStream(int AFileIndex, int AStreamIndex);

    // ---- output file opening (FFmpegOutput.cpp) ----
    // Creates, fills and opens one output file and records it: the number of
    // output entries, or -1 with the reason in FLastErrMsg.  Raises
    // "avformat_alloc_context failed" when no context can be had.
    int OpenOutputFile(const std::string& AFileName, bool AJoin);
    // Opens every recorded output for writing; the run does this first, so
    // that nothing on disk is created or replaced before it starts.  Raises
    // before opening any of them when one is also an input of the task.
    void OpenOutputTargets();

    // ---- the conversion run ----
    // One run over the given files and maps, on the caller's thread: set-up,
    // the read loop, flushing, trailers, the final report.  FFinished tells
    // afterwards whether it ended by itself (true) or by a stop request.
    // Failures raise FFmpegException; the run's codecs are closed and its
    // records freed before the exception leaves.
    void Transcode(AVFormatContext** AOutputFiles, int ANbOutputFiles, AVFormatContext** AInputFiles,
                   int ANbInputFiles, const TAVStreamMap* AStreamMaps, int ANbStreamMaps);
    // The run over the engine's own files and stream maps.
    void Transcode();
    // Close every codec a run still lists, and empty the lists.
    void CloseEncoderList();
    void CloseDecoderList();

    // ---- the engine's tables, shared by its parts ----
    // The limit of input files and of output entries.  The tables below
    // start empty and grow by the files (and streams and maps) a task really
    // has, up to this limit: a long list holds many engines that each have
    // one input and one output.  The per-file tables go with the files
    // (CleanUp empties them); the map tables are settings (InitDefaults).
    int FMaxFiles = 0;
    std::vector<AVFormatContext*> Finput_files;
    std::vector<AVFormatContext*> Foutput_files;
    // At most FMaxFiles * MAX_STREAMS.
    std::vector<TAVStreamMap> Fstream_maps;
    // At most FMaxFiles.
    std::vector<TAVMetaDataMap> Fmeta_data_maps;
    std::vector<int64_t> Finput_files_ts_offset;
    // Rows only for the inputs "itsscale" was given for (InputTsScale).
    std::vector<std::array<double, MAX_STREAMS>> Finput_files_ts_scale;
    std::vector<const AVCodec*> Finput_codecs;
    int Fnb_icodecs = 0;
    std::vector<const AVCodec*> Foutput_codecs;
    int Fnb_ocodecs = 0;
    // Per output file, the chain of each of its streams.
    std::vector<std::array<TBitstreamFilterChain, MAX_STREAMS>> Fbitstream_filters;
    // Per input file, one record per stream; per output entry, one record per
    // stream (in join mode only the first entry of the output holds them).
    std::vector<std::vector<std::unique_ptr<TInputStreamCodec>>> Finput_streams;
    // Per input file, how it was opened (FFmpegInputParking.cpp).
    std::vector<TInputOpening> Finput_openings;
    std::vector<std::vector<std::unique_ptr<TOutputStreamCodec>>> Foutput_streams;
    // The time stamp scale of a stream of an input file; 0 when none was set.
    double InputTsScale(int AFileIndex, int AStreamIndex) const;
    // Rows for AInputs input files and AOutputs output entries in every
    // per-file table (never beyond FMaxFiles, never fewer than they have).
    void GrowFileTables(int AInputs, int AOutputs);
    // The entry for stream number AIndex of a codec table, the table grown
    // to hold it.
    static const AVCodec*& CodecSlot(std::vector<const AVCodec*>& ATable, int AIndex);
    TCodecList<TAVOutputStream> FEncoderList;
    TCodecList<TAVInputStream> FDecoderList;
    TCustomHookContext FHookContext;
    TPostHookContext FPostContext;
    bool FJoinMode = false;
    bool FConverting = false;
    // Set by Stop on another thread while the run reads it once per packet.
    std::atomic<bool> FBroken{false};
    bool FFinished = false;
    bool FTerminated = false;
    TCustomHookEvent FOnCustomHook;
    TPreviewBitmapEvent FOnPreviewBitmap;
    TProgressEvent FOnProgress;
    TNotifyEvent FOnTerminate;
    int64_t ReportInterval = 500000;
    int64_t PreviewInterval = 100000;
    // Per output entry, what the run did to the file on disk.
    std::vector<TOutputFile> FOutputTargets;
    // Why writing an output failed, found when it was closed; the run then
    // ends with this error instead of finishing.
    std::string FWriteError;
    // How many runs of the engine's list go at once, this one among them;
    // the task list sets it before each start.  The run's share of the
    // cores follows from it (CodecThreads.h).
    int FParallelRuns = 1;
    // What a finished run still holds that the next run would make afresh:
    // work buffers, codec and format contexts, option contexts, filter
    // graph, picture conversions, the per-file tables.  None once a run has
    // ended.
    int LiveRunBuffers() const;

protected:
    void DoConvert();
    void DoTerminate();
    // Called before a run's clean-up closes the inputs, so that whoever
    // borrows them lets go first.
    virtual void InputsClosing() {}
    // Waits for the worker and the termination thread and frees them.
    void JoinThreads();

    // Adds a stream of the type to the last output file (the output stream
    // creation defines it).
    void NewStreamForLastOutput(AVMediaType type);
    // Loads and configures a frame-hook library into FFirstHook: 0 or a
    // negative error code (the frame-hook module defines it).
    int FrameHookAdd(const std::vector<std::string>& args);
    void FrameHookRelease();
    void ResetPostHookContext();
    // Index of the output entry that holds the streams of entry AFileIndex.
    int OutputStreamsOwner(int AFileIndex) const;
    // Frees an output context that is not (or no longer) recorded, with its
    // byte stream and stream records.
    void FreeOutputContext(AVFormatContext*& AContext, int AFileIndex);
    // The text refusing an output that is the same file as an input of the
    // task; empty when it is none of them.
    std::string SameFileAsInput(const std::string& AOutputName) const;
    void CloseOutputFiles();
    void CloseInputFiles();

    // ---- stream set-up (FFmpegTranscodeSetup.cpp) ----
    void InitInputStreams(TTranscodeRun& run);
    void InitOutputStreams(TTranscodeRun& run);
    void MapOutputStreams(TTranscodeRun& run);
    void MapStreamByMap(TTranscodeRun& run, TAVOutputStream* ost, int n);
    void ChooseSourceStream(TTranscodeRun& run, TAVOutputStream* ost, int j);
    void SetupCodecParameters(TTranscodeRun& run);
    void CopyStreamParameters(TTranscodeRun& run, TAVOutputStream* ost);
    void PrepareEncoding(TTranscodeRun& run, int i);
    void OpenPassLogFile(TTranscodeRun& run, int i);
    void FreeTranscodeTables(TTranscodeRun& run);
    // Builds the filter graph from the input stream to the output stream;
    // non-zero on failure, possibly with a text in FLastErrMsg.
    int ConfigureVideoFilters(TAVInputStream* ist, TAVOutputStream* ost);

    // ---- codec opening and headers (FFmpegCodecOpen.cpp) ----
    void OpenEncoders(TTranscodeRun& run);
    void OpenDecoders(TTranscodeRun& run);
    void InitInputTimestamps(TTranscodeRun& run);
    void ApplyMetaDataMaps(TTranscodeRun& run);
    void CopyAllChapters(TTranscodeRun& run);
    void CopyChapters(TTranscodeRun& run, int AInputFile, int AOutputFile);
    void WriteOutputHeaders(TTranscodeRun& run);
    void DumpStreamMapping(TTranscodeRun& run);
    void ReopenEncoders(TTranscodeRun& run);
    void CloseEncoders(TTranscodeRun& run);
    void CloseDecoders(TTranscodeRun& run);
    // The run's share of the cores, taken when it opens its first codec and
    // given back when its decoders close; the threads its codecs started are
    // counted meanwhile.
    int TakeCodecShare();
    void CountCodecThreads(const AVCodecContext* AContext);
    void ReleaseCodecShare();
    // Gives the run's work buffers back to the allocator.
    void ReleaseRunBuffers();
    // Empties the per-file tables once every file is closed.
    void ReleaseFileTables();

    // ---- the steps of opening an output (FFmpegOutput.cpp) ----
    // The format asked for with the last output-format option, which it
    // consumes, else the one the name suggests.  nullptr with the reason in
    // FLastErrMsg.
    const AVOutputFormat* ChooseOutputFormat(const std::string& AFileName, const std::string& ALibraryName);
    // The video, audio and subtitle streams output entry AFileIndex gets:
    // those its format takes (or a codec or copy is asked for), the inputs
    // hold and are not disabled.  The reason a stream could not be made, or
    // empty.
    std::string AddOutputStreams(AVFormatContext* oc, int AFileIndex, bool AJoin);
    // Mux delay, preload, looping and the recorded muxer options.
    void ApplyMuxerSettings(AVFormatContext* oc);
    // Join mode: the recorded output gets one more entry per further input,
    // and the expected duration is the inputs' together.
    void JoinInputsInto(AVFormatContext* oc);

    // ---- the steps of opening an input (FFmpegInput.cpp) ----
    // The format asked for with the last input-format option, which it
    // consumes; nullptr when none was asked.  Raises for an unknown name.
    const AVInputFormat* ForcedInputFormat();
    // The recorded demuxer options and the forced decoders on a context not
    // opened yet.  False with the reason in FLastErrMsg.
    bool PrepareInputContext(AVFormatContext* ic);
    // Keeps only the streams of program Fopt_programid (when set, which it
    // then consumes).  False when the file has no such program.
    bool SelectProgram(AVFormatContext* ic);
    // Probes the streams; the reason the file cannot be used, or empty.
    std::string ReadStreamInfo(AVFormatContext* ic, const std::string& AFileName);
    // Seeks to Fstart_time, which it consumes (a failed seek is only
    // logged); the position in AV_TIME_BASE units, the file's own start
    // included.
    int64_t SeekToStart(AVFormatContext* ic, const std::string& AFileName);
    // The decoder record of one stream, its parameters taken over as the
    // current input-side settings and its input codec slot filled.  Raises
    // FFmpegException; the caller frees what the file already holds.
    std::unique_ptr<TInputStreamCodec> AddInputStream(AVStream* st, unsigned AIndex);
    // The generic demuxing options PrepareInputContext set on the context,
    // as name and value.
    std::vector<std::pair<std::string, std::string>> ContextOptions(AVFormatContext* ic) const;
    // Frees the stand-in of every parked input.
    void FreeStandIns();
    // A film stream's size, aspect ratio, pixel format and rate as the
    // current input-side settings.
    void TakeVideoParameters(const AVStream* st, AVCodecContext* dec, unsigned AIndex);

    // ---- the run's steps (FFmpegTranscodeLoop.cpp) ----
    // Tables, codecs, metadata, chapters and headers, up to the mapping dump.
    void SetUpRun(TTranscodeRun& run);
    // After any failure: closes the codecs while their records still exist,
    // then frees the records (with an open pass-1 file).
    void AbandonRun(TTranscodeRun& run);
    // Reads packet after packet until every input is done, a limit is
    // reached or a stop is asked for.
    void ReadInputs(TTranscodeRun& run);
    // The input to read next: in join mode AFileIndex itself, else the one
    // whose output lags behind.  -1 when an output stream reached its frame
    // limit, or when no input can give a packet now.
    int NextInputFile(const TTranscodeRun& run, int AFileIndex) const;
    bool FrameLimitReached(const TAVOutputStream* ost) const;
    // Whether the first output has grown past Flimit_filesize.
    bool OutputSizeLimitReached(const TTranscodeRun& run) const;
    // Input AFileIndex has no more packets.  True when reading goes on; in
    // join mode AFileIndex has then moved on to the next input, whose time
    // stamps follow on from the end of the output so far.
    bool EndOfInput(TTranscodeRun& run, int& AFileIndex);
    // Join mode: what the input's decoders still hold goes out, and they
    // are flushed for good.
    void DrainInputDecoders(TTranscodeRun& run, int AFileIndex);
    // Join mode: the output streams of the entries after input AFileIndex
    // continue the clocks and frame counts of the block before them.
    void CarryOutputClocks(TTranscodeRun& run, int AFileIndex, bool ALast);
    // Join mode: input AFileIndex + 1 starts where the output of AFileIndex
    // ended.
    void ShiftNextInput(TTranscodeRun& run, int AFileIndex);
    // One packet read from input AFileIndex: time stamps corrected, then
    // decoded or copied unless its stream is unknown, discarded or past the
    // recording time.  False when decoding failed (raises instead with
    // Fexit_on_error); the caller keeps the packet.
    bool HandlePacket(TTranscodeRun& run, int AFileIndex, AVPacket* APacket);
    // The file's offset and scale applied to the packet; a time stamp jump
    // the format allows moves the file's offset to hide it.
    void ShiftTimestamps(const TAVInputStream* ist, const AVFormatContext* ic, AVPacket* APacket,
                         int AFileIndex);
    // The end, also after a stop request: decoders and encoders drained,
    // trailers written, the final report, the codecs closed and the records
    // freed.  Sets FFinished.
    void FinishRun(TTranscodeRun& run);

    // ---- one input packet (FFmpegInputPackets.cpp) ----
    // 0, or -1 when decoding failed; APacket nullptr at the end of the input
    // drains the decoder and the encoders it feeds.
    int ProcessInputPacket(TTranscodeRun& run, TAVInputStream* ist, int ist_index, const AVPacket* APacket);
    void OutputCopiedPacket(TTranscodeRun& run, TAVInputStream* ist, TAVOutputStream* ost,
                            const AVPacket* APacket);
    // Scales 16-bit samples by Faudio_volume / 256 with rounding and clipping.
    void ApplyVolume(int16_t* ASamples, int ACount) const;

    // ---- packet writing (FFmpegWritePacket.cpp) ----
    // Through the stream's bitstream filters to its output file, interleaved;
    // takes the packet's data (the packet is left blank).
    void WritePacket(TTranscodeRun& run, TAVOutputStream* ost, AVPacket* APacket);

    // ---- the encoders fed from decoded frames (FFmpegEncodePaths.cpp) ----
    // ASamples: interleaved 16-bit samples at the decoder's rate and channel
    // count, ASize bytes.
    void do_audio_out(TTranscodeRun& run, TAVOutputStream* ost, TAVInputStream* ist, const uint8_t* ASamples,
                      int ASize);
    void EncodeVideoFrame(TTranscodeRun& run, TAVOutputStream* ost, TAVInputStream* ist, AVFrame* AFrame);
    void EncodeSubtitle(TTranscodeRun& run, TAVOutputStream* ost, TAVInputStream* ist, AVSubtitle* ASubtitle,
                        int64_t APts);
    // Drains the encoder of an output stream at the end of its input.
    void FlushEncoder(TTranscodeRun& run, TAVOutputStream* ost);
    // Waits until the video stage has encoded every picture handed to it and
    // ends its thread; throws what failed there.
    void FinishVideoStage(TTranscodeRun& run);
    // Sends a frame (nullptr: end) to the stream's encoder and writes every
    // packet it gives back; the bytes go to the media type's counter.
    int EncodeAndWrite(TTranscodeRun& run, TAVOutputStream* ost, const AVFrame* AFrame);

    // ---- progress report (FFmpegProgress.cpp) ----
    void ReportProgress(TTranscodeRun& run, bool AIsLastReport, int AFileIndex);

private:
    void RunWorker();
    void RecordFatal(const std::string& AMessage);
    template <class F> void Guarded(F&& AStep);
    // Guards the run state (FConverting, FTerminated) and the threads.
    mutable std::mutex FRunLock;
    std::unique_ptr<os::OsThread> FWorker;
    // The worker while the run lasts; DoTerminate clears it.
    os::OsThread* FThread = nullptr;
    std::unique_ptr<os::OsThread> FTermThread;
    // Non-signalled from the creation of a thread until its body has ended.
    os::Event FStopEvent{true, true};
    os::Event FTermEvent{true, true};
    os::PauseGate FPauseGate;
    std::atomic<bool> FParked{false};
    // The run's share while its codecs are open (0: none taken), and the
    // threads its codecs started.
    int FCodecShare = 0;
    int FCodecThreadsStarted = 0;
    // Scales and encodes the video of a run whose share allows it, while
    // the run's thread reads and decodes.  One picture waits at most: the
    // encoder sets the pace, so one ready is enough, and each waiting one is
    // a copy of a decoded picture (3 MiB at 1080p).
    TStageThread FVideoStage{1};
};

} // namespace media
