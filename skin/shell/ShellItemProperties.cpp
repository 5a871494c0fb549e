#include "skin/shell/ShellItemProperties.h"

#include "gui/Forms.h"
#include "os/DesktopServices.h"
#include "shell/ShellIcons.h"
#include "skin/forms/SkinForm.h"
#include "skin/forms/SkinMessage.h"

#include <ctime>
#include <sys/stat.h>

namespace skin {

namespace {

std::string Grouped(unsigned long long v) {
    std::string digits = std::to_string(v), out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

} // namespace

std::string ItemPropertiesText(const std::string& path) {
    const size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string location = slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash);
    std::string type;
    SHFILEINFO info{};
    if (SHGetFileInfo(path.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME | SHGFI_TYPENAME)) {
        if (info.szDisplayName[0]) name = info.szDisplayName;
        type = info.szTypeName;
    }
    std::string text = "名称: " + name + "\n类型: " + type;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 || ::lstat(path.c_str(), &st) == 0) {
        if (!S_ISDIR(st.st_mode))
            text += "\n大小: " + Grouped(static_cast<unsigned long long>(st.st_size)) + " 字节";
        std::tm tm{};
        char buf[32];
        const time_t t = st.st_mtime;
        if (::localtime_r(&t, &tm) && std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm))
            text += "\n修改时间: " + std::string(buf);
    }
    return text + "\n位置: " + location;
}

bool ShowItemProperties(gui::TControl* owner, const std::string& path) {
    if (path.empty()) return false;
    if (os::ShowItemPropertiesWithFileManager(path)) return true;
    TbsSkinForm* skinForm = owner ? FindSkinFormComponent(gui::GetParentForm(owner)) : nullptr;
    TbsSkinMessage box(nullptr);
    if (skinForm) {
        box.SetSkinData(skinForm->SkinData());
        box.SetCtrlSkinData(skinForm->MenusSkinData() ? skinForm->MenusSkinData() : skinForm->SkinData());
    }
    box.MessageDlg2(ItemPropertiesText(path), "属性", mtInformation, MsgButtons({mbOK}), 0);
    return true;
}

} // namespace skin
