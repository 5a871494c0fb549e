#include "skin/core/SkinForms.h"

namespace skin {

namespace {
TbsSkinForms* gForms = nullptr; // GUI thread only, like the forms themselves
}

TbsSkinForms* SkinForms() {
    return gForms;
}

TbsSkinForms* SetSkinForms(TbsSkinForms* forms) {
    TbsSkinForms* old = gForms;
    gForms = forms;
    return old;
}

} // namespace skin
