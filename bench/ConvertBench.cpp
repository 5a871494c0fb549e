// Whole conversions timed two ways in one process: through the engine, as
// conversion tasks drive it, and as a bare decode -> scale -> encode -> mux
// loop written straight on the libraries.  Both get catalogue key 202's
// settings (mp4, libx264 1280x720 25 fps 1600 kbit/s, libmp3lame stereo
// 48 kHz 256 kbit/s) and the same encoder options and thread counts, so the
// difference between them is the engine's own work.  Three rounds: one task
// on one thread (the engine before it shared the cores), one task on every
// core, and four tasks at once on four copies of the clip.  The runs
// alternate; the medians (and the least times) are printed with the
// engine/bare ratio.  Then peak memory of a task list: a short list and a
// long one, each in a process of its own.
//
//   convert_bench [seconds [runs [long list]]]   (defaults: 10 s, 3 runs, 500 tasks)
//   convert_bench --lists [long list [runs]]      (the task list memory only)
//   convert_bench --list clip folder tasks at-once cores vcodec ext
//                          (one list; prints its peak; cores 0: the machine's; vcodec "key202": its settings)
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "catalogue/EncodingParameters.h"
#include "fixtures/Fixtures.h"
#include "media/AVApi.h"
#include "media/AVHandles.h"
#include "media/CodecThreads.h"
#include "media/FFLogger.h"
#include "media/FFmpegConverter.h"
#include "media/FFmpegEngine.h"

namespace {

// What both sides encode with.  The engine gives a run's video decoder and
// encoder their part of the run's share of the cores (audio stays on the
// run's thread); the bare loop takes the same counts.  The x264 preset is
// set by name on both sides rather than left to defaults.
struct Settings {
    std::string ext, videoCodec, audioCodec, frameSize, frameRate;
    int width = 0, height = 0;
    AVRational fps{25, 1};
    int64_t videoBitrate = 0, audioBitrate = 0;
    int channels = 0, sampleRate = 0;
    std::string preset = "medium";
    int decoderThreads = 1, encoderThreads = 1;

    // The thread counts of a run whose share is AShare threads.
    Settings WithShare(int AShare) const {
        Settings s = *this;
        s.decoderThreads = media::TCodecThreads::DecoderThreads(AShare);
        s.encoderThreads = media::TCodecThreads::EncoderThreads(AShare);
        return s;
    }
};

Settings SettingsOf(int key) {
    const std::optional<catalogue::TParameterSet> set = catalogue::ParameterSetOf(key);
    if (!set) throw std::runtime_error("no catalogue key " + std::to_string(key));
    Settings s;
    s.ext = set->Video_FileExt;
    s.videoCodec = set->Video_VideoCodec;
    s.audioCodec = set->Video_AudioCodec;
    s.frameSize = set->Video_FrameSize;
    s.frameRate = set->Video_FrameRate;
    std::string size = s.frameSize;
    std::replace(size.begin(), size.end(), '*', 'x');
    if (av::av_parse_video_size(&s.width, &s.height, size.c_str()) < 0 ||
        av::av_parse_video_rate(&s.fps, s.frameRate.c_str()) < 0)
        throw std::runtime_error("bad frame size or rate in the catalogue");
    s.videoBitrate = set->Video_VideoBitrate;
    s.audioBitrate = set->Video_AudioBitrate;
    s.channels = std::stoi(set->Video_AudioChannels);
    s.sampleRate = std::stoi(set->Video_AudioSampleRate);
    return s;
}

void Check(int r, const char* what) {
    if (r >= 0) return;
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av::av_strerror(r, text, sizeof text);
    throw std::runtime_error(std::string(what) + ": " + text);
}

template <class T> T* Need(T* p, const char* what) {
    if (!p) throw std::runtime_error(std::string(what) + " failed");
    return p;
}

// ---- the engine ----

std::vector<std::pair<std::string, std::string>> EngineOptions(const Settings& s) {
    return {
        {"vcodec", s.videoCodec                  },
        {"s",      s.frameSize                   },
        {"r",      s.frameRate                   },
        {"b",      std::to_string(s.videoBitrate)},
        {"preset", s.preset                      },
        {"acodec", s.audioCodec                  },
        {"ac",     std::to_string(s.channels)    },
        {"ar",     std::to_string(s.sampleRate)  },
        {"ab",     std::to_string(s.audioBitrate)},
    };
}

// One engine on the caller's thread; it takes its share of the cores itself.
void EngineConvert(const std::string& input, const std::string& output, const Settings& s) {
    media::TCustomFFmpeg engine(1);
    engine.Reset();
    if (!engine.OpenInputFile(input)) throw std::runtime_error("engine: " + engine.FLastErrMsg);
    for (const auto& [name, value] : EngineOptions(s)) engine.SetOption(name, value);
    if (engine.OpenOutputFile(output, false) <= 0) throw std::runtime_error("engine: " + engine.FLastErrMsg);
    engine.Transcode();
    if (!engine.Finished()) throw std::runtime_error("engine: the run did not finish");
    engine.CleanUp();
}

long CurrentRssKiB();

// A task list run to its final record, AAtOnce tasks at a time; each task
// converts its input with the options text.
// AAddedRss, when given, receives the resident memory once every task is
// added and none has started.
void ListConvert(const std::vector<std::string>& inputs, const std::vector<std::string>& outputs,
                 const std::string& options, int AAtOnce, long* AAddedRss = nullptr) {
    media::TFFmpegConverter converter;
    converter.TriggerEventInMainThread = false;
    std::mutex m;
    std::condition_variable done;
    bool final = false;
    std::string failure;
    converter.SetOnTerminate([&](os::TObject*, const media::TTerminateInfo& info) {
        std::lock_guard<std::mutex> g(m);
        if (info.TaskIndex >= 0 && !info.Finished && failure.empty())
            failure = "task " + std::to_string(info.TaskIndex) + ": " + info.ExceptionMsg;
        if (info.TaskIndex == -1) final = true;
        done.notify_all();
    });
    for (size_t i = 0; i < inputs.size(); ++i) {
        const int task = converter.AddTask(inputs[i]);
        if (task < 0 || !converter.SetOutputFile(task, outputs[i], options))
            throw std::runtime_error("task list: " + converter.LastErrMsg());
    }
    if (AAddedRss) *AAddedRss = CurrentRssKiB();
    converter.Start(AAtOnce);
    std::unique_lock<std::mutex> g(m);
    done.wait(g, [&] { return final; });
    if (!failure.empty()) throw std::runtime_error("task list: " + failure);
}

std::string ListOptions(const Settings& s) {
    std::string text;
    for (const auto& [name, value] : EngineOptions(s)) text += name + "=" + value + "\n";
    return text;
}

// ---- the bare loop ----

class BareLoop {
public:
    BareLoop(const std::string& input, const std::string& output, const Settings& s) : s_(s) {
        Check(av::avformat_open_input(&ic_, input.c_str(), nullptr, nullptr), "avformat_open_input");
        Check(av::avformat_find_stream_info(ic_, nullptr), "avformat_find_stream_info");
        vin_ = av::av_find_best_stream(ic_, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
        ain_ = av::av_find_best_stream(ic_, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
        Check(vin_, "no video stream");
        Check(ain_, "no audio stream");
        vdec_ = OpenDecoder(vin_);
        adec_ = OpenDecoder(ain_);

        Check(av::avformat_alloc_output_context2(&oc_, nullptr, nullptr, output.c_str()),
              "avformat_alloc_output_context2");
        OpenVideoEncoder();
        OpenAudioEncoder();
        vst_ = NewStream(venc_.get());
        ast_ = NewStream(aenc_.get());
        Check(av::avio_open(&oc_->pb, output.c_str(), AVIO_FLAG_WRITE), "avio_open");
        Check(av::avformat_write_header(oc_, nullptr), "avformat_write_header");

        // The same resampler as the engine's: 16 taps, 2^10 phases, cut-off 0.8.
        Check(av::swr_alloc_set_opts2(&swr_, &aenc_->ch_layout, aenc_->sample_fmt, aenc_->sample_rate,
                                      &adec_->ch_layout, adec_->sample_fmt, adec_->sample_rate, 0, nullptr),
              "swr_alloc_set_opts2");
        av::av_opt_set_int(swr_, "filter_size", 16, 0);
        av::av_opt_set_int(swr_, "phase_shift", 10, 0);
        av::av_opt_set_int(swr_, "linear_interp", 0, 0);
        av::av_opt_set_double(swr_, "cutoff", 0.8, 0);
        Check(av::swr_init(swr_), "swr_init");
        fifo_ =
            Need(av::av_audio_fifo_alloc(aenc_->sample_fmt, aenc_->ch_layout.nb_channels, aenc_->frame_size),
                 "av_audio_fifo_alloc");
    }

    ~BareLoop() {
        av::sws_freeContext(sws_);
        av::swr_free(&swr_);
        if (fifo_) av::av_audio_fifo_free(fifo_);
        if (oc_) {
            av::avio_closep(&oc_->pb);
            av::avformat_free_context(oc_);
        }
        av::avformat_close_input(&ic_);
    }

    void Run() {
        media::TPacketPtr pkt(Need(av::av_packet_alloc(), "av_packet_alloc"));
        media::TFramePtr frame(Need(av::av_frame_alloc(), "av_frame_alloc"));
        while (av::av_read_frame(ic_, pkt.get()) >= 0) {
            if (pkt->stream_index == vin_) Decode(vdec_.get(), pkt.get(), frame.get());
            if (pkt->stream_index == ain_) Decode(adec_.get(), pkt.get(), frame.get());
            av::av_packet_unref(pkt.get());
        }
        Decode(vdec_.get(), nullptr, frame.get());
        Decode(adec_.get(), nullptr, frame.get());
        FlushAudio();
        Encode(venc_.get(), vst_, nullptr);
        Encode(aenc_.get(), ast_, nullptr);
        Check(av::av_write_trailer(oc_), "av_write_trailer");
    }

private:
    media::TCodecContextPtr OpenDecoder(int index) {
        const AVStream* st = ic_->streams[index];
        const AVCodec* codec = Need(av::avcodec_find_decoder(st->codecpar->codec_id), "avcodec_find_decoder");
        media::TCodecContextPtr ctx(Need(av::avcodec_alloc_context3(codec), "avcodec_alloc_context3"));
        Check(av::avcodec_parameters_to_context(ctx.get(), st->codecpar), "avcodec_parameters_to_context");
        ctx->pkt_timebase = st->time_base;
        if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && media::TCodecThreads::Threaded(codec)) {
            ctx->thread_count = s_.decoderThreads;
            ctx->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
        }
        Check(av::avcodec_open2(ctx.get(), codec, nullptr), "avcodec_open2 (decoder)");
        return ctx;
    }

    void OpenVideoEncoder() {
        const AVCodec* codec =
            Need(av::avcodec_find_encoder_by_name(s_.videoCodec.c_str()), "avcodec_find_encoder_by_name");
        venc_.reset(Need(av::avcodec_alloc_context3(codec), "avcodec_alloc_context3"));
        AVCodecContext* c = venc_.get();
        c->width = s_.width;
        c->height = s_.height;
        c->pix_fmt = codec->pix_fmts ? codec->pix_fmts[0] : AV_PIX_FMT_YUV420P;
        for (const AVPixelFormat* f = codec->pix_fmts; f && *f != AV_PIX_FMT_NONE; ++f)
            if (*f == vdec_->pix_fmt) c->pix_fmt = *f;
        c->time_base = AVRational{s_.fps.den, s_.fps.num};
        c->framerate = s_.fps;
        c->bit_rate = s_.videoBitrate;
        if (media::TCodecThreads::Threaded(codec)) c->thread_count = s_.encoderThreads;
        if (oc_->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        av::av_opt_set(c->priv_data, "preset", s_.preset.c_str(), 0);
        Check(av::avcodec_open2(c, codec, nullptr), "avcodec_open2 (video encoder)");
    }

    void OpenAudioEncoder() {
        const AVCodec* codec =
            Need(av::avcodec_find_encoder_by_name(s_.audioCodec.c_str()), "avcodec_find_encoder_by_name");
        aenc_.reset(Need(av::avcodec_alloc_context3(codec), "avcodec_alloc_context3"));
        AVCodecContext* c = aenc_.get();
        // The decoder's format where the encoder takes it, as the engine chooses.
        c->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
        for (const AVSampleFormat* f = codec->sample_fmts; f && *f != AV_SAMPLE_FMT_NONE; ++f)
            if (*f == adec_->sample_fmt) c->sample_fmt = *f;
        c->sample_rate = s_.sampleRate;
        av::av_channel_layout_default(&c->ch_layout, s_.channels);
        c->bit_rate = s_.audioBitrate;
        c->time_base = AVRational{1, s_.sampleRate};
        if (oc_->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        Check(av::avcodec_open2(c, codec, nullptr), "avcodec_open2 (audio encoder)");
    }

    AVStream* NewStream(const AVCodecContext* enc) {
        AVStream* st = Need(av::avformat_new_stream(oc_, nullptr), "avformat_new_stream");
        Check(av::avcodec_parameters_from_context(st->codecpar, enc), "avcodec_parameters_from_context");
        st->time_base = enc->time_base;
        return st;
    }

    void Decode(AVCodecContext* dec, const AVPacket* pkt, AVFrame* frame) {
        const int sent = av::avcodec_send_packet(dec, pkt);
        if (sent < 0 && sent != AVERROR_EOF) Check(sent, "avcodec_send_packet");
        int r;
        while ((r = av::avcodec_receive_frame(dec, frame)) >= 0) {
            if (dec == vdec_.get())
                Picture(frame);
            else
                Samples(frame);
            av::av_frame_unref(frame);
        }
        if (r != AVERROR(EAGAIN) && r != AVERROR_EOF) Check(r, "avcodec_receive_frame");
    }

    void Picture(AVFrame* frame) {
        AVCodecContext* enc = venc_.get();
        const int64_t ts = frame->best_effort_timestamp;
        AVFrame* out = frame;
        media::TFramePtr scaled;
        if (frame->width != enc->width || frame->height != enc->height || frame->format != enc->pix_fmt) {
            sws_ = av::sws_getCachedContext(
                sws_, frame->width, frame->height, static_cast<AVPixelFormat>(frame->format), enc->width,
                enc->height, enc->pix_fmt, SWS_BICUBIC, nullptr, nullptr, nullptr);
            Need(sws_, "sws_getCachedContext");
            scaled.reset(Need(av::av_frame_alloc(), "av_frame_alloc"));
            scaled->width = enc->width;
            scaled->height = enc->height;
            scaled->format = enc->pix_fmt;
            Check(av::av_frame_get_buffer(scaled.get(), 0), "av_frame_get_buffer");
            av::sws_scale(sws_, frame->data, frame->linesize, 0, frame->height, scaled->data,
                          scaled->linesize);
            out = scaled.get();
        }
        out->pts = ts == AV_NOPTS_VALUE ? next_video_pts_
                                        : av::av_rescale_q(ts, ic_->streams[vin_]->time_base, enc->time_base);
        next_video_pts_ = out->pts + 1;
        out->pict_type = AV_PICTURE_TYPE_NONE;
        Encode(enc, vst_, out);
    }

    void Samples(const AVFrame* frame) {
        const int room = av::swr_get_out_samples(swr_, frame->nb_samples);
        Check(room, "swr_get_out_samples");
        media::TFramePtr converted = AudioFrame(std::max(room, 1));
        const int n = av::swr_convert(swr_, converted->extended_data, room,
                                      const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
        Check(n, "swr_convert");
        if (n > 0 &&
            av::av_audio_fifo_write(fifo_, reinterpret_cast<void**>(converted->extended_data), n) < n)
            throw std::runtime_error("av_audio_fifo_write failed");
        const int frame_size = aenc_->frame_size;
        while (av::av_audio_fifo_size(fifo_) >= frame_size) {
            media::TFramePtr out = AudioFrame(frame_size);
            av::av_audio_fifo_read(fifo_, reinterpret_cast<void**>(out->extended_data), frame_size);
            out->pts = audio_samples_;
            audio_samples_ += frame_size;
            Encode(aenc_.get(), ast_, out.get());
        }
    }

    // What the FIFO still holds goes out as one last frame, short where the
    // encoder takes that, else padded with silence.
    void FlushAudio() {
        const int left = av::av_audio_fifo_size(fifo_);
        if (left <= 0) return;
        const bool short_ok = aenc_->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME;
        const int n = short_ok ? left : aenc_->frame_size;
        media::TFramePtr out = AudioFrame(n);
        av::av_samples_set_silence(out->extended_data, 0, n, aenc_->ch_layout.nb_channels, aenc_->sample_fmt);
        av::av_audio_fifo_read(fifo_, reinterpret_cast<void**>(out->extended_data), left);
        out->pts = audio_samples_;
        audio_samples_ += n;
        Encode(aenc_.get(), ast_, out.get());
    }

    media::TFramePtr AudioFrame(int samples) {
        media::TFramePtr f(Need(av::av_frame_alloc(), "av_frame_alloc"));
        f->format = aenc_->sample_fmt;
        f->sample_rate = aenc_->sample_rate;
        Check(av::av_channel_layout_copy(&f->ch_layout, &aenc_->ch_layout), "av_channel_layout_copy");
        f->nb_samples = samples;
        Check(av::av_frame_get_buffer(f.get(), 0), "av_frame_get_buffer");
        return f;
    }

    void Encode(AVCodecContext* enc, AVStream* st, const AVFrame* frame) {
        const int sent = av::avcodec_send_frame(enc, frame);
        if (sent < 0 && sent != AVERROR_EOF) Check(sent, "avcodec_send_frame");
        int r;
        while ((r = av::avcodec_receive_packet(enc, pkt_.get())) >= 0) {
            av::av_packet_rescale_ts(pkt_.get(), enc->time_base, st->time_base);
            pkt_->stream_index = st->index;
            Check(av::av_interleaved_write_frame(oc_, pkt_.get()), "av_interleaved_write_frame");
        }
        if (r != AVERROR(EAGAIN) && r != AVERROR_EOF) Check(r, "avcodec_receive_packet");
    }

    const Settings s_;
    AVFormatContext* ic_ = nullptr;
    AVFormatContext* oc_ = nullptr;
    int vin_ = -1, ain_ = -1;
    media::TCodecContextPtr vdec_, adec_, venc_, aenc_;
    AVStream* vst_ = nullptr;
    AVStream* ast_ = nullptr;
    SwsContext* sws_ = nullptr;
    SwrContext* swr_ = nullptr;
    AVAudioFifo* fifo_ = nullptr;
    media::TPacketPtr pkt_{Need(av::av_packet_alloc(), "av_packet_alloc")};
    int64_t next_video_pts_ = 0;
    int64_t audio_samples_ = 0;
};

void BareConvert(const std::string& input, const std::string& output, const Settings& s) {
    BareLoop loop(input, output, s);
    loop.Run();
}

// Bare loops at once, one thread each.
void BareParallel(const std::vector<std::string>& inputs, const std::vector<std::string>& outputs,
                  const Settings& s) {
    std::vector<std::string> failures(inputs.size());
    std::vector<std::thread> threads;
    for (size_t i = 0; i < inputs.size(); ++i)
        threads.emplace_back([&, i] {
            try {
                BareConvert(inputs[i], outputs[i], s);
            } catch (const std::exception& e) {
                failures[i] = e.what();
            }
        });
    for (std::thread& t : threads) t.join();
    for (const std::string& f : failures)
        if (!f.empty()) throw std::runtime_error("bare: " + f);
}

// ---- measuring ----

// One conversion's cost: wall time, the process's user and system CPU time
// (seconds) and its minor page faults (fresh memory touched).
// "own" is the CPU time of the calling thread alone: a run's own thread
// feeds its codec threads one picture at a time, so on a machine with cores
// to spare the run cannot end sooner; unlike the wall time, other load on
// the machine hardly changes it.
struct Times {
    double wall = 0, user = 0, sys = 0, faults = 0, own = 0;
};

double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

Times Usage() {
    rusage u{}, self{};
    getrusage(RUSAGE_SELF, &u);
    getrusage(RUSAGE_THREAD, &self);
    return {0, Seconds(u.ru_utime), Seconds(u.ru_stime), static_cast<double>(u.ru_minflt),
            Seconds(self.ru_utime) + Seconds(self.ru_stime)};
}

template <class F> Times Measure(F&& run) {
    const Times before = Usage();
    const auto wall0 = std::chrono::steady_clock::now();
    run();
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wall0;
    const Times after = Usage();
    return {wall.count(), after.user - before.user, after.sys - before.sys, after.faults - before.faults,
            after.own - before.own};
}

// The machine's load: other work running beside the benchmark makes its
// wall times longer and its thread scaling worse.
std::string LoadAverage() {
    std::ifstream in("/proc/loadavg");
    double one = 0, five = 0, fifteen = 0;
    in >> one >> five >> fifteen;
    char text[96];
    std::snprintf(text, sizeof text, "load average %.2f %.2f %.2f", one, five, fifteen);
    return text;
}

double Median(const std::vector<Times>& runs, double Times::*field) {
    std::vector<double> v;
    for (const Times& t : runs) v.push_back(t.*field);
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Least(const std::vector<Times>& runs, double Times::*field) {
    double least = runs.at(0).*field;
    for (const Times& t : runs) least = std::min(least, t.*field);
    return least;
}

// The option line libx264 writes into its stream, so that a difference in
// settings shows before it is taken for the engine's overhead.
std::string X264Options(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t at = bytes.find("x264 - core");
    if (at == std::string::npos) return "";
    const size_t opts = bytes.find("options: ", at);
    if (opts == std::string::npos) return "";
    return bytes.substr(opts, bytes.find('\0', opts) - opts);
}

// What a file holds, read back: per stream its codec, shape, packets, bytes
// and a hash of the bytes, so that the two sides' streams can be compared.
std::string Contents(const std::string& path) {
    AVFormatContext* ic = nullptr;
    if (av::avformat_open_input(&ic, path.c_str(), nullptr, nullptr) < 0) return "unreadable";
    av::avformat_find_stream_info(ic, nullptr);
    struct Tally {
        long long packets = 0, bytes = 0;
        uint64_t hash = 1469598103934665603ull; // FNV-1a
    };
    std::vector<Tally> tally(ic->nb_streams);
    media::TPacketPtr pkt(av::av_packet_alloc());
    while (pkt && av::av_read_frame(ic, pkt.get()) >= 0) {
        Tally& t = tally[static_cast<size_t>(pkt->stream_index)];
        ++t.packets;
        t.bytes += pkt->size;
        for (int i = 0; i < pkt->size; ++i) t.hash = (t.hash ^ pkt->data[i]) * 1099511628211ull;
        av::av_packet_unref(pkt.get());
    }
    std::string out;
    for (unsigned i = 0; i < ic->nb_streams; ++i) {
        const AVCodecParameters* p = ic->streams[i]->codecpar;
        char shape[32];
        if (p->codec_type == AVMEDIA_TYPE_VIDEO)
            std::snprintf(shape, sizeof shape, "%dx%d", p->width, p->height);
        else
            std::snprintf(shape, sizeof shape, "%d Hz %d ch", p->sample_rate, p->ch_layout.nb_channels);
        char text[160];
        std::snprintf(text, sizeof text, "%s%s %s: %lld packets, %lld bytes, hash %016llx", i ? "; " : "",
                      av::avcodec_get_name(p->codec_id), shape, tally[i].packets, tally[i].bytes,
                      static_cast<unsigned long long>(tally[i].hash));
        out += text;
    }
    av::avformat_close_input(&ic);
    return out;
}

long long FileSize(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    return in ? static_cast<long long>(in.tellg()) : -1;
}

// The runs of one round, engine and bare side by side.
struct Round {
    std::string name;
    std::vector<Times> engine, bare;
};

template <class E, class B> Round TimeRound(const std::string& name, int runs, E&& engineRun, B&& bareRun) {
    Round round{name, {}, {}};
    for (int i = 0; i < runs; ++i) {
        // Alternate which side goes first, so that neither always finds the caches warm.
        for (int k = 0; k < 2; ++k) {
            const bool engineTurn = (i + k) % 2 == 0;
            const Times t = engineTurn ? Measure(engineRun) : Measure(bareRun);
            (engineTurn ? round.engine : round.bare).push_back(t);
            std::printf(
                "%-22s run %d %-6s wall %7.3f s  user %7.3f s  sys %6.3f s  own thread %7.3f s  %8.0f "
                "page faults  (%s)\n",
                name.c_str(), i + 1, engineTurn ? "engine" : "bare", t.wall, t.user, t.sys, t.own, t.faults,
                LoadAverage().c_str());
            std::fflush(stdout);
        }
    }
    return round;
}

// One goal's figure, the goal and whether it is met.
void Goal(const char* AName, double AFigure, double AGoal) {
    std::printf("  %-58s %.3f  (goal <= %.2f: %s)\n", AName, AFigure, AGoal,
                AFigure <= AGoal ? "met" : "NOT met");
    std::fflush(stdout);
}

void PrintRound(const Round& round) {
    // The median is the figure; the least time, which other load on the
    // machine can only raise, shows whether the median is noise.
    std::printf("%-22s %zu runs each     engine        bare          engine/bare\n", round.name.c_str(),
                round.engine.size());
    const struct {
        const char* name;
        double Times::*field;
        const char* unit;
    } rows[] = {
        {"wall time",      &Times::wall,   "s"},
        {"user CPU time",  &Times::user,   "s"},
        {"sys CPU time",   &Times::sys,    "s"},
        {"own thread CPU", &Times::own,    "s"},
        {"page faults",    &Times::faults, "" },
    };
    for (const auto& row : rows) {
        const double e = Median(round.engine, row.field), b = Median(round.bare, row.field);
        std::printf("  %-14s median %10.3f %-2s %10.3f %-2s %.3f\n", row.name, e, row.unit, b, row.unit,
                    b > 0 ? e / b : 0.0);
        if (row.unit[0]) {
            const double el = Least(round.engine, row.field), bl = Least(round.bare, row.field);
            std::printf("  %-14s least  %10.3f %-2s %10.3f %-2s %.3f\n", "", el, row.unit, bl, row.unit,
                        bl > 0 ? el / bl : 0.0);
        }
    }
    // The two runs of a round follow each other, so their ratio is the
    // least touched by load that comes and goes.
    std::vector<Times> ratios;
    for (size_t i = 0; i < round.engine.size(); ++i)
        ratios.push_back(
            {round.engine[i].wall / round.bare[i].wall, round.engine[i].user / round.bare[i].user});
    std::printf("  median engine/bare of a run pair: wall %.3f, user CPU %.3f\n",
                Median(ratios, &Times::wall), Median(ratios, &Times::user));
}

// ---- memory of a task list ----

long PeakRssKiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

long CurrentRssKiB() {
    std::ifstream in("/proc/self/statm");
    long pages = 0, resident = 0;
    in >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The list in this process: prints its peak and exits.
int ListMain(char** argv) {
    const std::string clip = argv[2], folder = argv[3], vcodec = argv[7], ext = argv[8];
    const int tasks = std::atoi(argv[4]), atOnce = std::atoi(argv[5]);
    fixtures::LoadMediaLibraries();
    media::FFLogger().TriggerEventInMainThread = false;
    media::CodecThreads().SetCores(std::atoi(argv[6]));
    std::vector<std::string> inputs(static_cast<size_t>(tasks), clip), outputs;
    for (int i = 0; i < tasks; ++i)
        outputs.push_back(folder + "list" + std::to_string(tasks) + vcodec + "_" + std::to_string(i) + ext);
    const std::string options = vcodec == "key202" ? ListOptions(SettingsOf(202))
                                                   : "vcodec=" + vcodec + "\nacodec=libmp3lame\nab=128000";
    long added = 0;
    ListConvert(inputs, outputs, options, atOnce, &added);
    // Still held by the ended list (its tasks' rows and records) and by
    // the allocator.
    const long after = CurrentRssKiB();
    std::printf("before %ld peak %ld after %ld\n", added, PeakRssKiB(), after);
    for (const std::string& out : outputs) std::remove(out.c_str());
    return 0;
}

struct ListMemory {
    long before = 0, peak = 0, after = 0;
};

// Runs one list in a process of its own, so that its peak is its own.
ListMemory ListProcess(const std::string& clip, const std::string& folder, int tasks, int atOnce, int cores,
                       const std::string& vcodec, const std::string& ext) {
    char self[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) throw std::runtime_error("cannot find the benchmark's own program");
    const std::string command = std::string(self) + " --list " + clip + " " + folder + " " +
                                std::to_string(tasks) + " " + std::to_string(atOnce) + " " +
                                std::to_string(cores) + " " + vcodec + " " + ext;
    FILE* p = ::popen(command.c_str(), "r");
    if (!p) throw std::runtime_error("cannot start " + command);
    ListMemory m;
    char line[256];
    bool read = false;
    while (std::fgets(line, sizeof line, p))
        if (std::sscanf(line, "before %ld peak %ld after %ld", &m.before, &m.peak, &m.after) == 3)
            read = true;
    if (::pclose(p) != 0 || !read) throw std::runtime_error("the list failed: " + command);
    return m;
}

long MedianOf(std::vector<long> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Each list run ARuns times, each run in a process of its own; the medians.
ListMemory ListMedians(const std::string& clip, const std::string& folder, int tasks, int atOnce, int cores,
                       const std::string& vcodec, const std::string& ext, int ARuns) {
    std::vector<long> before, peak, after;
    for (int i = 0; i < ARuns; ++i) {
        const ListMemory m = ListProcess(clip, folder, tasks, atOnce, cores, vcodec, ext);
        before.push_back(m.before);
        peak.push_back(m.peak);
        after.push_back(m.after);
    }
    return {MedianOf(before), MedianOf(peak), MedianOf(after)};
}

// Memory of a task list: small clips, four at once, a short list and a
// long one.  Waiting tasks should cost little beside the running ones.
void ListRounds(const fixtures::TempFolder& folder, int longList, int runs) {
    fixtures::ClipOptions small;
    small.kind = fixtures::ClipKind::Mp4;
    small.seconds = 2.0;
    small.width = 320;
    small.height = 240;
    const std::string smallClip = fixtures::MakeClip(folder, small, "small.mp4");
    std::printf("\nmemory of a task list, 4 tasks at once, each a 2 s 320x240 mp4 (KiB of resident memory, "
                "medians of %d runs):\n",
                runs);
    for (const auto& [vcodec, ext] : {
             std::pair<std::string, std::string>{"libx264", ".mp4"},
             std::pair<std::string, std::string>{"mpeg4",   ".avi"}
    }) {
        const ListMemory shortList = ListMedians(smallClip, folder.Dir(), 4, 4, 0, vcodec, ext, runs);
        const ListMemory longOne = ListMedians(smallClip, folder.Dir(), longList, 4, 0, vcodec, ext, runs);
        std::printf("  %-8s 4 tasks: before start %7ld peak %7ld after %7ld\n", vcodec.c_str(),
                    shortList.before, shortList.peak, shortList.after);
        std::printf("  %-8s %d tasks: before start %7ld peak %7ld after %7ld\n", "", longList, longOne.before,
                    longOne.peak, longOne.after);
        std::printf("  %-8s per waiting task %.1f KiB, per task at the peak %.1f KiB; peak ratio %.3f\n", "",
                    static_cast<double>(longOne.before - shortList.before) / (longList - 4),
                    static_cast<double>(longOne.peak - shortList.peak) / (longList - 4),
                    static_cast<double>(longOne.peak) / static_cast<double>(shortList.peak));
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 9 && std::string(argv[1]) == "--list") return ListMain(argv);
        if (argc >= 2 && std::string(argv[1]) == "--lists") {
            fixtures::LoadMediaLibraries();
            fixtures::TempFolder folder{"convert_bench"};
            ListRounds(folder, argc > 2 ? std::max(5, std::atoi(argv[2])) : 500,
                       argc > 3 ? std::max(1, std::atoi(argv[3])) : 3);
            return 0;
        }
        const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
        const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
        const int longList = argc > 3 ? std::max(5, std::atoi(argv[3])) : 500;
        fixtures::LoadMediaLibraries();
        media::FFLogger().TriggerEventInMainThread = false;

        const int cores = media::CodecThreads().Cores();
        const Settings s = SettingsOf(202);
        fixtures::TempFolder folder{"convert_bench"};
        fixtures::ClipOptions clip;
        clip.kind = fixtures::ClipKind::Mp4;
        clip.seconds = seconds;
        clip.width = 1920;
        clip.height = 1080;
        clip.fps = 25;
        std::printf("%d cores (nproc %ld), %s; making a %.0f s %dx%d %d fps clip...\n", cores,
                    sysconf(_SC_NPROCESSORS_ONLN), LoadAverage().c_str(), clip.seconds, clip.width,
                    clip.height, clip.fps);
        std::fflush(stdout);
        const std::string input = fixtures::MakeClip(folder, clip);
        std::vector<std::string> inputs{input}, engineOuts, bareOuts;
        for (int i = 1; i < 4; ++i) {
            inputs.push_back(folder.Path("copy" + std::to_string(i) + ".mp4"));
            std::ifstream from(input, std::ios::binary);
            std::ofstream to(inputs.back(), std::ios::binary);
            to << from.rdbuf();
        }
        for (int i = 0; i < 4; ++i) {
            engineOuts.push_back(folder.Path("engine" + std::to_string(i) + s.ext));
            bareOuts.push_back(folder.Path("bare" + std::to_string(i) + s.ext));
        }
        const Settings one = s.WithShare(1), all = s.WithShare(cores),
                       quarter = s.WithShare(std::max(1, cores / 4));
        std::printf("input: %s\nsettings (key 202): %s %s %lld bit/s %s fps, preset %s; %s %d ch %d Hz %lld "
                    "bit/s\n",
                    Contents(input).c_str(), s.videoCodec.c_str(), s.frameSize.c_str(),
                    static_cast<long long>(s.videoBitrate), s.frameRate.c_str(), s.preset.c_str(),
                    s.audioCodec.c_str(), s.channels, s.sampleRate, static_cast<long long>(s.audioBitrate));
        auto stage = [](int AShare) { return media::CodecThreads().Staged(AShare) ? "+stage" : ""; };
        std::printf(
            "video threads (decoder/encoder): one thread %d/%d%s, one task %d/%d%s, four tasks %d/%d%s "
            "each\n",
            one.decoderThreads, one.encoderThreads, stage(1), all.decoderThreads, all.encoderThreads,
            stage(cores), quarter.decoderThreads, quarter.encoderThreads, stage(std::max(1, cores / 4)));

        // One untimed conversion first: the first in a process pays for
        // loading the encoders' code and for the clip's first read.
        BareConvert(input, bareOuts[0], one);

        media::CodecThreads().SetCores(1);
        const Round single = TimeRound(
            "1 task, 1 thread", runs, [&] { EngineConvert(input, engineOuts[0], s); },
            [&] { BareConvert(input, bareOuts[0], one); });
        media::CodecThreads().SetCores(0);
        const Round threaded = TimeRound(
            "1 task, all cores", runs, [&] { EngineConvert(input, engineOuts[0], s); },
            [&] { BareConvert(input, bareOuts[0], all); });

        const std::string engineX264 = X264Options(engineOuts[0]), bareX264 = X264Options(bareOuts[0]);
        std::printf("engine output: %lld bytes\n  %s\n", FileSize(engineOuts[0]),
                    Contents(engineOuts[0]).c_str());
        std::printf("bare output:   %lld bytes\n  %s\n", FileSize(bareOuts[0]),
                    Contents(bareOuts[0]).c_str());
        if (engineX264 == bareX264) {
            std::printf("x264 settings: the same on both sides\n  %s\n", engineX264.c_str());
        } else {
            std::printf("x264 settings DIFFER:\n  engine %s\n  bare   %s\n", engineX264.c_str(),
                        bareX264.c_str());
        }

        const Round four = TimeRound(
            "4 tasks at once", runs, [&] { ListConvert(inputs, engineOuts, ListOptions(s), 4); },
            [&] { BareParallel(inputs, bareOuts, quarter); });

        std::printf("\n");
        PrintRound(single);
        PrintRound(threaded);
        PrintRound(four);
        const double t1 = Median(single.engine, &Times::wall);
        std::vector<Times> pairs;
        for (size_t i = 0; i < single.engine.size(); ++i)
            pairs.push_back({single.engine[i].wall / single.bare[i].wall});
        std::printf("\ngoals:\n");
        Goal("engine/bare loop, 1 task on 1 thread, wall (run pairs)", Median(pairs, &Times::wall), 1.05);
        Goal("1 task on all cores / 1 task on 1 thread, wall", Median(threaded.engine, &Times::wall) / t1,
             0.25);
        Goal("4 tasks at once / 4 x (1 task, 1 thread) in turn, wall",
             Median(four.engine, &Times::wall) / (4 * t1), 0.10);
        std::printf(
            "the task's own thread's CPU time on all cores / 1 thread's wall %.3f (the least it could "
            "take on an idle machine)\n",
            Median(threaded.engine, &Times::own) / t1);
        std::printf("engine, 4 tasks at once / 4 x (1 task, all cores), the four in turn: wall %.3f\n",
                    Median(four.engine, &Times::wall) / (4 * Median(threaded.engine, &Times::wall)));

        // Memory of one task on the clip: on one thread and on every core.
        const ListMemory oneThread = ListMedians(input, folder.Dir(), 1, 1, 1, "key202", s.ext, runs);
        const ListMemory allCores = ListMedians(input, folder.Dir(), 1, 1, 0, "key202", s.ext, runs);
        std::printf(
            "\nmemory of one task (KiB of resident memory, medians): 1 thread peak %ld, all cores peak "
            "%ld\n",
            oneThread.peak, allCores.peak);
        Goal("1 task's peak memory, all cores / 1 thread",
             static_cast<double>(allCores.peak) / static_cast<double>(oneThread.peak), 1.3);
        std::fflush(stdout);

        ListRounds(folder, longList, runs);
        std::printf("at the end: %s\n", LoadAverage().c_str());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "convert_bench: %s\n", e.what());
        return 1;
    }
}
