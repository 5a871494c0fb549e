#pragma once
// The converter's main window and options dialog started headless in a private home, with the
// file list's dialogs and the message boxes answered by the test.
#include "../gui/GuiHarness.h"
#include "../gui/TempDir.h"
#include "../gui/WaitUntil.h"
#include "app/ConversionControl.h"
#include "app/FileList.h"
#include "app/MainForm.h"
#include "app/OptionsForm.h"
#include "fixtures/Fixtures.h"
#include "gui/CustomListView.h"
#include "os/MainThread.h"
#include "resources/ProgramResources.h"

#include <cstdlib>
#include <string>
#include <vector>

class ConverterWindowTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        resources::RegisterProgramResources();
        oldHome_ = std::getenv("HOME") ? std::getenv("HOME") : "";
        setenv("HOME", home.path.c_str(), 1);
        setenv("TARVIK_CONFIG_DIR", config.path.c_str(), 1);
        fixtures::LoadMediaLibraries();
    }
    void TearDown() override {
        GuiTest::TearDown();
        setenv("HOME", oldHome_.c_str(), 1);
        unsetenv("TARVIK_CONFIG_DIR");
    }

    // With `answerDialogs` the file list's dialogs take `chosen` and `folderAnswer`; without,
    // the window's own skinned dialogs show.
    void Start(bool answerDialogs = true) {
        main = MakeForm<app::TForm1>();
        options = MakeForm<app::TForm5>(main);
        main->OptionsForm = options;
        RunUntilIdle();
        list = main->FileList.get();
        if (!answerDialogs) return;
        list->OpenFiles = [this](std::vector<std::string>& files) {
            files = chosen;
            return !chosen.empty();
        };
        list->OpenFile = [this](std::string& file) {
            if (chosen.empty()) return false;
            file = chosen.front();
            return true;
        };
        list->SelectFolder = [this](std::string& folder) {
            if (folderAnswer.empty()) return false;
            folder = folderAnswer;
            return true;
        };
    }

    // Every text of a form's controls, so a message can be found in it.
    static void Texts(gui::TControl* c, std::string& out) {
        out += c->Text() + "\n";
        if (auto* w = dynamic_cast<gui::TWinControl*>(c))
            for (int i = 0; i < w->ControlCount(); ++i) Texts(w->Controls(i), out);
    }
    // The next modal form is a message: its caption and texts are kept, and it is closed.
    void ExpectMessage() {
        Respond([this](gui::TCustomForm& f) {
            std::string text;
            Texts(&f, text);
            messages.push_back(f.Caption() + "|" + text);
            f.SetModalResult(gui::mrOk);
            return true;
        });
    }
    bool LastMessageHas(const std::string& text) const {
        return !messages.empty() && messages.back().find(text) != std::string::npos;
    }

    std::string Sub(int row, int index) { return app::RowSubItem(list->Row(row), index); }
    std::string File(int row) { return os_ExtractFileName(list->Row(row)->Caption()); }
    static std::string os_ExtractFileName(const std::string& p) { return p.substr(p.find_last_of('/') + 1); }

    // Runs posted work until the list's run has ended.
    ::testing::AssertionResult WaitForEnd(int seconds = 90) {
        return WaitUntil(
            [&] {
                os::CheckSynchronize(2);
                return !main->Conversion->Running();
            },
            std::chrono::seconds(seconds), "the final record");
    }

    TempDir home, config;
    app::TForm1* main = nullptr;
    app::TForm5* options = nullptr;
    app::TFileList* list = nullptr;
    std::vector<std::string> chosen;
    std::string folderAnswer;
    std::vector<std::string> messages;

private:
    std::string oldHome_;
};
