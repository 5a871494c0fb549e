#include "controls/CommCtrl.h"
#include "controls/Edit.h"
#include "controls/Header.h"
#include "controls/ListView.h"
#include "controls/TreeView.h"
#include "win/Styles.h"

void InitCommonControls() {
    static const bool done = [] {
        using controls::ControlWindow;
        ControlWindow::Register<controls::Edit>(WC_EDIT, CS_DBLCLKS);
        ControlWindow::Register<controls::Header>(WC_HEADER, CS_DBLCLKS);
        ControlWindow::Register<controls::ListView>(WC_LISTVIEW, CS_DBLCLKS);
        ControlWindow::Register<controls::TreeView>(WC_TREEVIEW, CS_DBLCLKS);
        return true;
    }();
    (void)done;
}
