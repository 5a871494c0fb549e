#pragma once
// Whole conversions for the transcode tests: a catalogue format's settings
// as engine options, a run over one or more inputs, and what the output
// holds, read back with the libraries.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "../engine/EngineTestSupport.h"
#include "catalogue/EncodingParameters.h"
#include "media/AVApi.h"

namespace convsupport {

using Options = std::vector<std::pair<std::string, std::string>>;

// The engine options of a catalogue format, as a conversion task gives them.
inline Options CatalogueOptions(int key) {
    const std::optional<catalogue::TParameterSet> set = catalogue::ParameterSetOf(key);
    Options o;
    if (!set) return o;
    auto add = [&o](const char* name, const std::string& value) {
        if (!value.empty()) o.emplace_back(name, value);
    };
    std::string size = set->Video_FrameSize;
    std::replace(size.begin(), size.end(), '*', 'x');
    add("vcodec", set->Video_VideoCodec);
    add("vtag", set->Video_VideoTag);
    add("s", size);
    add("r", set->Video_FrameRate);
    if (set->Video_VideoBitrate > 0) add("b", std::to_string(set->Video_VideoBitrate));
    add("acodec", set->Video_AudioCodec);
    add("ac", set->Video_AudioChannels);
    add("ar", set->Video_AudioSampleRate);
    if (set->Video_AudioBitrate > 0) add("ab", std::to_string(set->Video_AudioBitrate));
    return o;
}

inline std::string CatalogueExtension(int key) {
    return catalogue::ParameterSetOf(key)->Video_FileExt;
}

inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

struct StreamPackets {
    AVMediaType type = AVMEDIA_TYPE_UNKNOWN;
    AVCodecID codec = AV_CODEC_ID_NONE;
    int channels = 0, sampleRate = 0;
    std::vector<double> pts;  // seconds, in file order
    std::vector<int64_t> dts; // in the stream's time base, in file order
    std::vector<int> sizes;
};

// Every stream of the file with its packets' times; empty when it does not open.
inline std::vector<StreamPackets> ReadPackets(const std::string& path) {
    std::vector<StreamPackets> streams;
    AVFormatContext* ic = nullptr;
    if (av::avformat_open_input(&ic, path.c_str(), nullptr, nullptr) < 0) return streams;
    av::avformat_find_stream_info(ic, nullptr);
    for (unsigned i = 0; i < ic->nb_streams; ++i) {
        const AVCodecParameters* p = ic->streams[i]->codecpar;
        streams.push_back({p->codec_type, p->codec_id, p->ch_layout.nb_channels, p->sample_rate, {}, {}, {}});
    }
    AVPacket* pkt = av::av_packet_alloc();
    while (pkt && av::av_read_frame(ic, pkt) >= 0) {
        StreamPackets& s = streams[static_cast<size_t>(pkt->stream_index)];
        const AVRational tb = ic->streams[pkt->stream_index]->time_base;
        s.pts.push_back(pkt->pts == AV_NOPTS_VALUE ? -1e9 : static_cast<double>(pkt->pts) * av_q2d(tb));
        s.dts.push_back(pkt->dts);
        s.sizes.push_back(pkt->size);
        av::av_packet_unref(pkt);
    }
    av::av_packet_free(&pkt);
    av::avformat_close_input(&ic);
    return streams;
}

inline const StreamPackets* FirstOfType(const std::vector<StreamPackets>& streams, AVMediaType type) {
    for (const StreamPackets& s : streams)
        if (s.type == type) return &s;
    return nullptr;
}

class ConversionTest : public enginetest::EngineTest {
protected:
    // Opens the inputs, sets the options, opens the output (joined when
    // asked), runs and cleans up; the text of the failure, or "" when the
    // run finished.  Every input is left as it was.
    std::string Convert(const std::vector<std::string>& inputs, const Options& options,
                        const std::string& output, bool join = false) {
        std::vector<std::string> before;
        for (const std::string& in : inputs) before.push_back(FileBytes(in));
        std::string error = Run(inputs, options, output, join);
        E().CleanUp();
        for (size_t i = 0; i < inputs.size(); ++i)
            EXPECT_TRUE(FileBytes(inputs[i]) == before[i]) << inputs[i] << " changed";
        return error;
    }

    std::string Out(const std::string& name) const { return temp.Path(name); }

    fixtures::TempFolder temp{"convout"};

private:
    std::string Run(const std::vector<std::string>& inputs, const Options& options, const std::string& output,
                    bool join) {
        E().Reset();
        for (const std::string& in : inputs)
            if (!E().OpenInputFile(in)) return "input: " + E().FLastErrMsg;
        for (const auto& [name, value] : options) E().SetOption(name, value);
        if (E().OpenOutputFile(output, join) <= 0) return "output: " + E().FLastErrMsg;
        const std::string raised = Raised([&] { E().Transcode(); });
        if (!raised.empty()) return raised;
        return E().Finished() ? "" : "not finished";
    }
};

} // namespace convsupport
