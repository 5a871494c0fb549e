// libFuzzer entry: the first byte chooses what the rest is.  0: a stored skin in the outer
// format; 1: inner skin data, compressed here so the fuzzer reaches the picture and text
// readers without having to find valid deflate data; 2: a skin text alone.
#include "gui/StringStream.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinIni.h"
#include "skin/core/SkinIniFile.h"
#include "skin/core/ZlibStreams.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void Load(skin::TbsCompressedStoredSkin& stored) {
    skin::TbsSkinData data;
    data.LoadCompressedStoredSkin(&stored);
    if (!data.Empty) {
        // What was read must also write back out: the writer refuses nothing the reader gives.
        skin::TbsSkinIniFile ini;
        data.WriteSkinIni(ini);
        for (auto& c : data.CtrlList) data.GetControlIndex(c->IDName);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    if (size == 0) return 0;
    std::string rest(reinterpret_cast<const char*>(bytes) + 1, size - 1);
    skin::TbsCompressedStoredSkin stored;
    switch (bytes[0] % 3) {
    case 0: {
        gui::TStringStream s(rest);
        try {
            stored.LoadFromCompressStream(s);
        } catch (const std::exception&) {
            return 0;
        }
        Load(stored);
        break;
    }
    case 1: {
        gui::TMemoryStream inner, zlib;
        inner.WriteBuffer(rest.data(), static_cast<int64_t>(rest.size()));
        skin::CompressSkinStream(inner, zlib);
        stored.CompressedStream().LoadFromStream(zlib);
        Load(stored);
        break;
    }
    default: {
        skin::TbsSkinIniFile ini;
        ini.SetText(rest);
        skin::IsValidSkinIni(ini);
        std::string back = ini.Text();
        skin::TbsSkinIniFile again;
        again.SetText(back);
        if (again.Text() != back) __builtin_trap(); // the text written reads back unchanged
        break;
    }
    }
    return 0;
}
