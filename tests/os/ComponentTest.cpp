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
