// The skin text: its line and name rules, the value encodings and the list sections.
#include "skin/core/SkinIni.h"
#include "gui/StringList.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinIniFile.h"
#include "tests/skin/SkinFixtures.h"

#include <gtest/gtest.h>

using namespace skin;

namespace {

const std::string kRequired = "[VERSION]\n[PICTURES]\n[FORMINFO]\n[SKINOBJECTS]\n[SKINCONTROLS]\n";

std::unique_ptr<TbsSkinIniFile> Ini(const std::string& text) {
    auto ini = std::make_unique<TbsSkinIniFile>();
    ini->SetText(text);
    return ini;
}

} // namespace

TEST(SkinIniFile, LineRules) {
    auto ini = Ini("stray=before any section\r\n"
                   "  [ Main ]  \r\n"
                   "  Key = first value  \n"
                   "; key=comment\r"
                   "key=second\r\n"
                   "no equals sign\n"
                   "[broken\n"
                   "after=broken header\n"
                   "[x]y\n"
                   "z=1\n"
                   "[MAIN]\n"
                   "late=merged\n");
    EXPECT_EQ(ini->ReadString("main", "KEY", "-"), "first value"); // names ignore case, first key counts
    EXPECT_EQ(ini->ReadString("main", "stray", "-"), "-");
    EXPECT_EQ(ini->ReadString("main", "no equals sign", "-"), "-");
    // Only a line that both begins with "[" and ends with "]" opens a section.
    EXPECT_FALSE(ini->SectionExists("broken"));
    EXPECT_FALSE(ini->SectionExists("x"));
    EXPECT_EQ(ini->ReadString("main", "after", "-"), "broken header");
    EXPECT_EQ(ini->ReadString("main", "z", "-"), "1");
    EXPECT_EQ(ini->ReadString("main", "late", "-"), "merged");
    EXPECT_EQ(ini->ReadString("nosuch", "key", "def"), "def");
}

TEST(SkinIniFile, WritesCrLfAndReplacesTheFirstKey) {
    auto ini = Ini("[a]\nk=1\nk=2\n");
    ini->WriteString("A", "K", "3");
    ini->WriteString("b", "n", "v");
    EXPECT_EQ(ini->Text(), "[a]\r\nk=3\r\nk=2\r\n\r\n[b]\r\nn=v\r\n");
    ini->EraseSection("A");
    EXPECT_EQ(ini->Text(), "[b]\r\nn=v\r\n");
    EXPECT_THROW(ini->WriteString("b", "x", "two\r\nlines"), gui::EIniFileException);
}

TEST(SkinIni, Validity) {
    EXPECT_TRUE(IsValidSkinIni(*Ini(kRequired)));
    auto partial = Ini("[VERSION]\n[PICTURES]\n[FORMINFO]\n[SKINOBJECTS]\n");
    EXPECT_FALSE(IsValidSkinIni(*partial));
}

TEST(SkinIni, RectAndPointText) {
    struct Case {
        const char* text;
        TRect rect;
    } cases[] = {
        {"458,272,500,294",   {458, 272, 500, 294}},
        {"-3, 10 ,20,30",     {3, 10, 20, 30}     }, // signs and blanks are dropped
        {"1,2,3",             {}                  }, // too few parts
        {"1,2,3,4,5",         {}                  }, // too many: never more parts than a rect holds
        {"1,,3,4",            {}                  },
        {"",                  {}                  },
        {"1,2,3,99999999999", {}                  },
    };
    for (auto& c : cases) EXPECT_EQ(StrToRect(c.text), c.rect) << c.text;
    EXPECT_EQ(StrToPoint("0, 5"), Point(0, 5));
    EXPECT_EQ(StrToPoint("-7,x8"), Point(7, 8));
    EXPECT_EQ(StrToPoint("7"), Point(0, 0));
}

TEST(SkinIni, ValueEncodings) {
    auto ini = Ini("[s]\nStretchType=stfull\nst2=STFULL\nst3=stvert\nb1=1\nb2=true\nb3=2\nb4=$1\n"
                   "f1=fsbolditalic\nf2=fsitalic,fsbold\nf3=FSBOLD\nal=tarightjustify\nal2=nonsense\n"
                   "mk=mkpush\nmk2=MKPUSH\nie=ieinvert\nie2=nonsense\ncmd=cmMinimize\ncmd2=cmrollup\n"
                   "hex=$1F\nhex2=0x10\nbad=12abc\nsys=$FF00000F\nall=0xFFFFFFFF\nhex9=$100000000\n"
                   "big=4278190095\nneg=-5\n");
    EXPECT_EQ(ReadStretchType(*ini, "s", "stretchtype"), TbsStretchType::bsstFull);
    EXPECT_EQ(ReadStretchType(*ini, "s", "st2"), TbsStretchType::bsstHorz); // keywords keep their case
    EXPECT_EQ(ReadStretchType(*ini, "s", "st3"), TbsStretchType::bsstVert);
    EXPECT_EQ(ReadStretchType(*ini, "s", "absent"), TbsStretchType::bsstFull);
    EXPECT_TRUE(ReadSkinBoolean(*ini, "s", "b1"));
    EXPECT_FALSE(ReadSkinBoolean(*ini, "s", "b2"));
    EXPECT_FALSE(ReadSkinBoolean(*ini, "s", "b3"));
    EXPECT_TRUE(ReadSkinBoolean(*ini, "s", "b4"));
    EXPECT_EQ(ReadFontStyles(*ini, "s", "f1"), fsBold);
    EXPECT_EQ(ReadFontStyles(*ini, "s", "f2"), fsBold | fsItalic);
    EXPECT_EQ(ReadFontStyles(*ini, "s", "f3"), 0);
    EXPECT_EQ(ReadAlignment(*ini, "s", "al"), TAlignment::taRightJustify);
    EXPECT_EQ(ReadAlignment(*ini, "s", "al2"), TAlignment::taRightJustify);
    EXPECT_EQ(ReadAlignment(*ini, "s", "absent"), TAlignment::taCenter);
    EXPECT_EQ(ReadMorphKind(*ini, "s", "mk"), TbsMorphKind::mkPush);
    EXPECT_EQ(ReadMorphKind(*ini, "s", "mk2"), TbsMorphKind::mkDefault);
    EXPECT_EQ(ReadInActiveEffect(*ini, "s", "ie"), TbsInActiveEffect::ieInvert);
    EXPECT_EQ(ReadInActiveEffect(*ini, "s", "ie2"), TbsInActiveEffect::ieGrayScale);
    EXPECT_EQ(ReadInActiveEffect(*ini, "s", "absent"), TbsInActiveEffect::ieBrightness);
    EXPECT_EQ(ReadStdCommand(*ini, "s", "cmd"), TbsStdCommand::cmMinimizeToTray);
    EXPECT_EQ(ReadStdCommand(*ini, "s", "cmd2"), TbsStdCommand::cmRollUp);
    EXPECT_EQ(ReadStdCommand(*ini, "s", "absent"), TbsStdCommand::cmDefault);
    struct {
        const char* key;
        int32_t value;
    } integers[] = {
        {"hex",    31                               },
        {"hex2",   16                               },
        {"bad",    7                                },
        {"sys",    static_cast<int32_t>(0xFF00000Fu)},
        {"all",    -1                               },
        {"hex9",   7                                },
        {"big",    7                                },
        {"neg",    -5                               },
        {"absent", 7                                },
    };
    for (auto& c : integers) EXPECT_EQ(ReadSkinInteger(*ini, "s", c.key, 7), c.value) << c.key;

    TbsSkinIniFile out;
    WriteFontStyles(out, "s", "f", fsItalic | fsBold);
    WriteRect(out, "s", "r", Rect(1, 2, 3, 4));
    EXPECT_EQ(out.ReadString("s", "f", ""), "fsbold,fsitalic");
    EXPECT_EQ(out.ReadString("s", "r", ""), "1,2,3,4");
}

TEST(SkinIni, StringListsReachToTheirLastItem) {
    struct Case {
        const char* section;
        const char* items; // as TStrings::Text gives them
    } cases[] = {
        {"[p]\nnamescount=3\n0=a\n1=b\n",             "a\r\nb\r\n"        },
        {"[p]\nnamescount=2000000000\n0=x\n",         "x\r\n"             }, // a damaged count cannot make the reader run away
        {"[p]\nnamescount=4\n0=a\n3=d\n",             "a\r\n\r\n\r\nd\r\n"}, // items keep their numbers
        {"[p]\nnamescount=2\n0=a\n07=b\n+1=c\n5=e\n", "a\r\n\r\n"         },
        {"[p]\nnamescount=0\n0=a\n",                  ""                  },
        {"[p]\n0=a\n",                                ""                  },
    };
    for (auto& c : cases) {
        gui::TStringList list;
        ReadStrings(*Ini(c.section), "p", "names", list);
        EXPECT_EQ(list.Text(), c.items) << c.section;
    }
}

TEST(SkinIni, ListSections) {
    TbsSkinData data;
    ASSERT_TRUE(skintest::LoadText(data, kRequired + "[SKINCONTROLS]\ncount=6\n0=a:nosuchtype\n1=panel\n"
                                                     "2=my:panel:x\n3=my:panel\n4=my:Panel\n5=:label\n"
                                                     "[my]\nskinrect=1,2,3,4\n"
                                                     "[SKINOBJECTS]\ncount=3\n0=cap:caption\n1=cap:caption\n"
                                                     "2=x:CAPTION\n[cap]\nfontheight=20\n"));
    ASSERT_EQ(data.CtrlList.size(), 2u);
    auto* panel = dynamic_cast<TbsDataSkinPanelControl*>(data.CtrlList[0].get());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->IDName, "my");
    EXPECT_EQ(panel->SkinRect, Rect(1, 2, 3, 4));
    EXPECT_EQ(data.CtrlList[1]->IDName, "");
    ASSERT_EQ(data.ObjectList.size(), 2u); // two entries with one name read the same section
    EXPECT_EQ(dynamic_cast<TbsDataSkinCaption&>(*data.ObjectList[1]).FontHeight, 20);

    // Entries after a missing one still load.
    ASSERT_TRUE(skintest::LoadText(data, kRequired + "[SKINCONTROLS]\ncount=4\n0=a:panel\n3=d:label\n"));
    ASSERT_EQ(data.CtrlList.size(), 2u);
    EXPECT_EQ(data.CtrlList[1]->IDName, "d");
}

TEST(SkinIni, EveryNameTheReaderGivesIsWrittenBack) {
    struct Case {
        const char* name;
        TRect rect;
    } cases[] = {
        {"",    {1, 1, 1, 1}},
        {"a]b", {2, 2, 2, 2}},
        {"[x",  {3, 3, 3, 3}},
        {"a=b", {4, 4, 4, 4}},
        {"t ",  {5, 5, 5, 5}},
    };
    std::string list = "[SKINCONTROLS]\ncount=5\n", sections;
    for (int i = 0; i < 5; ++i) {
        list += std::to_string(i) + "=" + cases[i].name + ":panel\n";
        sections += "[" + std::string(cases[i].name) + "]\nskinrect=" + RectToStr(cases[i].rect) + "\n";
    }
    TbsSkinData read, again;
    ASSERT_TRUE(skintest::LoadText(read, kRequired + list + sections));
    TbsSkinIniFile ini;
    ASSERT_NO_THROW(read.WriteSkinIni(ini));
    ASSERT_TRUE(skintest::LoadText(again, ini.Text()));
    for (auto* data : {&read, &again}) {
        ASSERT_EQ(data->CtrlList.size(), 5u);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(data->CtrlList[i]->IDName, cases[i].name);
            EXPECT_EQ(data->CtrlList[i]->SkinRect, cases[i].rect) << "[" << cases[i].name << "]";
        }
    }
}

TEST(SkinIni, FormInfoDerivations) {
    struct Case {
        const char* name;
        std::string formInfo, mask;
        TRect maskRectArea;
        TPoint hitLT, lt, rb;
    } cases[] = {
        {"empty mask area becomes the client rect",
         "maskrectarea=0,0,0,0\nhittestlefttoppoint=0,5\n",                     "m.bmp",
         {5, 25, 55, 55},
         {10, 30},
         {10, 30},
         {50, 50}                                                                                                  },
        {"mask area widens to the client rect",
         "maskrectarea=8,0,50,60\nhittestlefttoppoint=3,4\n",                   "m.bmp",
         {5, 0, 55, 60},
         {3, 4},
         {10, 30},
         {50, 50}                                                                                                  },
        {"without a mask nothing is derived",         "maskrectarea=0,0,0,0\n", "",      {}, {}, {10, 30}, {50, 50}},
        {"corners are pushed out of the client area",
         "lefttoppoint=1,1\nrightbottompoint=80,80\n",                          "",
         {},
         {},
         {5, 25},
         {55, 55}                                                                                                  },
        {"corners stay when the frame has no middle",
         "lefttoppoint=1,1\nrightbottompoint=1,80\n",                           "",
         {},
         {},
         {1, 1},
         {1, 80}                                                                                                   },
    };
    for (auto& c : cases) {
        TbsSkinData data;
        std::string text = "[VERSION]\n[SKINOBJECTS]\n[SKINCONTROLS]\n[PICTURES]\nmask=" + c.mask +
                           "\n[FORMINFO]\n" + c.formInfo +
                           "lefttoppoint=10,30\nrightbottompoint=50,50\nclientrect=5,25,55,55\n";
        ASSERT_TRUE(skintest::LoadText(data, text)) << data.LastError();
        EXPECT_EQ(data.MaskRectArea, c.maskRectArea) << c.name;
        EXPECT_EQ(data.HitTestLTPoint, c.hitLT) << c.name;
        EXPECT_EQ(data.LTPoint, c.lt) << c.name;
        EXPECT_EQ(data.RBPoint, c.rb) << c.name;
    }
}
