// The picture dialogs over a folder of pictures made here: the preview of each kind, the
// stretch toggle, folders and unreadable files, what Execute writes back, and the save
// variant's extension.
#include "ShellGuiFixture.h"
#include "controls/CommCtrl.h"
#include "gdi/image/ImageFile.h"
#include "skin/dialogs/SkinOpenPictureDialog.h"
#include "win/Message.h"

using namespace skin;

namespace {

class PictureDialogTest : public ShellGuiTest {
protected:
    void SetUp() override {
        ShellGuiTest::SetUp();
        dir = MakeDir("home/图片");
        MakeDir("home/图片/相册");
        Picture("大图.bmp", 400, 300, gdi::image::ImageFormat::Bmp);
        Picture("照片.jpg", 64, 48, gdi::image::ImageFormat::Jpeg);
        Picture("图标.png", 32, 20, gdi::image::ImageFormat::Png);
        Picture("动画.gif", 24, 16, gdi::image::ImageFormat::Gif);
        Make("home/图片/坏的.bmp", "not a picture");
    }
    void Picture(const std::string& name, int w, int h, gdi::image::ImageFormat format) {
        gdi::image::Image img;
        img.width = w;
        img.height = h;
        img.pixels.assign(static_cast<size_t>(w) * h, 0xFF3070C0u);
        std::string error;
        ASSERT_TRUE(gdi::image::SaveImageFile(dir + "/" + name, img, format, {}, error)) << error;
    }
    static TbsOpenPictureDlgForm& Form(gui::TCustomForm& f) {
        return dynamic_cast<TbsOpenPictureDlgForm&>(f);
    }
    static void SelectOnly(TbsOpenPictureDlgForm& d, const std::string& name) {
        d.FileListView->ClearSelection();
        for (int i = 0; i < d.FileListView->FolderCount(); ++i)
            if (d.FileListView->FolderAt(i)->DisplayName() == name) {
                d.FileListView->SetItemIndex(i);
                return;
            }
        ADD_FAILURE() << name << " is not listed";
    }
    std::string dir;
};

TEST_F(PictureDialogTest, PreviewOfEachKindTheStretchToggleAndWhatIsWrittenBack) {
    TbsSkinOpenPictureDialog dlg(gui::Application);
    dlg.InitialDir = dir;
    dlg.Filter = "图片|*.bmp;*.jpg;*.png;*.gif";
    Respond([&](gui::TCustomForm& f) {
        TbsOpenPictureDlgForm& d = Form(f);
        EXPECT_EQ(f.Caption(), "Open picture");
        EXPECT_EQ(f.ClientWidth(), 550);
        EXPECT_EQ(f.ClientHeight(), 290);
        EXPECT_EQ(d.ImagePanel->Width(), 190);
        EXPECT_FALSE(d.Stretched());
        struct Shown {
            const char* name;
            int w, h;
        } shown[] = {
            {"大图.bmp", 400, 300},
            {"照片.jpg", 64,  48 },
            {"图标.png", 32,  20 },
            {"动画.gif", 24,  16 }
        };
        for (const Shown& s : shown) {
            SelectOnly(d, s.name);
            EXPECT_EQ(d.FileNameEdit->Text(), s.name);
            EXPECT_EQ(d.Image->Width(), s.w) << s.name;
            EXPECT_EQ(d.Image->Height(), s.h) << s.name;
        }
        SelectOnly(d, "大图.bmp");
        d.StretchButton->SetDown(true);
        d.StretchButtonClick(&f);
        EXPECT_TRUE(d.Image->Stretch());
        EXPECT_EQ(d.Image->Width(), d.ScrollBox->ClientWidth()); // fitted to the panel
        d.StretchButton->SetDown(false);
        d.StretchButtonClick(&f);
        EXPECT_FALSE(d.Image->Stretch());
        EXPECT_EQ(d.Image->Width(), 400);

        SelectOnly(d, "相册"); // a folder empties the edit and the preview
        EXPECT_EQ(d.FileNameEdit->Text(), "");
        EXPECT_EQ(d.Image->Width(), 0);
        SelectOnly(d, "坏的.bmp"); // unreadable: an empty preview, nothing raised
        EXPECT_EQ(d.Image->Width(), 0);
        EXPECT_EQ(d.Image->Picture()->Graphic(), nullptr);

        d.ImagePanel->SetWidth(230);
        d.StretchButton->SetDown(true);
        SelectOnly(d, "照片.jpg");
        d.OpenButtonClick(&f);
        return true;
    });
    ASSERT_TRUE(dlg.Execute());
    EXPECT_EQ(dlg.FileName(), dir + "/照片.jpg");
    EXPECT_EQ(dlg.Files, std::vector<std::string>{dir + "/照片.jpg"});
    EXPECT_EQ(dlg.ImagePanelWidth, 230);
    EXPECT_TRUE(dlg.DialogStretch);

    // The next call opens stretched, at that width, with the chosen picture shown.
    Respond([&](gui::TCustomForm& f) {
        TbsOpenPictureDlgForm& d = Form(f);
        EXPECT_EQ(d.ImagePanel->Width(), 230);
        EXPECT_TRUE(d.Stretched());
        EXPECT_TRUE(d.Image->Stretch());
        EXPECT_NE(d.Image->Picture()->Graphic(), nullptr);
        EXPECT_EQ(d.FileListView->Path(), dir);
        f.SetModalResult(gui::mrCancel);
        return true;
    });
    EXPECT_FALSE(dlg.Execute());
}

TEST_F(PictureDialogTest, TheSaveVariantAppendsTheFilterExtension) {
    TbsSkinSavePictureDialog dlg(gui::Application);
    dlg.InitialDir = dir;
    dlg.Filter = "BMP文件 (*.bmp)|*.bmp|JPEG文件 (*jpg)|*.jpg";
    Respond([&](gui::TCustomForm& f) {
        TbsOpenPictureDlgForm& d = Form(f);
        EXPECT_EQ(f.Caption(), "Save file");
        EXPECT_EQ(d.OpenButton->Caption(), "&Save");
        d.FileNameEdit->SetText("新图");
        d.OpenButtonClick(&f);
        return true;
    });
    ASSERT_TRUE(dlg.Execute());
    EXPECT_EQ(dlg.FileName(), dir + "/新图.bmp");
}

} // namespace
