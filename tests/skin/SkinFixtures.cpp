#include "tests/skin/SkinFixtures.h"

#include "gdi/image/Bmp.h"
#include "gui/StringStream.h"
#include "skin/core/ZlibStreams.h"

#include <fstream>
#include <stdexcept>

namespace skintest {

gdi::image::Image Picture(int w, int h, uint32_t seed) {
    gdi::image::Image img;
    img.Reset(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.At(x, y) =
                gdi::image::MakeBgra(static_cast<uint8_t>(x * 7 + seed), static_cast<uint8_t>(y * 13),
                                     static_cast<uint8_t>(seed * 31 + x + y));
    return img;
}

std::vector<uint8_t> BmpBytes(const gdi::image::Image& image) {
    std::vector<uint8_t> out;
    std::string error;
    if (!gdi::image::WriteBmp(image, 24, out, error)) throw std::runtime_error(error);
    return out;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

std::string SampleSkinIni() {
    return "[VERSION]\r\nver=1\r\nskinname=Sample\r\nskinauthor=Tarvik\r\nauthoremail=a@b.c\r\n"
           "authorurl=http://x\r\nskincomments=test skin\r\n"
           "[PICTURES]\r\npicture=main.bmp\r\ninactivepicture=\r\nmask=mask.bmp\r\n"
           "activepicturescount=2\r\n0=p0.bmp\r\n1=p1.bmp\r\n"
           "[FORMINFO]\r\nlefttoppoint=10,30\r\nrighttoppoint=50,30\r\nleftbottompoint=10,50\r\n"
           "rightbottompoint=50,50\r\nclientrect=5,25,55,55\r\nstretchtype=stvert\r\ninactiveeffect="
           "ieinvert\r\n"
           "buttonsrect=40,2,58,20\r\nborderwidth=3\r\n"
           "[POPUPWINDOW]\r\nwindowpictureindex=0\r\nitemsrect=2,2,20,20\r\n"
           "[LAYERFRAME]\r\npictureindex=1\r\nalphablendvalue=200\r\n"
           "[HINTWINDOW]\r\nwindowpictureindex=1\r\nfontname=Tahoma\r\n"
           "[SKINCOLORS]\r\ncbtnface=12632256\r\ncwindow=16777215\r\n"
           "[SKINOBJECTS]\r\ncount=8\r\n0=mi:menuitem\r\n1=mbi:mainmenubaritem\r\n2=sb:stdbutton\r\n"
           "3=mbb:mainmenubarbutton\r\n4=btn:button\r\n5=cap:caption\r\n6=ani:animate\r\n7=uo:userobject\r\n"
           "[mi]\r\ncheckimagerect=1,2,3,4\r\n[sb]\r\nhint=Maximize\r\ncommand=cmmaximize\r\nskinrect=1,1,9,"
           "9\r\n"
           "[cap]\r\ntextrect=1,1,30,12\r\nfontstyle=fsbold\r\nreflactioncolor=255\r\n"
           "[SKINCONTROLS]\r\ncount=5\r\n0=button:button\r\n1=panel:panel\r\n2=vscrollbar:scrollbar\r\n"
           "3=updown:updown\r\n4=listbox:listbox\r\n"
           "[button]\r\npictureindex=0\r\nskinrect=0,0,20,10\r\nactiveskinrect=0,10,20,20\r\nfontcolor="
           "255\r\n"
           "[panel]\r\npictureindex=1\r\nskinrect=0,0,8,8\r\nlefttoppoint=2,2\r\n"
           "[vscrollbar]\r\ntrackarea=0,4,10,40\r\n";
}

std::string WriteSampleSkinFolder(const std::string& folder) {
    WriteFile(folder + "/main.bmp", BmpBytes(Picture(60, 60, 1)));
    WriteFile(folder + "/mask.bmp", BmpBytes(Picture(60, 60, 2)));
    WriteFile(folder + "/p0.bmp", BmpBytes(Picture(20, 20, 3)));
    WriteFile(folder + "/p1.bmp", BmpBytes(Picture(8, 8, 4)));
    std::string ini = folder + "/skin.ini";
    WriteFile(ini, SampleSkinIni());
    return ini;
}

namespace {
std::string Int32(int32_t v) {
    auto u = static_cast<uint32_t>(v);
    return {static_cast<char>(u), static_cast<char>(u >> 8), static_cast<char>(u >> 16),
            static_cast<char>(u >> 24)};
}
std::string Flagged(const gdi::image::Image* img) {
    if (!img || img->width == 0) return std::string(1, '\1');
    auto b = BmpBytes(*img);
    return std::string(1, '\0') + std::string(b.begin(), b.end());
}
} // namespace

std::string InnerSkin(int32_t version, const std::string& text, const std::vector<gdi::image::Image>& frame,
                      const std::vector<gdi::image::Image>& pictures) {
    std::string r = Int32(version);
    size_t pairs = version == 2 ? 5 : 3;
    for (size_t i = 0; i < pairs; ++i) r += Flagged(i < frame.size() ? &frame[i] : nullptr);
    r += Int32(static_cast<int32_t>(pictures.size()));
    for (auto& p : pictures) {
        auto b = BmpBytes(p);
        r.append(b.begin(), b.end());
    }
    return r + text;
}

std::string Outer(const std::string& zlib, int32_t version, int32_t size) {
    return Int32(version) + Int32(size < 0 ? static_cast<int32_t>(zlib.size()) : size) + zlib;
}

std::string OuterFromInner(const std::string& inner, int32_t version) {
    gui::TMemoryStream source, dest;
    source.WriteBuffer(inner.data(), static_cast<int64_t>(inner.size()));
    skin::CompressSkinStream(source, dest);
    return Outer(std::string(reinterpret_cast<const char*>(dest.Memory()), static_cast<size_t>(dest.Size())),
                 version);
}

std::unique_ptr<skin::TbsCompressedStoredSkin> StoredSkin(const std::string& outer) {
    auto stored = std::make_unique<skin::TbsCompressedStoredSkin>();
    gui::TStringStream s(outer);
    stored->LoadFromCompressStream(s);
    return stored;
}

bool LoadText(skin::TbsSkinData& data, const std::string& text) {
    auto stored = StoredSkin(OuterFromInner(InnerSkin(3, text)));
    return data.LoadCompressedStoredSkin(stored.get());
}

void FakeForm::SendSkinMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    lastWParam = wParam;
    lastLParam = lParam;
    log->push_back(name + ":" + std::to_string(msg));
}

FakeForms::FakeForms() : previous(skin::SetSkinForms(this)) {}

FakeForms::~FakeForms() {
    skin::SetSkinForms(previous);
}

FakeForm& FakeForms::Add(const std::string& name, const std::string& cls) {
    forms.push_back(std::make_unique<FakeForm>(name, cls, &log));
    return *forms.back();
}

skin::TbsSkinMessageForm* FakeForms::FormOf(os::TComponent* c) const {
    for (auto& [component, form] : components)
        if (component == c) return form;
    return nullptr;
}

} // namespace skintest
