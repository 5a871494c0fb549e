#include "ExpectedTables.h"
#include "catalogue/PresetEntries.h"

#include <gtest/gtest.h>

#include <map>

using namespace catalogue;

namespace {

// Every list the entries name, by name.
std::map<std::string, const TPresetList*> ListsInUse() {
    std::map<std::string, const TPresetList*> lists;
    for (int key = 0; key < 2800; ++key)
        if (const TPresetEntry* e = FindPresetEntry(key))
            for (TPresetPicker p : FillOrder) lists[e->Choice(p).List->Name] = e->Choice(p).List;
    return lists;
}

} // namespace

TEST(PresetTables, TheListsHoldTheirItemsInOrder) {
    auto lists = ListsInUse();
    EXPECT_EQ(lists.size(), expected::PresetLists.size());
    for (const expected::PresetList& want : expected::PresetLists) {
        SCOPED_TRACE(want.Name);
        ASSERT_TRUE(lists.count(want.Name));
        EXPECT_EQ(lists[want.Name]->Items, want.Items);
    }
}

TEST(PresetTables, EveryKeyHasItsListsDefaultsAndAudioOnlyMark) {
    for (const expected::PresetEntry& want : expected::PresetEntries) {
        SCOPED_TRACE(want.Key);
        const TPresetEntry* got = FindPresetEntry(want.Key);
        ASSERT_NE(got, nullptr);
        for (int i = 0; i < PresetPickerCount; ++i) {
            const TPresetChoice& choice = got->Choice(FillOrder[i]);
            EXPECT_STREQ(choice.List->Name, want.Choices[i].List) << "picker " << i;
            EXPECT_EQ(choice.DefaultPosition, want.Choices[i].Position) << "picker " << i;
            EXPECT_EQ(choice.DefaultText(), want.Choices[i].Text) << "picker " << i;
        }
        EXPECT_EQ(got->AudioOnly, want.AudioOnly);
    }
}

TEST(PresetTables, NoOtherKeyHasAnEntry) {
    std::set<int> keys;
    for (const expected::PresetEntry& e : expected::PresetEntries) keys.insert(e.Key);
    ASSERT_EQ(keys.size(), 140u);
    for (int key = -100; key < 3000; ++key)
        EXPECT_EQ(FindPresetEntry(key) != nullptr, keys.count(key) > 0) << key;
}

TEST(PresetTables, AnAudioOnlyFormatDisablesExactlyItsNoVideoPickers) {
    const TPresetEntry* mp3 = FindPresetEntry(100);
    ASSERT_TRUE(mp3 && mp3->AudioOnly);
    for (TPresetPicker p : VideoPickers) {
        EXPECT_EQ(mp3->Choice(p).List->Items.size(), 1u);
        EXPECT_TRUE(mp3->Choice(p).DefaultText() == "无视频" ||
                    mp3->Choice(p).DefaultText() == "该格式无视频");
    }
    EXPECT_EQ(std::size(VideoPickers), 4u);
    EXPECT_EQ(mp3->Choice(TPresetPicker::AudioBitrate).DefaultText(), "128 kbps");
    EXPECT_EQ(mp3->Choice(TPresetPicker::SampleRate).DefaultText(), "44100");
}
