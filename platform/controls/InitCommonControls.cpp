#include "controls/CommCtrl.h"
#include "controls/Edit.h"
#include "controls/Header.h"
#include "controls/ListBox.h"
#include "controls/ListView.h"
#include "controls/TabControl.h"
#include "controls/TreeView.h"
#include "controls/UpDown.h"
#include "gdi/Icon.h"
#include "win/Styles.h"

void InitCommonControls() {
    static const bool done = [] {
        using controls::ControlWindow;
        ControlWindow::Register<controls::Edit>(WC_EDIT, CS_DBLCLKS, IDC_IBEAM);
        ControlWindow::Register<controls::ListBox>(WC_LISTBOX, CS_DBLCLKS, IDC_ARROW);
        ControlWindow::Register<controls::UpDown>(UPDOWN_CLASS, CS_DBLCLKS, IDC_ARROW);
        ControlWindow::Register<controls::TabControl>(WC_TABCONTROL, CS_DBLCLKS, IDC_ARROW);
        ControlWindow::Register<controls::Header>(WC_HEADER, CS_DBLCLKS, IDC_ARROW);
        ControlWindow::Register<controls::ListView>(WC_LISTVIEW, CS_DBLCLKS, IDC_ARROW);
        ControlWindow::Register<controls::TreeView>(WC_TREEVIEW, CS_DBLCLKS, IDC_ARROW);
        return true;
    }();
    (void)done;
}
