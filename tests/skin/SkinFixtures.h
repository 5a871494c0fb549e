#pragma once
// Skin folders, pictures and forms for the skin data tests.
#include "gdi/image/Image.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinForms.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace skintest {

// A w x h picture whose pixels differ from each other and from every other seed's.
gdi::image::Image Picture(int w, int h, uint32_t seed);
std::vector<uint8_t> BmpBytes(const gdi::image::Image& image);
void WriteFile(const std::string& path, const std::string& bytes);
void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

// A small but complete skin text: a frame with a mask, two indexed pictures, one object of
// every form-object type and a handful of controls.
std::string SampleSkinIni();
// Writes SampleSkinIni and its pictures into folder; returns the ini file's path.
std::string WriteSampleSkinFolder(const std::string& folder);

// Inner stored-skin data: version, the three flagged frame pictures (an empty image is an
// empty flag), the extra pairs of version 2, the indexed pictures and the text.
std::string InnerSkin(int32_t version, const std::string& text,
                      const std::vector<gdi::image::Image>& frame = {},
                      const std::vector<gdi::image::Image>& pictures = {});
// The outer format around a zlib stream of `inner` (or around `zlib` as it stands).
std::string OuterFromInner(const std::string& inner, int32_t version = 3);
std::string Outer(const std::string& zlib, int32_t version = 3, int32_t size = -1);
std::unique_ptr<skin::TbsCompressedStoredSkin> StoredSkin(const std::string& outer);
// Loads a skin text (no pictures) into the skin data; the loader's result.
bool LoadText(skin::TbsSkinData& data, const std::string& text);

// A form that records what it receives.
struct FakeForm : skin::TbsSkinMessageForm {
    FakeForm(std::string name, std::string cls, std::vector<std::string>* log)
        : name(name), cls(cls), log(log) {}
    std::string FormClassName() const override { return cls; }
    void SendSkinMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) override;
    std::string name, cls;
    std::vector<std::string>* log;
    uintptr_t lastWParam = 0;
    intptr_t lastLParam = 0;
};

// The application's forms in list order, installed for the lifetime of the object.
struct FakeForms : skin::TbsSkinForms {
    FakeForms();
    ~FakeForms() override;
    FakeForm& Add(const std::string& name, const std::string& cls = "TForm");
    int FormCount() const override { return static_cast<int>(forms.size()); }
    skin::TbsSkinMessageForm* Forms(int i) const override { return forms[static_cast<size_t>(i)].get(); }
    skin::TbsSkinMessageForm* FormOf(os::TComponent* c) const override;

    std::vector<std::unique_ptr<FakeForm>> forms;
    std::vector<std::pair<os::TComponent*, FakeForm*>> components; // which component is which form
    std::vector<std::string> log;                                  // "form:message"
    skin::TbsSkinForms* previous;
};

} // namespace skintest
