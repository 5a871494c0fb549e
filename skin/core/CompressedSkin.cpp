#include "skin/core/CompressedSkin.h"

#include "gdi/image/Bmp.h"
#include "gui/Classes.h"
#include "gui/FileStream.h"
#include "gui/StringList.h"
#include "os/Convert.h"
#include "os/Paths.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinIni.h"
#include "skin/core/SkinIniFile.h"
#include "skin/core/ZlibStreams.h"

namespace skin {

void WriteSkinInt32(gui::TStream& s, int32_t v) {
    auto u = static_cast<uint32_t>(v);
    uint8_t b[4] = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
                    static_cast<uint8_t>(u >> 24)};
    s.WriteBuffer(b, 4);
}

int32_t ReadSkinInt32(gui::TStream& s) {
    uint8_t b[4];
    s.ReadBuffer(b, 4);
    return static_cast<int32_t>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24));
}

namespace {

void WriteFlaggedPicture(gui::TStream& s, const TbsPicture& picture) {
    uint8_t empty = picture.Empty() ? 1 : 0;
    s.WriteBuffer(&empty, 1);
    if (!empty) picture.SaveToStream(s);
}

// A BMP of a skin folder as it goes into a stored skin: the file's own bytes (so palettes and
// 1-bit masks stay small) when its header gives its true length, else the decoded picture
// written anew.  Read as the folder loader reads it: EFOpenError or EInvalidGraphic when it
// cannot be.
void WriteFolderPicture(gui::TStream& s, const std::string& fileName) {
    gui::TMemoryStream file;
    file.LoadFromFile(fileName);
    std::span<const uint8_t> bytes(file.Memory(), static_cast<size_t>(file.Size()));
    TbsPicture picture;
    try {
        picture.LoadFromFileBytes(bytes);
    } catch (const EInvalidGraphic& e) {
        throw EInvalidGraphic(std::string(e.what()) + ": " + fileName);
    }
    bool exact = false;
    try {
        exact = BmpFileLength(bytes.data(), bytes.size()) == bytes.size();
    } catch (const EInvalidGraphic&) {
    }
    if (exact)
        s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    else
        picture.SaveToStream(s);
}

void WriteFlaggedFolderPicture(gui::TStream& s, const std::string& folder, const std::string& name) {
    uint8_t empty = name.empty() ? 1 : 0;
    s.WriteBuffer(&empty, 1);
    if (!empty) WriteFolderPicture(s, folder + name);
}

void WriteText(gui::TStream& s, const std::string& text) {
    if (!text.empty()) s.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

} // namespace

// --- TbsCompressedStoredSkin ---------------------------------------------------------------

TbsCompressedStoredSkin::TbsCompressedStoredSkin(os::TComponent* AOwner)
    : TComponent(AOwner), FCompressedStream(std::make_unique<gui::TMemoryStream>()) {}

TbsCompressedStoredSkin::~TbsCompressedStoredSkin() = default;

void TbsCompressedStoredSkin::SetFileName(const std::string& value) {
    fileName_ = value;
    if (Designing() && !Loading() && LoadFromIniFile(value)) fileName_ = os::ExtractFileName(value);
}

void TbsCompressedStoredSkin::SetCompressedFileName(const std::string& value) {
    compressedFileName_ = value;
    if (Designing() && !Loading()) {
        LoadFromCompressFile(value);
        compressedFileName_ = os::ExtractFileName(value);
    }
}

void TbsCompressedStoredSkin::LoadFromSkinData(TbsSkinData& ASkinData) {
    gui::TMemoryStream inner;
    WriteSkinInt32(inner, kStoredSkinVersion);
    WriteFlaggedPicture(inner, ASkinData.FPicture);
    WriteFlaggedPicture(inner, ASkinData.FInActivePicture);
    WriteFlaggedPicture(inner, ASkinData.FMask);
    WriteSkinInt32(inner, static_cast<int32_t>(ASkinData.FActivePictures.size()));
    for (auto& picture : ASkinData.FActivePictures) picture->SaveToStream(inner);
    TbsSkinIniFile ini;
    ASkinData.WriteSkinIni(ini);
    WriteText(inner, ini.Text());
    gui::TMemoryStream compressed;
    CompressSkinStream(inner, compressed);
    FCompressedStream->Clear();
    FCompressedStream->LoadFromStream(compressed);
}

bool TbsCompressedStoredSkin::LoadFromIniFile(const std::string& AFileName) {
    // Read as the folder loader reads it, so both give one verdict on every file.
    std::string text, error;
    if (!TbsSkinIniFile::ReadSkinText(AFileName, text, error)) throw gui::EFOpenError(error);
    gui::TStringList lines;
    lines.SetText(text);
    TbsSkinIniFile ini(AFileName);
    ini.SetText(text);
    if (!IsValidSkinIni(ini)) return false;
    std::string folder = os::ExtractFilePath(AFileName);
    gui::TMemoryStream inner;
    WriteSkinInt32(inner, kStoredSkinVersion);
    for (const char* key : {"picture", "inactivepicture", "mask"})
        WriteFlaggedFolderPicture(inner, folder, ini.ReadString("PICTURES", key, ""));
    gui::TStringList names;
    ReadStrings(ini, "PICTURES", "activepictures", names);
    WriteSkinInt32(inner, names.Count());
    for (int i = 0; i < names.Count(); ++i) WriteFolderPicture(inner, folder + names[i]);
    // The text goes in as the file has it, with CR LF line ends.
    WriteText(inner, lines.Text());
    gui::TMemoryStream compressed;
    CompressSkinStream(inner, compressed);
    FCompressedStream->Clear();
    FCompressedStream->LoadFromStream(compressed);
    return true;
}

void TbsCompressedStoredSkin::LoadFromCompressFile(const std::string& AFileName) {
    FCompressedStream->Clear();
    gui::TFileStream file(AFileName, gui::fmOpenRead);
    LoadFromCompressStream(file);
}

void TbsCompressedStoredSkin::LoadFromCompressStream(gui::TStream& Stream) {
    FCompressedStream->Clear();
    Stream.SetPosition(0);
    if (ReadSkinInt32(Stream) > kStoredSkinVersion) return;
    int32_t size = ReadSkinInt32(Stream);
    if (size < 0 || size > Stream.Size() - Stream.Position()) throw gui::EReadError("Stream read error");
    if (size > 0) FCompressedStream->CopyFrom(Stream, size);
    FCompressedStream->SetPosition(0);
}

void TbsCompressedStoredSkin::SaveToCompressStream(gui::TStream& Stream) const {
    WriteSkinInt32(Stream, kStoredSkinVersion);
    WriteSkinInt32(Stream, static_cast<int32_t>(FCompressedStream->Size()));
    if (!Empty()) Stream.WriteBuffer(FCompressedStream->Memory(), FCompressedStream->Size());
}

void TbsCompressedStoredSkin::SaveToCompressFile(const std::string& AFileName) const {
    if (Empty()) return;
    gui::TFileStream file(AFileName, gui::fmCreate);
    SaveToCompressStream(file);
}

void TbsCompressedStoredSkin::DeCompressToStream(gui::TMemoryStream& S) const {
    DecompressSkinStream(S, *FCompressedStream);
}

// --- the skin list -------------------------------------------------------------------------

TbsSkinListItem::TbsSkinListItem(TbsCompressedSkinList* list, int index)
    : Name(os::FormatC("bsSkin%d", index)), list_(list), skin_(std::make_unique<TbsCompressedStoredSkin>()) {}

TbsSkinListItem::~TbsSkinListItem() = default;

void TbsSkinListItem::SetFileName(const std::string& value) {
    fileName_ = value;
    if (list_ && list_->Designing() && !list_->Loading() && skin_->LoadFromIniFile(value))
        fileName_ = os::ExtractFileName(value);
}

void TbsSkinListItem::SetCompressedFileName(const std::string& value) {
    compressedFileName_ = value;
    if (list_ && list_->Designing() && !list_->Loading()) {
        skin_->LoadFromCompressFile(value);
        compressedFileName_ = os::ExtractFileName(value);
    }
}

void TbsSkinListItem::Assign(const TbsSkinListItem& source) {
    Name = source.Name;
    Description = source.Description;
    fileName_ = source.fileName_;
    compressedFileName_ = source.compressedFileName_;
    gui::TMemoryStream outer;
    source.skin_->SaveToCompressStream(outer);
    skin_->LoadFromCompressStream(outer);
}

TbsSkinListItem& TbsSkinListItems::Add() {
    items_.push_back(std::make_unique<TbsSkinListItem>(FSkinList, Count()));
    return *items_.back();
}

void TbsSkinListItems::Delete(int index) {
    GetSkinItem(index);
    items_.erase(items_.begin() + index);
}

TbsSkinListItem& TbsSkinListItems::GetSkinItem(int index) const {
    if (index < 0 || index >= Count()) gui::RaiseListIndexError(index);
    return *items_[static_cast<size_t>(index)];
}

void TbsSkinListItems::Assign(const TbsSkinListItems& source) {
    if (&source == this) return;
    items_.clear();
    for (int i = 0; i < source.Count(); ++i) Add().Assign(source[i]);
}

TbsCompressedSkinList::TbsCompressedSkinList(os::TComponent* AOwner) : TComponent(AOwner), skins_(this) {}

TbsCompressedSkinList::~TbsCompressedSkinList() = default;

} // namespace skin
