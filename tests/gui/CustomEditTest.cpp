#include "gui/CustomEdit.h"
#include "FormFixture.h"
#include "controls/CommCtrl.h"
#include "gui/Clipboard.h"
#include "gui/StringList.h"
#include "win/Input.h"

#include <string>
#include <vector>

using namespace gui;

namespace {

class CustomEditTest : public FormTest {};

TEST_F(CustomEditTest, SelectionRoundTripsInChineseTextBeforeAndAfterTheWindow) {
    TForm* f = Form();
    auto* e = new TEdit(f);
    e->SetBoundsRect({10, 10, 200, 31});
    // Everything set before the window exists reaches it.
    e->SetText("视频转换abc");
    e->SetSelStart(3);  // after 视
    e->SetSelLength(6); // 频转
    EXPECT_EQ(e->SelText(), "频转");
    e->SetParent(f);
    Show(f);
    EXPECT_EQ(e->SelStart(), 3);
    EXPECT_EQ(e->SelText(), "频转");
    // Positions inside a character fall back onto its start; a length ending inside one takes it.
    struct Case {
        int start, length;
        std::string text;
    } cases[] = {
        {0,  3,  "视" },
        {4,  2,  "频" },
        {12, 99, "abc" },
        {-5, 0,  ""    },
        {9,  4,  "换a"},
    };
    for (const Case& c : cases) {
        e->SetSelStart(c.start);
        e->SetSelLength(c.length);
        EXPECT_EQ(e->SelText(), c.text) << c.start << "," << c.length;
    }
    e->SetSelStart(6);
    e->SetSelLength(6);
    e->SetSelText("格式");
    EXPECT_EQ(e->Text(), "视频格式abc");
    EXPECT_EQ(e->SelStart(), 12);
    EXPECT_TRUE(e->CanUndo());
    e->Undo();
    EXPECT_EQ(e->Text(), "视频转换abc");
}

TEST_F(CustomEditTest, OnChangeFiresOnTypingAndSettingNotOnSelectingOrRemaking) {
    TForm* f = Form();
    auto* e = Add<TEdit>(f, {10, 10, 200, 31});
    e->SetText("起点");
    Show(f);
    std::vector<std::string> seen;
    e->OnChange = [&](TObject*) { seen.push_back(e->Text()); };
    e->SetFocus();
    e->SetSelStart(6);
    Type(U"中a");
    EXPECT_EQ(seen, (std::vector<std::string>{"起点中", "起点中a"}));
    seen.clear();
    e->SelectAll();
    e->SetSelStart(0);
    e->SetReadOnly(true);
    e->SetCharCase(ecUpperCase); // remakes the window: its text comes back uppercased
    EXPECT_EQ(e->Text(), "起点中A");
    EXPECT_EQ(seen, (std::vector<std::string>{"起点中A"}));
    seen.clear();
    // The remade window kept the flags: typing into a read-only edit changes nothing.
    Type(U"x");
    EXPECT_TRUE(seen.empty());
    EXPECT_TRUE(e->Focused());
    e->SetReadOnly(false);
    e->SetText("新");
    EXPECT_EQ(seen, (std::vector<std::string>{"新"}));
}

TEST_F(CustomEditTest, ClipboardAndLimitGoThroughTheWindow) {
    TForm* f = Form();
    auto* a = Add<TEdit>(f, {10, 10, 200, 31});
    auto* b = Add<TEdit>(f, {10, 40, 200, 61});
    Show(f);
    a->SetText("转换器");
    a->SelectAll();
    a->CutToClipboard();
    EXPECT_EQ(a->Text(), "");
    EXPECT_EQ(Clipboard()->AsText(), "转换器");
    a->SetText("转换器"); // the text last set, but not what the window holds
    EXPECT_EQ(a->Text(), "转换器");
    b->SetMaxLength(2);
    b->PasteFromClipboard(); // cut to the limit, counted in characters
    EXPECT_EQ(b->Text(), "转换");
    EXPECT_TRUE(b->Modified());
    b->SetModified(false);
    EXPECT_FALSE(b->Modified());
}

TEST_F(CustomEditTest, TabbingInSelectsAllAClickDoesNot) {
    TForm* f = Form();
    auto* a = Add<TEdit>(f, {10, 10, 200, 31});
    auto* b = Add<TEdit>(f, {10, 40, 200, 61});
    b->SetText("全部");
    Show(f);
    a->SetFocus();
    PressKey(VK_TAB);
    ASSERT_TRUE(b->Focused());
    EXPECT_EQ(b->SelText(), "全部");
    // A click places the caret where it falls instead.
    a->SetText("全部");
    ClickAt(a, a->ClientWidth() - 3, 8);
    ASSERT_TRUE(a->Focused());
    EXPECT_EQ(a->SelLength(), 0);
    EXPECT_EQ(a->SelStart(), 6);
}

TEST_F(CustomEditTest, MemoLinesAppendCheaplyAndEditAnywhere) {
    TForm* f = Form();
    auto* m = new TMemo(f);
    m->SetBoundsRect({10, 10, 300, 80});
    m->Lines()->Add("第一行"); // before the window
    m->SetParent(f);
    Show(f);
    m->Lines()->Add("second");
    EXPECT_EQ(m->Text(), "第一行\r\nsecond");
    m->Lines()->Insert(1, "中间");
    m->Lines()->SetStrings(0, "一");
    EXPECT_EQ(m->Lines()->Text(), "一\r\n中间\r\nsecond\r\n");
    m->Lines()->Delete(2);
    EXPECT_EQ(m->Text(), "一\r\n中间");
    ASSERT_EQ(m->Lines()->Count(), 2);
    EXPECT_EQ(m->Lines()->Strings(1), "中间");
    // A text ending in a break ends its last line; the next line goes after it.
    m->SetText("a\nb\n");
    m->Lines()->Add("c");
    EXPECT_EQ(m->Text(), "a\nb\nc");
    EXPECT_THROW(m->Lines()->Strings(3), EStringListError);
    // A long log: the newest line is in view.
    m->Lines()->Clear();
    for (int i = 0; i < 200; ++i) m->Lines()->Add("#" + std::to_string(i));
    RunUntilIdle();
    EXPECT_EQ(m->Lines()->Count(), 200);
    EXPECT_GT(SendMessage(m->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), 150);
}

TEST_F(CustomEditTest, MemoTakesEnterUnlessToldNotTo) {
    TForm* f = Form();
    auto* m = Add<TMemo>(f, {10, 10, 300, 80});
    Show(f);
    m->SetFocus();
    Type(U"a");
    PressKey(VK_RETURN);
    Type(U"b");
    EXPECT_EQ(m->Text(), "a\r\nb");
    m->WantReturns = false;
    PressKey(VK_RETURN);
    EXPECT_EQ(m->Text(), "a\r\nb");
}

} // namespace
