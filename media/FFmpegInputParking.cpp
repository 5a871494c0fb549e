// A task waiting in a long list holds no open input: an opened file keeps
// its read-ahead (the packets the stream probing read, a few hundred KiB),
// its byte buffer and its demuxer's state.  The task keeps a context that
// only describes the file, and its run opens the file again as it was
// opened first.
#include "media/AVApi.h"
#include "media/AVHandles.h"
#include "media/FFLogger.h"
#include "media/FFUtils.h"
#include "media/FFmpegEngine.h"
#include "media/UnicodeIO.h"
#include "media/UnicodeProtocol.h"
#include "os/Convert.h"
#include "os/ScopeExit.h"

namespace media {
namespace {

bool StartsWith(const std::string& AText, const char* APrefix) {
    return AText.rfind(APrefix, 0) == 0;
}

// Only a plain seekable file can be read again from its start; a pipe, a
// caller's stream or a device gives its data once.
bool Reopenable(const AVFormatContext* ic, const std::string& AFileName) {
    if (!ic || !ic->iformat || (ic->iformat->flags & AVFMT_NOFILE) || !ic->pb) return false;
    if (!(ic->pb->seekable & AVIO_SEEKABLE_NORMAL)) return false;
    return !StartsWith(AFileName, "stream:") && !StartsWith(AFileName, "pipe:") && AFileName != "-";
}

void CopyStreamDescription(AVStream* to, const AVStream* from) {
    if (av::avcodec_parameters_copy(to->codecpar, from->codecpar) < 0)
        throw FFmpegException("avcodec_parameters_copy failed");
    to->id = from->id;
    to->time_base = from->time_base;
    to->start_time = from->start_time;
    to->duration = from->duration;
    to->nb_frames = from->nb_frames;
    to->disposition = from->disposition;
    to->discard = from->discard;
    to->sample_aspect_ratio = from->sample_aspect_ratio;
    to->avg_frame_rate = from->avg_frame_rate;
    to->r_frame_rate = from->r_frame_rate;
    to->pts_wrap_bits = from->pts_wrap_bits;
    to->event_flags = from->event_flags;
    av::av_dict_copy(&to->metadata, from->metadata, 0);
}

// A context that describes the opened input and reads nothing: what the
// task list, the output set-up and the probe read before the run.
TFormatContextPtr MakeStandIn(const AVFormatContext* ic) {
    TFormatContextPtr s(av::avformat_alloc_context());
    if (!s) throw FFmpegException("avformat_alloc_context failed");
    s->iformat = ic->iformat;
    if (ic->url) s->url = av::av_strdup(ic->url);
    s->start_time = ic->start_time;
    s->duration = ic->duration;
    s->bit_rate = ic->bit_rate;
    s->ctx_flags = ic->ctx_flags;
    av::av_dict_copy(&s->metadata, ic->metadata, 0);
    for (unsigned i = 0; i < ic->nb_streams; ++i) {
        AVStream* st = av::avformat_new_stream(s.get(), nullptr);
        if (!st) throw FFmpegException("Could not alloc stream");
        CopyStreamDescription(st, ic->streams[i]);
    }
    for (unsigned i = 0; i < ic->nb_programs; ++i) {
        const AVProgram* from = ic->programs[i];
        AVProgram* to = av::av_new_program(s.get(), from->id);
        if (!to) throw FFmpegException("Could not alloc program");
        to->discard = from->discard;
        to->program_num = from->program_num;
        to->pmt_pid = from->pmt_pid;
        to->pcr_pid = from->pcr_pid;
        av::av_dict_copy(&to->metadata, from->metadata, 0);
        for (unsigned j = 0; j < from->nb_stream_indexes; ++j)
            av::av_program_add_stream_index(s.get(), from->id, from->stream_index[j]);
    }
    return s;
}

// Whether the file opened again is the one described: the same format,
// times and streams.
bool SameDescription(const AVFormatContext* a, const AVFormatContext* b) {
    if (a->iformat != b->iformat || a->nb_streams != b->nb_streams || a->start_time != b->start_time ||
        a->duration != b->duration)
        return false;
    for (unsigned i = 0; i < a->nb_streams; ++i) {
        const AVCodecParameters* p = a->streams[i]->codecpar;
        const AVCodecParameters* q = b->streams[i]->codecpar;
        if (p->codec_type != q->codec_type || p->codec_id != q->codec_id || p->width != q->width ||
            p->height != q->height || p->sample_rate != q->sample_rate ||
            p->ch_layout.nb_channels != q->ch_layout.nb_channels || p->format != q->format ||
            p->extradata_size != q->extradata_size)
            return false;
        if (av_cmp_q(a->streams[i]->time_base, b->streams[i]->time_base) != 0) return false;
    }
    return true;
}

const AVCodec* DecoderByName(const std::string& AName) {
    return AName.empty() ? nullptr : av::avcodec_find_decoder_by_name(AName.c_str());
}

} // namespace

std::vector<std::pair<std::string, std::string>> TCustomFFmpeg::ContextOptions(AVFormatContext* ic) const {
    std::vector<std::pair<std::string, std::string>> options;
    for (const std::string& name : FOptions.opt_names) {
        if (!av::av_opt_find(ic, name.c_str(), nullptr, AV_OPT_FLAG_DECODING_PARAM, 0)) continue;
        uint8_t* text = nullptr;
        if (av::av_opt_get(ic, name.c_str(), 0, &text) >= 0 && text)
            options.emplace_back(name, reinterpret_cast<const char*>(text));
        av::av_free(text);
    }
    return options;
}

void TCustomFFmpeg::ParkInput(int AFileIndex) {
    if (AFileIndex < 0 || AFileIndex >= Fnb_input_files) return;
    const size_t n = static_cast<size_t>(AFileIndex);
    TInputOpening& opening = Finput_openings[n];
    AVFormatContext*& ic = Finput_files[n];
    if (opening.stand_in || !Reopenable(ic, opening.file_name)) return;
    TFormatContextPtr stand_in = MakeStandIn(ic);
    for (auto& rec : Finput_streams[n]) {
        const int index = rec->st->index;
        rec->st = stand_in->streams[index];
    }
    CloseInputByLibraryName(&ic);
    ic = stand_in.get();
    opening.stand_in = stand_in.release();
}

void TCustomFFmpeg::UnparkInputs() {
    for (int f = 0; f < Fnb_input_files; ++f) {
        const size_t n = static_cast<size_t>(f);
        const TInputOpening& opening = Finput_openings[n];
        if (!opening.stand_in || Finput_files[n] != opening.stand_in) continue;
        const std::string& name = opening.file_name;
        AVFormatContext* ic = av::avformat_alloc_context();
        if (!ic) throw FFmpegException("avformat_alloc_context failed");
        for (const auto& [option, value] : opening.context_options)
            av::av_opt_set(ic, option.c_str(), value.c_str(), 0);
        const AVCodec* video = DecoderByName(opening.video_codec);
        const AVCodec* audio = DecoderByName(opening.audio_codec);
        const AVCodec* subtitle = DecoderByName(opening.subtitle_codec);
        ic->video_codec_id = video ? video->id : AV_CODEC_ID_NONE;
        ic->video_codec = video;
        ic->audio_codec_id = audio ? audio->id : AV_CODEC_ID_NONE;
        ic->audio_codec = audio;
        ic->subtitle_codec_id = subtitle ? subtitle->id : AV_CODEC_ID_NONE;
        ic->subtitle_codec = subtitle;
        ic->flags |= AVFMT_FLAG_NONBLOCK;
        if (opening.pgmyuv) {
            ic->video_codec_id = AV_CODEC_ID_PGMYUV;
            ic->video_codec = nullptr;
        }
        AVDictionary* parameters = nullptr;
        for (const auto& [key, value] : opening.parameters)
            av::av_dict_set(&parameters, key.c_str(), value.c_str(), 0);
        const int r = OpenInputByLibraryName(&ic, LibraryFileName(name).c_str(), opening.format, &parameters);
        av::av_dict_free(&parameters);
        if (r < 0) throw FFmpegException(ErrorText(name, r));
        os::ScopeExit close([&ic] {
            if (ic) CloseInputByLibraryName(&ic);
        });
        const AVFormatContext* described = opening.stand_in;
        const std::string changed = os::FormatC("%s: the file has changed since it was added to the list",
                                                DisplayFileName(name).c_str());
        if (!ic->pb || av::avio_size(ic->pb) != opening.file_size) throw FFmpegException(changed);
        if (opening.program_id != 0) {
            const int kept_program = Fopt_programid;
            Fopt_programid = opening.program_id;
            const bool found = SelectProgram(ic);
            Fopt_programid = kept_program;
            if (!found) throw FFmpegException(changed);
        }
        const std::string info_error = ReadStreamInfo(ic, name);
        if (!info_error.empty()) throw FFmpegException(info_error);
        if (!SameDescription(described, ic)) throw FFmpegException(changed);
        // The streams the first opening dropped.
        for (unsigned i = 0; i < ic->nb_streams; ++i)
            ic->streams[i]->discard = described->streams[i]->discard;
        const int64_t kept_start = Fstart_time;
        Fstart_time = opening.start_time;
        SeekToStart(ic, name);
        Fstart_time = kept_start;
        for (auto& rec : Finput_streams[n]) rec->st = ic->streams[rec->st->index];
        Finput_files[n] = ic;
        ic = nullptr;
    }
}

int TCustomFFmpeg::OpenInputs() const {
    int open = 0;
    for (int f = 0; f < Fnb_input_files; ++f) {
        const size_t n = static_cast<size_t>(f);
        if (Finput_files[n] && Finput_files[n] != Finput_openings[n].stand_in) ++open;
    }
    return open;
}

void TCustomFFmpeg::FreeStandIns() {
    for (size_t n = 0; n < Finput_openings.size(); ++n) {
        TInputOpening& opening = Finput_openings[n];
        if (opening.stand_in) {
            if (Finput_files[n] == opening.stand_in) Finput_files[n] = nullptr;
            av::avformat_free_context(opening.stand_in);
        }
        opening = TInputOpening{};
    }
}

} // namespace media
