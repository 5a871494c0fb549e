#include "os/Component.h"

#include <gtest/gtest.h>

using namespace os;

namespace {
struct Probe : TComponent {
    using TComponent::TComponent;
    std::vector<std::string>* log = nullptr;
    TComponent* watched = nullptr;
    ~Probe() override {
        if (log) log->push_back("free " + Name());
    }
    void Loaded() override {
        if (log) log->push_back("loaded " + Name());
    }
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove && c == watched) watched = nullptr;
    }
};
} // namespace

TEST(Component, OwnerFreesWhatItOwnsAndLoadedRunsChildrenFirst) {
    std::vector<std::string> log;
    auto* form = new Probe(nullptr);
    form->SetName("Form1");
    form->log = &log;
    auto* a = new Probe(form);
    a->SetName("A");
    a->log = &log;
    form->BeginLoading();
    EXPECT_TRUE(a->Loading());
    form->EndLoading();
    EXPECT_FALSE(a->Loading());
    EXPECT_EQ(form->FindComponent("a"), a);
    EXPECT_EQ(a->ComponentIndex(), 0);
    delete form;
    std::vector<std::string> want{"loaded A", "loaded Form1", "free Form1", "free A"};
    EXPECT_EQ(log, want);
}

TEST(Component, FreeNotificationClearsReferencesAcrossOwners) {
    Probe holder(nullptr);
    auto* other = new Probe(nullptr);
    holder.watched = other;
    other->FreeNotification(&holder);
    delete other;
    EXPECT_EQ(holder.watched, nullptr);
}

TEST(Component, NamesAreIdentifiersAndUniqueWithinTheOwner) {
    TComponent form(nullptr);
    auto* a = new TComponent(&form);
    a->SetName("Button1");
    auto* b = new TComponent(&form);
    EXPECT_THROW(b->SetName("BUTTON1"), EComponentError); // FindComponent ignores case
    EXPECT_EQ(b->Name(), "");
    a->SetName("button1"); // renaming itself is fine
    b->SetName("按钮2");
    EXPECT_EQ(form.FindComponent("按钮2"), b);
    for (auto bad : {"1abc", "a b", "a-b"}) EXPECT_THROW(b->SetName(bad), EComponentError) << bad;

    // A named component cannot join an owner that already has that name.
    TComponent other(nullptr);
    auto* c = new TComponent(&other);
    c->SetName("Button1");
    try {
        form.InsertComponent(c);
        FAIL();
    } catch (const EComponentError& e) {
        EXPECT_STREQ(e.what(), "A component named Button1 already exists");
    }
    EXPECT_EQ(c->Owner(), &other);
}

TEST(Component, FreeingASiblingTellsTheOthersThroughTheOwner) {
    Probe form(nullptr);
    auto* holder = new Probe(&form);
    auto* target = new Probe(&form);
    holder->watched = target;
    delete target; // no FreeNotification needed among components of one owner
    EXPECT_EQ(holder->watched, nullptr);
    EXPECT_EQ(form.ComponentCount(), 1);
}
