// The skin data component: lookups, the change broadcast and the skin list.
#include "skin/core/SkinData.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/ResourceStrData.h"
#include "tests/skin/SkinFixtures.h"

#include <gtest/gtest.h>

using namespace skin;
using skintest::FakeForms;

namespace {

const std::string kSkin = "[VERSION]\n[PICTURES]\n[FORMINFO]\n[SKINOBJECTS]\ncount=1\n0=close:stdbutton\n"
                          "[SKINCONTROLS]\ncount=3\n0=button:button\n1=panel:panel\n2=panel:label\n";
const std::string kLayered = kSkin + "[LAYERFRAME]\npictureindex=0\n";

// A list of skins whose item i has the skin name "skin<i>".
void FillList(TbsCompressedSkinList& list, int count, const std::string& extra = "") {
    for (int i = 0; i < count; ++i) {
        std::string text = "[VERSION]\nskinname=skin" + std::to_string(i) + "\n" + extra + kSkin;
        auto stored = skintest::StoredSkin(skintest::OuterFromInner(skintest::InnerSkin(3, text)));
        gui::TMemoryStream outer;
        stored->SaveToCompressStream(outer);
        list.Skins().Add().Skin().LoadFromCompressStream(outer);
    }
}

int Loads(const std::vector<std::string>& log, const std::string& form) {
    return static_cast<int>(std::count(log.begin(), log.end(), form + ":1226"));
}

} // namespace

TEST(SkinData, NewComponent) {
    TbsSkinData data;
    EXPECT_TRUE(data.Empty);
    EXPECT_EQ(data.SkinIndex(), 0);
    EXPECT_TRUE(data.SkinnableForm());
    EXPECT_TRUE(data.ShowLayeredBorders());
    EXPECT_EQ(data.BGPictureIndex, -1);
    EXPECT_EQ(data.LayerFrame.PictureIndex, -1);
    EXPECT_EQ(data.GetControlIndex("button"), -1);
}

TEST(SkinData, LookupIsExactAndTakesTheFirst) {
    TbsSkinData data;
    ASSERT_TRUE(skintest::LoadText(data, kSkin));
    EXPECT_FALSE(data.Empty);
    EXPECT_EQ(data.GetControlIndex("button"), 0);
    EXPECT_EQ(data.GetControlIndex("Button"), -1);
    EXPECT_EQ(data.GetControlIndex("panel"), 1);
    EXPECT_NE(dynamic_cast<TbsDataSkinPanelControl*>(data.CtrlList[1].get()), nullptr);
    EXPECT_EQ(data.GetIndex("close"), 0);
    EXPECT_EQ(data.GetIndex("button"), -1);
}

TEST(SkinData, BroadcastOrder) {
    struct Case {
        const char* name;
        bool layeredBorders;
        std::string skin;
        std::vector<std::string> order; // receivers of one message
    } cases[] = {
        {"owner first without layered borders",                    false, kLayered, {"main", "a", "b"}},
        {"platform order with layered borders but no layer frame", true,  kSkin,    {"a", "main", "b"}},
        {"reversed with layered borders and a layer frame",        true,  kLayered, {"b", "main", "a"}},
    };
    for (auto& c : cases) {
        FakeForms forms;
        os::TComponent mainForm;
        auto& a = forms.Add("a");
        forms.Add("layer", "TbsFormLayerWindow");
        auto& main = forms.Add("main");
        forms.Add("b");
        forms.components.emplace_back(&mainForm, &main);
        auto* data = new TbsSkinData(&mainForm);        // owned by the form
        ASSERT_TRUE(skintest::LoadText(*data, c.skin)); // the layer frame of the new skin counts
        data->SetShowLayeredBorders(c.layeredBorders);
        forms.log.clear();
        data->SendSkinDataMessage(WM_CHANGESKINDATA);
        std::vector<std::string> expected;
        for (auto& f : c.order) expected.push_back(f + ":1226");
        EXPECT_EQ(forms.log, expected) << c.name;
        EXPECT_EQ(a.lastWParam, reinterpret_cast<uintptr_t>(data));
        EXPECT_EQ(a.lastLParam, 1000);
    }
}

TEST(SkinData, AReceiverMayCloseAFormStillWaitingForTheMessage) {
    FakeForms forms;
    struct Closer : skintest::FakeForm {
        using FakeForm::FakeForm;
        FakeForms* all = nullptr;
        void SendSkinMessage(uint32_t msg, uintptr_t w, intptr_t l) override {
            FakeForm::SendSkinMessage(msg, w, l);
            if (all->forms.size() > 2) all->forms.erase(all->forms.begin() + 1); // closes "later"
        }
    };
    forms.forms.push_back(std::make_unique<Closer>("closer", "TForm", &forms.log));
    static_cast<Closer&>(*forms.forms.back()).all = &forms;
    forms.Add("later");
    forms.Add("last");
    TbsSkinData data;
    data.SendSkinDataMessage(WM_CHANGESKINDATA);
    EXPECT_EQ(forms.log, (std::vector<std::string>{"closer:1226", "last:1226"}));
}

TEST(SkinData, LoadSendsBeforeChangeAfter) {
    FakeForms forms;
    TbsSkinData data;
    // Records what the skin data looks like when each message arrives.
    struct Spy : skintest::FakeForm {
        using FakeForm::FakeForm;
        TbsSkinData* data = nullptr;
        std::vector<std::string> seen;
        void SendSkinMessage(uint32_t msg, uintptr_t w, intptr_t l) override {
            FakeForm::SendSkinMessage(msg, w, l);
            seen.push_back(std::to_string(msg) + (data->Empty ? " empty" : " loaded") +
                           (data->ChangeSkinDataProcess ? " changing" : "") +
                           " controls=" + std::to_string(data->CtrlList.size()));
        }
    };
    forms.forms.push_back(std::make_unique<Spy>("spy", "TForm", &forms.log));
    auto& spy = static_cast<Spy&>(*forms.forms.back());
    spy.data = &data;
    ASSERT_TRUE(skintest::LoadText(data, kSkin));
    ASSERT_TRUE(skintest::LoadText(data, kSkin)); // the old skin is still there at "before"
    data.ClearSkin();                             // clearing clears first
    EXPECT_EQ(spy.seen,
              (std::vector<std::string>{"1225 empty changing controls=0", "1226 loaded changing controls=3",
                                        "1227 loaded controls=3", "1225 empty changing controls=3",
                                        "1226 loaded changing controls=3", "1227 loaded controls=3",
                                        "1225 empty changing controls=0", "1226 empty changing controls=0",
                                        "1227 empty controls=0"}));
}

TEST(SkinData, ClearSkinOnAnEmptyComponentStillAnnounces) {
    FakeForms forms;
    forms.Add("f");
    TbsSkinData data;
    data.ClearSkin();
    EXPECT_EQ(forms.log, (std::vector<std::string>{"f:1225", "f:1226", "f:1227"}));
}

TEST(SkinData, SkinIndex) {
    FakeForms forms;
    forms.Add("f");
    TbsCompressedSkinList list;
    FillList(list, 3);
    TbsSkinData data;
    data.SetSkinList(&list);
    EXPECT_EQ(data.SkinName, "skin0");
    forms.log.clear();
    data.SetSkinIndex(2);
    EXPECT_EQ(data.SkinName, "skin2");
    data.ClearSkin();
    forms.log.clear();
    data.SetSkinIndex(2); // the same value does nothing, even after a clear
    data.SetSkinIndex(3); // outside the list
    data.SetSkinIndex(-1);
    EXPECT_TRUE(forms.log.empty());
    EXPECT_EQ(data.SkinIndex(), 2);
    EXPECT_TRUE(data.Empty);
    data.SetSkinList(&list); // setting the list again loads again
    EXPECT_EQ(data.SkinName, "skin2");
    EXPECT_EQ(Loads(forms.log, "f"), 1);
}

TEST(SkinData, SkinListAndIndexInEitherOrder) {
    FakeForms forms;
    forms.Add("f");
    TbsCompressedSkinList list;
    FillList(list, 11);
    {
        TbsSkinData data; // index first, then the list: one load of item 3
        data.SetSkinIndex(3);
        data.SetSkinList(&list);
        EXPECT_EQ(data.SkinName, "skin3");
        EXPECT_EQ(Loads(forms.log, "f"), 1);
    }
    forms.log.clear();
    {
        TbsSkinData data; // the list first: item 0, then item 3
        data.SetSkinList(&list);
        data.SetSkinIndex(3);
        EXPECT_EQ(data.SkinName, "skin3");
        EXPECT_EQ(Loads(forms.log, "f"), 2);
    }
    forms.log.clear();
    {
        os::TComponent form; // a form being built loads once, whatever the order
        auto* data = new TbsSkinData(&form);
        form.BeginLoading();
        data->SetSkinList(&list);
        data->SetSkinIndex(3);
        EXPECT_EQ(Loads(forms.log, "f"), 0);
        form.EndLoading();
        EXPECT_EQ(data->SkinName, "skin3");
        EXPECT_EQ(Loads(forms.log, "f"), 1);
    }
}

TEST(SkinData, AnIndexOutsideTheListFromAFormDescriptionIsIgnored) {
    FakeForms forms;
    forms.Add("f");
    TbsCompressedSkinList list;
    FillList(list, 11);
    for (int index : {40, 11, -1})
        for (bool listFirst : {true, false}) {
            forms.log.clear();
            os::TComponent form;
            auto* data = new TbsSkinData(&form);
            form.BeginLoading();
            if (listFirst) data->SetSkinList(&list);
            data->SetSkinIndex(index);
            if (!listFirst) data->SetSkinList(&list);
            form.EndLoading();
            EXPECT_EQ(data->SkinName, "skin0") << index << " " << listFirst;
            EXPECT_EQ(data->SkinIndex(), 0) << index << " " << listFirst;
            EXPECT_EQ(Loads(forms.log, "f"), 1) << index << " " << listFirst;
        }
}

TEST(SkinData, SettersThatBroadcast) {
    FakeForms forms;
    forms.Add("f");
    TbsSkinData data;
    data.SetSkinnableForm(true); // unchanged
    data.SetSkinnableForm(false);
    data.SetShowLayeredBorders(false);
    TbsResourceStrData strings;
    data.SetResourceStrData(&strings);
    data.SetResourceStrData(&strings); // announced again
    EXPECT_EQ(forms.log, (std::vector<std::string>{"f:1294", "f:1427", "f:1274", "f:1274"}));
    forms.log.clear();
    os::TComponent form;
    auto* loading = new TbsSkinData(&form);
    form.BeginLoading();
    loading->SetSkinnableForm(false);
    EXPECT_TRUE(forms.log.empty());
    form.EndLoading();
}

TEST(SkinData, ReferencesAreClearedWhenTheirComponentGoes) {
    TbsSkinData data;
    auto list = std::make_unique<TbsCompressedSkinList>();
    auto strings = std::make_unique<TbsResourceStrData>();
    auto stored = skintest::StoredSkin(skintest::OuterFromInner(skintest::InnerSkin(3, kSkin)));
    data.SetSkinList(list.get());
    data.SetResourceStrData(strings.get());
    data.SetCompressedStoredSkin(stored.get());
    EXPECT_FALSE(data.Empty);
    list.reset();
    strings.reset();
    stored.reset();
    EXPECT_EQ(data.SkinList(), nullptr);
    EXPECT_EQ(data.ResourceStrData(), nullptr);
    EXPECT_EQ(data.CompressedStoredSkin(), nullptr);
    EXPECT_FALSE(data.Empty); // the loaded skin stays
    data.SetSkinIndex(5);     // no list: only kept
    EXPECT_EQ(data.SkinIndex(), 5);
}
