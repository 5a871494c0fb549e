#pragma once
// What the skin data needs of the application's forms to announce a skin change.  The form
// layer implements it and installs it once; until then (and in tests without forms) the
// broadcast reaches nobody.
#include <cstdint>
#include <string>

namespace os {
class TComponent;
}

namespace skin {

// The class name of the windows that draw a form's layered border: forms that never take part
// in a skin change.
inline constexpr const char* kFormLayerWindowClassName = "TbsFormLayerWindow";

class TbsSkinMessageForm {
public:
    virtual ~TbsSkinMessageForm() = default;
    virtual std::string FormClassName() const = 0;
    // Synchronous, as a message sent to the form's window; a form without a window gets one.
    virtual void SendSkinMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) = 0;
};

class TbsSkinForms {
public:
    virtual ~TbsSkinForms() = default;
    // The application's forms in the platform's order.
    virtual int FormCount() const = 0;
    virtual TbsSkinMessageForm* Forms(int index) const = 0;
    // The form that a component is, or nullptr when it is none (a skin data's owner).
    virtual TbsSkinMessageForm* FormOf(os::TComponent* component) const = 0;
};

TbsSkinForms* SkinForms();
// Returns the previous one.
TbsSkinForms* SetSkinForms(TbsSkinForms* forms);

} // namespace skin
