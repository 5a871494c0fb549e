// Opening a playback, the reading thread, stream switching and teardown.
#include <climits>
#include <cmath>

#include "media/ComponentUtils.h"
#include "media/FFPlayerState.h"
#include "media/FFUtils.h"
#include "media/MediaErrors.h"
#include "media/UnicodeIO.h"
#include "media/UnicodeProtocol.h"
#include "os/Clock.h"
#include "os/Convert.h"
#include "os/MainThread.h"

namespace media {
namespace {

constexpr int kMaxQueueSize = 15 * 1024 * 1024;
constexpr int kMinAudioQueueSize = 327680;
constexpr int kMinFrames = 5;

// Makes a blocked read return as soon as the playback is being stopped.
int InterruptCallback(void* opaque) {
    return static_cast<TVideoState*>(opaque)->abort_request.load() == 1;
}

void WaitOpening(TVideoState* is, int whileValue) {
    while (is->Opened.load() == whileValue) {
        if (os::IsMainThread()) ProcessMessages();
        os::SleepMs(10);
    }
}

} // namespace

TVideoState::~TVideoState() {
    for (TVideoPicture& vp : pictq) {
        if (vp.bmp && sdl::SDL_FreeYUVOverlay) sdl::SDL_FreeYUVOverlay(vp.bmp);
        if (vp.frame) av::av_frame_free(&vp.frame);
    }
    for (TSubPicture& sp : subpq) av::avsubtitle_free(&sp.sub);
    if (rdft) av::av_rdft_end(rdft);
    if (ic) CloseInputByLibraryName(&ic);
}

bool TPlayerCore::PushEvent(TVideoState* is, int type) {
    SDL_Event ev{};
    ev.type = static_cast<Uint8>(type);
    ev.user.type = static_cast<Uint8>(type);
    ev.user.data1 = is;
    return sdl::SDL_PushEvent(&ev) == 0;
}

bool TPlayerCore::StreamOpen(TCustomPlayer* player, const std::string& fileName, const AVInputFormat* iformat,
                             bool paused) {
    Check(player->FVideoState.load() == nullptr, "FFPlay");
    auto is = std::make_unique<TVideoState>();
    is->Owner = player;
    if (paused) {
        is->paused = 1;
        is->open_paused = 1;
        player->Fstep = false;
    }
    is->filename = fileName;
    is->iformat = iformat;
    is->av_sync_type = player->av_sync_type;
    TVideoState* raw = is.get();
    is->parse_tid = std::make_unique<os::OsThread>([raw] { ReadThread(raw); });
    is->parse_tid->Start();
    WaitOpening(raw, 0);
    if (raw->Opened.load() > 0) {
        if (raw->video_stream < 0 && !player->DisableDisplay) raw->show_audio = player->FShowAudio;
        raw->refresh_tid = std::make_unique<os::OsThread>([raw] { RefreshThread(raw); });
        raw->refresh_tid->Start();
        player->FVideoStateOwner = std::move(is);
        player->FVideoState = raw;
        return true;
    }
    WaitOpening(raw, -1);
    raw->parse_tid->Join();
    is.reset();
    player->ResetState();
    return false;
}

void TPlayerCore::ReadThread(TVideoState* is) {
    TCustomPlayer* player = is->Owner;
    int result = 0;
    bool eof = false;
    AVPacket* pkt = av::av_packet_alloc();
    AVFormatContext* ic = av::avformat_alloc_context();
    std::string libName = LibraryFileName(is->filename);
    int err;
    AVDictionary* opts = nullptr;

    if (!ic || !pkt) {
        player->FLastErrMsg = "av_mallocz() failed.";
        result = -1;
        goto fail;
    }
    ic->interrupt_callback.callback = InterruptCallback;
    ic->interrupt_callback.opaque = is;
    // Size and pixel-format hints for raw inputs.
    if (player->FrameWidth > 0 && player->FrameHeight > 0)
        av::av_dict_set(&opts, "video_size",
                        os::FormatC("%dx%d", player->FrameWidth, player->FrameHeight).c_str(), 0);
    if (player->Fframe_pix_fmt >= 0)
        av::av_dict_set(&opts, "pixel_format",
                        av::av_get_pix_fmt_name(static_cast<AVPixelFormat>(player->Fframe_pix_fmt)), 0);
    err = OpenInputByLibraryName(&ic, libName.c_str(), is->iformat, &opts, &ic->interrupt_callback);
    av::av_dict_free(&opts);
    if (err < 0) {
        player->FLastErrMsg = ErrorText(is->filename, err);
        result = -1;
        goto fail;
    }
    is->ic = ic;
    if (player->genpts) ic->flags |= AVFMT_FLAG_GENPTS;
    if (av::avformat_find_stream_info(ic, nullptr) < 0) {
        player->FLastErrMsg = os::FormatC("%s: could not find codec parameters", is->filename.c_str());
        result = -1;
        goto fail;
    }
    if (ic->pb) ic->pb->eof_reached = 0;
    if (player->seek_by_bytes < 0) player->seek_by_bytes = (ic->iformat->flags & AVFMT_TS_DISCONT) ? 1 : 0;
    is->IsImage2 = std::string(ic->iformat->name) == "image2";
    is->IsDevice = std::string(ic->iformat->name) == "video4linux2,v4l2";
    is->StartTime = ic->start_time != AV_NOPTS_VALUE ? ic->start_time : 0;
    is->Duration = ic->duration != AV_NOPTS_VALUE ? ic->duration : -1;

    if (player->start_time != NoTime) {
        int64_t target = player->start_time;
        if (ic->start_time != AV_NOPTS_VALUE) target += ic->start_time;
        if (av::avformat_seek_file(ic, -1, INT64_MIN, target, INT64_MAX, 0) < 0)
            player->ReportError(os::FormatC("%s: could not seek to position %0.3f", is->filename.c_str(),
                                            static_cast<double>(target) / 1000000.0),
                                false);
    }

    {
        // A wanted stream is the n-th of its type; otherwise the libraries'
        // best stream of the type, which ranks by the frames seen while the
        // stream information was read (no longer public per stream).
        int chosen[7], count[7];
        for (int t = 0; t < 7; ++t) {
            chosen[t] = -1;
            count[t] = 0;
        }
        for (unsigned i = 0; i < ic->nb_streams; ++i) {
            AVStream* st = ic->streams[i];
            st->discard = AVDISCARD_ALL;
            int type = st->codecpar->codec_type;
            if (type >= 5 || type < -1) continue;
            int t = type + 1;
            if (player->Fwanted_stream[t] == count[t]++) chosen[t] = static_cast<int>(i);
        }
        for (int type : {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO, AVMEDIA_TYPE_SUBTITLE}) {
            int t = type + 1;
            if (player->Fwanted_stream[t] < 0) {
                int best = av::av_find_best_stream(ic, static_cast<AVMediaType>(type), -1, -1, nullptr, 0);
                chosen[t] = best >= 0 ? best : -1;
            }
            bool allowed = type == AVMEDIA_TYPE_AUDIO ? !player->DisableAudio : !player->DisableVideo;
            if (!allowed) chosen[t] = -1;
        }
        if (chosen[AVMEDIA_TYPE_AUDIO + 1] >= 0) StreamComponentOpen(is, chosen[AVMEDIA_TYPE_AUDIO + 1]);
        int ret = -1;
        if (chosen[AVMEDIA_TYPE_VIDEO + 1] >= 0)
            ret = StreamComponentOpen(is, chosen[AVMEDIA_TYPE_VIDEO + 1]);
        if (ret < 0 && !player->DisableDisplay) is->show_audio = saRDFT;
        if (chosen[AVMEDIA_TYPE_SUBTITLE + 1] >= 0)
            StreamComponentOpen(is, chosen[AVMEDIA_TYPE_SUBTITLE + 1]);
    }
    if (is->video_stream < 0 && is->audio_stream < 0) {
        player->FLastErrMsg =
            os::FormatC("%s: could not open codecs, no stream to play.", is->filename.c_str());
        result = -1;
        goto fail;
    }

    is->Opened = 1;
    while (!is->abort_request) {
        std::unique_lock<std::recursive_mutex> readLock(is->read_lock);
        if (is->paused != is->last_paused) {
            is->last_paused = is->paused;
            if (is->last_paused)
                is->read_pause_return = av::av_read_pause(ic);
            else
                av::av_read_play(ic);
        }
        if (is->seek_req) {
            int64_t target = is->seek_pos;
            int64_t minTs = is->seek_rel > 0 ? target - is->seek_rel + 2 : INT64_MIN;
            int64_t maxTs = is->seek_rel < 0 ? target - is->seek_rel - 2 : INT64_MAX;
            int r = av::avformat_seek_file(ic, -1, minTs, target, maxTs, is->seek_flags);
            if (r < 0) r = av::av_seek_frame(ic, -1, target, is->seek_flags);
            if (r < 0) r = av::av_seek_frame(ic, -1, target, is->seek_flags ^ AVSEEK_FLAG_BACKWARD);
            if (r < 0) {
                player->ReportError(os::FormatC("%s: error while seeking", is->filename.c_str()), false);
                if (is->video_stream >= 0) player->FPictEvent.Set();
            } else {
                // Demuxers that seek by their index leave the I/O's end flag
                // until the next read; the old end must not be taken as a new one.
                if (ic->pb) ic->pb->eof_reached = 0;
                // Armed before the flush goes out: the video thread may show the
                // seek's first picture before this thread gets to the next line.
                if (is->video_stream >= 0) {
                    player->FPictEvent.Reset();
                    is->seek_flushed = 0;
                }
                is->seek_paused = is->seek_paused_req.load();
                if (is->audio_stream >= 0) {
                    is->audioq.Flush();
                    is->audioq.Put(FlushPacket());
                }
                if (is->subtitle_stream >= 0) {
                    is->subtitleq.Flush();
                    is->subtitleq.Put(FlushPacket());
                }
                if (is->video_stream >= 0) {
                    is->videoq.Flush();
                    is->videoq.Put(FlushPacket());
                }
            }
            is->ErrorEOF = 0;
            is->ReachEOF = 0;
            is->seek_done = 1;
            is->seek_req = 0;
            player->FSeekEvent.Set();
            if (is->video_stream < 0) player->FSeeking = false;
            eof = false;
        }
        int total = is->audioq.Size() + is->videoq.Size() + is->subtitleq.Size();
        bool wantAudio = is->audio_stream >= 0 && is->audioq.Size() <= kMinAudioQueueSize;
        bool wantVideo = is->video_stream >= 0 && is->videoq.Count() <= kMinFrames;
        bool wantSub = is->subtitle_stream >= 0 && is->subtitleq.Count() <= kMinFrames;
        if (total > kMaxQueueSize || !(wantAudio || wantVideo || wantSub)) {
            readLock.unlock();
            os::SleepMs(10);
            continue;
        }
        if (eof || (ic->pb && ic->pb->eof_reached)) {
            if (is->video_stream >= 0) {
                AVPacket* empty = av::av_packet_alloc();
                empty->stream_index = is->video_stream;
                is->videoq.Put(empty);
                av::av_packet_free(&empty);
            }
            readLock.unlock();
            os::SleepMs(10);
            if (is->audioq.Size() + is->videoq.Size() + is->subtitleq.Size() == 0) is->ReachEOF = 1;
            continue;
        }
        is->Reading = 1;
        int r = av::av_read_frame(ic, pkt);
        is->Reading = 0;
        if (is->abort_request) break;
        if (r < 0) {
            readLock.unlock();
            if (r == AVERROR(EAGAIN)) {
                os::SleepMs(10);
                continue;
            }
            // At the end the video thread releases picture waiters once it has
            // shown what was read; other failures release them here.
            if (is->video_stream >= 0 && r != AVERROR_EOF) player->FPictEvent.Set();
            if (!is->IsImage2 && !is->ErrorEOF) {
                is->ErrorEOF = 1;
                if (r == AVERROR_EOF)
                    FFLogger().Log(player, llInfo, "reach end of file: %s", is->filename.c_str());
                else
                    player->ReportError(
                        os::FormatC("error #%d while reading file: %s", r, is->filename.c_str()), false);
            }
            if (r == AVERROR_EOF) eof = true;
            if (ic->pb && ic->pb->error) {
                while (!is->abort_request) os::SleepMs(100);
                break;
            }
            if (!eof) os::SleepMs(100);
            continue;
        }
        if (pkt->stream_index == is->audio_stream)
            is->audioq.Put(pkt);
        else if (pkt->stream_index == is->video_stream)
            is->videoq.Put(pkt);
        else if (pkt->stream_index == is->subtitle_stream)
            is->subtitleq.Put(pkt);
        av::av_packet_unref(pkt);
    }
    while (!is->abort_request) os::SleepMs(100);

fail:
    if (is->Opened != 1) is->Opened = -1;
    if (is->audio_stream >= 0) StreamComponentClose(is, is->audio_stream);
    if (is->video_stream >= 0) StreamComponentClose(is, is->video_stream);
    if (is->subtitle_stream >= 0) StreamComponentClose(is, is->subtitle_stream);
    // An input that was opened stays open with the state: the GUI thread may
    // still read it until the player frees the state.
    if (ic && !is->ic) CloseInputByLibraryName(&ic);
    av::av_packet_free(&pkt);
    if (result != 0 && is->Opened == 1) PushEvent(is, FF_QUIT_EVENT);
    if (is->Opened == -1) is->Opened = -2;
}

bool TPlayerCore::SwitchStream(TVideoState* is, int type, int index) {
    TCustomPlayer* player = is->Owner;
    // Serialised with the reading loop, which fills the queues being switched.
    std::lock_guard<std::recursive_mutex> readLock(is->read_lock);
    int current = type == 0 ? is->video_stream : type == 1 ? is->audio_stream : is->subtitle_stream;
    auto fail = [player](const char* text) {
        player->ReportError(text, true);
        return false;
    };
    if (type != 3) {
        if (current < 0) return fail("the current stream is not valid.");
        if (index < 0) return fail("the stream index is not valid.");
    } else {
        if (current < -1) return fail("the current stream is not valid.");
        if (index < -1) return fail("the stream index is not valid.");
    }
    if (index >= static_cast<int>(is->ic->nb_streams)) return fail("the stream index is not valid.");
    if (index == current) return true;
    if (index == -1) {
        if (current >= 0) StreamComponentClose(is, current);
        return true;
    }
    const AVCodecParameters* par = is->ic->streams[index]->codecpar;
    if (par->codec_type != type) return fail("the stream type is not matched.");
    if (type == 1 && (par->sample_rate == 0 || par->ch_layout.nb_channels == 0))
        return fail("the audio stream is not invalid.");
    if (type != 0 && type != 1 && type != 3) return fail("the stream type is invalid.");
    // The reader is ahead of playback, up to the end of a short file: the new stream plays
    // at once only when reading starts again from the position.
    const int64_t position = std::llrint(PlaybackClock(is) * 1000000.0);
    if (current >= 0) StreamComponentClose(is, current);
    if (StreamComponentOpen(is, index) == 0) StreamSeek(is, AVSEEK_FLAG_BACKWARD, false, 0, position);
    return true;
}

void TPlayerCore::StreamClose(TVideoState* is) {
    is->abort_request = 1;
    // Wakes a decoder that waits for a free picture slot.
    is->videoq.Abort();
    {
        std::lock_guard<std::mutex> g(is->pictq_mutex);
        is->pictq_cond.notify_all();
    }
    if (is->parse_tid) is->parse_tid->Join();
    if (is->refresh_tid) is->refresh_tid->Join();
    // The overlays go with the surface they were made on.
    for (TVideoPicture& vp : is->pictq) {
        if (vp.bmp) sdl::SDL_FreeYUVOverlay(vp.bmp);
        vp.bmp = nullptr;
        if (vp.frame) av::av_frame_free(&vp.frame);
    }
}

void TPlayerCore::DoExit(TCustomPlayer* player) {
    TVideoState* is = player->FVideoState.load();
    if (!is) return;
    StreamClose(is);
    {
        std::lock_guard<std::mutex> g(player->FFrameLock);
        if (player->FLastFrame) av::av_frame_free(&player->FLastFrame);
    }
    player->FVideoState = nullptr;
    // Freed once the play thread has been joined: a method of the GUI thread
    // may have taken the state just before it ended.
    player->FRetiredState = std::move(player->FVideoStateOwner);
    player->ResetState();
    player->FPictEvent.Set();
}

} // namespace media
