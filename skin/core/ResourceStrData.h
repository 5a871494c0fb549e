#pragma once
// The skin library's table of user-visible texts (system menu, caption-button hints, edit
// context menu, dialogs).  Replacing its lines translates the library without touching code.
#include "os/Component.h"

#include <memory>
#include <string>

namespace gui {
class TStrings;
class TStringList;
} // namespace gui

namespace skin {

class TbsResourceStrData : public os::TComponent {
public:
    explicit TbsResourceStrData(os::TComponent* AOwner = nullptr);
    ~TbsResourceStrData() override;
    std::string ClassName() const override { return "TbsResourceStrData"; }

    // Lines "key=text"; a new table holds the library's English defaults.
    gui::TStrings& ResStrings() const;
    void SetResStrings(const gui::TStrings& lines); // copies the lines
    // DEFAULT_CHARSET unless changed: what skinned controls give their fonts.
    int CharSet = 1;

    // The text after the first "=" of the first line whose key is ResName (letter case
    // ignored); empty when no line has that key.
    std::string GetResStr(const std::string& ResName) const;

private:
    std::unique_ptr<gui::TStringList> resStrings_;
};

} // namespace skin
