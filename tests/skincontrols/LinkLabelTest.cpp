// The link label: a click opens its URL with the desktop's opener as one argument, an empty
// URL opens nothing, and an opener that cannot start is logged.
#include "ControlFixtures.h"
#include "os/Spawn.h"
#include "skin/controls/SkinLinkLabel.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>

using namespace skin;
using namespace controltest;

namespace {

class LinkLabelTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form_ = MakeForm<SkinWalkForm>();
        form_->SetBounds(0, 0, 300, 200);
        link_ = new TbsSkinLinkLabel(form_);
        link_->SetParent(form_);
        link_->SetBounds(10, 10, 200, 20);
        link_->SetCaption("www.example.com; rm -rf x");
        link_->OnClick = [this](gui::TObject*) { ++clicks_; };
        form_->Show();
        RunUntilIdle();
    }
    SkinWalkForm* form_ = nullptr;
    TbsSkinLinkLabel* link_ = nullptr;
    int clicks_ = 0;
};

} // namespace

TEST_F(LinkLabelTest, AClickOpensTheUrlAsOneArgument) {
    os::SpawnRecorder recorder;
    MoveTo(link_, 5, 5);
    ClickAt(link_, 5, 5);
    EXPECT_EQ(clicks_, 1);
    EXPECT_TRUE(recorder.Requests().empty()); // no URL: nothing opened
    link_->URL = "https://example.com/a b;echo x";
    Advance(600); // not a double click
    ClickAt(link_, 5, 5);
    EXPECT_EQ(clicks_, 2);
    auto requests = recorder.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].argv, (std::vector<std::string>{"xdg-open", "https://example.com/a b;echo x"}));
}

TEST_F(LinkLabelTest, AnOpenerThatCannotStartIsLogged) {
    std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", "/nonexistent-folder", 1);
    std::ostringstream log;
    auto* old = std::clog.rdbuf(log.rdbuf());
    link_->URL = "mailto:someone@example.com";
    ClickAt(link_, 5, 5);
    std::clog.rdbuf(old);
    setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(clicks_, 1);
    EXPECT_NE(log.str().find("mailto:someone@example.com"), std::string::npos) << log.str();
}

TEST_F(LinkLabelTest, HotUnderThePointerAndLowerWithAGlow) {
    EXPECT_FALSE(link_->MouseIn());
    MoveTo(link_, 5, 5);
    EXPECT_TRUE(link_->MouseIn());
    link_->SetAutoSize(true);
    link_->SetCaption("www");
    int plain = link_->Height();
    link_->GlowEffect = true;
    link_->SetCaption("www ");
    EXPECT_EQ(link_->Height(), plain + link_->GlowSize);
}
