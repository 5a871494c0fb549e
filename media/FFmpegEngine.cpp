#include "media/FFmpegEngine.h"

#include <algorithm>

#include "media/AVApi.h"
#include "media/ComponentUtils.h"
#include "media/FFUtils.h"
#include "media/FFmpegLoader.h"
#include "media/Previewer.h"
#include "media/UnicodeIO.h"
#include "media/UnicodeProtocol.h"

namespace media {

TCustomFFmpeg::TCustomFFmpeg(int AMaxFiles) {
    Check(AMaxFiles >= 1 && AMaxFiles <= MaxEngineFiles, "FFmpeg");
    FMaxFiles = AMaxFiles;
    FHookContext.Context = std::make_unique<TRGBConvertContext>();
    FPostContext.Context = std::make_unique<TRGBConvertContext>();
    InitDefaults();
}

TCustomFFmpeg::~TCustomFFmpeg() {
    // A worker that is still finishing must be done with the engine first.
    Stop(true);
    JoinThreads();
    CleanUp();
}

void TCustomFFmpeg::InitDefaults() {
    // The map and scale tables are settings too.
    std::vector<TAVStreamMap>().swap(Fstream_maps);
    std::vector<TAVMetaDataMap>().swap(Fmeta_data_maps);
    std::vector<std::array<double, MAX_STREAMS>>().swap(Finput_files_ts_scale);
    static_cast<TFFmpegSettings&>(*this) = TFFmpegSettings{};
    if (FHookContext.Context) ResetRGBContext(*FHookContext.Context);
    ResetPostHookContext();
}

void TCustomFFmpeg::Reset() {
    if (!FFLoader().Loaded(ConverterLibraries)) return;
    JoinThreads();
    CleanUp();
    InitDefaults();
    FJoinMode = false;
    FConverting = false;
    FBroken = false;
    FFinished = false;
    FTerminated = false;
    FTotalOutputDuration = -1;
    AllocOptions(FOptions, static_cast<int>(Fsws_flags));
}

void TCustomFFmpeg::CleanUp() {
    if (!FFLoader().Loaded(ConverterLibraries)) return;
    FreeOptions(FOptions);
    CloseOutputFiles();
    CloseInputFiles();
    Fintra_matrix.clear();
    Finter_matrix.clear();
    if (Fvstats_file) {
        std::fclose(Fvstats_file);
        Fvstats_file = nullptr;
    }
    Fvstats_filename.clear();
    Fvideo_codec_name.clear();
    Faudio_codec_name.clear();
    Fsubtitle_codec_name.clear();
    Fvideo_standard.clear();
    Fvideo_rc_override_string.clear();
    Fvideo_language.clear();
    Faudio_language.clear();
    Fsubtitle_language.clear();
    Fsubtitle_codec_tag = 0;
    FrameHookRelease();
    if (Fgraph) av::avfilter_graph_free(&Fgraph);
    if (FHookContext.Context) ResetRGBContext(*FHookContext.Context);
    ResetPostHookContext();
    ReleaseRunBuffers();
    ReleaseCodecShare();
    ReleaseFileTables();
}

double TCustomFFmpeg::InputTsScale(int AFileIndex, int AStreamIndex) const {
    if (AFileIndex < 0 || AFileIndex >= static_cast<int>(Finput_files_ts_scale.size()) || AStreamIndex < 0 ||
        AStreamIndex >= MAX_STREAMS)
        return 0.0;
    return Finput_files_ts_scale[static_cast<size_t>(AFileIndex)][static_cast<size_t>(AStreamIndex)];
}

void TCustomFFmpeg::GrowFileTables(int AInputs, int AOutputs) {
    auto grow = [this](auto& ATable, int ARows) {
        const size_t rows = static_cast<size_t>(std::clamp(ARows, 0, FMaxFiles));
        if (ATable.size() < rows) ATable.resize(rows);
    };
    grow(Finput_files, AInputs);
    grow(Finput_files_ts_offset, AInputs);
    grow(Finput_streams, AInputs);
    grow(Finput_openings, AInputs);
    grow(Foutput_files, AOutputs);
    grow(FOutputTargets, AOutputs);
    grow(Foutput_streams, AOutputs);
    grow(Fbitstream_filters, AOutputs);
}

const AVCodec*& TCustomFFmpeg::CodecSlot(std::vector<const AVCodec*>& ATable, int AIndex) {
    const size_t index = static_cast<size_t>(std::max(AIndex, 0));
    if (ATable.size() <= index) ATable.resize(index + 1, nullptr);
    return ATable[index];
}

void TCustomFFmpeg::ReleaseFileTables() {
    // Only called with every file closed: the rows hold nothing then.
    auto release = [](auto& ATable) { std::remove_reference_t<decltype(ATable)>().swap(ATable); };
    release(Finput_files);
    release(Finput_files_ts_offset);
    release(Finput_streams);
    release(Finput_openings);
    release(Finput_codecs);
    release(Foutput_files);
    release(FOutputTargets);
    release(Foutput_streams);
    release(Fbitstream_filters);
    release(Foutput_codecs);
}

void TCustomFFmpeg::ReleaseRunBuffers() {
    // A long list keeps many finished tasks: none may hold a run's memory.
    Finput_tmp = TAVBuffer();
    std::vector<uint8_t>().swap(Fsubtitle_out);
    FHookBuf.reset();
}

int TCustomFFmpeg::LiveRunBuffers() const {
    int live = 0;
    auto count = [&live](bool AHeld) { live += AHeld ? 1 : 0; };
    for (const AVFormatContext* f : Finput_files) count(f != nullptr);
    for (const AVFormatContext* f : Foutput_files) count(f != nullptr);
    // The per-file tables (their rows, whatever they hold).
    count(!Finput_files.empty() || !Finput_openings.empty() || !Finput_files_ts_offset.empty());
    count(!Foutput_files.empty() || !FOutputTargets.empty() || !Fbitstream_filters.empty());
    count(!Finput_codecs.empty() || !Foutput_codecs.empty());
    for (const auto& row : Finput_streams) live += static_cast<int>(row.size());
    for (const auto& row : Foutput_streams) live += static_cast<int>(row.size());
    count(!FEncoderList.Empty());
    count(!FDecoderList.Empty());
    count(Finput_tmp.size() > 0);
    count(Fsubtitle_out.capacity() > 0);
    count(FHookBuf != nullptr);
    for (const AVCodecContext* c : FOptions.avcodec_opts) count(c != nullptr);
    count(FOptions.avformat_opts != nullptr);
    count(FOptions.sws_opts != nullptr);
    count(Fgraph != nullptr);
    count(Fvstats_file != nullptr);
    count(FFirstHook != nullptr);
    for (const TRGBConvertContext* c : {FHookContext.Context.get(), FPostContext.Context.get()}) {
        if (!c) continue;
        count(c->Bitmap != nullptr);
        count(c->RGBBuf != nullptr);
        count(c->toRGB_convert_ctx != nullptr);
        count(c->fromRGB_convert_ctx != nullptr);
    }
    count(FPostContext.Previewer != nullptr);
    return live;
}

void TCustomFFmpeg::ResetPostHookContext() {
    if (FPostContext.Context) ResetRGBContext(*FPostContext.Context);
    // Taken out under the hook-settings lock and freed outside it: freeing
    // the window waits for the GUI thread, which may want that lock.
    std::shared_ptr<TCustomPreviewer> previewer;
    {
        os::CsLock lock(HookSettingsLock());
        previewer = std::move(FPostContext.Previewer);
    }
    previewer.reset();
    FPostContext.preview_last_time = 0;
    FPostContext.preview_cur_time = 0;
}

void TCustomFFmpeg::CloseOutputFiles() {
    // A run that did not get to its end (stopped or failed) leaves no file of
    // its own under an output's name: the fragment would pass for the
    // converted file, and a new run would have to write beside it.
    const bool complete = FFinished && !FFatalException;
    for (int i = 0; i < Fnb_output_files; ++i) {
        AVFormatContext*& oc = Foutput_files[static_cast<size_t>(i)];
        if (!oc) continue;
        TOutputFile& file = FOutputTargets[static_cast<size_t>(i)];
        int error = 0;
        if (oc->oformat && !(oc->oformat->flags & AVFMT_NOFILE) && oc->pb) {
            // What a full disk or a size limit refused shows in the byte
            // stream's error, at the latest when its buffer is flushed.
            av::avio_flush(oc->pb);
            error = oc->pb->error;
            const int closed = CloseOutputByLibraryName(&oc->pb);
            if (error >= 0) error = closed;
        }
        // A folder removed (or a file moved away) while the run wrote: the
        // bytes went into a file that no name reaches any more.
        if (error >= 0 && complete) error = file.Standing();
        if (error < 0 && file.IsOpened()) {
            const std::string name = oc->url ? DisplayFileName(oc->url) : std::string();
            if (FWriteError.empty()) FWriteError = ErrorText(name, error);
            // Without its end the file cannot be played.
            file.RemoveFragment();
        } else if (!complete) {
            file.RemoveIfCreated();
        } else {
            // A file this run made that never received a byte is only
            // clutter; anything else at the name stays.
            file.RemoveIfCreatedAndEmpty();
        }
        file = TOutputFile{};
        av::avformat_free_context(oc);
        // In join mode every entry is the same output.
        if (FJoinMode) break;
    }
    std::fill(Foutput_files.begin(),
              Foutput_files.begin() + std::min<size_t>(Foutput_files.size(), Fnb_output_files), nullptr);
    Fnb_output_files = 0;
    // The encoder table follows the streams of the recorded outputs.
    for (auto& row : Foutput_streams) row.clear();
    Foutput_codecs.clear();
    Fnb_ocodecs = 0;
}

void TCustomFFmpeg::CloseInputFiles() {
    FreeStandIns();
    for (int i = 0; i < Fnb_input_files; ++i)
        if (Finput_files[static_cast<size_t>(i)])
            CloseInputByLibraryName(&Finput_files[static_cast<size_t>(i)]);
    Fnb_input_files = 0;
    // The decoder table follows the streams of the recorded inputs.
    for (auto& row : Finput_streams) row.clear();
    Finput_codecs.clear();
    Fnb_icodecs = 0;
}

} // namespace media
