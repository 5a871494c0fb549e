// The library's string table.
#include "skin/core/ResourceStrData.h"
#include "gui/StringList.h"

#include <gtest/gtest.h>

using skin::TbsResourceStrData;

TEST(ResourceStrData, DefaultTable) {
    TbsResourceStrData table;
    EXPECT_EQ(table.ResStrings().Count(), 131);
    EXPECT_EQ(table.CharSet, 1);
    // Spot checks across the table, including the text with a trailing blank.
    struct {
        const char* key;
        const char* text;
    } rows[] = {
        {"MI_MINCAPTION",         "Mi&nimize"                         },
        {"mi_mincaption",         "Mi&nimize"                         },
        {"ROLLUPBUTTON_HINT",     "Roll Up"                           },
        {"MSG_BTN_NOTOALL",       "N&oToAll"                          },
        {"MSG_OVERWRITE",         "Do you want to overwrite old file?"},
        {"FLV_LOOKIN",            "Look in: "                         },
        {"FIND_REPLACE_All",      "Replace All"                       },
        {"PRNDLG_MARGINS_INCHES", "Margins (inches)"                  },
        {"DBNAV_REFRESH",         "REFRESH"                           },
        {"NO_SUCH_KEY",           ""                                  }
    };
    for (auto& r : rows) EXPECT_EQ(table.GetResStr(r.key), r.text) << r.key;
    // Every line's key finds its own text: keys are unique and each line is key=text.
    for (int i = 0; i < table.ResStrings().Count(); ++i) {
        std::string line = table.ResStrings()[i];
        EXPECT_EQ(table.GetResStr(line.substr(0, line.find('='))), line.substr(line.find('=') + 1)) << line;
    }
}

TEST(ResourceStrData, ReplacedLines) {
    TbsResourceStrData table;
    gui::TStringList lines;
    lines.Add("A=x=y");
    lines.Add("B=first");
    lines.Add("b=second");
    table.SetResStrings(lines);
    EXPECT_EQ(table.GetResStr("a"), "x=y");
    EXPECT_EQ(table.GetResStr("B"), "first");
    EXPECT_EQ(table.GetResStr("MI_MINCAPTION"), "");
}
