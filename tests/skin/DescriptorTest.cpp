// Control, form-object and window-level descriptors: every key of every type survives a write
// and a read, the defaults of absent keys, and the quirks skins rely on.
#include "gui/StringList.h"
#include "skin/core/DataSkinControls.h"
#include "skin/core/DataSkinObjects.h"
#include "skin/core/SkinIniFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <regex>

using namespace skin;

namespace {

const char* const kControlTypes[] = {
    "panel",      "expanel",   "menubutton", "button",       "checkradio", "gauge",    "splitter",
    "trackbar",   "label",     "stdlabel",   "updown",       "grid",       "tab",      "mainmenubar",
    "controlbar", "memo",      "edit",       "checklistbox", "listbox",    "combobox", "scrollbar",
    "spinedit",   "scrollbox", "treeview",   "bevel",        "slider",     "listview", "richedit"};
const char* const kObjectTypes[] = {"menuitem", "mainmenubaritem", "stdbutton", "mainmenubarbutton",
                                    "button",   "caption",         "animate",   "userobject"};

using Values = std::map<std::string, std::string>;

Values SectionValues(TbsSkinIniFile& ini, const std::string& section) {
    gui::TStringList lines;
    ini.ReadSectionValues(section, lines);
    Values r;
    for (int i = 0; i < lines.Count(); ++i) r[lines.Names(i)] = lines.ValueFromIndex(i);
    return r;
}

// A value of the same encoding as `def` but different from it; numbers get `n`.
std::string Unlike(const std::string& key, const std::string& def, int n) {
    static const std::vector<std::vector<std::string>> families = {
        {"taleftjustify", "tacenter"     },
        {"tacenter",      "taleftjustify"},
        {"stfull",        "stvert"       },
        {"mkdefault",     "mkpush"       },
        {"iebrightness",  "ieinvert"     },
        {"cmclose",       "cmrollup"     },
        {"cmdefault",     "cmrollup"     },
    };
    for (auto& f : families)
        if (def == f[0]) return f[1];
    if (key.find("fontstyle") != std::string::npos) return "fsbold,fsunderline";
    static const std::regex rect(R"(\d+,\d+,\d+,\d+)"), point(R"(\d+,\d+)"), number(R"(-?\d+)");
    if (std::regex_match(def, rect))
        return std::to_string(n) + "," + std::to_string(n + 1) + "," + std::to_string(n + 2) + "," +
               std::to_string(n + 3);
    if (std::regex_match(def, point)) return std::to_string(n) + "," + std::to_string(n + 1);
    if (std::regex_match(def, number)) return std::to_string(n);
    return "text" + std::to_string(n);
}

// Writes a fresh descriptor to learn its keys, gives every key a value unlike its default,
// reads that into a new descriptor and writes it again: what comes out must be what went in.
// Numeric keys that come back 0 are booleans and are tried again with 1.  `forced` lists keys
// whose value the type fixes whatever the text says.
template <class D>
void ExpectRoundTrip(const std::function<std::unique_ptr<D>(const std::string&)>& create,
                     const std::string& what, const Values& forced = {}, const std::string& section = "d") {
    TbsSkinIniFile fresh;
    create("d")->SaveToFile(fresh);
    Values defaults = SectionValues(fresh, section);
    ASSERT_FALSE(defaults.empty()) << what;
    Values input;
    int n = 11;
    for (auto& [key, def] : defaults) input[key] = Unlike(key, def, n += 10);
    for (int pass = 0; pass < 2; ++pass) {
        TbsSkinIniFile in, out;
        for (auto& [key, value] : input) in.WriteString(section, key, value);
        auto d = create("d");
        d->LoadFromFile(in);
        d->SaveToFile(out);
        Values output = SectionValues(out, section);
        if (pass == 0) {
            for (auto& [key, value] : input)
                if (output[key] == "0" && value != "0" &&
                    value.find_first_not_of("0123456789") == std::string::npos)
                    value = "1";
            continue;
        }
        EXPECT_EQ(output.size(), defaults.size()) << what;
        for (auto& [key, value] : input) {
            auto f = forced.find(key);
            EXPECT_EQ(output[key], f == forced.end() ? value : f->second) << what << ": " << key;
        }
    }
}

} // namespace

TEST(DataSkinControl, EveryTypeRoundTripsEveryKey) {
    for (const char* type : kControlTypes) {
        Values forced;
        if (std::string(type) == "updown")
            forced = {
                {"lefttoppoint",     "0,0"    },
                {"righttoppoint",    "0,0"    },
                {"leftbottompoint",  "0,0"    },
                {"rightbottompoint", "0,0"    },
                {"clientrect",       "0,0,0,0"}
            };
        ExpectRoundTrip<TbsDataSkinControl>(
            [&](const std::string& n) { return CreateDataSkinControl(type, n); }, type, forced);
    }
}

TEST(DataSkinObject, EveryTypeRoundTripsEveryKey) {
    for (const char* type : kObjectTypes) {
        Values forced;
        if (std::string(type) == "animate")
            forced = {
                {"morphing", "0"}
            };
        ExpectRoundTrip<TbsDataSkinObject>(
            [&](const std::string& n) { return CreateDataSkinObject(type, n); }, type, forced);
    }
}

TEST(DataSkinWindow, WindowLevelSectionsRoundTrip) {
    auto make = [](auto* type) {
        using T = std::remove_pointer_t<decltype(type)>;
        return std::function<std::unique_ptr<T>(const std::string&)>(
            [](const std::string&) { return std::make_unique<T>(); });
    };
    ExpectRoundTrip(make((TbsDataSkinPopupWindow*)nullptr), "popup", {}, "POPUPWINDOW");
    ExpectRoundTrip(make((TbsDataSkinLayerFrame*)nullptr), "layer", {}, "LAYERFRAME");
    ExpectRoundTrip(make((TbsDataSkinHintWindow*)nullptr), "hint", {}, "HINTWINDOW");
    ExpectRoundTrip(make((TbsSkinColors*)nullptr), "colors", {}, "SKINCOLORS");
}

TEST(DataSkinControl, KeywordsNameTheirClasses) {
    for (const char* type : kControlTypes)
        EXPECT_EQ(DataSkinControlKeyword(*CreateDataSkinControl(type, "x")), type);
    for (const char* type : kObjectTypes)
        EXPECT_EQ(DataSkinObjectKeyword(*CreateDataSkinObject(type, "x")), type);
    EXPECT_EQ(CreateDataSkinControl("Panel", "x"), nullptr);
    EXPECT_EQ(CreateDataSkinControl("", "x"), nullptr);
    EXPECT_NE(dynamic_cast<TbsDataSkinButtonControl*>(CreateDataSkinControl("menubutton", "x").get()),
              nullptr);
    EXPECT_NE(dynamic_cast<TbsDataSkinEditControl*>(CreateDataSkinControl("memo", "x").get()), nullptr);
    EXPECT_NE(dynamic_cast<TbsDataSkinListBox*>(CreateDataSkinControl("checklistbox", "x").get()), nullptr);
    EXPECT_NE(dynamic_cast<TbsDataSkinStdButton*>(CreateDataSkinObject("mainmenubarbutton", "x").get()),
              nullptr);
    EXPECT_NE(dynamic_cast<TbsDataSkinMainMenuItem*>(CreateDataSkinObject("mainmenubaritem", "x").get()),
              nullptr);
}

TEST(DataSkinControl, AbsentKeysGiveTheirDefaults) {
    TbsSkinIniFile ini;
    ini.SetText("[ud]\nlefttoppoint=4,4\nclientrect=1,1,9,9\n");
    auto load = [&](const char* type, const char* name) {
        auto d = CreateDataSkinControl(type, name);
        d->LoadFromFile(ini);
        return d;
    };
    auto panel = load("panel", "absent");
    auto& p = dynamic_cast<TbsDataSkinPanelControl&>(*panel);
    EXPECT_EQ(p.PictureIndex, -1);
    EXPECT_EQ(p.BGPictureIndex, -1);
    EXPECT_EQ(p.SkinRect, TRect{});
    EXPECT_EQ(p.FontName, "Arial");
    EXPECT_EQ(p.FontHeight, 14);
    EXPECT_EQ(p.FontColor, 0);
    EXPECT_EQ(p.Alignment, TAlignment::taCenter);
    auto upDown = load("updown", "ud");
    auto& ud = dynamic_cast<TbsDataSkinUpDownControl&>(*upDown);
    EXPECT_EQ(ud.LTPoint, TPoint{});
    EXPECT_EQ(ud.ClRect, TRect{});
    auto lb = load("listbox", "absent");
    EXPECT_EQ(dynamic_cast<TbsDataSkinListBox&>(*lb).VScrollBarName, "vscrollbar");
    EXPECT_EQ(dynamic_cast<TbsDataSkinListBox&>(*lb).BothScrollBarName, "bothhscrollbar");
    EXPECT_EQ(dynamic_cast<TbsDataSkinComboBox&>(*load("combobox", "absent")).ListBoxName, "");
    EXPECT_EQ(dynamic_cast<TbsDataSkinStdLabelControl&>(*load("stdlabel", "absent")).ActiveFontColor,
              16711680);
    auto bt = load("button", "absent");
    EXPECT_EQ(dynamic_cast<TbsDataSkinButtonControl&>(*bt).AnimateInterval, 25);
    EXPECT_EQ(dynamic_cast<TbsDataSkinButtonControl&>(*bt).GlowLayerAlphaBlendValue, 255);
    EXPECT_EQ(dynamic_cast<TbsDataSkinControlBar&>(*load("controlbar", "absent")).ItemOffset1, 3);
}

TEST(DataSkinObject, Quirks) {
    TbsSkinIniFile ini;
    ini.SetText("[uo]\nhint=ignored\nskinrect=1,2,3,4\n"
                "[max]\nhint=Maximize\ncommand=cmmaximize\n"
                "[close]\nhint=Close\ncommand=cmclose\n"
                "[roll]\nhint=Roll Up\ncommand=cmrollup\n"
                "[tray]\ncommand=cmMinimize\n"
                "[ani]\nmorphing=1\nhint=RollUp\ncommand=cmrollup\n"
                "[mi]\ncheckimagerect=1,2,11,12\nradioimagerect=5,5,6,6\nactiveradioimagerect=7,7,9,9\n"
                "[btn]\ndisableskinrsect=4,3,2,1\n");
    auto load = [&](const char* type, const char* name) {
        auto d = CreateDataSkinObject(type, name);
        d->LoadFromFile(ini);
        return d;
    };
    auto uo = load("userobject", "uo");
    EXPECT_EQ(uo->Hint, "");
    EXPECT_EQ(uo->SkinRect, Rect(1, 2, 3, 4));
    EXPECT_EQ(dynamic_cast<TbsDataSkinStdButton&>(*load("stdbutton", "max")).RestoreHint, "Restore");
    EXPECT_EQ(dynamic_cast<TbsDataSkinStdButton&>(*load("stdbutton", "close")).RestoreHint, "");
    EXPECT_EQ(dynamic_cast<TbsDataSkinStdButton&>(*load("stdbutton", "roll")).RestoreHint, "Restore");
    EXPECT_EQ(dynamic_cast<TbsDataSkinStdButton&>(*load("stdbutton", "tray")).Command,
              TbsStdCommand::cmMinimizeToTray);
    auto ani = load("animate", "ani");
    EXPECT_FALSE(ani->Morphing);
    EXPECT_EQ(dynamic_cast<TbsDataSkinAnimate&>(*ani).RestoreHint, "Restore");
    EXPECT_EQ(dynamic_cast<TbsDataSkinAnimate&>(*ani).CountFrames, 1);
    EXPECT_EQ(dynamic_cast<TbsDataSkinAnimate&>(*ani).TimerInterval, 50);

    auto mi = load("menuitem", "mi");
    TbsSkinIniFile out;
    mi->SaveToFile(out);
    EXPECT_EQ(out.ReadString("mi", "activecheckimagerect", ""), "1,2,11,12"); // copied from the normal image
    EXPECT_EQ(out.ReadString("mi", "activeradioimagerect", ""), "7,7,9,9");
    EXPECT_EQ(dynamic_cast<TbsDataSkinButton&>(*load("button", "btn")).DisableSkinRect, Rect(4, 3, 2, 1));

    TbsDataSkinHintWindow fresh, loaded;
    loaded.LoadFromFile(ini);
    EXPECT_EQ(fresh.FontHeight, 12);
    EXPECT_EQ(loaded.FontHeight, 14);
}

TEST(SkinColors, DefaultsAreTheSystemColoursAndTheSectionIsNotErased) {
    TbsSkinColors colors;
    EXPECT_EQ(colors.cBtnFace(), 0);
    colors.SetColorsToDefault();
    EXPECT_EQ(static_cast<uint32_t>(colors.cBtnFace()), 0xFF00000Fu);
    EXPECT_EQ(static_cast<uint32_t>(colors.cBtnShadow()), 0xFF000010u);
    TbsSkinIniFile ini;
    ini.SetText("[SKINCOLORS]\nextra=kept\ncwindow=255\n");
    colors.LoadFromFile(ini);
    EXPECT_EQ(colors.cWindow(), 255);
    EXPECT_EQ(static_cast<uint32_t>(colors.cHighLight()), 0xFF00000Du);
    colors.SaveToFile(ini);
    EXPECT_EQ(ini.ReadString("SKINCOLORS", "extra", ""), "kept");
}
