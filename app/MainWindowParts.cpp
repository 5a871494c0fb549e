#include "app/MainWindowParts.h"

#include "app/MainForm.h"
#include "gui/CustomListView.h"
#include "gui/Menu.h"
#include "gui/MenuItem.h"
#include "gui/PopupMenu.h"
#include "skin/controls/SkinListView.h"
#include "skin/controls/SkinMenuSpeedButton.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/controls/SkinToolBar.h"
#include "skin/forms/SkinForm.h"
#include "skin/forms/SkinMainMenu.h"
#include "skin/forms/SkinMainMenuBar.h"
#include "skin/menus/SkinPopupMenu.h"

namespace app {

namespace {

template <class Panel = skin::TbsSkinPanel> Panel* Bar(TForm1* form, int y, int height) {
    auto* p = new Panel(form);
    p->SetSkinData(form->bsSkinData1);
    p->SetBounds(0, y, 799, height);
    // Across the whole client, whatever width a skin's frame leaves it.
    p->SetAlign(gui::alTop);
    p->SetParent(form);
    return p;
}

struct TColumn {
    const char* Caption;
    int Width;
};

// Caption and sub-items 0 to 23; the hidden ones have width 0 and cannot be opened.
constexpr TColumn Columns[25] = {
    {"输入文件",    150},
    {"视频时间",    64 },
    {"文件大小",    64 },
    {"输出文件",    150},
    {"转换进度",    64 },
    {"",                0  },
    {"当前时间",    64 },
    {"转换大小",    64 },
    {"视频序号",    0  },
    {"视频类别",    0  },
    {"视频选项",    0  },
    {"视频编码",    0  },
    {"音频编码",    0  },
    {"声音频道",    0  },
    {"VideoTag",        0  },
    {"FileExt",         0  },
    {"视频分辨率", 0  },
    {"视频比特率", 0  },
    {"视频帧率",    0  },
    {"音频比特率", 0  },
    {"音频采样率", 0  },
    {"视频缩放",    0  },
    {"视频能否",    0  },
    {"TargetType",      0  },
    {"NormType",        0  }
};

} // namespace

gui::TMainMenu* MakeMainMenu(TForm1* form) {
    auto* menu = new skin::TbsSkinMainMenu(form);
    menu->SetSkinData(form->bsSkinData1);
    menu->BSF = form->bsSkinForm1;
    return menu;
}

skin::TbsSkinMainMenuBar* MakeMenuBar(TForm1* form, gui::TMainMenu* menu) {
    auto* bar = new skin::TbsSkinMainMenuBar(form);
    bar->SetScrollMenu(true);
    bar->SetSkinForm(form->bsSkinForm1);
    bar->SetBounds(0, 0, 799, 22);
    bar->SetParent(form);
    bar->SetMainMenu(menu);
    bar->SetSkinData(form->bsSkinData1);
    form->bsSkinForm1->SetMainMenuBar(bar);
    return bar;
}

skin::TbsSkinPanel* MakeToolBar(TForm1* form) {
    // Buttons that do not fit scroll under the arrows at its ends.
    auto* bar = Bar<skin::TbsSkinToolBar>(form, 22, 56);
    bar->SetSkinDataName("resizetoolpanel");
    bar->SetCanScroll(true);
    bar->HotScroll = true;
    bar->SetScrollOffset(30);
    bar->SetScrollTimerInterval(50);
    return bar;
}

gui::TPopupMenu* MakePopupMenu(TForm1* form) {
    auto* menu = new skin::TbsSkinPopupMenu(form);
    menu->SetSkinData(form->bsSkinData1);
    return menu;
}

skin::TbsTrackMenu* TrackMenuOf(gui::TPopupMenu* menu) {
    return dynamic_cast<skin::TbsTrackMenu*>(menu);
}

gui::TCustomListView* MakeFileList(TForm1* form, gui::TWinControl* parent) {
    // The list's own bars: a long list or the wide columns scroll with the skin's bars.
    auto* vbar = new skin::TbsSkinScrollBar(form);
    vbar->SetName("bsSkinScrollBar1");
    vbar->SetKind(skin::TScrollBarKind::sbVertical);
    vbar->SetSkinDataName("vscrollbar");
    vbar->SetBounds(0, 0, 14, 100);
    vbar->SetAlign(gui::alRight);
    vbar->SetParent(parent);
    vbar->SetSkinData(form->bsSkinData1);
    auto* hbar = new skin::TbsSkinScrollBar(form);
    hbar->SetName("bsSkinScrollBar2");
    hbar->SetBounds(0, 0, 100, 14);
    hbar->SetAlign(gui::alBottom);
    hbar->SetParent(parent);
    hbar->SetSkinData(form->bsSkinData1);
    auto* list = new skin::TbsSkinListView(form);
    list->SetSkinData(form->bsSkinData1);
    list->SetParent(parent);
    list->SetViewStyle(gui::vsReport);
    list->SetRowSelect(true);
    list->SetGridLines(true);
    list->SetReadOnly(true);
    list->SetMultiSelect(false);
    list->SetHideSelection(false);
    for (const TColumn& c : Columns) {
        gui::TListColumn* column = list->Columns()->Add();
        column->SetCaption(c.Caption);
        column->SetWidth(c.Width);
        if (c.Width == 0) column->SetMaxWidth(1);
    }
    list->SetHScrollBar(hbar);
    list->SetVScrollBar(vbar);
    return list;
}

} // namespace app
