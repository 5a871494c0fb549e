#pragma once
// The six preset pickers and the 61 fixed lists that fill them. A list is named by its picker's
// letter: R frame size, V video bitrate, F frame rate, A audio bitrate, S sample rate, M aspect.
#include <string>
#include <vector>

namespace catalogue {

enum class TPresetPicker : int { FrameSize, VideoBitrate, FrameRate, AudioBitrate, SampleRate, Aspect };

constexpr int PresetPickerCount = 6;

// The order in which an entry fills the pickers (the enumeration's order).
constexpr TPresetPicker FillOrder[PresetPickerCount] = {
    TPresetPicker::FrameSize,    TPresetPicker::VideoBitrate, TPresetPicker::FrameRate,
    TPresetPicker::AudioBitrate, TPresetPicker::SampleRate,   TPresetPicker::Aspect};

// The order of the pickers as fields of the main window (bsSkinComboBox1, 2, 3, 4, 9, 10): the
// refill empties and enables them in this order, and a row keeps their positions in it.
constexpr TPresetPicker FieldOrder[PresetPickerCount] = {
    TPresetPicker::FrameSize, TPresetPicker::VideoBitrate, TPresetPicker::AudioBitrate,
    TPresetPicker::Aspect,    TPresetPicker::FrameRate,    TPresetPicker::SampleRate};

// The pickers an audio-only format disables after the fill, in this order.
constexpr TPresetPicker VideoPickers[] = {TPresetPicker::FrameSize, TPresetPicker::VideoBitrate,
                                          TPresetPicker::Aspect, TPresetPicker::FrameRate};

struct TPresetList {
    const char* Name;
    std::vector<std::string> Items; // the pickers' texts, exactly as shown
};

namespace presets {
extern const TPresetList R1, R2, R3, R4, R5, R6, R7, R8, R9, R10, R11, R12, R13, R14, R15, R16, R17, R18;
extern const TPresetList V1, V2, V3, V4, V5, V6, V7, V8, V9, V10, V11, V12, V13, V14, V15, V16, V17, V18, V19,
    V20, V21, V22, V23, V24;
extern const TPresetList F1, F2, F3, F4, F5, F6, F7;
extern const TPresetList A1, A2, A3, A4;
extern const TPresetList S1, S2, S3, S4, S5;
extern const TPresetList M1, M2, M3;
} // namespace presets

} // namespace catalogue
