#include "skin/forms/ScreenSkinForms.h"

#include "gui/Forms.h"
#include "gui/Screen.h"
#include "win/Message.h"

#include <map>
#include <memory>

namespace skin {

namespace {

class FormMessages : public TbsSkinMessageForm {
public:
    explicit FormMessages(gui::TCustomForm* form) : form_(form) {}
    std::string FormClassName() const override { return form_->ClassName(); }
    void SendSkinMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) override {
        SendMessage(form_->Handle(), msg, wParam, lParam);
    }

private:
    gui::TCustomForm* form_;
};

// One adapter per form, so that the broadcast can tell forms apart by their adapters.  An
// adapter holds nothing but its form's address, so a later form at the same address may
// use it as well.
TbsSkinMessageForm* AdapterFor(gui::TCustomForm* form) {
    static std::map<gui::TCustomForm*, std::unique_ptr<FormMessages>> adapters;
    auto& a = adapters[form];
    if (!a) a = std::make_unique<FormMessages>(form);
    return a.get();
}

} // namespace

int TbsScreenSkinForms::FormCount() const {
    return gui::Screen ? gui::Screen->FormCount() : 0;
}

TbsSkinMessageForm* TbsScreenSkinForms::Forms(int index) const {
    return AdapterFor(gui::Screen->Forms(index));
}

TbsSkinMessageForm* TbsScreenSkinForms::FormOf(os::TComponent* component) const {
    auto* form = dynamic_cast<gui::TCustomForm*>(component);
    return form ? AdapterFor(form) : nullptr;
}

void TbsScreenSkinForms::InstallOnce() {
    static TbsScreenSkinForms forms;
    SetSkinForms(&forms);
}

} // namespace skin
