// The status of a running conversion: one line (frames, rate, quantiser,
// size, time, bit rate), the OnProgress event with the same numbers, and the
// summary of the bytes produced at the end.
#include <cmath>
#include <cstdarg>
#include <mutex>

#include "media/AVApi.h"
#include "media/FFLogger.h"
#include "media/FFmpegTranscode.h"
#include "os/Convert.h"

namespace media {
namespace {

// The quantiser histogram is one for the whole process, as it always was;
// engines running at once update it under this lock.
std::mutex qp_hist_lock;
int qp_histogram[52];

// Appends printf-style text, cut to what a 1024-byte line has left.
void Append(std::string& line, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
void Append(std::string& line, const char* fmt, ...) {
    constexpr size_t capacity = 1023;
    if (line.size() >= capacity) return;
    char piece[1024];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(piece, sizeof piece, fmt, args);
    va_end(args);
    line.append(piece, std::min(std::strlen(piece), capacity - line.size()));
}

// What the encoder said of its last picture, in quantiser units.
double Quality(const TAVOutputStream* ost) {
    return ost->codec && ost->codec->stream_copy ? -1.0
                                                 : ost->coded_quality / static_cast<double>(FF_QP2LAMBDA);
}

} // namespace

void TCustomFFmpeg::ReportProgress(TTranscodeRun& run, bool AIsLastReport, int AFileIndex) {
    std::lock_guard<std::recursive_mutex> lock(run.mux_lock);
    int frame_number = -1, fps = -1;
    float quality = -1.0f;
    int64_t total_size = 0;
    AVFormatContext* oc = run.nb_output_files > 0 ? run.output_files[0] : nullptr;
    if (oc && oc->pb) {
        total_size = av::avio_size(oc->pb);
        if (total_size < 0) total_size = av::avio_seek(oc->pb, 0, SEEK_CUR);
    }

    std::string line;
    double ti1 = 1e10;
    bool vid = false;
    for (int i = 0; i < run.nb_ostreams(); ++i) {
        const TAVOutputStream* ost = run.ost(i);
        const AVCodecContext* enc = ost->enc_ctx;
        const bool video = enc && enc->codec_type == AVMEDIA_TYPE_VIDEO;
        if (vid && video) Append(line, "q=%2.1f ", Quality(ost));
        if (!vid && video && ost->show_fps == 1) {
            const double t = static_cast<double>(av::av_gettime() - Ftimer_start) / 1000000.0;
            frame_number = ost->frame_number;
            if (frame_number < 1) return;
            fps = t > 1 ? static_cast<int>(frame_number / t + 0.5) : 0;
            quality = static_cast<float>(Quality(ost));
            Append(line, "frame=%5d fps=%3d q=%3.1f ", frame_number, fps, static_cast<double>(quality));
            if (AIsLastReport) Append(line, "L");
            if (Fqp_hist) {
                std::lock_guard<std::mutex> lock(qp_hist_lock);
                const long qp = std::lrint(ost->coded_quality / static_cast<double>(FF_QP2LAMBDA));
                if (qp >= 0 && qp < 52) ++qp_histogram[qp];
                for (int j = 0; j < 32; ++j)
                    Append(line, "%X", static_cast<int>(std::lrint(std::log2(qp_histogram[j] + 1.0))));
            }
            if (enc->flags & AV_CODEC_FLAG_PSNR) {
                double error_sum = 0, scale_sum = 0;
                static const char planes[3] = {'Y', 'U', 'V'};
                Append(line, "PSNR=");
                for (int j = 0; j < 3; ++j) {
                    double error = 0, scale = static_cast<double>(enc->width) * enc->height * 255.0 * 255.0;
                    if (AIsLastReport) {
                        error = static_cast<double>(enc->error[j]);
                        scale *= frame_number;
                    } else {
                        error = static_cast<double>(ost->coded_error[j]);
                    }
                    if (j) scale /= 4;
                    error_sum += error;
                    scale_sum += scale;
                    Append(line, "%c:%2.2f ", planes[j], -10.0 * std::log10(error / scale));
                }
                Append(line, "*:%2.2f ", -10.0 * std::log10(error_sum / scale_sum));
            }
            vid = true;
        }
        if (ost->mux_pts != AV_NOPTS_VALUE) {
            const double pts = static_cast<double>(ost->mux_pts) * av_q2d(ost->st->time_base);
            if (pts > 0 && pts < ti1) ti1 = pts;
        }
    }
    if (ti1 < 0.01) ti1 = 0.01;

    if (FOnProgress || Fverbose > 0 || AIsLastReport) {
        const double bitrate = static_cast<double>(total_size) * 8 / ti1 / 1000.0;
        Append(line, "size=%8.0fkB time=%0.2f bitrate=%6.1fkbits/s", static_cast<double>(total_size) / 1024.0,
               ti1, bitrate);
        if (Fnb_frames_dup || Fnb_frames_drop) {
            Append(line, " dup=%d drop=%d", Fnb_frames_dup, Fnb_frames_drop);
            // A line that shows a new duplicate or drop reaches the log even
            // when an event handler takes the reports.
            if (FShowDupOrDrop && Fverbose >= 0 && FOnProgress) {
                FShowDupOrDrop = false;
                FFLogger().Log(this, llVerbose, line);
            }
        }
        if (FOnProgress)
            FOnProgress(this, AFileIndex, frame_number, fps, quality, static_cast<float>(bitrate), total_size,
                        static_cast<int64_t>(ti1 * 1000000), FTotalOutputDuration);
        else if (Fverbose >= 0)
            FFLogger().Log(this, llVerbose, line);
    }

    if (AIsLastReport && Fverbose >= 0) {
        const int64_t raw = Faudio_size + Fvideo_size + Fextra_size;
        FFLogger().Log(
            this, llVerbose,
            os::FormatC("video:%1.0fkB audio:%1.0fkB global headers:%1.0fkB muxing overhead %.2f%%\r\n",
                        static_cast<double>(Fvideo_size) / 1024.0, static_cast<double>(Faudio_size) / 1024.0,
                        static_cast<double>(Fextra_size) / 1024.0,
                        100.0 * static_cast<double>(total_size - raw) / static_cast<double>(raw)));
    }
}

} // namespace media
