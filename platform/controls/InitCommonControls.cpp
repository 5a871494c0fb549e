#include "controls/CommCtrl.h"
#include "controls/Edit.h"
#include "controls/ListBox.h"
#include "controls/TabControl.h"
#include "controls/UpDown.h"
#include "win/Styles.h"

void InitCommonControls() {
    static const bool done = [] {
        using controls::ControlWindow;
        ControlWindow::Register<controls::Edit>(WC_EDIT, CS_DBLCLKS);
        ControlWindow::Register<controls::ListBox>(WC_LISTBOX, CS_DBLCLKS);
        ControlWindow::Register<controls::UpDown>(UPDOWN_CLASS, CS_DBLCLKS);
        ControlWindow::Register<controls::TabControl>(WC_TABCONTROL, CS_DBLCLKS);
        return true;
    }();
    (void)done;
}
