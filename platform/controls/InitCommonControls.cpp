#include "controls/CommCtrl.h"
#include "controls/Edit.h"
#include "win/Styles.h"

void InitCommonControls() {
    static const bool done = [] {
        using controls::ControlWindow;
        ControlWindow::Register<controls::Edit>(WC_EDIT, CS_DBLCLKS);
        return true;
    }();
    (void)done;
}
