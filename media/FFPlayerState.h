#pragma once
// The state of one open playback, shared by every thread of the player, and
// the operations of those threads.  Internal to the player's sources.
#include "media/SDLApi.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "media/AVApi.h"
#include "media/AVBuffer.h"
#include "media/FFPlayer.h"
#include "media/PacketQueue.h"
#include "media/PlayerMath.h"
#include "os/Thread.h"

namespace media {

constexpr int PlayerAudioBufferSize = 288000;
constexpr int SampleArraySize = 131072;
constexpr int PictureQueueSize = 2;
constexpr int SubPictureQueueSize = 4;

// SDL user events of the player; the first data pointer is the TVideoState.
constexpr int FF_ALLOC_EVENT = SDL_USEREVENT;
constexpr int FF_REFRESH_EVENT = SDL_USEREVENT + 1;
constexpr int FF_QUIT_EVENT = SDL_USEREVENT + 2;
constexpr int FF_REOPEN_EVENT = SDL_USEREVENT + 3;

struct TVideoPicture {
    double pts = 0;
    double target_clock = 0;
    int64_t pos = -1;
    SDL_Overlay* bmp = nullptr;
    int width = 0, height = 0;
    int allocated = 0;
    int pix_fmt = -1;
    AVFrame* frame = nullptr; // our reference to the picture in the overlay
};

struct TSubPicture {
    double pts = 0;
    AVSubtitle sub{};
};

struct TVideoState {
    TCustomPlayer* Owner = nullptr;

    std::unique_ptr<os::OsThread> parse_tid, video_tid, refresh_tid, subtitle_tid;
    const AVInputFormat* iformat = nullptr;
    std::atomic<int> abort_request{0};
    std::atomic<int> paused{0};
    int last_paused = 0;
    std::atomic<int> seek_req{0};
    int seek_flags = 0;
    int64_t seek_pos = 0, seek_rel = 0;
    std::atomic<int> read_pause_return{0};
    AVFormatContext* ic = nullptr;
    // Held by the reading loop around each step and by a stream switch.
    std::recursive_mutex read_lock;

    std::atomic<int> audio_stream{-1}, video_stream{-1}, subtitle_stream{-1};
    Tav_sync_type av_sync_type = AV_SYNC_AUDIO_MASTER;
    double external_clock = 0;
    int64_t external_clock_time = 0;

    // Audio (the callback's thread, except where atomic).
    // The sample converter writes into these with its SIMD routines.
    TAVBuffer audio_buf1{PlayerAudioBufferSize};
    TAVBuffer audio_buf2{PlayerAudioBufferSize};
    std::atomic<double> audio_clock{0};
    TAudioDiffAverage audio_diff;
    AVStream* audio_st = nullptr;
    AVCodecContext* audio_dec = nullptr;
    TPacketQueue audioq;
    int audio_hw_buf_size = 0;
    uint8_t* audio_buf = nullptr;
    std::atomic<int> audio_buf_size{0}, audio_buf_index{0};
    AVPacket* audio_pkt = nullptr;
    bool audio_pkt_sent = true; // the packet has gone to the decoder
    AVFrame* audio_frame = nullptr;
    SwrContext* swr = nullptr;
    int audio_src_fmt = -1, audio_src_rate = 0, audio_src_channels = 0; // what swr was made for
    std::atomic<int> audio_channels{0}, audio_rate{0};                  // of the samples handed to SDL
    std::atomic<int> show_audio{0};
    std::mutex sample_lock;
    std::vector<int16_t> sample_array = std::vector<int16_t>(SampleArraySize);
    int sample_array_index = 0;
    int last_i_start = 0;
    RDFTContext* rdft = nullptr;
    int rdft_bits = 0;
    TAVBuffer rdft_data; // floats, aligned for the transform
    int xpos = 0;

    // Subtitles.
    std::atomic<int> subtitle_stream_changed{0};
    AVStream* subtitle_st = nullptr;
    AVCodecContext* subtitle_dec = nullptr;
    TPacketQueue subtitleq;
    TSubPicture subpq[SubPictureQueueSize];
    int subpq_size = 0, subpq_rindex = 0, subpq_windex = 0;
    std::mutex subpq_mutex;
    std::condition_variable subpq_cond;

    // Video.
    double frame_timer = 0; // under pictq_mutex
    double frame_last_pts = 0, frame_last_delay = 0;
    std::atomic<double> video_clock{0};
    AVStream* video_st = nullptr;
    AVCodecContext* video_dec = nullptr;
    TPacketQueue videoq;
    std::atomic<double> video_current_pts{0};
    std::atomic<double> video_current_pts_drift{0};
    std::atomic<int64_t> video_current_pos{-1};
    TVideoPicture pictq[PictureQueueSize];
    int pictq_size = 0, pictq_rindex = 0, pictq_windex = 0;
    std::mutex pictq_mutex;
    std::condition_variable pictq_cond;
    std::string filename;
    int width = 0, height = 0, xleft = 0, ytop = 0;
    int64_t faulty_pts = 0, faulty_dts = 0;
    int64_t last_dts_for_fault_detection = 0, last_pts_for_fault_detection = 0;
    AVFilterGraph* graph = nullptr;
    AVFilterContext* in_video_filter = nullptr;
    AVFilterContext* out_video_filter = nullptr;
    std::atomic<int> out_width{0}, out_height{0}, out_format{-1}; // the sink's picture
    std::atomic<double> skip_frames{1};
    double skip_frames_index = 0;
    std::atomic<int> refresh{0};
    // Pictures the refresh may show while paused: the first after a flush,
    // and one per step.
    std::atomic<int> show_permits{0};

    std::atomic<int> Opened{0};
    int64_t StartTime = 0;
    int64_t Duration = -1;
    std::atomic<int64_t> AudioDuration{-1};
    int IsImage2 = 0, IsDevice = 0;
    std::atomic<int> ErrorEOF{0}, EventEOF{0}, ReachEOF{0}, Reading{0};
    std::atomic<int> open_paused{0}, seek_paused{0}, seek_done{0}, seek_flushed{0};
    // Whether the player was paused when the pending seek was asked for; the read thread
    // turns it into seek_paused only when it carries the seek out, so a picture of an
    // earlier seek cannot end the new seek's pause wake-up before its flush arrives.
    std::atomic<int> seek_paused_req{0};

    ~TVideoState();
};

// The algorithms of the playback threads; a friend of the player.
class TPlayerCore {
public:
    // Reading.
    static bool StreamOpen(TCustomPlayer* player, const std::string& fileName, const AVInputFormat* iformat,
                           bool paused);
    static void ReadThread(TVideoState* is);
    static bool SwitchStream(TVideoState* is, int mediaType, int index);
    static void StreamClose(TVideoState* is);
    static void DoExit(TCustomPlayer* player);
    static bool PushEvent(TVideoState* is, int type);

    // Components and audio.
    static int StreamComponentOpen(TVideoState* is, int index);
    static void StreamComponentClose(TVideoState* is, int index);
    static void AudioCallback(void* opaque, Uint8* stream, int len);
    static int AudioDecodeFrame(TVideoState* is, double& pts);
    static int SynchronizeAudio(TVideoState* is, int size);
    static void UpdateSampleDisplay(TVideoState* is, const uint8_t* samples, int size);

    // Video and subtitles.
    static void VideoThread(TVideoState* is);
    static void SubtitleThread(TVideoState* is);
    static void AllocPicture(TVideoState* is);
    static void FlushPictures(TVideoState* is);
    static int GetVideoFrame(TVideoState* is, AVFrame* frame, AVPacket* pkt);
    static int QueuePicture(TVideoState* is, AVFrame* frame, double pts, int64_t pos);

    // Clocks, refresh and display.
    static void RefreshThread(TVideoState* is);
    static double Now();
    static double GetAudioClock(TVideoState* is);
    static double GetVideoClock(TVideoState* is);
    static double GetExternalClock(TVideoState* is);
    static double GetMasterClock(TVideoState* is);
    // Where playback is: the master clock, or while paused the picture on the screen.
    static double PlaybackClock(TVideoState* is);
    static double ComputeTargetTime(TVideoState* is, double pts);
    static void StreamSeek(TVideoState* is, int flags, bool wait, int64_t rel, int64_t pos);
    static void StreamPause(TVideoState* is);
    static void VideoRefresh(TVideoState* is, bool advance);
    static int VideoOpen(TVideoState* is, bool force);
    static void VideoDisplay(TVideoState* is);
    static void VideoImageDisplay(TVideoState* is);
    static void RedrawLastPicture(TVideoState* is);
    static void VideoAudioDisplay(TVideoState* is);
    static void UpdateScreen(TVideoState* is, int x, int y, int w, int h);
};

// Waits for the event in steps, running the GUI thread's pending calls
// between them when called there.  False when the time ran out or abandon
// said so.
bool WaitPumping(os::Event& event, uint32_t totalMs, const std::function<bool()>& abandon = nullptr);

} // namespace media
