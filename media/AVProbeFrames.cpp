// Seeking and single-picture decoding of the probe.
#include <cstring>

#include "media/AVApi.h"
#include "media/AVProbe.h"
#include "media/FFUtils.h"
#include "media/FFmpegLoader.h"
#include "media/MediaErrors.h"
#include "os/Convert.h"

namespace media {
namespace {

constexpr int kPictureAlign = 64;

const char* const kEOFReached = "stream eof reached.";
const char* const kReadOnly = "file cannot be seeked, handle is readonly.";

// The logical read position of an I/O context, computed from its public
// fields: asking the context itself (avio_seek) would write into it, and a
// borrowed input must stay untouched.
int64_t IOPosition(const AVIOContext* pb) {
    return pb->pos - (pb->buf_end - pb->buf_ptr);
}

struct TPacketGuard {
    AVPacket* pkt = av::av_packet_alloc();
    ~TPacketGuard() { av::av_packet_free(&pkt); }
};

struct TFrameGuard {
    AVFrame* frame = av::av_frame_alloc();
    ~TFrameGuard() { av::av_frame_free(&frame); }
};

} // namespace

TAVProbe::TAVProbe(os::TComponent* owner) : TCustomAVProbe(owner) {}

TAVProbe::~TAVProbe() {
    if (FPicture.Buffer) av::av_free(FPicture.Buffer);
    FPicture.Buffer = nullptr;
    ResetRGBContext(FRGBContext);
    TAVProbe::CloseFile();
}

void TAVProbe::ResetFrameInfo() {
    if (FPicture.PTS != NoTime) FLastPTS = FPicture.PTS;
    if (FPicture.Position != -1) FLastPos = FPicture.Position;
    FPicture.PixFmt = FPicture.Width = FPicture.Height = -1;
    FPicture.IsKeyFrame = false;
    FPicture.PictureType = ptUnknown;
    FPicture.PTS = FPicture.OriginalDTS = FPicture.OriginalPTS = NoTime;
    FPicture.StreamIndex = -1;
    FPicture.Position = -1;
    FPicture.Ready = false;
}

void TAVProbe::ResetDecoding() {
    FSeekIndex = -1;
    FStartTime = -1;
    FDecodeIndex = -1;
    FEOF = false;
    ResetFrameInfo();
    FLastPTS = NoTime;
    FLastPos = -1;
}

void TAVProbe::CloseDecoder() {
    if (FCodec) {
        os::CsLock lock(CodecLock());
        av::avcodec_free_context(&FCodec);
    }
    FCodec = nullptr;
    FCodecIndex = -1;
    FDraining = false;
}

void TAVProbe::CloseFile() {
    ResetDecoding();
    CloseDecoder();
    ResetRGBContext(FRGBContext);
    TCustomAVProbe::CloseFile();
}

void TAVProbe::RecountStreams() {
    TCustomAVProbe::RecountStreams();
    FSeekIndex = FFirstVideoStreamIndex >= 0 ? FFirstVideoStreamIndex : FFirstAudioStreamIndex;
    if (!FFileHandle) return;
    int64_t start = FSeekIndex >= 0 ? FFileHandle->streams[FSeekIndex]->start_time : FFileHandle->start_time;
    FStartTime = start == AV_NOPTS_VALUE ? 0 : start;
}

int64_t TAVProbe::Position() {
    if (!FFileHandle) {
        ReportMessage(llWarning, "file not loaded.");
        return -1;
    }
    if (!FFileHandle->pb) {
        ReportMessage(llWarning, "cannot get position");
        return -1;
    }
    return IOPosition(FFileHandle->pb);
}

bool TAVProbe::CheckOwnHandle() {
    if (!FFileHandle) {
        ReportMessage(llWarning, "file not loaded.");
        return false;
    }
    if (!OwnsHandle()) {
        ReportMessage(llWarning, kReadOnly);
        throw FFmpegException(kReadOnly);
    }
    return true;
}

// Still pictures: the image2 demuxer, and the per-codec image demuxers
// ("png_pipe", "bmp_pipe", ...) that the libraries now pick for one
// picture file.
bool TAVProbe::IsStillImage() const {
    if (!FFileHandle || !FFileHandle->iformat || !FFileHandle->iformat->name) return false;
    std::string name = os::LowerCase(FFileHandle->iformat->name);
    return name == "image2" || (name.size() > 5 && name.compare(name.size() - 5, 5, "_pipe") == 0);
}

bool TAVProbe::CanSeek() {
    if (!CheckOwnHandle()) return false;
    if (IsStillImage()) {
        ReportMessage(llInfo, "\"image2\" format cannot to be seeked.");
        return false;
    }
    return true;
}

bool TAVProbe::Seek(int64_t APTS, TSeekFlags ASeekFlags) {
    if (!CanSeek()) return false;
    AVFormatContext* ic = FFileHandle;
    if (ic->pb)
        ReportMessage(llDebug,
                      os::FormatC("currunt position %lld bytes", static_cast<long long>(IOPosition(ic->pb))));
    int64_t ts = APTS < 0 ? 0 : APTS;
    if (!ASeekFlags.Has(sfByte)) {
        if (FSeekIndex >= 0)
            ts = av::av_rescale_q(ts, AVRational{1, 1000000}, ic->streams[FSeekIndex]->time_base);
        if (FStartTime > 0) ts += FStartTime;
    }
    if (FCodec) av::avcodec_flush_buffers(FCodec);
    FDraining = false;
    FEOF = false;
    ResetFrameInfo();

    int flags = SeekFlagsToAV(ASeekFlags);
    int r;
    if (APTS > 0) {
        r = av::av_seek_frame(ic, FSeekIndex, ts, flags);
    } else {
        r = av::av_seek_frame(ic, FSeekIndex, 0, flags | AVSEEK_FLAG_BACKWARD);
        if (r < 0) r = av::av_seek_frame(ic, FSeekIndex, APTS, flags & ~AVSEEK_FLAG_BACKWARD);
    }
    if (r < 0) {
        if (ASeekFlags.Has(sfByte))
            ReportMessage(llError,
                          os::FormatC("could not seek to position %lld bytes", static_cast<long long>(APTS)));
        else
            ReportMessage(llError, os::FormatC("could not seek to position %0.3f seconds", APTS / 1000000.0));
        return false;
    }
    if (ic->pb) {
        ReportMessage(llDebug,
                      os::FormatC("seek to position %lld bytes", static_cast<long long>(IOPosition(ic->pb))));
        if (ic->pb->eof_reached) {
            ReportMessage(llInfo, kEOFReached);
            FEOF = true;
            return false;
        }
    }
    return true;
}

int TAVProbe::SelectDecodeStream(int AIndex) {
    if (!CheckOwnHandle()) return -1;
    if (AIndex < 0) {
        AIndex = FDecodeIndex >= 0 ? FDecodeIndex : FFirstVideoStreamIndex;
        if (AIndex < 0) {
            ReportMessage(llError, "no video stream.");
            return -1;
        }
    } else if (AIndex >= FStreamCount) {
        ReportMessage(llError, os::FormatC("stream index #%d is invalid.", AIndex));
        return -1;
    } else if (FFileHandle->streams[AIndex]->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) {
        ReportMessage(llError, os::FormatC("stream #%d is not video stream.", AIndex));
        return -1;
    }
    if (AIndex != FDecodeIndex) ResetFrameInfo();
    FDecodeIndex = AIndex;
    return AIndex;
}

bool TAVProbe::OpenDecoder(int AIndex) {
    const AVStream* st = FFileHandle->streams[AIndex];
    const AVCodecParameters* par = st->codecpar;
    if (par->width == 0 || par->height == 0) {
        ReportMessage(llError, "frame size of codec is invalid.");
        return false;
    }
    if (FCodec && FCodecIndex == AIndex) return true;
    CloseDecoder();
    const AVCodec* codec = av::avcodec_find_decoder(par->codec_id);
    if (!codec) {
        ReportMessage(llError, os::FormatC("Unsupported codec (id=%d) for input file stream #%d",
                                           static_cast<int>(par->codec_id), AIndex));
        return false;
    }
    // Streams no longer carry a codec context: the decoder gets one of its own.
    AVCodecContext* ctx = av::avcodec_alloc_context3(codec);
    int r = ctx ? av::avcodec_parameters_to_context(ctx, par) : AVERROR(ENOMEM);
    if (ctx) ctx->pkt_timebase = st->time_base;
    if (r >= 0) {
        os::CsLock lock(CodecLock());
        r = av::avcodec_open2(ctx, codec, nullptr);
        if (r < 0) av::avcodec_free_context(&ctx);
    } else {
        av::avcodec_free_context(&ctx);
    }
    if (r < 0) {
        ReportMessage(llError, os::FormatC("Error while opening codec for input file stream #%d", AIndex));
        return false;
    }
    FCodec = ctx;
    FCodecIndex = AIndex;
    return true;
}

bool TAVProbe::Decode(int AStreamIndex) {
    int index = SelectDecodeStream(AStreamIndex);
    if (index < 0) return false;
    if (FPicture.Ready && IsStillImage()) return true;
    if (FEOF) {
        ReportMessage(llInfo, kEOFReached);
        return false;
    }
    if (!OpenDecoder(index)) return false;
    AVFormatContext* ic = FFileHandle;
    int64_t pos = ic->pb ? IOPosition(ic->pb) : -1;

    TPacketGuard packet;
    TFrameGuard frame;
    if (!packet.pkt || !frame.frame) {
        ReportMessage(llError, ErrorText(FileName(), AVERROR(ENOMEM)));
        return false;
    }
    bool failedSinceSend = false;
    for (;;) {
        // Pictures the decoder still holds come first; at the end of the
        // input it is drained of its delayed pictures before the end counts.
        int r = av::avcodec_receive_frame(FCodec, frame.frame);
        if (r == 0) {
            ReportMessage(
                llDebug, os::FormatC("pkt.st_idx=%d, dts=%lld, pts=%lld, flags=%d, pict_type=%d", index,
                                     static_cast<long long>(frame.frame->pkt_dts),
                                     static_cast<long long>(FDraining ? AV_NOPTS_VALUE : FPacketPTS),
                                     FDraining ? 0 : FPacketFlags, static_cast<int>(frame.frame->pict_type)));
            StoreDecodedFrame(frame.frame, pos);
            av::av_frame_unref(frame.frame);
            return true;
        }
        if (r == AVERROR_EOF) break;
        if (r != AVERROR(EAGAIN)) {
            // A picture that fails to decode is skipped, as a broken packet
            // always was; a decoder that keeps failing without new input is
            // at its end.
            if (failedSinceSend) break;
            failedSinceSend = true;
            continue;
        }
        if (FDraining) break;
        if (av::av_read_frame(ic, packet.pkt) < 0) {
            av::avcodec_send_packet(FCodec, nullptr);
            FDraining = true;
            failedSinceSend = false;
            continue;
        }
        if (packet.pkt->stream_index != index) {
            av::av_packet_unref(packet.pkt);
            continue;
        }
        FPacketPTS = packet.pkt->pts;
        FPacketFlags = packet.pkt->flags;
        av::avcodec_send_packet(FCodec, packet.pkt);
        av::av_packet_unref(packet.pkt);
        failedSinceSend = false;
    }
    ReportMessage(llInfo, kEOFReached);
    FEOF = true;
    return false;
}

void TAVProbe::StoreDecodedFrame(const AVFrame* AFrame, int64_t APos) {
    const AVStream* st = FFileHandle->streams[FDecodeIndex];
    auto pixFmt = static_cast<AVPixelFormat>(AFrame->format);
    // Rows aligned for the scaler's SIMD routines, which read the copy for the bitmap.
    int need = av::av_image_get_buffer_size(pixFmt, AFrame->width, AFrame->height, kPictureAlign);
    if (need > 0 && FPicture.Size < need) {
        av::av_free(FPicture.Buffer);
        FPicture.Buffer = static_cast<uint8_t*>(av::av_malloc(static_cast<size_t>(need)));
        FPicture.Size = FPicture.Buffer ? need : 0;
    }
    // The frame's own format and size: the decoder's context may already
    // describe a later picture.
    FPicture.PixFmt = AFrame->format;
    FPicture.Width = AFrame->width;
    FPicture.Height = AFrame->height;
    FPicture.IsKeyFrame = AFrame->key_frame == 1;
    int type = static_cast<int>(AFrame->pict_type);
    FPicture.PictureType = type >= 0 && type <= 7 ? static_cast<TPictureType>(type) : ptUnknown;

    // The dts of the packet that completed the picture; else the picture's
    // own reordered packet pts (what reordered_opaque carried); else the
    // last packet's pts.  A picture drained at the end has no packet.
    int64_t packetPTS = FDraining ? AV_NOPTS_VALUE : FPacketPTS;
    int64_t t = AFrame->pkt_dts != AV_NOPTS_VALUE ? AFrame->pkt_dts
                : AFrame->pts != AV_NOPTS_VALUE   ? AFrame->pts
                                                  : packetPTS;
    if (FPicture.PTS != NoTime) FLastPTS = FPicture.PTS;
    if (t == AV_NOPTS_VALUE) {
        FPicture.PTS = NoTime;
    } else {
        if (st->start_time != AV_NOPTS_VALUE) t -= st->start_time;
        FPicture.PTS = av::av_rescale_q(t, st->time_base, AVRational{1, 1000000});
        av::av_log(nullptr, AV_LOG_DEBUG, "decode PTS: %0.3f\n", FPicture.PTS / 1000000.0);
    }
    FPicture.OriginalDTS = AFrame->pkt_dts;
    FPicture.OriginalPTS = packetPTS;
    FPicture.StreamIndex = FDecodeIndex;
    if (FPicture.Position != -1) FLastPos = FPicture.Position;
    FPicture.Position = APos;

    if (!FPicture.Buffer || need <= 0) {
        FPicture.Picture = TAVPicture{};
        FPicture.Ready = false;
        return;
    }
    av::av_image_fill_arrays(FPicture.Picture.data, FPicture.Picture.linesize, FPicture.Buffer, pixFmt,
                             AFrame->width, AFrame->height, kPictureAlign);
    const uint8_t* source[4] = {AFrame->data[0], AFrame->data[1], AFrame->data[2], AFrame->data[3]};
    av::av_image_copy(FPicture.Picture.data, FPicture.Picture.linesize, source, AFrame->linesize, pixFmt,
                      AFrame->width, AFrame->height);
    FPicture.Ready = true;
}

int64_t TAVProbe::StepDuration(int AIndex) const {
    return FrameDuration(FFileHandle->streams[AIndex]->r_frame_rate);
}

bool TAVProbe::DecodeNextKeyFrame(int AStreamIndex) {
    int index = SelectDecodeStream(AStreamIndex);
    if (index < 0) return false;
    int64_t target = StepDuration(index);
    if (FPicture.PTS > 0) target += FPicture.PTS;
    return Seek(target, {}) && Decode(index);
}

bool TAVProbe::DecodePreviousKeyFrame(int AStreamIndex) {
    int index = SelectDecodeStream(AStreamIndex);
    if (index < 0) return false;
    int64_t d = StepDuration(index);
    int64_t r = FPicture.PTS != NoTime                    ? FPicture.PTS
                : FLastPTS != NoTime                      ? FLastPTS
                : FFileHandle->duration != AV_NOPTS_VALUE ? FFileHandle->duration
                                                          : 0;
    int64_t p = FPicture.Position >= 0 ? FPicture.Position : FLastPos;
    // Once the target lies before the start every seek lands at the same
    // place; a second landing there cannot find anything new.
    int64_t startLanding = -1;
    for (int64_t h = 1;; ++h) {
        int64_t back = h * d;
        int64_t before = FFileHandle->pb ? IOPosition(FFileHandle->pb) : -1;
        Seek(r - back, {sfBackward});
        int64_t landed = FFileHandle->pb ? IOPosition(FFileHandle->pb) : -1;
        // Some demuxers (mp4) move their reading position only at the next
        // read: a position the seek left alone says nothing about where it
        // landed, so the picture is decoded to find out.
        if (landed != before && landed >= p && p > 0 && back <= r) continue;
        if (back > r) {
            if (startLanding >= 0 && landed == startLanding) break;
            startLanding = landed;
        }
        if (Decode(index)) {
            if (FPicture.PTS < r || FPicture.PTS <= 0) return true;
        } else if (back > r) {
            break;
        }
    }
    FLastErrMsg = "Could not seek to the previous key-frame. " + FLastErrMsg;
    return false;
}

bool TAVProbe::DecodePreviousFrame(int AStreamIndex) {
    int index = SelectDecodeStream(AStreamIndex);
    if (index < 0) return false;
    int64_t d = StepDuration(index);
    int64_t now = FPicture.PTS != NoTime ? FPicture.PTS : FLastPTS != NoTime ? FLastPTS : 0;
    int64_t target = now - 2 * d;
    if (!DecodePreviousKeyFrame(index)) return false;
    while (FPicture.PTS <= target)
        if (!Decode(index)) return false;
    return true;
}

bool TAVProbe::CopyToBitmap(TFrameBitmap& ABitmap) {
    if (!FPicture.Ready) {
        ReportMessage(llError, "picture not ready, please decode first");
        return false;
    }
    bool ok = PictureToBitmap(FRGBContext, FPicture.Picture, static_cast<AVPixelFormat>(FPicture.PixFmt),
                              FPicture.Height, FPicture.Width);
    if (ok) {
        ABitmap = *FRGBContext.Bitmap;
    } else {
        ABitmap.SetSize(FPicture.Width, FPicture.Height); // all black
        av::av_log(nullptr, AV_LOG_ERROR, "convert picture to bitmap failed\n");
    }
    return ok;
}

} // namespace media
