#pragma once
// The context menu of a shell item and its verbs: "open" (the desktop's opener; folders are
// navigated by the control), "rename" (in-place, by the control), "delete" (to the Trash) and
// "properties" (the desktop's file manager, or a box of the item's details).
// A control takes part in the commands through IShellVerbHook: it may handle a verb itself
// before it runs, and hears how it ended.
#include "gui/PopupMenu.h"
#include "skin/shell/ShellFolder.h"

#include <string>

namespace skin {

class IShellVerbHook {
public:
    virtual ~IShellVerbHook() = default;
    // Handled true: the verb does not run.
    virtual void ExecuteCommand(const std::string& verb, bool& handled) = 0;
    virtual void CommandCompleted(const std::string& verb, bool succeeded) = 0;
};

// Runs a verb on an item without a menu; false when it failed or has no meaning for it.
// control, when given, is the one whose form's skin a box the verb shows takes.
bool InvokeShellVerb(TbsShellFolder* folder, const std::string& verb, gui::TControl* control = nullptr);

// Shows the item's menu, a skinned popup in the skin of the control's form, at the client
// point (x, y) of control and carries out the chosen verb.  The menu belongs to control (one at a time,
// replaced by the next); null for a null folder.  The control's hook, when it offers one, takes part in every
// command.
gui::TPopupMenu* ShowShellContextMenu(gui::TControl* control, TbsShellFolder* folder, int x, int y);

} // namespace skin
