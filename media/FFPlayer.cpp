#include "media/FFPlayer.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "media/ComponentUtils.h"
#include "media/FFPlayerState.h"
#include "media/FFmpegLoader.h"
#include "media/MediaErrors.h"
#include "media/PlayerMath.h"
#include "os/Clock.h"
#include "os/Convert.h"
#include "os/FrameSink.h"
#include "os/MainThread.h"
#include "os/Thread.h"

namespace media {
namespace {

const char* const kNotLoaded = "libav or libsdl not loaded.";
// Attempts of a waiting Stop before it tears the playback down itself.
constexpr int kStopAttemptsWhileReading = 10;
constexpr int kStopAttempts = 20;

// Environment changes for SDL happen under this lock while no SDL thread runs.
std::mutex& EnvLock() {
    static std::mutex m;
    return m;
}

// Pushing events into SDL from a host's notice must not race SDL's shutdown.
std::mutex& SDLEventsLock() {
    static std::mutex m;
    return m;
}
bool g_sdlEventsOpen = false;

// A lock tried for up to ms milliseconds.  Tried in short steps: the timed lock of the
// standard library goes through a call that ThreadSanitizer does not follow.
bool TryLockFor(std::unique_lock<std::recursive_mutex>& lock, int ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!lock.try_lock()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        os::SleepMs(1);
    }
    return true;
}

bool PushSDLEvent(SDL_Event& ev) {
    std::lock_guard<std::mutex> g(SDLEventsLock());
    return g_sdlEventsOpen && sdl::SDL_PushEvent(&ev) == 0;
}

} // namespace

const char* AudioDriverName(TAudioDriver driver) {
    switch (driver) {
    case adDirectSound:
        return "pulse";
    case adWaveOut:
        return "alsa";
    default:
        return nullptr;
    }
}

bool WaitPumping(os::Event& event, uint32_t totalMs, const std::function<bool()>& abandon) {
    uint64_t deadline = os::GetTickCount64() + totalMs;
    for (;;) {
        if (event.WaitFor(os::IsMainThread() ? 10 : 100) == os::WaitResult::Signaled) return true;
        if (os::IsMainThread()) ProcessMessages();
        if (totalMs != os::INFINITE_WAIT && os::GetTickCount64() >= deadline) return false;
        if (abandon && abandon()) return false;
    }
}

TCustomPlayer::TCustomPlayer(os::TComponent* owner)
    : TFFBaseComponent(owner), FAVProbe(std::make_unique<TAVProbe>()) {}

TCustomPlayer::~TCustomPlayer() {
    FDestroying = true;
    Stop(true);
    std::lock_guard<std::mutex> g(FFrameLock);
    if (FLastFrame) av::av_frame_free(&FLastFrame);
}

bool TCustomPlayer::LoadAVLib(const std::string& APath) {
    if (Designing()) return true;
    FFLoader().SetLibraryPath(APath);
    if (FFLoader().Load(PlayerLibraries)) return true;
    FLastErrMsg = FFLoader().LastErrMsg();
    return false;
}

bool TCustomPlayer::AVLibLoaded() const {
    return FFLoader().Loaded(PlayerLibraries);
}

void TCustomPlayer::UnloadAVLib() {
    Stop(true);
    FFLoader().Unload(PlayerLibraries);
}

void TCustomPlayer::ReportError(const std::string& AMsg, bool AStore) {
    FFLogger().Log(this, llError, AMsg);
    if (AStore) FLastErrMsg = AMsg;
}

bool TCustomPlayer::Paused() const {
    TVideoState* is = FVideoState.load();
    return !is || is->paused.load() != 0;
}

void TCustomPlayer::ResetState() {
    Fscreen = nullptr;
    FLastPTS = NoTime;
    FCurrentPTS = -1;
    Fstep = false;
    for (int& w : Fwanted_stream) w = -1;
    seek_by_bytes = -1;
    start_time = NoTime;
    PlayTime = NoTime;
    RepeatType = rtStop;
    VerticalFlip = false;
    FSeeking = false;
    FSeekEvent.Set();
}

void TCustomPlayer::ShutdownSDL() {
    if (!FSDLStarted) return;
    os::ClearFrameSinkListener(FScreenHandle);
    {
        std::lock_guard<std::mutex> g(SDLEventsLock());
        g_sdlEventsOpen = false;
    }
    if (sdl::SDL_Quit) sdl::SDL_Quit();
    FSDLStarted = false;
}

bool TCustomPlayer::Open(const std::string& AFileName, uintptr_t AScreenHandle, bool APaused) {
    if (!AVLibLoaded()) {
        ReportError(kNotLoaded, true);
        return false;
    }
    // Joins every thread of the previous playback, the event thread too, so
    // that no two threads ever pop one event queue.
    Stop(true);
    FLastErrMsg.clear();

    {
        std::lock_guard<std::mutex> g(EnvLock());
        // Off-screen at 32 bits per pixel: the host shows what SDL draws.
        ::setenv("SDL_VIDEODRIVER", "dummy", 1);
        if (const char* audio = AudioDriverName(AudioDriver)) {
            ::setenv("SDL_AUDIODRIVER", audio, 1);
            FAudioDriverSet = true;
        } else if (FAudioDriverSet) {
            // An empty value breaks SDL 1.2; the default leaves it unset.
            ::unsetenv("SDL_AUDIODRIVER");
            FAudioDriverSet = false;
        }
    }

    // The program keeps its own signal handling: no parachute.  Audio starts
    // on its own, so that a box without sound still shows the video.
    if (sdl::SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE) != 0) {
        ReportError(os::FormatC("Could not initialize SDL with ScreenHandle(%u): %s",
                                static_cast<unsigned>(AScreenHandle), sdl::SDL_GetError()),
                    true);
        sdl::SDL_Quit();
        return false;
    }
    FSDLStarted = true;
    FScreenHandle = AScreenHandle;
    if (sdl::SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) StartSilentAudio();
    {
        char name[257] = {};
        if (sdl::SDL_AudioDriverName(name, sizeof name - 1))
            FFLogger().Log(this, llDebug, "using audio driver: %s", name);
        if (sdl::SDL_VideoDriverName(name, sizeof name - 1))
            FFLogger().Log(this, llDebug, "using video driver: %s", name);
    }
    {
        std::lock_guard<std::mutex> g(SDLEventsLock());
        g_sdlEventsOpen = true;
    }

    if (DisableDisplay) {
        DisableVideo = true;
    } else {
        const SDL_VideoInfo* vi = sdl::SDL_GetVideoInfo();
        if (!vi) {
            ReportError("SDL_GetVideoInfo() failed", true);
            ShutdownSDL();
            return false;
        }
        Ffs_screen_width = vi->current_w;
        Ffs_screen_height = vi->current_h;
    }

    sdl::SDL_EventState(SDL_ACTIVEEVENT, SDL_IGNORE);
    sdl::SDL_EventState(SDL_MOUSEMOTION, SDL_IGNORE);
    sdl::SDL_EventState(SDL_SYSWMEVENT, SDL_IGNORE);
    sdl::SDL_EventState(SDL_USEREVENT, SDL_IGNORE);

    // The hook's conversion state is the video thread's once the file is
    // open; it is released while no such thread runs.
    ResetRGBContext(FHookContext);
    FStopEvent.Reset();
    if (!TPlayerCore::StreamOpen(this, AFileName, Ffile_iformat, APaused)) {
        FStopEvent.Set();
        ShutdownSDL();
        return false;
    }
    Finput_filename = AFileName;
    FAVProbe->SetFileHandle(FVideoState.load()->ic);

    // The host's resize and expose come back as SDL's own events.
    os::SetFrameSinkListener(FScreenHandle, [](os::FrameSinkNotice notice, int w, int h) {
        SDL_Event ev{};
        if (notice == os::FrameSinkNotice::Resize) {
            ev.type = SDL_VIDEORESIZE;
            ev.resize.w = w;
            ev.resize.h = h;
        } else {
            ev.type = SDL_VIDEOEXPOSE;
        }
        PushSDLEvent(ev);
    });

    if (TriggerEventInMainThread)
        CallInMainThread([this] { DoFileOpen(); });
    else
        DoFileOpen();

    FEventThread = std::make_unique<os::OsThread>([this] { EventThreadExecute(); });
    FPlayThread = std::make_unique<os::OsThread>([this] { PlayThreadExecute(); });
    FEventThread->Start();
    FPlayThread->Start();
    return true;
}

bool TCustomPlayer::StartSilentAudio() {
    FFLogger().Log(this, llError, std::string("SDL audio: ") + sdl::SDL_GetError());
    sdl::SDL_QuitSubSystem(SDL_INIT_AUDIO);
    // SDL's dummy driver takes the samples at the pace of sound without a device: the audio
    // clock runs, so pictures, the wave and the position move on as with sound.
    bool started;
    {
        std::lock_guard<std::mutex> g(EnvLock());
        const char* was = std::getenv("SDL_AUDIODRIVER");
        const std::string previous = was ? was : "";
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        started = sdl::SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
        if (was)
            ::setenv("SDL_AUDIODRIVER", previous.c_str(), 1);
        else
            ::unsetenv("SDL_AUDIODRIVER");
    }
    if (started)
        FFLogger().Log(this, llInfo, "no sound device: playing without sound");
    else
        FFLogger().Log(this, llError, std::string("SDL audio: ") + sdl::SDL_GetError());
    return started;
}

void TCustomPlayer::DoFileOpen() {
    ResetRGBContext(FRGBContext);
    TVideoState* is = FVideoState.load();
    if (!is) return;
    if (OnFileOpen) {
        int w = -1, h = -1;
        // The stream's parameters, not the decoder's: the video thread is
        // already decoding.
        if (is->video_st && is->video_st->codecpar->width > 0) {
            w = is->video_st->codecpar->width;
            h = is->video_st->codecpar->height;
        }
        int sw = ScreenWidth, sh = ScreenHeight;
        OnFileOpen(this, is->IsImage2 ? 0 : is->Duration, w, h, sw, sh);
        ScreenWidth = sw;
        ScreenHeight = sh;
    }
    if (FScreenHandle && (ScreenWidth == 0 || ScreenHeight == 0)) {
        int w = 0, h = 0;
        if (os::FrameSinkClientSize(FScreenHandle, w, h)) {
            ScreenWidth = w;
            ScreenHeight = h;
        }
    }
}

void TCustomPlayer::JoinThreads() {
    if (FPlayThread) {
        FPlayThread->Join();
        FPlayThread.reset();
    }
    if (FEventThread) {
        // The event thread may wait for the GUI thread to run a handler.
        while (!FEventThread->Finished()) {
            if (os::IsMainThread()) ProcessMessages();
            os::SleepMs(1);
        }
        FEventThread->Join();
        FEventThread.reset();
    }
}

void TCustomPlayer::Stop(bool AWaitForStop) {
    TVideoState* is = FVideoState.load();
    if (is) {
        // Silence first: unpausing must not let the decoded sound out while
        // the quit request is on its way.
        is->audioq.Abort();
        if (is->paused) {
            TPlayerCore::StreamPause(is);
            Fstep = false;
        }
        TPlayerCore::PushEvent(is, FF_QUIT_EVENT);
    }
    if (!AWaitForStop) return;
    if (FPlayThread) {
        // The quit request is posted again now and then (SDL's queue is small and drops
        // events when full).  A play thread that still does not finish has the playback torn
        // down here: soon when the reader is stuck in a read, a little later in any case.
        int attempt = 1;
        while (!WaitPumping(FStopEvent, 100) && FVideoState.load()) {
            std::unique_lock<std::recursive_mutex> lock(FDataLock, std::defer_lock);
            if (!TryLockFor(lock, 100)) continue;
            ++attempt;
            TVideoState* cur = FVideoState.load();
            if (!cur) break;
            if ((attempt > kStopAttemptsWhileReading && cur->Reading == 1) || attempt > kStopAttempts) {
                TPlayerCore::DoExit(this);
                // Wakes the play thread, which finds nothing open and ends.
                SDL_Event ev{};
                ev.type = FF_QUIT_EVENT;
                PushSDLEvent(ev);
                break;
            }
            TPlayerCore::PushEvent(cur, FF_QUIT_EVENT);
        }
    }
    JoinThreads();
    FreeRetiredState();
    ShutdownSDL();
}

void TCustomPlayer::FreeRetiredState() {
    if (!FRetiredState) return;
    if (FAVProbe->FileHandle() && FAVProbe->FileHandle() == FRetiredState->ic)
        FAVProbe->SetFileHandle(nullptr);
    FRetiredState.reset();
}

void TCustomPlayer::PlayThreadExecute() {
    SetState(psPlay);
    try {
        for (;;) {
            SDL_Event ev;
            if (!sdl::SDL_WaitEvent(&ev)) {
                os::SleepMs(10);
                continue;
            }
            std::lock_guard<std::recursive_mutex> g(FDataLock);
            TVideoState* is = FVideoState.load();
            if (!is) break;
            if (ev.type == SDL_QUIT || ev.type == FF_QUIT_EVENT) {
                TPlayerCore::DoExit(this);
                break;
            }
            switch (ev.type) {
            case SDL_VIDEORESIZE:
                Fscreen = sdl::SDL_SetVideoMode(ev.resize.w, ev.resize.h, 32,
                                                SDL_HWSURFACE | SDL_ASYNCBLIT | SDL_HWACCEL | SDL_RESIZABLE);
                ScreenWidth = ev.resize.w;
                ScreenHeight = ev.resize.h;
                is->width = ev.resize.w;
                is->height = ev.resize.h;
                if (is->paused) TPlayerCore::VideoRefresh(is, false);
                break;
            case SDL_VIDEOEXPOSE:
                TPlayerCore::VideoRefresh(is, false);
                break;
            case FF_ALLOC_EVENT:
                TPlayerCore::VideoOpen(is, false);
                TPlayerCore::AllocPicture(is);
                break;
            case FF_REFRESH_EVENT:
                TPlayerCore::VideoRefresh(is, true);
                is->refresh = 0;
                break;
            case FF_REOPEN_EVENT:
                TPlayerCore::VideoOpen(is, true);
                TPlayerCore::VideoRefresh(is, false);
                break;
            default:
                break;
            }
        }
    } catch (const std::exception& e) {
        FFLogger().Log(this, llFatal, std::string("PlayThread Exception: ") + e.what());
        std::lock_guard<std::recursive_mutex> g(FDataLock);
        TPlayerCore::DoExit(this);
    }
    SetState(psStop);
    FStopEvent.Set();
}

void TCustomPlayer::SetState(TPlayState AState) {
    FState = AState;
    if (OnState)
        PushPlayEvent(pekState, AState);
    else if (AState == psStop)
        PushPlayEvent(pekEnd, 0);
}

void TCustomPlayer::PushPlayEvent(int AKind, int64_t AValue) {
    FPlayEvent.Push(AKind, AValue);
}

void TCustomPlayer::EventThreadExecute() {
    for (;;) {
        TPlayEventSlot slot = FPlayEvent.Pop();
        if (slot.Kind == pekNone) {
            FPlayEvent.Wait();
            continue;
        }
        if (slot.Kind == pekEnd) return;
        if (FDestroying) {
            if (slot.Kind == pekState && slot.Value == psStop) return;
            continue;
        }
        auto deliver = [this, slot] {
            if (slot.Kind == pekPosition) {
                if (OnPosition) OnPosition(this, slot.Value);
            } else if (OnState) {
                OnState(this, static_cast<TPlayState>(slot.Value));
            }
        };
        try {
            if (TriggerEventInMainThread)
                CallInMainThread(deliver);
            else
                deliver();
        } catch (const std::exception& e) {
            FFLogger().Log(this, llError, std::string(e.what()));
        }
        if (slot.Kind == pekState && slot.Value == psStop) return;
    }
}

void TCustomPlayer::UpdatePosition() {
    TVideoState* is = FVideoState.load();
    if (!is || is->IsImage2) return;
    int64_t pos;
    if (is->video_stream >= 0) {
        pos = std::llrint(TPlayerCore::GetVideoClock(is) * 1000000.0) - is->StartTime;
    } else if (is->audio_stream >= 0) {
        pos = std::llrint(TPlayerCore::GetAudioClock(is) * 1000000.0) - is->StartTime;
        int64_t ad = is->AudioDuration;
        // Decoded audio may end short of the file's duration (an encoder's delay and
        // padding): once everything has been read and decoded, the position is the end.
        if (((ad > 0 && ad <= pos) || is->ReachEOF == 1) && is->Duration > pos) pos = is->Duration;
    } else {
        return;
    }
    FCurrentPTS = pos;
    if (is->Duration > 0 && is->Duration <= pos) {
        pos = is->Duration;
        if (FLastPTS != is->Duration) FLastPTS = 0;
    }
    int64_t last = FLastPTS;
    if (last == NoTime || std::llabs(pos - last) > 10000) {
        FLastPTS = pos;
        if (OnPosition) PushPlayEvent(pekPosition, pos);
    }
    if (!is->IsDevice && is->EventEOF == 0 && is->ReachEOF == 1) {
        if (is->video_stream >= 0) is->EventEOF = 1;
        SetState(psEnd);
    }
    if (PlayTime != NoTime) {
        int64_t limit = start_time != NoTime ? PlayTime + start_time : PlayTime.load();
        if (pos >= limit) {
            if (RepeatType == rtStop)
                Stop(false);
            else if (RepeatType == rtLoop) {
                if (start_time != NoTime)
                    Seek(start_time.load(), TSeekFlags{}, false);
                else
                    Seek(static_cast<int64_t>(0), TSeekFlags{sfAny}, false);
            }
        }
    }
}

void TCustomPlayer::Pause() {
    TVideoState* is = FVideoState.load();
    if (!is || is->paused) return;
    TPlayerCore::StreamPause(is);
    Fstep = false;
    SetState(psPause);
}

void TCustomPlayer::Resume() {
    TVideoState* is = FVideoState.load();
    if (!is || !is->paused) return;
    TPlayerCore::StreamPause(is);
    Fstep = false;
    SetState(psResume);
}

void TCustomPlayer::TogglePause() {
    TVideoState* is = FVideoState.load();
    if (!is) return;
    TPlayerCore::StreamPause(is);
    Fstep = false;
    SetState(is->paused ? psPause : psResume);
}

void TCustomPlayer::StepToNextFrame() {
    TVideoState* is = FVideoState.load();
    if (!is) return;
    ++is->show_permits;
    if (is->paused) TPlayerCore::StreamPause(is);
    bool wasStepping = Fstep.exchange(true);
    if (!wasStepping) SetState(psStep);
}

void TCustomPlayer::Seek(int64_t APTS, TSeekFlags ASeekFlags, bool AWaitForSeekEnd) {
    TVideoState* is = FVideoState.load();
    if (!is) return;
    int64_t target, rel;
    if (ASeekFlags.Has(sfByte)) {
        target = APTS;
        rel = 0;
    } else {
        target = SeekTarget(APTS, is->ic->duration, is->ic->start_time);
        rel = APTS <= 0 ? 1 : 0;
    }
    TPlayerCore::StreamSeek(is, SeekFlagsToAV(ASeekFlags), AWaitForSeekEnd, rel, target);
}

void TCustomPlayer::Seek(double ADelta, TSeekFlags ASeekFlags, bool AWaitForSeekEnd) {
    TVideoState* is = FVideoState.load();
    if (!is) return;
    int64_t target, rel;
    if (ASeekFlags.Has(sfByte)) {
        double delta =
            is->ic->bit_rate > 0 ? ADelta * static_cast<double>(is->ic->bit_rate) / 8.0 : ADelta * 180000.0;
        int64_t pos;
        {
            std::lock_guard<std::recursive_mutex> g(is->read_lock);
            pos = is->ic->pb ? av::avio_seek(is->ic->pb, 0, SEEK_CUR) : 0;
        }
        target = std::llrint(static_cast<double>(pos) + delta);
        rel = std::llrint(delta);
    } else {
        target = std::llrint((TPlayerCore::PlaybackClock(is) + ADelta) * 1000000.0);
        rel = std::llrint(ADelta * 1000000.0);
    }
    TPlayerCore::StreamSeek(is, SeekFlagsToAV(ASeekFlags), AWaitForSeekEnd, rel, target);
}

const TFrameBitmap& TCustomPlayer::CurrentFrame() {
    int64_t pts;
    return CurrentFrame(pts);
}

const TFrameBitmap& TCustomPlayer::CurrentFrame(int64_t& APTS) {
    APTS = -1;
    if (!FRGBContext.Bitmap) FRGBContext.Bitmap = NewFrameBitmap(0, 0);
    TVideoState* is = FVideoState.load();
    std::lock_guard<std::mutex> g(FFrameLock);
    if (is && is->video_stream >= 0 && FLastFrame) {
        const AVFrame* f = FLastFrame;
        if (PictureToBitmap(FRGBContext, PictureOf(f), static_cast<AVPixelFormat>(f->format), f->height,
                            f->width))
            APTS = std::llrint(FLastFramePts * 1000000.0) - is->StartTime;
        else
            FRGBContext.Bitmap->SetSize(0, 0);
    } else {
        FRGBContext.Bitmap->SetSize(0, 0);
    }
    return *FRGBContext.Bitmap;
}

void TCustomPlayer::DoHook(AVFrame* AFrame, uint8_t* const ADst[4], const int ADstLines[4], int AWidth,
                           int AHeight, double APTS) {
    if (!Hook || !OnHook) return;
    TVideoState* is = FVideoState.load();
    int w = AFrame->width, h = AFrame->height;
    const TAVPicture source = PictureOf(AFrame); // the context may refer to it until the end
    if (!PictureToBitmap(FHookContext, source, static_cast<AVPixelFormat>(AFrame->format), h, w)) {
        FFLogger().Log(this, llError, "Cannot initialize the toRGB conversion context");
        return;
    }
    TFrameBitmap& bmp = *FHookContext.Bitmap;
    try {
        OnHook(this, bmp, std::llrint(APTS * 1000000.0) - (is ? is->StartTime : 0));
    } catch (const std::exception& e) {
        FFLogger().Log(this, llError, std::string("Error occurs OnHook: ") + e.what());
        return;
    }
    // The hooked picture replaces the one in the overlay, scaled from the context's own
    // aligned RGB picture.
    BitmapToRGBPicture(FHookContext, h);
    const TAVPicture& rgb = *FHookContext.RGBPictureRef;
    FHookContext.fromRGB_convert_ctx =
        av::sws_getCachedContext(FHookContext.fromRGB_convert_ctx, w, h, AV_PIX_FMT_BGR24, AWidth, AHeight,
                                 AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (!FHookContext.fromRGB_convert_ctx) {
        FFLogger().Log(this, llError, "Cannot initialize the fromRGB conversion context");
        return;
    }
    av::sws_scale(FHookContext.fromRGB_convert_ctx, rgb.data, rgb.linesize, 0, h, ADst, ADstLines);
}

void TCustomPlayer::ToggleAudioDisplay() {
    std::lock_guard<std::recursive_mutex> g(FDataLock);
    TVideoState* is = FVideoState.load();
    if (!is || !Fscreen) return;
    is->show_audio = (is->show_audio + 1) % 3;
    auto* screen = static_cast<SDL_Surface*>(Fscreen);
    SDL_Rect r{static_cast<Sint16>(is->xleft), static_cast<Sint16>(is->ytop), static_cast<Uint16>(is->width),
               static_cast<Uint16>(is->height)};
    sdl::SDL_FillRect(screen, &r, sdl::SDL_MapRGB(screen->format, 0, 0, 0));
    TPlayerCore::UpdateScreen(is, is->xleft, is->ytop, is->width, is->height);
}

std::string TCustomPlayer::Format() const {
    return Ffile_iformat ? Ffile_iformat->name : "";
}

void TCustomPlayer::SetFormat(const std::string& AName) {
    if (!AVLibLoaded()) {
        ReportError(kNotLoaded, true);
        return;
    }
    const AVInputFormat* f = av::av_find_input_format(AName.c_str());
    if (!f) throw FFmpegException(os::FormatC("Unknown input format: %s", AName.c_str()));
    Ffile_iformat = f;
}

void TCustomPlayer::SetAspectRatio(float AValue) {
    if (AValue == FAspectRatio) return;
    FAspectRatio = AValue;
    if (TVideoState* is = FVideoState.load()) TPlayerCore::PushEvent(is, FF_REOPEN_EVENT);
}

void TCustomPlayer::SetShowAudio(TShowAudio AValue) {
    FShowAudio = AValue;
    TVideoState* is = FVideoState.load();
    if (is && is->audio_stream >= 0 && !DisableDisplay) is->show_audio = AValue;
}

int TCustomPlayer::VideoStreamIndex() const {
    TVideoState* is = FVideoState.load();
    return is ? is->video_stream.load() : -1;
}

int TCustomPlayer::AudioStreamIndex() const {
    TVideoState* is = FVideoState.load();
    return is ? is->audio_stream.load() : -1;
}

int TCustomPlayer::SubtitleStreamIndex() const {
    TVideoState* is = FVideoState.load();
    return is ? is->subtitle_stream.load() : -1;
}

void TCustomPlayer::SetStreamIndex(int AMediaType, int AIndex) {
    // Serialised with the play thread, which draws from the streams.
    std::lock_guard<std::recursive_mutex> g(FDataLock);
    TVideoState* is = FVideoState.load();
    if (!is) return;
    int current = AMediaType == 0   ? is->video_stream
                  : AMediaType == 1 ? is->audio_stream
                                    : is->subtitle_stream;
    if (current == AIndex) return;
    TPlayerCore::SwitchStream(is, AMediaType, AIndex);
}

} // namespace media
