#pragma once
// The media probe: opens a media file (or adopts an input someone else has
// opened), answers questions about its streams, writes the file-information
// report, and, on a file it opened itself, decodes single pictures of a
// video stream.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/rational.h>
}

#include "media/AVHandles.h"
#include "media/FFBaseComponent.h"
#include "media/FFLogger.h"
#include "media/FrameBitmap.h"
#include "media/MediaTypes.h"
#include "media/RGBConvert.h"

struct AVCodecContext;
struct AVDictionary;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;

namespace media {

using TAVRational = AVRational;

struct TFileStreamInfo {
    int64_t StartTime = -1; // microseconds
    int64_t Duration = -1;  // microseconds
    int32_t BitRate = -1;   // bits per second
    int64_t TimeStamp = -1; // seconds since 1970-01-01 UTC
    int32_t Year = -1;
    int32_t Track = -1;
    std::string Title, Author, Copyright, Comment, Album, Genre;
};

// StartTime and Duration are in the stream's time base, the ...Scaled twins
// in microseconds.
struct TAudioStreamInfo {
    std::string Language, CodecName;
    int64_t StartTime = -1, StartTimeScaled = -1, Duration = -1, DurationScaled = -1;
    int32_t BitRate = -1, Channels = -1, SampleRate = -1;
    int32_t SampleFormat = -1; // the libraries' AVSampleFormat
};

struct TVideoStreamInfo {
    std::string Language, CodecName;
    int64_t StartTime = -1, StartTimeScaled = -1, Duration = -1, DurationScaled = -1;
    int32_t BitRate = -1, Height = -1, Width = -1;
    float AspectRatio = -1.0f;
    int32_t PixFmt = -1; // the libraries' AVPixelFormat
    TAVRational FrameRate{-1, -1};
};

struct TSubtitleStreamInfo {
    std::string Language, CodecName;
};

// The name shown in reports for an ID3v2 frame id; other keys as they are.
std::string ID3KeyName(const std::string& key);

class TCustomAVProbe : public TFFBaseComponent {
public:
    explicit TCustomAVProbe(os::TComponent* owner = nullptr);
    ~TCustomAVProbe() override;
    std::string ClassName() const override { return "TCustomAVProbe"; }

    // The probe's library set through the process-wide loader.
    bool AVLibLoaded() const;
    bool LoadAVLib(const std::string& APath);
    void UnloadAVLib();

    // Opens a file; AFormatName forces an input format.  False with the
    // reason in LastErrMsg.  Raises FFmpegException when a library is missing.
    bool LoadFile(const std::string& AFileName, const std::string& AFormatName = "");
    virtual void CloseFile();

    // An input opened by someone else (a task's or the player's): the probe
    // reads it but never changes or closes it; it must stay open while held.
    AVFormatContext* FileHandle() const { return FFileHandle; }
    virtual void SetFileHandle(AVFormatContext* Value);

    bool IsAudioStream(int AStreamIndex);
    bool IsVideoStream(int AStreamIndex);
    bool IsSubtitleStream(int AStreamIndex);

    // A negative index means the first stream of that type.
    bool GetAudioStreamInfo(int AStreamIndex, TAudioStreamInfo& AInfo);
    bool GetVideoStreamInfo(int AStreamIndex, TVideoStreamInfo& AInfo);
    bool GetSubtitleStreamInfo(int AStreamIndex, TSubtitleStreamInfo& AInfo);
    TAudioStreamInfo FirstAudioStreamInfo();
    TVideoStreamInfo FirstVideoStreamInfo();
    TSubtitleStreamInfo FirstSubtitleStreamInfo();

    TFileStreamInfo FileStreamInfo();
    // The multi-line report, each line ending with CR LF; empty without a file.
    std::string FileInfoText();
    std::string FileName();
    std::string FormatName();
    std::string FormatLongName();

    int64_t FileSize() const { return FFileSize; }
    const std::string& ForceFormat() const { return FForceFormat; }
    int StreamCount() const { return FStreamCount; }
    int ProgramCount() const { return FProgramCount; }
    int AudioStreamCount() const { return FAudioStreamCount; }
    int VideoStreamCount() const { return FVideoStreamCount; }
    int SubtitleStreamCount() const { return FSubtitleStreamCount; }
    int FirstAudioStreamIndex() const { return FFirstAudioStreamIndex; }
    int FirstVideoStreamIndex() const { return FFirstVideoStreamIndex; }
    int FirstSubtitleStreamIndex() const { return FFirstSubtitleStreamIndex; }
    const std::string& LastErrMsg() const { return FLastErrMsg; }

protected:
    virtual void RecountStreams();
    // Logs the text with the probe as sender and keeps it in LastErrMsg,
    // whatever its level.
    void ReportMessage(TLogLevel ALevel, const std::string& AMsg);
    void CheckLibraries() const;
    AVStream* Stream(int AStreamIndex) const;
    // Our own decoder-side description of a stream: streams no longer carry
    // a codec context, and a borrowed input must not be written to.
    AVCodecContext* StreamCodec(int AStreamIndex) const;
    bool OwnsHandle() const { return FOwnHandle; }

    AVFormatContext* FFileHandle = nullptr;
    bool FOwnHandle = false;
    std::string FLastErrMsg;
    std::string FForceFormat;
    int64_t FFileSize = -1;
    int FStreamCount = -1, FProgramCount = -1;
    int FAudioStreamCount = -1, FVideoStreamCount = -1, FSubtitleStreamCount = -1;
    int FFirstAudioStreamIndex = -1, FFirstVideoStreamIndex = -1, FFirstSubtitleStreamIndex = -1;

private:
    bool CheckStreamIndex(int AStreamIndex);
    // Resolves a record query's index; -1 with the message reported.
    int StreamForInfo(int AStreamIndex, int AMediaType, int AFirstIndex, const char* ATypeName);
    void AddMetadataLines(std::vector<std::string>& ALines, const AVDictionary* AMetadata,
                          const std::string& AIndent) const;
    void AddStreamLine(std::vector<std::string>& ALines, int AIndex) const;

    // Made on first use: a task list keeps a probe per waiting task, and
    // most are never asked about their codecs.
    mutable std::vector<TCodecContextPtr> FStreamCodecs;
};

enum TPictureType { ptUnknown, ptI, ptP, ptB, ptS, ptSI, ptSP, ptBI };

struct TFrameInfo {
    int32_t PixFmt = -1;
    int32_t Width = -1, Height = -1;
    bool IsKeyFrame = false;
    TPictureType PictureType = ptUnknown;
    int64_t PTS = NoTime;                               // microseconds from the stream's start
    int64_t OriginalDTS = NoTime, OriginalPTS = NoTime; // in the stream's time base
    int32_t StreamIndex = -1;
    int64_t Position = -1; // input byte position before the picture's packets were read
    bool Ready = false;
    TAVPicture Picture;        // planes inside Buffer
    uint8_t* Buffer = nullptr; // av_malloc, owned by the probe
    int32_t Size = 0;
};

class TAVProbe : public TCustomAVProbe {
public:
    explicit TAVProbe(os::TComponent* owner = nullptr);
    ~TAVProbe() override;
    std::string ClassName() const override { return "TAVProbe"; }

    void CloseFile() override;

    // Byte position of the input; -1 without one.
    int64_t Position();
    // EOF is a macro of the C library, so the property reads Eof here.
    bool Eof() const { return FEOF; }
    const TFrameInfo& FrameInfo() const { return FPicture; }

    // APTS in microseconds, or a byte position with sfByte.  Seeking and
    // decoding a borrowed input raise FFmpegException.
    bool Seek(int64_t APTS, TSeekFlags ASeekFlags = {});
    // A negative index means the stream decoded last, else the first video stream.
    bool Decode(int AStreamIndex = -1);
    bool DecodeNextKeyFrame(int AStreamIndex = -1);
    bool DecodePreviousKeyFrame(int AStreamIndex = -1);
    bool DecodePreviousFrame(int AStreamIndex = -1);
    bool CopyToBitmap(TFrameBitmap& ABitmap);

protected:
    void RecountStreams() override;

private:
    void ResetFrameInfo();
    void ResetDecoding();
    void CloseDecoder();
    bool CheckOwnHandle();
    bool CanSeek();
    bool IsStillImage() const;
    int SelectDecodeStream(int AIndex);
    bool OpenDecoder(int AIndex);
    void StoreDecodedFrame(const AVFrame* AFrame, int64_t APos);
    int64_t StepDuration(int AIndex) const;

    AVCodecContext* FCodec = nullptr; // open decoder, ours
    int FCodecIndex = -1;             // the stream FCodec decodes
    bool FDraining = false;           // the end of the input was sent to FCodec
    TRGBConvertContext FRGBContext;
    int FSeekIndex = -1;
    int64_t FStartTime = 0;
    int FDecodeIndex = -1;
    bool FEOF = false;
    TFrameInfo FPicture;
    int64_t FLastPTS = NoTime;
    int64_t FLastPos = -1;
    // The stamps of the last packet handed to the decoder.
    int64_t FPacketPTS = NoTime;
    int FPacketFlags = 0;
};

} // namespace media
