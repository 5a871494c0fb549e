#pragma once
// The player component: plays one media file into a host window.  SDL 1.2
// renders off-screen (its dummy video driver) and every displayed rectangle
// goes to the host through the frame sink keyed by the host window's handle
// value; audio goes through SDL's real drivers.  SDL state is process-wide:
// one player is open at a time.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "media/AVProbe.h"
#include "media/FFBaseComponent.h"
#include "media/FFLogger.h"
#include "media/FrameBitmap.h"
#include "media/PlayEventQueue.h"
#include "media/RGBConvert.h"
#include "os/CriticalSection.h"

struct AVFrame;
struct AVInputFormat;

namespace os {
class OsThread;
}

namespace media {

enum TPlayState { psPlay, psPause, psResume, psStep, psStop, psEnd };
enum TRepeatType { rtNone, rtStop, rtLoop };
enum TShowAudio { saNone, saWave, saRDFT };
// The driver names of the other system: the default leaves SDL_AUDIODRIVER
// unset (SDL tries pulse, then alsa); the other two are "pulse" and "alsa".
enum TAudioDriver { adDefault, adDirectSound, adWaveOut };
// Video is always drawn by SDL's off-screen driver; the choice is kept for
// stored settings.
enum TVideoDriver { vdDefault, vdDirectDraw, vdGDI };
enum Tav_sync_type { AV_SYNC_AUDIO_MASTER, AV_SYNC_VIDEO_MASTER, AV_SYNC_EXTERNAL_CLOCK };
using TAudioVolume = int; // 0..128

using TFileOpenEvent = std::function<void(os::TObject* Sender, int64_t ADuration, int AFrameWidth,
                                          int AFrameHeight, int& AScreenWidth, int& AScreenHeight)>;
using TPositionEvent = std::function<void(os::TObject* Sender, int64_t APTS)>;
using TPlayStateEvent = std::function<void(os::TObject* Sender, TPlayState AState)>;
using THookEvent = std::function<void(os::TObject* Sender, TFrameBitmap& ABitmap, int64_t APTS)>;

// The value written to SDL_AUDIODRIVER, or nullptr to leave it unset.
const char* AudioDriverName(TAudioDriver driver);

struct TVideoState;
class TPlayerCore;

class TCustomPlayer : public TFFBaseComponent {
public:
    explicit TCustomPlayer(os::TComponent* owner = nullptr);
    ~TCustomPlayer() override;
    std::string ClassName() const override { return "TCustomPlayer"; }

    bool LoadAVLib(const std::string& APath);
    bool AVLibLoaded() const;
    void UnloadAVLib();

    // AScreenHandle is the host window's handle value (0: no host).
    bool Open(const std::string& AFileName, uintptr_t AScreenHandle, bool APaused = false);
    void Stop(bool AWaitForStop);
    void Pause();
    void Resume();
    void TogglePause();
    void StepToNextFrame();
    // APTS in microseconds from the file's start, or a byte position with sfByte.
    void Seek(int64_t APTS, TSeekFlags ASeekFlags = {}, bool AWaitForSeekEnd = false);
    void Seek(int APTS, TSeekFlags ASeekFlags = {}, bool AWaitForSeekEnd = false) {
        Seek(static_cast<int64_t>(APTS), ASeekFlags, AWaitForSeekEnd);
    }
    // ADelta in seconds from the current position.
    void Seek(double ADelta, TSeekFlags ASeekFlags = {}, bool AWaitForSeekEnd = false);

    // The last displayed picture; the bitmap belongs to the player and the
    // next call overwrites it.  0 x 0 and APTS -1 without a picture.
    const TFrameBitmap& CurrentFrame();
    const TFrameBitmap& CurrentFrame(int64_t& APTS);
    void ToggleAudioDisplay();
    // Kept for hosts that call it when their window moves; the off-screen
    // output needs nothing.
    void UpdateScreenPosition() {}

    // Properties.
    const std::string& About() const { return FAbout; }
    void SetAbout(const std::string& v) { FAbout = v; }
    static const char* Version() { return "2.3"; }
    const std::string& FileName() const { return Finput_filename; }
    const std::string& LastErrMsg() const { return FLastErrMsg; }
    uintptr_t ScreenHandle() const { return FScreenHandle; }
    TAVProbe& AVProbe() { return *FAVProbe; }
    int64_t CurrentPTS() const { return FCurrentPTS; }
    bool Paused() const;
    TPlayState PlayState() const { return FState; }
    bool Seeking() const { return FSeeking; }
    bool FullScreen() const { return is_full_screen; }

    std::string Format() const;
    // Raises FFmpegException "Unknown input format: %s" for a name no demuxer has.
    void SetFormat(const std::string& AName);
    float AspectRatio() const { return FAspectRatio; }
    void SetAspectRatio(float AValue);
    TShowAudio ShowAudio() const { return FShowAudio; }
    void SetShowAudio(TShowAudio AValue);
    int VideoStreamIndex() const;
    int AudioStreamIndex() const;
    int SubtitleStreamIndex() const;
    void SetVideoStreamIndex(int AIndex) { SetStreamIndex(0, AIndex); }
    void SetAudioStreamIndex(int AIndex) { SetStreamIndex(1, AIndex); }
    void SetSubtitleStreamIndex(int AIndex) { SetStreamIndex(3, AIndex); }
    TAudioVolume AudioVolume() const { return FAudioVolume; }
    void SetAudioVolume(TAudioVolume v) { FAudioVolume = v < 0 ? 0 : (v > 128 ? 128 : v); }
    bool Mute() const { return FMute; }
    void SetMute(bool v) { FMute = v; }
    int wanted_stream(int AMediaType) const { return Fwanted_stream[AMediaType + 1]; }
    void set_wanted_stream(int AMediaType, int AIndex) { Fwanted_stream[AMediaType + 1] = AIndex; }

    // Plain properties.  Those a host may change while a file plays, and
    // those the play thread writes, are atomic.
    bool DisableAudio = false;
    bool DisableVideo = false;
    bool DisableDisplay = false;
    int FrameWidth = 0, FrameHeight = 0;
    std::atomic<int> ScreenWidth{0}, ScreenHeight{0};
    TAudioDriver AudioDriver = adDefault;
    TVideoDriver VideoDriver = vdDefault;
    std::atomic<bool> Hook{false};
    std::atomic<int64_t> PlayTime{NoTime};
    std::atomic<TRepeatType> RepeatType{rtStop};
    bool TriggerEventInMainThread = true;
    std::atomic<bool> VerticalFlip{false};
    std::string VideoFilters;
    bool is_full_screen = false;
    int seek_by_bytes = -1;
    std::atomic<int64_t> start_time{NoTime};
    int workaround_bugs = 1;
    int debug = 0, debug_mv = 0;
    bool fast = false, genpts = false;
    int decoder_reorder_pts = -1;
    int framedrop = 1;
    int rdftspeed = 20;
    int lowres = 0, idct_algo = 0, skip_frame = 0, skip_idct = 0, skip_loop_filter = 0;
    int error_recognition = 1, error_concealment = 3;
    Tav_sync_type av_sync_type = AV_SYNC_AUDIO_MASTER;
    int sws_flags = 4;

    TFileOpenEvent OnFileOpen;
    TPositionEvent OnPosition;
    TPlayStateEvent OnState;
    THookEvent OnHook;

protected:
    void ReportError(const std::string& AMsg, bool AStore);

private:
    friend class TPlayerCore;
    void SetStreamIndex(int AMediaType, int AIndex);
    void ResetState();
    void SetState(TPlayState AState);
    void PushPlayEvent(int AKind, int64_t AValue);
    void UpdatePosition();
    void PlayThreadExecute();
    void EventThreadExecute();
    void DoFileOpen();
    // Hands the frame to OnHook as a bitmap and writes the hooked picture
    // into the overlay planes.
    void DoHook(AVFrame* AFrame, uint8_t* const ADst[4], const int ADstLines[4], int AWidth, int AHeight,
                double APTS);
    void JoinThreads();
    void FreeRetiredState();
    void ShutdownSDL();
    // Starts SDL's audio on its silent driver after the real ones failed; false when even
    // that fails.
    bool StartSilentAudio();

    const AVInputFormat* Ffile_iformat = nullptr;
    std::string Finput_filename;
    int Ffs_screen_width = 0, Ffs_screen_height = 0;
    int Fframe_pix_fmt = -1;
    int Fwanted_stream[7] = {-1, -1, -1, -1, -1, -1, -1};
    std::atomic<bool> Fstep{false};
    std::atomic<TVideoState*> FVideoState{nullptr};
    std::unique_ptr<TVideoState> FVideoStateOwner;
    std::unique_ptr<TVideoState> FRetiredState;
    std::atomic<int64_t> Faudio_callback_time{0};
    void* Fscreen = nullptr; // SDL_Surface of the play thread
    std::string FAbout;
    std::string FLastErrMsg;
    std::atomic<int64_t> FLastPTS{NoTime};
    std::atomic<int64_t> FCurrentPTS{-1};
    std::unique_ptr<TAVProbe> FAVProbe;
    uintptr_t FScreenHandle = 0;
    std::recursive_mutex FDataLock;
    os::Event FSeekEvent{true, true};
    os::Event FPictEvent{true, true};
    os::Event FStopEvent{true, true};
    TPlayEventQueue FPlayEvent;
    std::atomic<bool> FSeeking{false};
    std::atomic<float> FAspectRatio{0};
    std::atomic<int> FAudioVolume{128};
    TShowAudio FShowAudio = saWave;
    std::atomic<bool> FMute{false};
    std::atomic<TPlayState> FState{psPlay};
    TRGBConvertContext FRGBContext;
    TRGBConvertContext FHookContext;
    std::unique_ptr<TFrameBitmap> FEmptyBitmap;
    // The last displayed decoded picture, for snapshots.
    std::mutex FFrameLock;
    AVFrame* FLastFrame = nullptr;
    double FLastFramePts = 0;
    std::unique_ptr<os::OsThread> FPlayThread;
    std::unique_ptr<os::OsThread> FEventThread;
    bool FSDLStarted = false;
    bool FAudioDriverSet = false;
    std::atomic<bool> FDestroying{false};
};

class TFFPlayer : public TCustomPlayer {
public:
    using TCustomPlayer::TCustomPlayer;
    std::string ClassName() const override { return "TFFPlayer"; }
};

} // namespace media
