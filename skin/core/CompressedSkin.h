#pragma once
// Stored skins: one skin (three frame pictures, the indexed pictures and the ini text) in a
// zlib stream, and the named list of them that a form carries.
//
// Outer format (a compressed skin file, the stream of SaveToCompressStream), little-endian:
//   int32 version (3; a reader accepts up to 3), int32 size N, N bytes of one zlib stream.
// Inner format (the inflated data), strictly in sequence:
//   int32 version; for the picture, the inactive picture and the mask a byte flag (nonzero:
//   empty) and, when 0, a BMP file; in version 2 only, two more flag-and-BMP pairs that are
//   dropped; int32 count n and n BMP files (the indexed pictures); the ini text to the end.
// Each BMP is a whole bitmap file whose header gives its length.
#include "gui/MemoryStream.h"
#include "os/Component.h"

#include <memory>
#include <string>
#include <vector>

namespace skin {

class TbsSkinData;

inline constexpr int32_t kStoredSkinVersion = 3;

// The little-endian 32-bit integers of both formats; reading short raises EReadError.
int32_t ReadSkinInt32(gui::TStream& s);
void WriteSkinInt32(gui::TStream& s, int32_t v);

class TbsCompressedStoredSkin : public os::TComponent {
public:
    explicit TbsCompressedStoredSkin(os::TComponent* AOwner = nullptr);
    ~TbsCompressedStoredSkin() override;
    std::string ClassName() const override { return "TbsCompressedStoredSkin"; }

    std::string Description;
    const std::string& FileName() const { return fileName_; }
    const std::string& CompressedFileName() const { return compressedFileName_; }
    // Only while designing (and not loading) do these read the file; otherwise they only keep
    // the name.
    void SetFileName(const std::string& value);
    void SetCompressedFileName(const std::string& value);

    bool Empty() const { return FCompressedStream->Size() == 0; }
    // The zlib stream alone, without the outer header.
    gui::TMemoryStream& CompressedStream() const { return *FCompressedStream; }

    // Builds the inner format from a loaded skin.
    void LoadFromSkinData(TbsSkinData& ASkinData);
    // Packs a skin folder given by its ini file.  False, with the stored skin unchanged, when
    // the text lacks a required section; the platform's stream errors or EInvalidGraphic when
    // the file or a picture cannot be read (the stored skin is then unchanged too).
    bool LoadFromIniFile(const std::string& AFileName);
    // A version above 3 leaves the stored skin empty.  A size beyond the data raises
    // EReadError, leaving it empty.
    void LoadFromCompressFile(const std::string& AFileName);
    void LoadFromCompressStream(gui::TStream& Stream);
    // An empty stored skin writes no file.
    void SaveToCompressFile(const std::string& AFileName) const;
    void SaveToCompressStream(gui::TStream& Stream) const;
    // The inner format; EDecompressionError "compression error" on damaged data.
    void DeCompressToStream(gui::TMemoryStream& S) const;

private:
    std::unique_ptr<gui::TMemoryStream> FCompressedStream;
    std::string fileName_, compressedFileName_;
};

class TbsCompressedSkinList;

class TbsSkinListItem {
public:
    // Named "bsSkin<index>" after the index it is created at.
    TbsSkinListItem(TbsCompressedSkinList* list, int index);
    ~TbsSkinListItem();
    TbsSkinListItem(const TbsSkinListItem&) = delete;
    TbsSkinListItem& operator=(const TbsSkinListItem&) = delete;

    std::string Name;
    std::string Description; // shown by the skin chooser in place of Name when not empty
    const std::string& FileName() const { return fileName_; }
    const std::string& CompressedFileName() const { return compressedFileName_; }
    void SetFileName(const std::string& value);
    void SetCompressedFileName(const std::string& value);
    TbsCompressedStoredSkin& Skin() const { return *skin_; }
    std::string DisplayName() const { return Name; }
    void Assign(const TbsSkinListItem& source);

private:
    TbsCompressedSkinList* list_;
    std::unique_ptr<TbsCompressedStoredSkin> skin_;
    std::string fileName_, compressedFileName_;
};

class TbsSkinListItems {
public:
    explicit TbsSkinListItems(TbsCompressedSkinList* list) : FSkinList(list) {}
    TbsCompressedSkinList* Owner() const { return FSkinList; }
    int Count() const { return static_cast<int>(items_.size()); }
    TbsSkinListItem& Add();
    void Delete(int index);
    void Clear() { items_.clear(); }
    // EListError for an index outside the list.
    TbsSkinListItem& GetSkinItem(int index) const;
    TbsSkinListItem& operator[](int index) const { return GetSkinItem(index); }
    void Assign(const TbsSkinListItems& source);

private:
    TbsCompressedSkinList* FSkinList;
    std::vector<std::unique_ptr<TbsSkinListItem>> items_;
};

class TbsCompressedSkinList : public os::TComponent {
public:
    explicit TbsCompressedSkinList(os::TComponent* AOwner = nullptr);
    ~TbsCompressedSkinList() override;
    std::string ClassName() const override { return "TbsCompressedSkinList"; }
    TbsSkinListItems& Skins() { return skins_; }
    const TbsSkinListItems& Skins() const { return skins_; }
    void SetSkins(const TbsSkinListItems& value) { skins_.Assign(value); }

private:
    TbsSkinListItems skins_;
};

} // namespace skin
