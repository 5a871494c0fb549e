#include "gui/PopupMenu.h"
#include "gui/ShortCuts.h"

#include <gtest/gtest.h>

using namespace gui;

namespace {
TMenuItem* Item(TComponent* owner, TMenuItem* parent, const std::string& caption, TShortCut sc = 0) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    item->SetShortCut(sc);
    if (parent) parent->Add(item);
    return item;
}
} // namespace

TEST(ShortCuts, TextsOfShortCuts) {
    struct {
        TShortCut sc;
        const char* text;
    } cases[] = {
        {scCtrl | 'O',           "Ctrl+O"        },
        {scShift | 0x2E,         "Shift+Del"     },
        {0x70,                   "F1"            },
        {scAlt | 'X',            "Alt+X"         },
        {scAlt | 0x73,           "Alt+F4"        },
        {scShift | scCtrl | 'S', "Shift+Ctrl+S"  },
        {scCtrl | scAlt | 0x0D,  "Ctrl+Alt+Enter"},
        {0x1B,                   "Esc"           },
        {0x87,                   "F24"           },
        {scCtrl | 0x21,          "Ctrl+PgUp"     },
        {'5',                    "5"             },
    };
    for (auto& c : cases) {
        EXPECT_EQ(ShortCutToText(c.sc), c.text);
        EXPECT_EQ(TextToShortCut(c.text), c.sc) << c.text;
    }
    EXPECT_EQ(ShortCutToText(scCtrl | 0x65), "Ctrl+5"); // keypad digits show as digits
    EXPECT_EQ(ShortCutToText(scCtrl | 0xBA), "");       // a key without a name
    EXPECT_EQ(TextToShortCut("ctrl+o"), scCtrl | 'O');
    EXPECT_EQ(TextToShortCut("Ctrl+"), scNone);
    EXPECT_EQ(TextToShortCut("Hyper+O"), scNone);
    EXPECT_EQ(ShortCut('O', ssCtrl | ssShift), scCtrl | scShift | 'O');
    uint16_t key;
    TShiftState shift;
    ShortCutToKey(scAlt | 0x70, key, shift);
    EXPECT_EQ(key, 0x70);
    EXPECT_EQ(shift, ssAlt);
}

TEST(Menus, CheckingARadioItemUnchecksItsGroupAmongSiblingsOnly) {
    TComponent form;
    TPopupMenu menu(&form);
    auto* root = menu.Items();
    auto* a = Item(&form, root, "idle");
    auto* b = Item(&form, root, "lowest");
    auto* c = Item(&form, root, "normal");
    auto* other = Item(&form, root, "other group");
    auto* plain = Item(&form, root, "plain");
    auto* sub = Item(&form, root, "sub");
    auto* nephew = Item(&form, sub, "nephew");
    for (auto* i : {a, b, c, other, nephew}) {
        i->SetRadioItem(true);
        i->SetGroupIndex(1);
    }
    other->SetGroupIndex(2);
    for (auto* i : {other, plain, nephew}) i->SetChecked(true);

    a->SetChecked(true);
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(other->Checked());  // another group
    EXPECT_TRUE(plain->Checked());  // not a radio item
    EXPECT_TRUE(nephew->Checked()); // not a sibling

    // AutoCheck: a click checks a radio item and never unchecks it.
    c->AutoCheck = true;
    c->Click();
    c->Click();
    EXPECT_TRUE(c->Checked());
    EXPECT_FALSE(b->Checked());
    // Making a checked item a radio item of a group with a checked member settles the group.
    plain->SetRadioItem(true);
    plain->SetGroupIndex(1);
    EXPECT_FALSE(c->Checked());
}

TEST(Menus, IsShortCutClicksTheReachableItem) {
    TComponent form;
    TMainMenu menu(&form);
    std::string clicked;
    auto track = [&](TMenuItem* i) {
        i->OnClick = [&clicked, i](TObject* s) {
            EXPECT_EQ(s, i);
            clicked += i->Caption() + ";";
        };
    };
    auto* file = Item(&form, menu.Items(), "文件");
    auto* open = Item(&form, file, "添加一个文件", scCtrl | 'O');
    auto* stop = Item(&form, file, "停止转换", scShift | 0x2E);
    auto* help = Item(&form, menu.Items(), "帮助");
    auto* helpSystem = Item(&form, help, "帮助系统", 0x70);
    auto* hidden = Item(&form, menu.Items(), "hidden");
    auto* inHidden = Item(&form, hidden, "x", scAlt | 'X');
    for (auto* i : {open, stop, helpSystem, inHidden}) track(i);
    stop->SetEnabled(false);
    hidden->SetVisible(false);

    EXPECT_TRUE(menu.IsShortCut('O', ssCtrl));
    EXPECT_TRUE(menu.IsShortCut(0x70, 0));
    EXPECT_FALSE(menu.IsShortCut(0x2E, ssShift)); // disabled
    EXPECT_FALSE(menu.IsShortCut('X', ssAlt));    // under a hidden item
    EXPECT_FALSE(menu.IsShortCut('O', 0));
    EXPECT_EQ(clicked, "添加一个文件;帮助系统;");

    clicked.clear();
    EXPECT_TRUE(menu.DispatchCommand(helpSystem->Command()));
    EXPECT_EQ(clicked, "帮助系统;");
    EXPECT_NE(open->Command(), helpSystem->Command());
    EXPECT_EQ(menu.FindItem(scCtrl | 'O', TFindItemKind::fkShortCut), open);
    EXPECT_EQ(open->GetParentMenu(), &menu);
}

TEST(Menus, ItemsMoveBetweenParentsAndAreFreedOnce) {
    TComponent form;
    TMainMenu menu(&form);
    std::vector<bool> rebuilds;
    menu.OnChange = [&](TMenu* sender, TMenuItem*, bool rebuild) {
        EXPECT_EQ(sender, &menu);
        rebuilds.push_back(rebuild);
    };
    auto* a = Item(&form, menu.Items(), "a");
    auto* b = Item(&form, menu.Items(), "b");
    auto* sep = Item(&form, menu.Items(), "-");
    EXPECT_TRUE(sep->IsLine());
    EXPECT_THROW(menu.Items()->Add(a), EMenuError); // already in a menu
    EXPECT_THROW(a->Add(menu.Items()), EMenuError);
    EXPECT_THROW(b->Insert(0, b), EMenuError);
    EXPECT_THROW(menu.Items()->Insert(9, new TMenuItem(&form)), EMenuError);

    rebuilds.clear();
    a->SetEnabled(false);
    b->SetMenuIndex(0);
    EXPECT_EQ(menu.Items()->Items(0), b);
    EXPECT_EQ(rebuilds, (std::vector<bool>{false, true, true})); // the move is a remove and an insert

    menu.Items()->Delete(2); // taken out, not freed
    EXPECT_EQ(sep->Parent(), nullptr);
    b->Add(sep);
    int before = form.ComponentCount();
    menu.Items()->Clear(); // frees a, b and the separator below b
    EXPECT_EQ(menu.Items()->Count(), 0);
    EXPECT_EQ(form.ComponentCount(), before - 3);

    // An item freed on its own leaves its parent.
    auto* c = Item(&form, menu.Items(), "c");
    delete c;
    EXPECT_EQ(menu.Items()->Count(), 0);
}

TEST(Menus, PopupMenuAnnouncesItselfAndForgetsAFreedComponent) {
    TComponent form;
    auto* popup = new TPopupMenu(&form);
    auto* list = new TComponent(&form);
    EXPECT_TRUE(popup->AutoPopup);
    popup->SetPopupComponent(list);
    int shown = 0;
    popup->OnPopup = [&](TObject* sender) {
        EXPECT_EQ(sender, popup);
        ++shown;
    };
    popup->Popup(120, 45);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(popup->PopupX(), 120);
    EXPECT_EQ(popup->PopupY(), 45);
    delete list;
    EXPECT_EQ(popup->PopupComponent(), nullptr);

    // The other way round: a component kept after the menu is freed holds no dangling link.
    TComponent other;
    popup->SetPopupComponent(&other);
    delete popup;
}

TEST(Menus, RethinkLinesHidesLeadingTrailingAndDoubledSeparators) {
    struct Case {
        const char* layout; // '-' a separator, 'a' an item, 'h' a hidden item
        const char* shown;  // what shows after the reduction
    } cases[] = {
        {"-a-a-",  "a-a"  },
        {"a--a",   "a-a"  },
        {"a-h-a",  "a-a"  },
        {"a-h",    "a"    },
        {"---",    ""     },
        {"aa",     "aa"   },
        {"a-a--a", "a-a-a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layout);
        TComponent owner;
        TPopupMenu menu(&owner);
        for (const char* p = c.layout; *p; ++p) {
            TMenuItem* item = Item(&owner, menu.Items(), *p == '-' ? "-" : "x");
            item->SetVisible(*p != 'h');
        }
        menu.Items()->RethinkLines();
        std::string shown;
        for (int i = 0; i < menu.Items()->Count(); ++i) {
            TMenuItem* item = menu.Items()->Items(i);
            if (item->Visible()) shown += item->IsLine() ? '-' : 'a';
        }
        EXPECT_EQ(shown, c.shown);
    }
    // A separator hidden once shows again when an item comes back between two groups.
    TComponent owner;
    TPopupMenu menu(&owner);
    Item(&owner, menu.Items(), "x");
    TMenuItem* line = Item(&owner, menu.Items(), "-");
    TMenuItem* last = Item(&owner, menu.Items(), "y");
    last->SetVisible(false);
    EXPECT_TRUE(menu.Items()->RethinkLines());
    EXPECT_FALSE(line->Visible());
    last->SetVisible(true);
    EXPECT_TRUE(menu.Items()->RethinkLines());
    EXPECT_TRUE(line->Visible());
    EXPECT_FALSE(menu.Items()->RethinkLines());
}
