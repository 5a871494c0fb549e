// The program's own skins as the build made them: each loads without error under its own
// name, holds every section the controls look up with the right descriptor class, and keeps
// every rectangle inside its picture.  Writes a gallery of all skins for a look at the art.
#include "skins/StoredSkins.h"

#include "gdi/image/Png.h"
#include "gui/Graphics.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

using namespace skin;

namespace {

// In stored order: index 0 is what a first start shows.
const char* const kNames[] = {"晴空 Clear Sky", "墨夜 Ink Night", "翡翠 Jade",     "朱砂 Cinnabar",
                              "紫晶 Amethyst",  "琥珀 Amber",     "石墨 Graphite", "高对比 High Contrast",
                              "琉璃 Glass",     "樱粉 Sakura",    "深海 Deep Sea"};

struct Loaded {
    TbsCompressedSkinList list;
    std::vector<std::unique_ptr<TbsSkinData>> skins;
};

Loaded& Skins() {
    static Loaded* loaded = [] {
        auto* l = new Loaded;
        skins::LoadStoredSkins(l->list);
        for (int i = 0; i < l->list.Skins().Count(); ++i) {
            auto data = std::make_unique<TbsSkinData>();
            data->LoadCompressedStoredSkin(&l->list.Skins()[i].Skin());
            l->skins.push_back(std::move(data));
        }
        return l;
    }();
    return *loaded;
}

bool Inside(const TRect& r, const TbsPicture& p) {
    return r.Left >= 0 && r.Top >= 0 && r.Right <= p.Width() && r.Bottom <= p.Height() && r.Left < r.Right &&
           r.Top < r.Bottom;
}

const TbsPicture* Indexed(const TbsSkinData& d, int index) {
    if (index < 0 || index >= static_cast<int>(d.FActivePictures.size())) return nullptr;
    return d.FActivePictures[static_cast<size_t>(index)].get();
}

} // namespace

TEST(StoredSkins, EachLoadsUnderItsOwnName) {
    auto& s = Skins();
    ASSERT_EQ(s.list.Skins().Count(), static_cast<int>(std::size(kNames)));
    ASSERT_EQ(skins::StoredSkinCount(), static_cast<int>(std::size(kNames)));
    for (size_t i = 0; i < s.skins.size(); ++i) {
        TbsSkinData& d = *s.skins[i];
        EXPECT_TRUE(d.LastError().empty()) << kNames[i] << ": " << d.LastError();
        EXPECT_FALSE(d.Empty) << kNames[i];
        EXPECT_EQ(d.SkinName, kNames[i]);
        EXPECT_EQ(s.list.Skins()[static_cast<int>(i)].Name, kNames[i]);
        EXPECT_EQ(d.SkinAuthor, "Tarvik");
        EXPECT_FALSE(d.FPicture.Empty()) << kNames[i];
        EXPECT_EQ(d.FMask.Width(), d.FPicture.Width()) << kNames[i];
        // Every skin looks its own: no two share a frame.
        for (size_t j = 0; j < i; ++j)
            EXPECT_FALSE(d.FPicture == s.skins[j]->FPicture) << kNames[i] << kNames[j];
    }
}

TEST(StoredSkins, EverySectionIsThereWithItsClassAndItsRectanglesInsideTheirPictures) {
    using Check = std::function<void(const TbsSkinData&, const TbsDataSkinControl&)>;
    auto rects = [](std::function<std::vector<TRect>(const TbsDataSkinControl&)> of) -> Check {
        return [of](const TbsSkinData& d, const TbsDataSkinControl& c) {
            const TbsPicture* p = Indexed(d, c.PictureIndex);
            ASSERT_NE(p, nullptr) << c.IDName;
            for (auto& r : of(c)) EXPECT_TRUE(Inside(r, *p)) << d.SkinName << " " << c.IDName;
        };
    };
    Check button = rects([](const TbsDataSkinControl& c) {
        auto& b = dynamic_cast<const TbsDataSkinButtonControl&>(c);
        return std::vector<TRect>{b.SkinRect, b.ActiveSkinRect, b.DownSkinRect, b.FocusedSkinRect,
                                  b.DisabledSkinRect};
    });
    Check panel = rects([](const TbsDataSkinControl& c) {
        return std::vector<TRect>{dynamic_cast<const TbsDataSkinPanelControl&>(c).SkinRect};
    });
    Check labelBox = rects([](const TbsDataSkinControl& c) {
        return std::vector<TRect>{dynamic_cast<const TbsDataSkinLabelControl&>(c).SkinRect};
    });
    Check splitter = rects([](const TbsDataSkinControl& c) {
        auto& p = dynamic_cast<const TbsDataSkinSplitterControl&>(c);
        return std::vector<TRect>{p.SkinRect, p.GripperRect};
    });
    Check edit = rects([](const TbsDataSkinControl& c) {
        auto& e = dynamic_cast<const TbsDataSkinEditControl&>(c);
        std::vector<TRect> r{e.SkinRect, e.ActiveSkinRect};
        for (const TRect& b : {e.ButtonRect, e.ActiveButtonRect, e.DownButtonRect})
            if (b.Width() > 0) r.push_back(b);
        return r;
    });
    Check scrollBar = rects([](const TbsDataSkinControl& c) {
        auto& b = dynamic_cast<const TbsDataSkinScrollBarControl&>(c);
        return std::vector<TRect>{
            b.SkinRect,           b.ActiveUpButtonRect, b.DownUpButtonRect, b.ActiveDownButtonRect,
            b.DownDownButtonRect, b.ThumbRect,          b.ActiveThumbRect,  b.DownThumbRect};
    });
    struct Row {
        const char* name;
        Check check; // also tests the class
    } controls[] = {
        {"button",           rects([](const TbsDataSkinControl& c) {
             auto& b = dynamic_cast<const TbsDataSkinButtonControl&>(c);
             return std::vector<TRect>{b.SkinRect, b.ActiveSkinRect, b.DownSkinRect, b.FocusedSkinRect,
                                       b.DisabledSkinRect};
         })         },
        {"resizebutton",     button   },
        {"resizetoolbutton", button   },
        {"toolbutton",       button   },
        {"toolmenubutton",   rects([](const TbsDataSkinControl& c) {
             auto& b = dynamic_cast<const TbsDataSkinMenuButtonControl&>(c);
             return std::vector<TRect>{b.SkinRect, b.ActiveSkinRect, b.DownSkinRect, b.DisabledSkinRect,
                                       b.TrackButtonRect};
         }) },
        {"toolpanel",        panel    },
        {"resizetoolpanel",  panel    },
        {"statusbar",        rects([](const TbsDataSkinControl& c) {
             auto& p = dynamic_cast<const TbsDataSkinPanelControl&>(c);
             return std::vector<TRect>{p.SkinRect, p.GripperRect};
         })      },
        {"label",            labelBox },
        {"menuheader",       labelBox },
        {"vsplitter",        splitter },
        {"hsplitter",        splitter },
        {"groupbox",         rects([](const TbsDataSkinControl& c) {
             auto& p = dynamic_cast<const TbsDataSkinPanelControl&>(c);
             return std::vector<TRect>{p.SkinRect};
         })       },
        {"panel",            rects([](const TbsDataSkinControl& c) {
             return std::vector<TRect>{dynamic_cast<const TbsDataSkinPanelControl&>(c).SkinRect};
         })          },
        {"checkbox",         rects([](const TbsDataSkinControl& c) {
             auto& b = dynamic_cast<const TbsDataSkinCheckRadioControl&>(c);
             return std::vector<TRect>{b.SkinRect,
                                       b.CheckImageRect,
                                       b.UnCheckImageRect,
                                       b.ActiveCheckImageRect,
                                       b.ActiveUnCheckImageRect,
                                       b.UnEnabledCheckImageRect,
                                       b.UnEnabledUnCheckImageRect,
                                       b.GrayedCheckImageRect};
         })       },
        {"radiobox",         rects([](const TbsDataSkinControl& c) {
             auto& b = dynamic_cast<const TbsDataSkinCheckRadioControl&>(c);
             return std::vector<TRect>{b.SkinRect, b.CheckImageRect, b.UnCheckImageRect,
                                       b.ActiveCheckImageRect, b.ActiveUnCheckImageRect};
         })       },
        {"hscrollbar",       scrollBar},
        {"vscrollbar",       scrollBar},
        {"bothhscrollbar",   scrollBar},
        {"listbox",          rects([](const TbsDataSkinControl& c) {
             auto& l = dynamic_cast<const TbsDataSkinListBox&>(c);
             return std::vector<TRect>{l.SkinRect, l.SItemRect, l.ActiveItemRect, l.FocusItemRect};
         })        },
        {"combobox",         rects([](const TbsDataSkinControl& c) {
             auto& b = dynamic_cast<const TbsDataSkinComboBox&>(c);
             return std::vector<TRect>{b.SkinRect,       b.ActiveSkinRect, b.ButtonRect,   b.ActiveButtonRect,
                                       b.DownButtonRect, b.SItemRect,      b.FocusItemRect};
         })       },
        {"tab",              rects([](const TbsDataSkinControl& c) {
             auto& t = dynamic_cast<const TbsDataSkinTabControl&>(c);
             return std::vector<TRect>{
                 t.SkinRect,   t.TabRect,         t.ActiveTabRect,         t.MouseInTabRect,
                 t.TabsBGRect, t.CloseButtonRect, t.CloseButtonActiveRect, t.CloseButtonDownRect};
         })            },
        {"edit",             edit     },
        {"buttonedit",       edit     },
        {"slider",           rects([](const TbsDataSkinControl& c) {
             auto& b = dynamic_cast<const TbsDataSkinSlider&>(c);
             return std::vector<TRect>{b.HRulerRect, b.HThumbRect, b.VRulerRect, b.VThumbRect};
         })         },
    };
    for (auto& d : Skins().skins) {
        for (auto& row : controls) {
            int index = d->GetControlIndex(row.name);
            ASSERT_GE(index, 0) << d->SkinName << " " << row.name;
            EXPECT_NO_THROW(row.check(*d, *d->CtrlList[static_cast<size_t>(index)]))
                << d->SkinName << row.name;
        }
        EXPECT_NE(dynamic_cast<TbsDataSkinStdLabelControl*>(
                      d->CtrlList[static_cast<size_t>(std::max(d->GetControlIndex("stdlabel"), 0))].get()),
                  nullptr)
            << d->SkinName;
        EXPECT_NE(dynamic_cast<TbsDataSkinBevel*>(
                      d->CtrlList[static_cast<size_t>(std::max(d->GetControlIndex("bevel"), 0))].get()),
                  nullptr)
            << d->SkinName;
        for (const char* name : {"closebutton", "maxbutton", "minbutton", "rollupbutton", "sysmenubutton"}) {
            int index = d->GetIndex(name);
            ASSERT_GE(index, 0) << d->SkinName << " " << name;
            TbsDataSkinObject* o = d->ObjectList[static_cast<size_t>(index)].get();
            const TbsPicture* p = Indexed(*d, o->ActivePictureIndex);
            ASSERT_NE(p, nullptr) << name;
            if (auto* b = dynamic_cast<TbsDataSkinStdButton*>(o)) {
                for (auto& r : {b->SkinRect, b->ActiveSkinRect, b->DownRect, b->InActiveSkinRect})
                    EXPECT_TRUE(Inside(r, *p)) << d->SkinName << " " << name;
            } else {
                // An animated button: its whole strip of frames lies in the picture.
                auto* a = dynamic_cast<TbsDataSkinAnimate*>(o);
                ASSERT_NE(a, nullptr) << name;
                TRect strip = a->ActiveSkinRect;
                strip.Right = strip.Left + a->SkinRect.Width() * a->CountFrames;
                for (auto& r : {a->SkinRect, strip, a->DownSkinRect, a->InActiveSkinRect})
                    EXPECT_TRUE(Inside(r, *p)) << d->SkinName << " " << name;
            }
        }
        int caption = d->GetIndex("caption");
        ASSERT_GE(caption, 0) << d->SkinName;
        EXPECT_NE(dynamic_cast<TbsDataSkinCaption*>(d->ObjectList[static_cast<size_t>(caption)].get()),
                  nullptr);
        // The frame's region follows its outline: the middle is inside, the corner pixel is
        // outside wherever the corners are rounded.
        auto& mask = d->FMask.Image();
        EXPECT_EQ(mask.At(mask.width / 2, mask.height / 2) & 0xFFFFFF, 0u) << d->SkinName;
        bool rounded = d->SkinName != "高对比 High Contrast";
        EXPECT_EQ((mask.At(0, 0) & 0xFFFFFF) != 0, rounded) << d->SkinName;
    }
}

namespace {

double Linear(uint32_t channel) {
    double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// WCAG contrast of a platform colour (0x00BBGGRR) and a picture's pixel (0xAARRGGBB).
double Contrast(TColor colour, uint32_t pixel) {
    auto c = static_cast<uint32_t>(colour);
    double a = 0.2126 * Linear(c & 255) + 0.7152 * Linear((c >> 8) & 255) + 0.0722 * Linear((c >> 16) & 255);
    double b = 0.2126 * Linear((pixel >> 16) & 255) + 0.7152 * Linear((pixel >> 8) & 255) +
               0.0722 * Linear(pixel & 255);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

uint32_t Centre(const gdi::image::Image& image, const TRect& r) {
    return image.At((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

} // namespace

TEST(StoredSkins, TextsStandOutFromWhatTheyAreDrawnOn) {
    for (auto& d : Skins().skins) {
        auto& caption = dynamic_cast<const TbsDataSkinCaption&>(
            *d->ObjectList[static_cast<size_t>(d->GetIndex("caption"))]);
        auto& frame = d->FPicture.Image();
        // The rows the caption text covers, its top and its bottom: a light band above them
        // is decoration.
        int em = -caption.FontHeight, top = caption.SkinRect.Top + caption.TextRct.Top;
        int first = top + (caption.TextRct.Height() - em) / 2;
        for (int y : {first, first + em - 1})
            EXPECT_GE(Contrast(caption.ActiveFontColor, frame.At(frame.width / 2, y)), 4.5)
                << d->SkinName << " " << y;
        auto& b = dynamic_cast<const TbsDataSkinButtonControl&>(
            *d->CtrlList[static_cast<size_t>(d->GetControlIndex("button"))]);
        auto& looks = d->FActivePictures[static_cast<size_t>(b.PictureIndex)]->Image();
        for (auto& r : {b.SkinRect, b.ActiveSkinRect, b.DownSkinRect, b.FocusedSkinRect})
            EXPECT_GE(Contrast(b.FontColor, Centre(looks, r)), 4.5) << d->SkinName;
        EXPECT_GE(Contrast(b.DisabledFontColor, Centre(looks, b.DisabledSkinRect)), 2.5) << d->SkinName;
        // Text on the form's own background.
        EXPECT_GE(Contrast(d->SkinColors().cBtnText(), frame.At(frame.width / 2, frame.height / 2)), 4.5)
            << d->SkinName;
        // The list and tree views' rows on their fill.
        auto pixelOf = [](TColor c) {
            auto v = static_cast<uint32_t>(c);
            return ((v & 255) << 16) | (v & 0xFF00) | ((v >> 16) & 255);
        };
        auto* list = dynamic_cast<const TbsDataSkinListView*>(
            d->CtrlList[static_cast<size_t>(std::max(d->GetControlIndex("listview"), 0))].get());
        auto* tree = dynamic_cast<const TbsDataSkinTreeView*>(
            d->CtrlList[static_cast<size_t>(std::max(d->GetControlIndex("treeview"), 0))].get());
        ASSERT_NE(list, nullptr) << d->SkinName;
        ASSERT_NE(tree, nullptr) << d->SkinName;
        EXPECT_GE(Contrast(list->FontColor, pixelOf(list->BGColor)), 4.5) << d->SkinName;
        EXPECT_GE(Contrast(tree->FontColor, pixelOf(tree->BGColor)), 4.5) << d->SkinName;
    }
}

namespace {

// Gallery: one strip per skin, twice the size so that the anti-aliasing can be judged.
constexpr int kScale = 2, kMargin = 8;

void Put(gdi::image::Image& to, const gdi::image::Image& from, int x, int y,
         const gdi::image::Image* mask = nullptr) {
    for (int sy = 0; sy < from.height; ++sy)
        for (int sx = 0; sx < from.width; ++sx) {
            if (mask && (mask->At(sx, sy) & 0xFFFFFF) != 0) continue; // outside the window
            for (int k = 0; k < kScale * kScale; ++k)
                to.At((x + sx) * kScale + k % kScale, (y + sy) * kScale + k / kScale) = from.At(sx, sy);
        }
}

gdi::image::Image Cut(const gdi::image::Image& from, const TRect& r) {
    gdi::image::Image c;
    c.Reset(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x) c.At(x, y) = from.At(r.Left + x, r.Top + y);
    return c;
}

// Text in the skin's font, centred in `r` (or from its left edge), to judge the colours and
// the face at their size.  Drawn black on white and blended by its coverage.
void Label(gdi::image::Image& image, const TRect& r, const std::string& text, int height, TColor colour,
           bool centre = true) {
    gui::TBitmap bitmap;
    bitmap.SetSize(r.Width(), r.Height());
    gui::TCanvas& c = *bitmap.Canvas();
    c.Brush()->SetColor(0xFFFFFF);
    c.FillRect(gui::Rect(0, 0, r.Width(), r.Height()));
    c.Brush()->SetStyle(gui::bsClear);
    c.Font()->SetName("微软雅黑");
    c.Font()->SetHeight(height);
    c.Font()->SetColor(0);
    auto size = c.TextExtent(text);
    c.TextOut(centre ? (r.Width() - size.cx) / 2 : 0, (r.Height() - size.cy) / 2, text);
    uint32_t rgb[3] = {static_cast<uint32_t>(colour) & 255, (static_cast<uint32_t>(colour) >> 8) & 255,
                       (static_cast<uint32_t>(colour) >> 16) & 255};
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x) {
            uint32_t a = 255 - (static_cast<uint32_t>(c.Pixels(x, y)) & 255); // coverage
            uint32_t& p = image.At(r.Left + x, r.Top + y);
            uint32_t out = 0xFF000000u;
            for (int k = 0; k < 3; ++k) {
                uint32_t under = (p >> (16 - 8 * k)) & 255;
                out |= ((under * (255 - a) + rgb[k] * a + 127) / 255) << (16 - 8 * k);
            }
            p = out;
        }
}

// The frame with its caption buttons placed on the button row, right to left.
gdi::image::Image Window(const TbsSkinData& d, bool active) {
    gdi::image::Image w = active ? d.FPicture.Image() : d.FInActivePicture.Image();
    int x = d.ButtonsRect.Right;
    for (const char* name : {"closebutton", "maxbutton", "minbutton"}) {
        // A system button or an animated one: both keep their images in the base's fields.
        const TbsDataSkinObject& b = *d.ObjectList[static_cast<size_t>(d.GetIndex(name))];
        auto look = Cut(d.FActivePictures[static_cast<size_t>(b.ActivePictureIndex)]->Image(),
                        active ? b.SkinRect : b.InActiveSkinRect);
        x -= look.width;
        for (int yy = 0; yy < look.height; ++yy)
            for (int xx = 0; xx < look.width; ++xx) w.At(x + xx, d.ButtonsRect.Top + yy) = look.At(xx, yy);
        x -= d.ButtonsOffset;
    }
    auto& caption =
        dynamic_cast<const TbsDataSkinCaption&>(*d.ObjectList[static_cast<size_t>(d.GetIndex("caption"))]);
    TRect text = caption.TextRct;
    text = {text.Left + caption.SkinRect.Left, text.Top + caption.SkinRect.Top,
            text.Right + caption.SkinRect.Left, text.Bottom + caption.SkinRect.Top};
    Label(w, text, d.SkinName, caption.FontHeight, active ? caption.ActiveFontColor : caption.FontColor,
          false);
    return w;
}

// The controls' own pictures with their texts on them.
gdi::image::Image Labelled(const TbsSkinData& d, size_t picture) {
    gdi::image::Image image = d.FActivePictures[picture]->Image();
    for (auto& c : d.CtrlList) {
        if (c->PictureIndex != static_cast<int>(picture)) continue;
        if (auto* b = dynamic_cast<const TbsDataSkinButtonControl*>(c.get())) {
            for (auto& r : {b->SkinRect, b->ActiveSkinRect, b->DownSkinRect, b->FocusedSkinRect})
                Label(image, r, "确定 OK", b->FontHeight, b->FontColor);
            Label(image, b->DisabledSkinRect, "确定 OK", b->FontHeight, b->DisabledFontColor);
        } else if (auto* cr = dynamic_cast<const TbsDataSkinCheckRadioControl*>(c.get())) {
            Label(image, cr->TextArea, cr->IDName == "checkbox" ? "实时预览 Preview" : "关机 Off",
                  cr->FontHeight, cr->FontColor, false);
        }
    }
    return image;
}

} // namespace

TEST(StoredSkins, Gallery) {
    auto& all = Skins().skins;
    int width = 0, height = kMargin;
    std::vector<std::vector<gdi::image::Image>> pieces(all.size());
    for (size_t i = 0; i < all.size(); ++i) {
        auto& d = *all[i];
        pieces[i].push_back(Window(d, true));
        pieces[i].push_back(Window(d, false));
        for (size_t k = 0; k < d.FActivePictures.size(); ++k) pieces[i].push_back(Labelled(d, k));
        int w = kMargin, h = 0;
        for (auto& p : pieces[i]) {
            w += p.width + kMargin;
            h = std::max(h, p.height);
        }
        width = std::max(width, w);
        height += h + kMargin;
    }
    gdi::image::Image gallery;
    gallery.Reset(width * kScale, height * kScale, 0xFF8A8F96u); // a desktop grey that none of the skins uses
    int y = kMargin;
    for (size_t i = 0; i < all.size(); ++i) {
        int x = kMargin, h = 0;
        for (size_t k = 0; k < pieces[i].size(); ++k) {
            auto& p = pieces[i][k];
            Put(gallery, p, x, y, k < 2 ? &all[i]->FMask.Image() : nullptr);
            x += p.width + kMargin;
            h = std::max(h, p.height);
        }
        y += h + kMargin;
    }
    std::vector<uint8_t> png;
    std::string error;
    ASSERT_TRUE(gdi::image::WritePng(gallery, png, error)) << error;
    std::ofstream(TARVIK_SKIN_GALLERY, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    EXPECT_TRUE(std::ifstream(TARVIK_SKIN_GALLERY).good());
}
