// Every skin holds every section a window or control of the program names, with the
// descriptor class that control expects, and every picture index, rectangle and mask of every
// section lies inside its picture.  The table below is the one place that lists the names: a
// control or form object that looks up a new section adds its row.
#include "StoredSkinSet.h"

#include "gui/StringList.h"
#include "skin/core/SkinIni.h"
#include "skin/core/SkinIniFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

using namespace skin;
using skintest::Indexed;

namespace {

// What a row asks of the skin: its section under `name`, of one of the classes it accepts.
struct Expected {
    const char* name;
    bool object; // a form object ([SKINOBJECTS]) rather than a control descriptor
    bool (*fits)(const void* descriptor);
    const char* classes; // for the failure message
};

template <class... D> bool ControlOf(const void* d) {
    auto* c = static_cast<const TbsDataSkinControl*>(d);
    return ((dynamic_cast<const D*>(c) != nullptr) || ...);
}
template <class... D> bool ObjectOf(const void* d) {
    auto* o = static_cast<const TbsDataSkinObject*>(d);
    return ((dynamic_cast<const D*>(o) != nullptr) || ...);
}
template <class... D> Expected Control(const char* name, const char* classes) {
    return {name, false, &ControlOf<D...>, classes};
}
template <class... D> Expected Object(const char* name, const char* classes) {
    return {name, true, &ObjectOf<D...>, classes};
}

#define CONTROL(name, ...) Control<__VA_ARGS__>(name, #__VA_ARGS__)
#define OBJECT(name, ...) Object<__VA_ARGS__>(name, #__VA_ARGS__)

// The section names the program's controls carry by default or set, and the objects its forms
// and menus look up, each with the class its consumer tests for.
const Expected kSections[] = {
    CONTROL("button", TbsDataSkinButtonControl),           // push buttons, message-box buttons
    CONTROL("resizebutton", TbsDataSkinButtonControl),     // list headers, the settings dialog, up/downs
    CONTROL("resizetoolbutton", TbsDataSkinButtonControl), // list-view headers, tab scrollers, quick buttons
    CONTROL("toolbutton", TbsDataSkinButtonControl),       // speed buttons, the dialogs' tool buttons
    CONTROL("toolmenubutton", TbsDataSkinMenuButtonControl), // menu speed buttons
    CONTROL("panel", TbsDataSkinPanelControl),
    CONTROL("groupbox", TbsDataSkinPanelControl),
    CONTROL("toolpanel", TbsDataSkinPanelControl),
    CONTROL("resizetoolpanel", TbsDataSkinPanelControl),
    CONTROL("statusbar", TbsDataSkinPanelControl),
    CONTROL("previewpanel", TbsDataSkinPanelControl), // the skin chooser's preview stage
    CONTROL("checkbox", TbsDataSkinCheckRadioControl),
    CONTROL("radiobox", TbsDataSkinCheckRadioControl),
    CONTROL("hscrollbar", TbsDataSkinScrollBarControl),
    CONTROL("vscrollbar", TbsDataSkinScrollBarControl),
    CONTROL("bothhscrollbar", TbsDataSkinScrollBarControl),
    CONTROL("listbox", TbsDataSkinListBox),
    CONTROL("combobox", TbsDataSkinComboBox),
    CONTROL("edit", TbsDataSkinEditControl),
    CONTROL("buttonedit", TbsDataSkinEditControl),
    CONTROL("label", TbsDataSkinLabelControl),      // framed labels, menu rows' fallback header
    CONTROL("menuheader", TbsDataSkinLabelControl), // headers in menus and picker lists
    CONTROL("stdlabel", TbsDataSkinStdLabelControl),
    CONTROL("bevel", TbsDataSkinBevel),
    CONTROL("vsplitter", TbsDataSkinSplitterControl),
    CONTROL("slider", TbsDataSkinSlider),
    CONTROL("tab", TbsDataSkinTabControl),
    CONTROL("hupdown", TbsDataSkinUpDownControl),
    CONTROL("vupdown", TbsDataSkinUpDownControl),
    CONTROL("scrollbox", TbsDataSkinScrollBoxControl),
    CONTROL("listview", TbsDataSkinListView),
    CONTROL("treeview", TbsDataSkinTreeView),
    CONTROL("mainmenubar", TbsDataSkinMainMenuBar),
    OBJECT("caption", TbsDataSkinCaption),
    OBJECT("menuitem", TbsDataSkinMenuItem),                      // popup-menu rows
    OBJECT("menubaritem", TbsDataSkinMainMenuBarItem),            // the menu bar's items
    OBJECT("menubarsysmenubutton", TbsDataSkinMainMenuBarButton), // a maximised MDI child's buttons
    OBJECT("menubarminbutton", TbsDataSkinMainMenuBarButton),
    OBJECT("menubarmaxbutton", TbsDataSkinMainMenuBarButton),
    OBJECT("menubarclosebutton", TbsDataSkinMainMenuBarButton),
    OBJECT("closebutton", TbsDataSkinStdButton, TbsDataSkinAnimate),
    OBJECT("maxbutton", TbsDataSkinStdButton, TbsDataSkinAnimate),
    OBJECT("minbutton", TbsDataSkinStdButton, TbsDataSkinAnimate),
    OBJECT("rollupbutton", TbsDataSkinStdButton, TbsDataSkinAnimate),
    OBJECT("sysmenubutton", TbsDataSkinStdButton, TbsDataSkinAnimate),
};

TEST(SkinSections, EverySkinHoldsEveryNamedSectionWithTheClassItsControlExpects) {
    for (auto& d : skintest::StoredSkins().skins) {
        SCOPED_TRACE(d->SkinName);
        for (const Expected& e : kSections) {
            int index = e.object ? d->GetIndex(e.name) : d->GetControlIndex(e.name);
            if (index < 0) {
                ADD_FAILURE() << "no section \"" << e.name << "\"";
                continue;
            }
            auto i = static_cast<size_t>(index);
            const void* descriptor = e.object ? static_cast<const void*>(d->ObjectList[i].get())
                                              : static_cast<const void*>(d->CtrlList[i].get());
            EXPECT_TRUE(e.fits(descriptor)) << "\"" << e.name << "\" is not a " << e.classes;
        }
    }
}

// --- every rectangle inside its picture -----------------------------------------------------

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Rectangle keys that place something inside the control or the item rather than cut a look
// out of a picture.
const std::set<std::string> kPlacements = {
    "clientrect",        "captionrect",   "itemsrect",     "itemtextrect", "celltextrect",
    "fixedcelltextrect", "textrect",      "frametextrect", "imagerect",    "rollhcaptionrect",
    "rollvcaptionrect",  "itemcheckrect", "buttonsrect",   "maskrectarea",
};

// The section's keys and values as the skin writes them.
struct Keys {
    std::vector<std::pair<std::string, std::string>> values;
    std::string Get(const std::string& key) const {
        for (auto& [k, v] : values)
            if (k == key) return v;
        return {};
    }
};

Keys SectionKeys(TbsSkinIniFile& ini, const std::string& section) {
    gui::TStringList lines;
    ini.ReadSectionValues(section, lines);
    Keys keys;
    for (int i = 0; i < lines.Count(); ++i) {
        std::string key = lines.Names(i);
        std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
        keys.values.emplace_back(key, lines.ValueFromIndex(i));
    }
    return keys;
}

bool Inside(const TRect& r, const TbsPicture& p) {
    return r.Left >= 0 && r.Top >= 0 && r.Right <= p.Width() && r.Bottom <= p.Height();
}

// Checks one section: every picture index names a picture (or is -1), every mask has its
// picture's size, and every look rectangle lies inside `picture` (rectangles of no size are
// unused and skipped).  `frame` takes the "skinrect" of form objects, which places them on the
// frame picture.
void CheckSection(const TbsSkinData& d, TbsSkinIniFile& ini, const std::string& section,
                  const TbsPicture* picture, const TbsPicture* frame = nullptr) {
    SCOPED_TRACE(section);
    Keys keys = SectionKeys(ini, section);
    for (auto& [key, value] : keys.values) {
        if (EndsWith(key, "pictureindex")) {
            int index = std::atoi(value.c_str());
            EXPECT_TRUE(index == -1 || Indexed(d, index)) << key << " = " << value;
            if (EndsWith(key, "maskpictureindex") && index >= 0) {
                // "glowlayermaskpictureindex" masks "glowlayerpictureindex"; a window's mask
                // masks its "windowpictureindex".
                std::string prefix = key.substr(0, key.size() - std::string("maskpictureindex").size());
                std::string of = prefix + "pictureindex";
                if (keys.Get(of).empty()) of = prefix + "windowpictureindex";
                const TbsPicture* owner = Indexed(d, std::atoi(keys.Get(of).c_str()));
                const TbsPicture* mask = Indexed(d, index);
                if (owner && mask) {
                    EXPECT_TRUE(mask->Width() == owner->Width() && mask->Height() == owner->Height())
                        << key << " is not the size of " << of;
                }
            }
            continue;
        }
        if (!EndsWith(key, "rect") || kPlacements.count(key)) continue;
        TRect r = StrToRect(value);
        if (r.Width() <= 0 || r.Height() <= 0) continue;
        const TbsPicture* p = key == "skinrect" && frame ? frame : picture;
        if (!p) {
            ADD_FAILURE() << key << " = " << value << " has no picture to lie in";
            continue;
        }
        EXPECT_TRUE(Inside(r, *p)) << key << " = " << value << " outside " << p->Width() << "×"
                                   << p->Height();
    }
}

TEST(SkinSections, EveryPictureIndexRectangleAndMaskLiesInsideItsPicture) {
    for (auto& d : skintest::StoredSkins().skins) {
        SCOPED_TRACE(d->SkinName);
        TbsSkinIniFile ini;
        d->WriteSkinIni(ini);

        // The frame: its pictures share one size, and its rectangles lie on it.
        ASSERT_FALSE(d->FPicture.Empty());
        for (const TbsPicture* p : {&d->FInActivePicture, &d->FMask})
            if (!p->Empty()) {
                EXPECT_TRUE(p->Width() == d->FPicture.Width() && p->Height() == d->FPicture.Height());
            }
        for (const TRect& r : {d->ClRect, d->CaptionRect, d->ButtonsRect})
            EXPECT_TRUE(Inside(r, d->FPicture))
                << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
        CheckSection(*d, ini, "FORMINFO", &d->FPicture);
        // The frame's region follows its outline: the middle is inside, the corner pixel is
        // outside wherever the corners are rounded.
        auto& mask = d->FMask.Image();
        EXPECT_EQ(mask.At(mask.width / 2, mask.height / 2) & 0xFFFFFF, 0u);
        EXPECT_EQ((mask.At(0, 0) & 0xFFFFFF) != 0, d->SkinName != "高对比 High Contrast");

        // The window-level looks, each on its own picture.
        CheckSection(*d, ini, "POPUPWINDOW", Indexed(*d, d->PopupWindow.WindowPictureIndex));
        CheckSection(*d, ini, "HINTWINDOW", Indexed(*d, d->HintWindow.WindowPictureIndex));
        CheckSection(*d, ini, "LAYERFRAME", Indexed(*d, d->LayerFrame.PictureIndex));

        for (auto& c : d->CtrlList) CheckSection(*d, ini, c->IDName, Indexed(*d, c->PictureIndex));
        // A panel's caption widens with the panel only when it starts in the top-left part of
        // the nine and ends in the top-right one; otherwise its text is cut at the skin's size.
        for (auto& c : d->CtrlList)
            if (auto* p = dynamic_cast<const TbsDataSkinPanelControl*>(c.get());
                p && p->CaptionRect.Width() > 0) {
                const TRect& r = p->CaptionRect;
                EXPECT_TRUE(r.Left <= p->LTPoint.X && r.Top <= p->LTPoint.Y && r.Right >= p->RTPoint.X &&
                            r.Bottom <= p->RTPoint.Y)
                    << p->IDName << ": its caption does not stretch";
            }
        for (auto& o : d->ObjectList) {
            const TbsPicture* active = Indexed(*d, o->ActivePictureIndex);
            CheckSection(*d, ini, o->IDName, active, o->SkinRectInAPicture ? active : &d->FPicture);
            // An animation keeps its frames side by side from its active rectangle on.
            if (auto* a = dynamic_cast<const TbsDataSkinAnimate*>(o.get()); a && active) {
                TRect strip = a->ActiveSkinRect;
                strip.Right = strip.Left + a->SkinRect.Width() * a->CountFrames;
                EXPECT_TRUE(Inside(strip, *active)) << a->IDName << ": its frames run past the picture";
            }
        }
    }
}

} // namespace
