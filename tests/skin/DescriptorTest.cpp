// Control, form-object and window-level descriptors: the keys and defaults of every type,
// every key surviving a write and a read, and the quirks skins rely on.
#include "gui/StringList.h"
#include "os/Convert.h"
#include "skin/core/DataSkinControls.h"
#include "skin/core/DataSkinObjects.h"
#include "skin/core/SkinIniFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

using namespace skin;

namespace {

const char* const kControlTypes[] = {
    "panel",      "expanel",   "menubutton", "button",       "checkradio", "gauge",    "splitter",
    "trackbar",   "label",     "stdlabel",   "updown",       "grid",       "tab",      "mainmenubar",
    "controlbar", "memo",      "edit",       "checklistbox", "listbox",    "combobox", "scrollbar",
    "spinedit",   "scrollbox", "treeview",   "bevel",        "slider",     "listview", "richedit"};
const char* const kObjectTypes[] = {"menuitem", "mainmenubaritem", "stdbutton", "mainmenubarbutton",
                                    "button",   "caption",         "animate",   "userobject"};

// One key of a section: its encoding and the text it is written as when it was absent.
enum class Kind { Int, Bool, Rect, Point, Str, Styles, Word };
struct Key {
    std::string name;
    Kind kind;
    std::string def;
};
using Keys = std::vector<Key>;

Keys Of(Kind kind, const std::string& def, std::initializer_list<const char*> names) {
    Keys r;
    for (auto* n : names) r.push_back({n, kind, def});
    return r;
}
Keys Ints(std::initializer_list<const char*> names, const std::string& def = "0") {
    return Of(Kind::Int, def, names);
}
Keys Bools(std::initializer_list<const char*> names) {
    return Of(Kind::Bool, "0", names);
}
Keys Rects(std::initializer_list<const char*> names) {
    return Of(Kind::Rect, "0,0,0,0", names);
}
Keys Points(std::initializer_list<const char*> names) {
    return Of(Kind::Point, "0,0", names);
}
Keys Str(const char* name, const std::string& def = "") {
    return {
        {name, Kind::Str, def}
    };
}
Keys Styles(const char* name) {
    return {
        {name, Kind::Styles, ""}
    };
}
Keys Word(const char* name, const char* def) {
    return {
        {name, Kind::Word, def}
    };
}
Keys Join(std::initializer_list<Keys> parts) {
    Keys r;
    for (auto& p : parts) r.insert(r.end(), p.begin(), p.end());
    return r;
}

const Keys kFont =
    Join({Str("fontname", "Arial"), Ints({"fontheight"}, "14"), Styles("fontstyle"), Ints({"fontcolor"})});
const Keys kArrows = Rects({"upbuttonrect", "activeupbuttonrect", "downupbuttonrect", "downbuttonrect",
                            "activedownbuttonrect", "downdownbuttonrect"});
const Keys kControl = Join({Ints({"pictureindex", "maskpictureindex"}, "-1"), Rects({"skinrect"})});
const Keys kCorners = Points({"lefttoppoint", "righttoppoint", "leftbottompoint", "rightbottompoint"});
const Keys kStretch =
    Join({Bools({"leftstretch", "topstretch", "rightstretch", "bottomstretch", "stretcheffect"}),
          Word("stretchtype", "stfull")});
const Keys kCustom = Join({kControl, kCorners, Rects({"clientrect"}), kStretch});

// The keys of each control type, written out from the format rather than from the code.
std::map<std::string, Keys> ControlKeys() {
    Keys button =
        Join({kCustom, kFont, Ints({"activefontcolor", "downfontcolor", "disabledfontcolor"}),
              Rects({"activeskinrect", "downskinrect", "focusedskinrect", "disabledskinrect"}),
              Bools({"morphing"}), Word("morphkind", "mkdefault"), Rects({"animateskinrect"}),
              Ints({"framecount"}), Ints({"animateinterval"}, "25"), Bools({"showfocus"}),
              Rects({"menumarkerflatrect", "menumarkerrect", "menumarkeractiverect", "menumarkerdownrect"}),
              Ints({"menumarkertransparentcolor"}),
              Ints({"glowlayerpictureindex", "glowlayermaskpictureindex"}, "-1"),
              Ints({"glowlayeroffsetleft", "glowlayeroffsettop", "glowlayeroffsetright",
                    "glowlayeroffsetbottom", "glowlayershowoffsetx", "glowlayershowoffsety"}),
              Ints({"glowlayeralphablendvalue"}, "255")});
    Keys edit =
        Join({kCustom, Rects({"activeskinrect"}), kFont, Ints({"disabledfontcolor", "activefontcolor"}),
              Rects({"buttonrect", "activebuttonrect", "downbuttonrect", "unenabledbuttonrect"})});
    Keys listbox = Join({kCustom, Rects({"itemrect", "activeitemrect", "focusitemrect"}),
                         Ints({"itemleftoffset", "itemrightoffset"}), Rects({"itemtextrect"}), kFont,
                         Ints({"activefontcolor", "focusfontcolor"}), Rects({"captionrect"}),
                         Str("captionfontname", "Arial"), Ints({"captionfontheight"}, "14"),
                         Styles("captionfontstyle"), Ints({"captionfontcolor"}), kArrows,
                         Rects({"checkbuttonrect", "activecheckbuttonrect", "downcheckbuttonrect"}),
                         Str("vscrollbarname", "vscrollbar"), Str("hscrollbarname", "hscrollbar"),
                         Str("bothhscrollbarname", "bothhscrollbar"), Bools({"showfocus"}),
                         Rects({"disabledbuttonsrect", "buttonsarea"})});
    Keys fontAndBG = Join({kControl, kFont, Ints({"bgcolor"})});
    return {
        {"panel",
         Join({kCustom, Ints({"bgpictureindex"}, "-1"), Rects({"captionrect"}), Word("alignment", "tacenter"),
               kFont,
               Rects({"checkimagerect", "uncheckimagerect", "markframerect", "framerect", "frametextrect"}),
               Ints({"frameleftoffset", "framerightoffset"}), Rects({"gripperrect"}),
               Bools({"grippertransparent"}), Ints({"grippertransparentcolor"})})                                          },
        {"expanel",      Join({kCustom, Rects({"rollhskinrect", "rollvskinrect"}),
                          Ints({"rollleftoffset", "rollrightoffset", "rolltopoffset", "rollbottomoffset"}),
                          Rects({"rollvcaptionrect", "rollhcaptionrect", "closebuttonrect",
                                 "closebuttonactiverect", "closebuttondownrect", "hrollbuttonrect",
                                 "hrollbuttonactiverect", "hrollbuttondownrect", "hrestorebuttonrect",
                                 "hrestorebuttonactiverect", "hrestorebuttondownrect", "vrollbuttonrect",
                                 "vrollbuttonactiverect", "vrollbuttondownrect", "vrestorebuttonrect",
                                 "vrestorebuttonactiverect", "vrestorebuttondownrect", "captionrect"}),
                          kFont, Bools({"buttonstransparent"}), Ints({"buttonstransparentcolor"})})     },
        {"button",       button                                                                                            },
        {"menubutton",   Join({button, Rects({"trackbuttonrect"})})                                                        },
        {"checkradio",
         Join({kCustom, kFont, Ints({"activefontcolor", "unenabledfontcolor", "framefontcolor"}),
               Rects({"activeskinrect", "checkimagearea", "textarea", "checkimagerect", "uncheckimagerect",
                      "activecheckimagerect", "activeuncheckimagerect", "unenabledcheckimagerect",
                      "unenableduncheckimagerect", "grayedcheckimagerect", "activegrayedcheckimagerect"}),
               Bools({"morphing"}), Word("morphkind", "mkdefault")})                                                       },
        {"gauge",
         Join({kCustom, Rects({"progressarea", "progressrect"}), Ints({"beginoffset", "endoffset"}),
               Bools({"vertical"}), kFont, Bools({"progresstransparent"}), Ints({"progresstransparentcolor"}),
               Bools({"progressstretch"}), Rects({"animationskinrect"}),
               Ints({"animationcountframes", "animationtimerinterval"}), Rects({"progressanimationskinrect"}),
               Ints({"progressanimationcountframes", "progressanimationtimerinterval", "animationbeginoffset",
                     "animationendoffset"})})                                                                              },
        {"splitter",     Join({kCustom, Rects({"gripperrect"}), Bools({"grippertransparent"}),
                           Ints({"grippertransparentcolor"})})                                         },
        {"trackbar",     Join({kCustom, Rects({"activeskinrect", "trackarea", "buttonrect", "activebuttonrect"}),
                           Bools({"vertical", "buttontransparent"}), Ints({"buttontransparentcolor"})})},
        {"label",        Join({kCustom, kFont})                                                                            },
        {"stdlabel",     Join({kControl, kFont, Ints({"activefontcolor"}, "16711680")})                                    },
        {"updown",       Join({kCustom, kArrows})                                                                          },
        {"grid",         Join({kControl, Rects({"fixedcellrect", "selectcellrect", "focuscellrect"}),
                       Ints({"fixedcellleftoffset", "fixedcellrightoffset"}), Rects({"fixedcelltextrect"}),
                       Ints({"cellleftoffset", "cellrightoffset"}), Rects({"celltextrect"}),
                       Ints({"bgpictureindex"}, "-1"), Ints({"linescolor", "bgcolor"}), kFont,
                       Ints({"selectfontcolor", "focusfontcolor"}), Str("fixedfontname", "Arial"),
                       Ints({"fixedfontheight"}, "14"), Styles("fixedfontstyle"), Ints({"fixedfontcolor"}),
                       Bools({"cellstretcheffect", "fixedcellstretcheffect", "showfocus"})})               },
        {"tab",
         Join({kControl, Rects({"tabrect", "activetabrect", "focustabrect", "mouseintabrect", "clientrect"}),
               Ints({"bgpictureindex"}, "-1"), kCorners, Ints({"tableftoffset", "tabrightoffset"}),
               Rects({"tabsbgrect"}), Bools({"tabstretcheffect"}), kStretch, kFont,
               Ints({"activefontcolor", "focusfontcolor", "mouseinfontcolor"}), Str("updown"),
               Bools({"showfocus"}), Ints({"focusoffsetx", "focusoffsety"}),
               Rects({"closebuttonrect", "closebuttonactiverect", "closebuttondownrect"}),
               Bools({"buttontransparent"}), Ints({"buttontransparentcolor"})})                                            },
        {"mainmenubar",
         Join({kControl, Rects({"itemsrect"}), Str("menubaritem"), Str("closebutton"), Str("minbutton"),
               Str("maxbutton"), Str("sysmenubutton"), Ints({"trackmarkcolor", "trackmarkactivecolor"}),
               Bools({"stretcheffect", "itemtransparent"})})                                                               },
        {"controlbar",   Join({kCustom, Rects({"itemrect"}), Ints({"bgpictureindex"}, "-1"),
                             Rects({"hgriprect", "vgriprect"}), Ints({"gripoffset1", "gripoffset2"}),
                             Bools({"itemstretcheffect"}), Ints({"itemoffset1", "itemoffset2"}, "3"),
                             Bools({"itemtransparent"}), Ints({"itemtransparentcolor"}),
                             Bools({"griptransparent"}), Ints({"griptransparentcolor"})})            },
        {"edit",         edit                                                                                              },
        {"memo",         Join({edit, Ints({"bgcolor", "activebgcolor"})})                                                  },
        {"spinedit",     Join({kCustom, Rects({"activeskinrect"}), kFont,
                           Ints({"activefontcolor", "disabledfontcolor"}), kArrows})                   },
        {"listbox",      listbox                                                                                           },
        {"checklistbox", Join({listbox, Rects({"itemcheckrect", "checkimagerect", "uncheckimagerect"})})                   },
        {"combobox",     Join({kCustom, Rects({"activeskinrect", "itemrect", "activeitemrect", "focusitemrect"}),
                           Ints({"itemleftoffset", "itemrightoffset"}), Rects({"itemtextrect"}), kFont,
                           Ints({"focusfontcolor", "activefontcolor"}), Str("listboxname"),
                           Rects({"buttonrect", "activebuttonrect", "downbuttonrect", "unenabledbuttonrect"}),
                           Bools({"itemstretcheffect", "focusitemstretcheffect", "showfocus"})})       },
        {"scrollbar",    Join({kCustom, Rects({"trackarea"}), kArrows,
                            Rects({"thumbrect", "activethumbrect", "downthumbrect"}),
                            Ints({"thumboffset1", "thumboffset2"}), Bools({"thumbtransparent"}),
                            Ints({"thumbtransparentcolor"}), Bools({"thumbstretcheffect"}),
                            Ints({"thumbminsize", "thumbminpagesize"}),
                            Rects({"glyphrect", "activeglyphrect", "downglyphrect"}),
                            Bools({"glyphtransparent"}), Ints({"glyphtransparentcolor"})})            },
        {"scrollbox",    Join({kCustom, Ints({"bgpictureindex"}, "-1")})                                                   },
        {"treeview",     fontAndBG                                                                                         },
        {"listview",     fontAndBG                                                                                         },
        {"richedit",     fontAndBG                                                                                         },
        {"bevel",        Join({kControl, Ints({"lightcolor", "darkcolor"})})                                               },
        {"slider",
         Join({kControl, Ints({"bgcolor"}), Rects({"hrulerrect", "hthumbrect", "vrulerrect", "vthumbrect"}),
               Ints({"edgesize", "pointscolor"})})                                                                         },
    };
}

std::map<std::string, Keys> ObjectKeys() {
    Keys base =
        Join({Str("hint"), Ints({"activepictureindex", "activemaskpictureindex"}, "-1"),
              Bools({"skinrectinapicture"}), Rects({"skinrect", "activeskinrect", "inactiveskinrect"}),
              Bools({"morphing"}), Word("morphkind", "mkdefault"),
              Ints({"glowlayerpictureindex", "glowlayermaskpictureindex"}, "-1"),
              Ints({"glowlayeroffsetx", "glowlayeroffsety"}), Ints({"glowlayeralphablendvalue"}, "255")});
    Keys restore =
        Join({Rects({"restorerect", "restoreactiverect", "restoredownrect", "restoreinactiverect"}),
              Str("restorehint")});
    Keys button = Join({base, Rects({"downrect", "disableskinrsect"})});
    Keys stdbutton = Join({button, Word("command", "cmdefault"), restore});
    Keys menuBarItem =
        Join({base, Ints({"itemleftoffset", "itemrightoffset"}), Rects({"downrect", "textrect"}), kFont,
              Ints({"activefontcolor", "downfontcolor", "unenabledfontcolor"}), Bools({"stretcheffect"}),
              Rects({"animateskinrect"}), Ints({"framecount"}), Ints({"animateinterval"}, "25"),
              Bools({"inactiveanimation"})});
    return {
        {"userobject",        Rects({"skinrect"})                                                                    },
        {"button",            button                                                                                 },
        {"stdbutton",         stdbutton                                                                              },
        {"mainmenubarbutton", stdbutton                                                                              },
        {"animate",           Join({base, Ints({"countframes"}, "1"), Bools({"cycle", "buttonstyle"}),
                          Ints({"timerinterval"}, "50"), Word("command", "cmdefault"),
                          Rects({"downskinrect"}), restore})                                      },
        {"menuitem",
         Join({base, Ints({"itemleftoffset", "itemrightoffset"}), Rects({"dividerrect"}),
               Ints({"dividerleftoffset", "dividerrightoffset"}), Rects({"textrect", "imagerect"}), kFont,
               Ints({"activefontcolor", "unenabledfontcolor"}),
               Bools({"stretcheffect", "inactivestretcheffect", "dividerstretcheffect"}),
               Rects({"animateskinrect"}), Ints({"framecount"}), Ints({"animateinterval"}, "25"),
               Bools({"inactiveanimation", "useimagecolor"}), Ints({"imagecolor", "activeimagecolor"}),
               Bools({"inactivetransparent"}),
               Rects({"checkimagerect", "activecheckimagerect", "radioimagerect", "activeradioimagerect",
                      "arrowimagerect", "activearrowimagerect"})})                                                   },
        {"mainmenubaritem",   menuBarItem                                                                            },
        {"caption",           Join({base,
                          Rects({"textrect"}),
                          kFont,
                          Ints({"activefontcolor"}),
                          Word("alignment", "tacenter"),
                          Bools({"light"}),
                          Ints({"lightcolor", "activelightcolor"}),
                          Bools({"shadow"}),
                          Ints({"shadowcolor", "activeshadowcolor"}),
                          Rects({"framerect", "activeframerect", "frametextrect"}),
                          Ints({"frameleftoffset", "framerightoffset"}),
                          Bools({"stretcheffect"}),
                          Rects({"animateskinrect"}),
                          Ints({"framecount"}),
                          Ints({"animateinterval"}, "25"),
                          Bools({"inactiveanimation", "fullframe", "vistagloweffect",
                                 "vistaglowinactiveeffect", "gloweffect", "glowinactiveeffect"}),
                          Ints({"glowsize"}, "3"),
                          Ints({"glowcolor", "glowactivecolor", "glowoffset"}),
                          Bools({"reflectioneffect"}),
                          Ints({"reflactioncolor", "reflactionactivecolor", "reflectionoffset"})})},
    };
}

std::string SystemColour(int index) {
    return std::to_string(static_cast<int32_t>(0xFF000000u | static_cast<uint32_t>(index)));
}

std::map<std::string, Keys> WindowKeys() {
    Keys nine = Join({Ints({"windowpictureindex", "maskpictureindex"}, "-1"), kCorners});
    Keys stretch =
        Join({Bools({"leftstretch", "rightstretch", "topstretch", "bottomstretch", "stretcheffect"}),
              Word("stretchtype", "stfull")});
    Keys colours;
    for (auto [name, index] : {
             std::pair{"cbtnface",       15},
             {"cbtntext",       18},
             {"cwindow",        5 },
             {"cwindowtext",    8 },
             {"chighlight",     13},
             {"chighlighttext", 14},
             {"cbtnhighlight",  20},
             {"cbtnshadow",     16}
    })
        colours.push_back({name, Kind::Int, SystemColour(index)});
    return {
        {"POPUPWINDOW",
         Join({nine, Rects({"itemsrect"}), Ints({"scrollmarkercolor", "scrollmarkeractivecolor"}), stretch})},
        {"LAYERFRAME",
         Join({Ints({"pictureindex", "maskpictureindex", "inactivepictureindex", "inactivemaskpictureindex"},
                    "-1"),
               kCorners, Rects({"clientrect"}), Ints({"alphablendvalue", "inactivealphablendvalue"}, "255"),
               Rects({"borderrect"}), Bools({"hittestenable"})})                                            },
        {"HINTWINDOW",  Join({nine, Rects({"clientrect"}), kFont, stretch})                                 },
        {"SKINCOLORS",  colours                                                                             },
    };
}

using Values = std::map<std::string, std::string>; // lower-case key -> value

Values SectionValues(TbsSkinIniFile& ini, const std::string& section) {
    gui::TStringList lines;
    ini.ReadSectionValues(section, lines);
    Values r;
    for (int i = 0; i < lines.Count(); ++i) r[os::LowerCase(lines.Names(i))] = lines.ValueFromIndex(i);
    return r;
}

// A value of the key's encoding unlike its default; numbers get `n`.
std::string Unlike(const Key& k, int n) {
    static const std::map<std::string, std::string> words = {
        {"tacenter",  "taleftjustify"},
        {"stfull",    "stvert"       },
        {"mkdefault", "mkpush"       },
        {"cmdefault", "cmrollup"     },
    };
    std::string a = std::to_string(n);
    switch (k.kind) {
    case Kind::Int:
        return a;
    case Kind::Bool:
        return "1";
    case Kind::Rect:
        return a + "," + std::to_string(n + 1) + "," + std::to_string(n + 2) + "," + std::to_string(n + 3);
    case Kind::Point:
        return a + "," + std::to_string(n + 1);
    case Kind::Str:
        return "text" + a;
    case Kind::Styles:
        return "fsbold,fsunderline";
    case Kind::Word:
        return words.at(k.def);
    }
    return {};
}

// Reading an absent section gives every key's default (written back as the table has it),
// and a section that gives every key a value unlike its default reads and writes back
// unchanged.  `forced` lists keys whose value the type fixes whatever the text says.
template <class D>
void ExpectKeys(const std::function<std::unique_ptr<D>()>& create, const std::string& section,
                const Keys& keys, const std::string& what, const Values& forced = {}) {
    Values defaults, input;
    int n = 11;
    for (auto& k : keys) {
        defaults[k.name] = k.def;
        input[k.name] = Unlike(k, n += 10);
    }
    TbsSkinIniFile none, written;
    auto fresh = create();
    fresh->LoadFromFile(none);
    fresh->SaveToFile(written);
    EXPECT_EQ(SectionValues(written, section), defaults) << what;

    TbsSkinIniFile in, out;
    for (auto& [key, value] : input) in.WriteString(section, key, value);
    auto d = create();
    d->LoadFromFile(in);
    d->SaveToFile(out);
    Values expected = input;
    for (auto& [key, value] : forced) expected[key] = value;
    EXPECT_EQ(SectionValues(out, section), expected) << what;
}

} // namespace

TEST(DataSkinControl, EveryTypeReadsAndWritesItsKeys) {
    auto table = ControlKeys();
    ASSERT_EQ(table.size(), std::size(kControlTypes));
    for (const char* type : kControlTypes) {
        Values forced;
        if (std::string(type) == "updown") // no nine-part geometry, whatever the text says
            forced = {
                {"lefttoppoint",     "0,0"    },
                {"righttoppoint",    "0,0"    },
                {"leftbottompoint",  "0,0"    },
                {"rightbottompoint", "0,0"    },
                {"clientrect",       "0,0,0,0"}
            };
        ExpectKeys<TbsDataSkinControl>([&] { return CreateDataSkinControl(type, "d"); }, "d", table.at(type),
                                       type, forced);
    }
}

TEST(DataSkinObject, EveryTypeReadsAndWritesItsKeys) {
    auto table = ObjectKeys();
    for (const char* type : kObjectTypes) {
        Values forced;
        if (std::string(type) == "animate")
            forced = {
                {"morphing", "0"}
            };
        ExpectKeys<TbsDataSkinObject>([&] { return CreateDataSkinObject(type, "d"); }, "d", table.at(type),
                                      type, forced);
    }
}

TEST(DataSkinWindow, WindowLevelSectionsReadAndWriteTheirKeys) {
    auto table = WindowKeys();
    auto make = [](auto* type) {
        using T = std::remove_pointer_t<decltype(type)>;
        return std::function<std::unique_ptr<T>()>([] { return std::make_unique<T>(); });
    };
    ExpectKeys(make((TbsDataSkinPopupWindow*)nullptr), "POPUPWINDOW", table.at("POPUPWINDOW"), "popup");
    ExpectKeys(make((TbsDataSkinLayerFrame*)nullptr), "LAYERFRAME", table.at("LAYERFRAME"), "layer");
    ExpectKeys(make((TbsDataSkinHintWindow*)nullptr), "HINTWINDOW", table.at("HINTWINDOW"), "hint");
    ExpectKeys(make((TbsSkinColors*)nullptr), "SKINCOLORS", table.at("SKINCOLORS"), "colors");
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
