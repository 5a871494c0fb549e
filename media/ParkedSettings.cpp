#include "media/ParkedSettings.h"

#include "media/AVApi.h"
#include "media/FFmpegRunRecords.h"
#include "media/MediaErrors.h"

namespace media {

bool ChangedSettings(void* AObject, TSettingList& ASettings) {
    ASettings.clear();
    if (!AObject) return true;
    const AVOption* opt = nullptr;
    while ((opt = av::av_opt_next(AObject, opt))) {
        if (opt->type == AV_OPT_TYPE_CONST || (opt->flags & AV_OPT_FLAG_READONLY)) continue;
        if (av::av_opt_is_set_to_default(AObject, opt) == 1) continue;
        uint8_t* text = nullptr;
        if (av::av_opt_get(AObject, opt->name, 0, &text) < 0 || !text) {
            ASettings.clear();
            return false;
        }
        ASettings.emplace_back(opt->name, reinterpret_cast<const char*>(text));
        av::av_free(text);
    }
    return true;
}

void ApplySettings(void* AObject, const TSettingList& ASettings) {
    for (const auto& [name, value] : ASettings) av::av_opt_set(AObject, name.c_str(), value.c_str(), 0);
}

void ParkPrivateState(AVCodecContext* ACtx, TParkedState& AState) {
    if (!ACtx || !ACtx->codec || !ACtx->priv_data || AState.parked || av::avcodec_is_open(ACtx)) return;
    TSettingList settings;
    if (ACtx->codec->priv_class) {
        if (!ChangedSettings(ACtx->priv_data, settings)) return;
        av::av_opt_free(ACtx->priv_data);
    }
    av::av_freep(&ACtx->priv_data);
    AState.parked = true;
    AState.settings = std::move(settings);
}

void UnparkPrivateState(AVCodecContext* ACtx, TParkedState& AState) {
    if (!AState.parked) return;
    // A fresh context of the codec holds its private state at the defaults;
    // the parked context takes it over.
    TCodecContextPtr fresh(av::avcodec_alloc_context3(ACtx->codec));
    if (!fresh || !fresh->priv_data) throw FFmpegException("avcodec_alloc_context failed");
    ACtx->priv_data = fresh->priv_data;
    fresh->priv_data = nullptr;
    ApplySettings(ACtx->priv_data, AState.settings);
    AState = TParkedState{};
}

} // namespace media
