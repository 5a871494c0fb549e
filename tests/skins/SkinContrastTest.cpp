// Text stays readable in every skin: each section that draws text, in each of its states, has
// a text colour that stands 4.5:1 against the pixels it is drawn on (disabled text 2.5:1).
// The pixels are the skin's own pictures where the text lands, so a glossy band or a gradient
// under the text counts, not only the colour the skin was described with.
#include "StoredSkinSet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using namespace skin;
using skintest::Contrast;
using skintest::PixelOf;

namespace {

constexpr double kText = 4.5, kDisabled = 2.5;

struct Sample {
    std::string state;
    double contrast;
    double least;
};

// The band a line of text covers in `r` of the picture: the middle rows, clear of the edges
// and of the rounded corners.  The worst pixel counts.
double Worst(TColor text, const TbsPicture* picture, const TRect& r) {
    if (!picture || r.Width() <= 0 || r.Height() <= 0) return 0;
    auto& image = picture->Image();
    int insetX = std::max(2, r.Width() / 6), half = std::min(6, std::max(0, r.Height() / 2 - 2));
    int cy = (r.Top + r.Bottom) / 2;
    double worst = 21;
    for (int y = cy - half; y <= cy + half; ++y)
        for (int x = r.Left + insetX; x < r.Right - insetX; ++x)
            if (x >= 0 && y >= 0 && x < image.width && y < image.height)
                worst = std::min(worst, Contrast(PixelOf(text), image.At(x, y)));
    return worst;
}

TRect Offset(const TRect& r, const TRect& by) {
    return {r.Left + by.Left, r.Top + by.Top, r.Right + by.Left, r.Bottom + by.Top};
}

// A nine-part control's client area on its picture: where its text goes.
TRect Client(const TbsDataSkinCustomControl& c, const TRect& look) {
    return c.ClRect.Width() > 0 ? Offset(c.ClRect, look) : look;
}

using Samples = std::vector<Sample>;
using Probe = std::function<Samples(const TbsSkinData&, const void* descriptor)>;

const TbsPicture* PictureOf(const TbsSkinData& d, const TbsDataSkinControl& c) {
    return skintest::Indexed(d, c.PictureIndex);
}

template <class D> Probe ControlProbe(std::function<Samples(const TbsSkinData&, const D&)> probe) {
    return [probe](const TbsSkinData& d, const void* c) -> Samples {
        auto* typed = dynamic_cast<const D*>(static_cast<const TbsDataSkinControl*>(c));
        if (!typed)
            return {
                {"the descriptor's class", 0, 1}
            };
        return probe(d, *typed);
    };
}

Probe ButtonLike() {
    return ControlProbe<TbsDataSkinButtonControl>(
        [](const TbsSkinData& d, const TbsDataSkinButtonControl& b) {
            const TbsPicture* p = PictureOf(d, b);
            Samples s = {
                {"normal", Worst(b.FontColor, p, Client(b, b.SkinRect)), kText}
            };
            if (b.ActiveSkinRect.Width() > 0)
                s.push_back({"hot", Worst(b.ActiveFontColor, p, Client(b, b.ActiveSkinRect)), kText});
            if (b.DownSkinRect.Width() > 0)
                s.push_back({"pressed", Worst(b.DownFontColor, p, Client(b, b.DownSkinRect)), kText});
            if (b.FocusedSkinRect.Width() > 0)
                s.push_back({"focused", Worst(b.FontColor, p, Client(b, b.FocusedSkinRect)), kText});
            if (b.DisabledSkinRect.Width() > 0)
                s.push_back(
                    {"disabled", Worst(b.DisabledFontColor, p, Client(b, b.DisabledSkinRect)), kDisabled});
            return s;
        });
}

Probe PanelLike() {
    return ControlProbe<TbsDataSkinPanelControl>([](const TbsSkinData& d, const TbsDataSkinPanelControl& c) {
        return Samples{
            {"normal", Worst(c.FontColor, PictureOf(d, c), Client(c, c.SkinRect)), kText}
        };
    });
}

Probe LabelLike() {
    return ControlProbe<TbsDataSkinLabelControl>([](const TbsSkinData& d, const TbsDataSkinLabelControl& c) {
        return Samples{
            {"normal", Worst(c.FontColor, PictureOf(d, c), Client(c, c.SkinRect)), kText}
        };
    });
}

Probe CheckRadio() {
    return ControlProbe<TbsDataSkinCheckRadioControl>(
        [](const TbsSkinData& d, const TbsDataSkinCheckRadioControl& c) {
            const TbsPicture* p = PictureOf(d, c);
            TRect hot = c.ActiveSkinRect.Width() > 0 ? c.ActiveSkinRect : c.SkinRect;
            return Samples{
                {"normal",   Worst(c.FontColor,          p, Offset(c.TextArea, c.SkinRect)), kText    },
                {"hot",      Worst(c.ActiveFontColor,    p, Offset(c.TextArea, hot)),        kText    },
                {"disabled", Worst(c.UnEnabledFontColor, p, Offset(c.TextArea, c.SkinRect)), kDisabled},
            };
        });
}

Probe EditLike() {
    return ControlProbe<TbsDataSkinEditControl>([](const TbsSkinData& d, const TbsDataSkinEditControl& c) {
        const TbsPicture* p = PictureOf(d, c);
        Samples s = {
            {"normal",   Worst(c.FontColor,         p, Client(c, c.SkinRect)), kText    },
            {"disabled", Worst(c.DisabledFontColor, p, Client(c, c.SkinRect)), kDisabled},
        };
        if (c.ActiveSkinRect.Width() > 0)
            s.push_back({"focused", Worst(c.ActiveFontColor, p, Client(c, c.ActiveSkinRect)), kText});
        return s;
    });
}

// The views draw their rows natively, on their fill colour.
Probe ViewColours() {
    return [](const TbsSkinData&, const void* c) -> Samples {
        auto* base = static_cast<const TbsDataSkinControl*>(c);
        if (auto* l = dynamic_cast<const TbsDataSkinListView*>(base))
            return {
                {"normal", Contrast(PixelOf(l->FontColor), PixelOf(l->BGColor)), kText}
            };
        if (auto* t = dynamic_cast<const TbsDataSkinTreeView*>(base))
            return {
                {"normal", Contrast(PixelOf(t->FontColor), PixelOf(t->BGColor)), kText}
            };
        return {
            {"the descriptor's class", 0, 1}
        };
    };
}

Probe StdLabel() {
    // On the form's own background; the active colour is a link's under the mouse.
    return ControlProbe<TbsDataSkinStdLabelControl>(
        [](const TbsSkinData& d, const TbsDataSkinStdLabelControl& c) {
            uint32_t face = PixelOf(d.SkinColors().cBtnFace());
            return Samples{
                {"normal", Contrast(PixelOf(c.FontColor),       face), kText},
                {"hot",    Contrast(PixelOf(c.ActiveFontColor), face), kText}
            };
        });
}

Probe ComboBox() {
    return ControlProbe<TbsDataSkinComboBox>([](const TbsSkinData& d, const TbsDataSkinComboBox& c) {
        const TbsPicture* p = PictureOf(d, c);
        Samples s = {
            {"normal", Worst(c.FontColor, p, Client(c, c.SkinRect)), kText}
        };
        if (c.ActiveSkinRect.Width() > 0)
            s.push_back({"hot", Worst(c.ActiveFontColor, p, Client(c, c.ActiveSkinRect)), kText});
        if (c.FocusItemRect.Width() > 0)
            s.push_back({"focused item", Worst(c.FocusFontColor, p, c.FocusItemRect), kText});
        return s;
    });
}

Probe ListBox() {
    return ControlProbe<TbsDataSkinListBox>([](const TbsSkinData& d, const TbsDataSkinListBox& c) {
        const TbsPicture* p = PictureOf(d, c);
        Samples s = {
            {"normal", Worst(c.FontColor, p, Client(c, c.SkinRect)), kText}
        };
        if (c.SItemRect.Width() > 0) s.push_back({"row", Worst(c.FontColor, p, c.SItemRect), kText});
        if (c.ActiveItemRect.Width() > 0)
            s.push_back({"selected row", Worst(c.ActiveFontColor, p, c.ActiveItemRect), kText});
        if (c.FocusItemRect.Width() > 0)
            s.push_back({"focused row", Worst(c.FocusFontColor, p, c.FocusItemRect), kText});
        return s;
    });
}

Probe Tab() {
    return ControlProbe<TbsDataSkinTabControl>([](const TbsSkinData& d, const TbsDataSkinTabControl& c) {
        const TbsPicture* p = PictureOf(d, c);
        Samples s = {
            {"normal", Worst(c.FontColor, p, c.TabRect), kText}
        };
        if (c.ActiveTabRect.Width() > 0)
            s.push_back({"active", Worst(c.ActiveFontColor, p, c.ActiveTabRect), kText});
        if (c.MouseInTabRect.Width() > 0)
            s.push_back({"hot", Worst(c.MouseInFontColor, p, c.MouseInTabRect), kText});
        if (c.FocusTabRect.Width() > 0)
            s.push_back({"focused", Worst(c.FocusFontColor, p, c.FocusTabRect), kText});
        return s;
    });
}

struct Row {
    const char* name;
    Probe probe;
};

// The sections that draw text, and where.  A section that draws text joins with a row.
std::vector<Row> ControlRows() {
    return {
        {"button",           ButtonLike() },
        {"resizebutton",     ButtonLike() },
        {"resizetoolbutton", ButtonLike() },
        {"toolbutton",       ButtonLike() },
        {"toolmenubutton",   ButtonLike() },
        {"panel",            PanelLike()  },
        {"groupbox",         PanelLike()  },
        {"toolpanel",        PanelLike()  },
        {"resizetoolpanel",  PanelLike()  },
        {"statusbar",        PanelLike()  },
        {"previewpanel",     PanelLike()  },
        {"label",            LabelLike()  },
        {"menuheader",       LabelLike()  },
        {"checkbox",         CheckRadio() },
        {"radiobox",         CheckRadio() },
        {"edit",             EditLike()   },
        {"buttonedit",       EditLike()   },
        {"stdlabel",         StdLabel()   },
        {"combobox",         ComboBox()   },
        {"listbox",          ListBox()    },
        {"tab",              Tab()        },
        {"listview",         ViewColours()},
        {"treeview",         ViewColours()},
    };
}

void Expect(const TbsSkinData& d, const std::string& section, const Samples& samples) {
    for (const Sample& s : samples)
        EXPECT_GE(s.contrast, s.least) << d.SkinName << ": \"" << section << "\" " << s.state;
}

TEST(SkinContrast, TextOfEveryControlStandsOutInEveryState) {
    std::vector<Row> rows = ControlRows();
    for (auto& d : skintest::StoredSkins().skins)
        for (const Row& row : rows) {
            int index = d->GetControlIndex(row.name);
            ASSERT_GE(index, 0) << d->SkinName << ": no \"" << row.name << "\"";
            Expect(*d, row.name, row.probe(*d, d->CtrlList[static_cast<size_t>(index)].get()));
        }
}

TEST(SkinContrast, CaptionMenuAndHintTextsStandOut) {
    for (auto& d : skintest::StoredSkins().skins) {
        // The caption, active and inactive, over the rows its text covers.
        auto* caption = dynamic_cast<const TbsDataSkinCaption*>(
            d->ObjectList[static_cast<size_t>(std::max(d->GetIndex("caption"), 0))].get());
        ASSERT_NE(caption, nullptr) << d->SkinName;
        int em = std::abs(caption->FontHeight);
        TRect text = Offset(caption->TextRct, caption->SkinRect);
        int top = text.Top + (text.Height() - em) / 2;
        TRect band{text.Left, top, text.Right, top + em};
        Expect(*d, "caption",
               {
                   {"active",   Worst(caption->ActiveFontColor, &d->FPicture,          band), kText},
                   {"inactive",
                    Worst(caption->FontColor,
                    d->FInActivePicture.Empty() ? &d->FPicture : &d->FInActivePicture, band),
                    kText                                                                          }
        });

        // Popup-menu rows on the menu-item picture.
        auto* item = dynamic_cast<const TbsDataSkinMenuItem*>(
            d->ObjectList[static_cast<size_t>(std::max(d->GetIndex("menuitem"), 0))].get());
        ASSERT_NE(item, nullptr) << d->SkinName;
        const TbsPicture* rows = skintest::Indexed(*d, item->ActivePictureIndex);
        Expect(*d, "menuitem",
               {
                   {"normal",   Worst(item->FontColor,          rows, item->SkinRect),       kText    },
                   {"hot",      Worst(item->ActiveFontColor,    rows, item->ActiveSkinRect), kText    },
                   {"disabled", Worst(item->UnEnabledFontColor, rows, item->SkinRect),       kDisabled}
        });

        // The hint window on its picture.
        const TbsDataSkinHintWindow& hint = d->HintWindow;
        const TbsPicture* hp = skintest::Indexed(*d, hint.WindowPictureIndex);
        ASSERT_NE(hp, nullptr) << d->SkinName;
        Expect(*d, "HINTWINDOW",
               {
                   {"normal", Worst(hint.FontColor, hp, TRect{0, 0, hp->Width(), hp->Height()}), kText}
        });

        // The system colours the plain controls and the views draw with.
        auto& c = d->SkinColors();
        Expect(
            *d, "SKINCOLORS",
            {
                {"button text",    Contrast(PixelOf(c.cBtnText()),       PixelOf(c.cBtnFace())),   kText},
                {"window text",    Contrast(PixelOf(c.cWindowText()),    PixelOf(c.cWindow())),    kText},
                {"highlight text", Contrast(PixelOf(c.cHighLightText()), PixelOf(c.cHighLight())), kText}
        });
    }
}

} // namespace
