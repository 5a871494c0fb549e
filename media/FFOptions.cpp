#include "media/FFOptions.h"

#include "media/AVApi.h"
#include "media/FFLogger.h"
#include "media/MediaErrors.h"
#include "os/Convert.h"

namespace media {
namespace {

// The option a private class of some codec, muxer or demuxer declares.
const AVOption* FindPrivateOption(const char* name) {
    auto find = [name](const AVClass* const* cls) -> const AVOption* {
        if (!*cls) return nullptr;
        return av::av_opt_find(const_cast<const AVClass**>(cls), name, nullptr, 0, AV_OPT_SEARCH_FAKE_OBJ);
    };
    void* it = nullptr;
    while (const AVCodec* c = av::av_codec_iterate(&it))
        if (const AVOption* o = find(&c->priv_class)) return o;
    it = nullptr;
    while (const AVOutputFormat* f = av::av_muxer_iterate(&it))
        if (const AVOption* o = find(&f->priv_class)) return o;
    it = nullptr;
    while (const AVInputFormat* f = av::av_demuxer_iterate(&it))
        if (const AVOption* o = find(&f->priv_class)) return o;
    return nullptr;
}

// Sets the option in ctx when ctx knows it with all the mask's flags.
bool TrySet(void* ctx, const char* name, const char* value, int mask, const AVOption*& found, int& r) {
    if (!ctx) return false;
    const AVOption* o = av::av_opt_find(ctx, name, nullptr, mask, 0);
    if (!o) return false;
    found = o;
    r = av::av_opt_set(ctx, name, value, 0);
    return true;
}

void RecordPrivate(TFFOptions& opts, const std::string& name, const std::string& value) {
    for (auto& [n, v] : opts.private_opts)
        if (n == name) {
            v = value;
            return;
        }
    opts.private_opts.emplace_back(name, value);
}

void LogInvalidValue(const char* name, const char* value) {
    av::av_log(nullptr, AV_LOG_ERROR, "Invalid value \"%s\" for option \"%s\"\n", value, name);
}

} // namespace

void ClearOptions(TFFOptions& opts) {
    opts = TFFOptions{};
}

void AllocOptions(TFFOptions& opts, int swsFlags) {
    for (int t = 0; t < 5; ++t) {
        // A context without a codec carries the generic options; the media
        // type selects which of them apply.
        opts.avcodec_opts[t] = av::avcodec_alloc_context3(nullptr);
        if (opts.avcodec_opts[t]) opts.avcodec_opts[t]->codec_type = static_cast<AVMediaType>(t);
    }
    opts.avformat_opts = av::avformat_alloc_context();
    opts.sws_opts = av::sws_getContext(16, 16, AV_PIX_FMT_YUV420P, 16, 16, AV_PIX_FMT_YUV420P, swsFlags,
                                       nullptr, nullptr, nullptr);
}

void FreeOptions(TFFOptions& opts) {
    for (AVCodecContext*& c : opts.avcodec_opts)
        if (c) av::avcodec_free_context(&c);
    if (opts.avformat_opts) av::avformat_free_context(opts.avformat_opts);
    if (opts.sws_opts) av::sws_freeContext(opts.sws_opts);
    ClearOptions(opts);
}

void ParkOptions(TFFOptions& opts) {
    if (opts.parked) return;
    auto park = [](void* AContext, TSettingList& ASettings) {
        return AContext && ChangedSettings(AContext, ASettings);
    };
    for (int t = 0; t < 5; ++t)
        if (park(opts.avcodec_opts[t], opts.parked_opts[t])) av::avcodec_free_context(&opts.avcodec_opts[t]);
    if (park(opts.avformat_opts, opts.parked_opts[5])) {
        av::avformat_free_context(opts.avformat_opts);
        opts.avformat_opts = nullptr;
    }
    if (park(opts.sws_opts, opts.parked_opts[6])) {
        av::sws_freeContext(opts.sws_opts);
        opts.sws_opts = nullptr;
    }
    opts.parked = true;
}

void UnparkOptions(TFFOptions& opts) {
    if (!opts.parked) return;
    for (int t = 0; t < 5; ++t) {
        if (opts.avcodec_opts[t]) continue;
        opts.avcodec_opts[t] = av::avcodec_alloc_context3(nullptr);
        if (!opts.avcodec_opts[t]) throw FFmpegException("avcodec_alloc_context failed");
        opts.avcodec_opts[t]->codec_type = static_cast<AVMediaType>(t);
        ApplySettings(opts.avcodec_opts[t], opts.parked_opts[t]);
    }
    if (!opts.avformat_opts) {
        opts.avformat_opts = av::avformat_alloc_context();
        if (!opts.avformat_opts) throw FFmpegException("avformat_alloc_context failed");
        ApplySettings(opts.avformat_opts, opts.parked_opts[5]);
    }
    if (!opts.sws_opts) {
        opts.sws_opts = av::sws_alloc_context();
        if (!opts.sws_opts) throw FFmpegException("sws_alloc_context failed");
        ApplySettings(opts.sws_opts, opts.parked_opts[6]);
    }
    opts.parked = false;
    for (TSettingList& list : opts.parked_opts) TSettingList().swap(list);
}

bool SetDefaultOption(TFFOptions& opts, const char* name, const char* value) {
    UnparkOptions(opts);
    if (!name || !value || os::Trim(name).empty() || os::Trim(value).empty()) return false;
    // Video, audio and subtitle parameters go to their own contexts; a mask
    // of 0 takes any option the codec context knows.
    static const int kMasks[5] = {AV_OPT_FLAG_VIDEO_PARAM, AV_OPT_FLAG_AUDIO_PARAM, 0,
                                  AV_OPT_FLAG_SUBTITLE_PARAM, 0};
    const AVOption* found = nullptr;
    int r = 0;
    if (opts.avcodec_opts[0])
        for (int t = 0; t < 5; ++t) {
            if (!av::av_opt_find(opts.avcodec_opts[0], name, nullptr, kMasks[t], 0)) continue;
            TrySet(opts.avcodec_opts[t], name, value, 0, found, r);
            if (r < 0) break;
        }
    if (!found) TrySet(opts.avformat_opts, name, value, 0, found, r);
    if (!found) TrySet(opts.sws_opts, name, value, 0, found, r);
    if (!found && (name[0] == 'a' || name[0] == 'v' || name[0] == 's')) {
        int t = name[0] == 'a'   ? AVMEDIA_TYPE_AUDIO
                : name[0] == 'v' ? AVMEDIA_TYPE_VIDEO
                                 : AVMEDIA_TYPE_SUBTITLE;
        TrySet(opts.avcodec_opts[t], name + 1, value, 0, found, r);
    }
    if (!found) {
        if (!FindPrivateOption(name)) return false;
        RecordPrivate(opts, name, value);
        opts.opt_names.push_back(name);
        return true;
    }
    if (r < 0) {
        LogInvalidValue(name, value);
        return false;
    }
    opts.opt_names.push_back(found->name);
    if ((opts.avcodec_opts[0] && opts.avcodec_opts[0]->debug) ||
        (opts.avformat_opts && opts.avformat_opts->debug))
        FFLogger().SetLogLevel(llDebug);
    return true;
}

void ApplyRecordedOptions(const TFFOptions& opts, void* target, void* optionContext, int flags) {
    if (!target) return;
    for (const std::string& name : opts.opt_names) {
        if (optionContext) {
            const AVOption* o = av::av_opt_find(optionContext, name.c_str(), nullptr, 0, 0);
            uint8_t* text = nullptr;
            if (o && (o->flags & flags) == flags &&
                av::av_opt_get(optionContext, name.c_str(), 0, &text) >= 0 && text)
                av::av_opt_set(target, name.c_str(), reinterpret_cast<char*>(text), 0);
            av::av_free(text);
            if (o) continue;
        }
        for (const auto& [n, value] : opts.private_opts) {
            if (n != name) continue;
            if (av::av_opt_find(target, n.c_str(), nullptr, flags, AV_OPT_SEARCH_CHILDREN) &&
                av::av_opt_set(target, n.c_str(), value.c_str(), AV_OPT_SEARCH_CHILDREN) < 0)
                LogInvalidValue(n.c_str(), value.c_str());
        }
    }
}

} // namespace media
