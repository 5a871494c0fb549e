#include "skin/shell/ShellContextMenu.h"

#include "gui/Control.h"
#include "gui/MenuItem.h"
#include "os/DesktopServices.h"
#include "shell/Trash.h"
#include "skin/menus/SkinPopupMenu.h"
#include "skin/shell/ShellItemProperties.h"

namespace skin {

namespace {

struct Verb {
    const char* verb;
    const char* caption;
    TbsShellFolderCapabilities needs; // 0: always offered
    bool needsPath;                   // only for items of the file system
};
constexpr Verb kVerbs[] = {
    {"open",       "打开(&O)",    0,           false},
    {"rename",     "重命名(&M)", fcCanRename, false},
    {"delete",     "删除(&D)",    fcCanDelete, false},
    {"properties", "属性(&R)",    0,           true },
};

const char* const kMenuName = "ShellContextMenu";

bool InvokeOnPath(gui::TControl* control, const std::string& path, const std::string& verb) {
    if (path.empty()) return false; // virtual folders have nothing to open or trash
    if (verb == "open") {
        // The opener starts in the item's folder; ours stays where it is.
        std::string dir = path.substr(0, path.rfind('/'));
        return os::OpenWithDesktop(path, dir.empty() ? "/" : dir);
    }
    if (verb == "delete") return shell::Trash::MoveToTrash(path) == S_OK;
    if (verb == "properties") return ShowItemProperties(control, path);
    return false;
}

// The item is named by its path, taken when the menu opened: the folder object may be gone
// (a refreshed tree) by the time a command is chosen.
void RunVerb(gui::TControl* control, const std::string& path, const std::string& verb) {
    auto* hook = dynamic_cast<IShellVerbHook*>(control);
    bool handled = false, succeeded = true;
    if (hook) hook->ExecuteCommand(verb, handled);
    if (!handled) succeeded = InvokeOnPath(control, path, verb);
    if (hook) hook->CommandCompleted(verb, succeeded);
}

} // namespace

bool InvokeShellVerb(TbsShellFolder* folder, const std::string& verb, gui::TControl* control) {
    return folder && InvokeOnPath(control, folder->FullObjectName(), verb);
}

gui::TPopupMenu* ShowShellContextMenu(gui::TControl* control, TbsShellFolder* folder, int x, int y) {
    if (!folder || !control) return nullptr;
    if (auto* old = control->FindComponent(kMenuName)) delete old;
    auto* menu = new TbsSkinPopupMenu(control);
    menu->SetName(kMenuName);
    menu->AutoPopup = false;
    const TbsShellFolderCapabilities caps = folder->Capabilities();
    const std::string path = folder->FullObjectName();
    for (const Verb& v : kVerbs) {
        if ((v.needs && !(caps & v.needs)) || (v.needsPath && path.empty())) continue;
        auto* item = new gui::TMenuItem(menu);
        item->SetCaption(v.caption);
        item->Hint = v.verb;
        std::string verb = v.verb;
        item->OnClick = [control, path, verb](gui::TObject*) { RunVerb(control, path, verb); };
        menu->Items()->Add(item);
    }
    menu->SetPopupComponent(control);
    gui::TPoint p = control->ClientToScreen({x, y});
    menu->Popup2(control, p.x, p.y);
    return menu;
}

} // namespace skin
