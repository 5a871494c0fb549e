// Our own pictures for the namespace, drawn as shapes.
#include "shell/ShellIcons.h"

#include "gdi/Icon.h"
#include "gdi/IconImage.h"
#include "gdi/ImageList.h"
#include "gdi/ShapeRaster.h"
#include "shell/ItemIdList.h"
#include "shell/ShellLocation.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <mutex>
#include <vector>

namespace shell {
namespace {

using namespace gdi::shapes;

// A drive body shared by the drive kinds: a case, a face and a light.
gdi::IconImage Drive(int size, uint32_t body, uint32_t light, std::initializer_list<Layer> extra = {}) {
    std::vector<Layer> layers = {
        {[](Vec p) { return Box(p, 2.5, 10, 29.5, 24, 2.5); },     0x4A4F57},
        {[](Vec p) { return Box(p, 3.8, 11.3, 28.2, 22.7, 1.6); }, body    },
        {[](Vec p) { return Box(p, 5, 19, 20, 21, 0.6); },         0x8E959F},
        {[](Vec p) {
             return Circle(p, {25, 20}, 1.6);
         },                                               light   },
    };
    layers.insert(layers.end(), extra.begin(), extra.end());
    return Render(size, layers);
}

// One picture per row of layers, back to front; kept by hand because the
// formatter cannot align these nested tables.
// clang-format off
gdi::IconImage Picture(int index, int size) {
    switch (index) {
    case ICON_FILE: // a page with a folded corner and lines of text
        return Render(size, {
                                {[](Vec p) { return Polygon(p, {{6, 2.5}, {20.5, 2.5}, {26.5, 8.5}, {26.5, 29.5}, {6, 29.5}}); }, 0x6B7480},
                                {[](Vec p) { return Polygon(p, {{7.3, 3.8}, {20, 3.8}, {25.2, 9}, {25.2, 28.2}, {7.3, 28.2}}); }, 0xFFFFFF},
                                {[](Vec p) { return Polygon(p, {{19.5, 3.5}, {26, 10}, {19.5, 10}}); }, 0xC9D0D9},
                                {[](Vec p) { return std::min({Box(p, 10, 13, 22, 14.4, 0.5), Box(p, 10, 17, 22, 18.4, 0.5),
                                                              Box(p, 10, 21, 18, 22.4, 0.5)}); }, 0x9AA6B5},
        });
    case ICON_FOLDER: // a closed folder: tab and body
        return Render(size, {
                                {[](Vec p) { return Box(p, 2.5, 5.5, 14, 11, 1.5); }, 0xB98A12},
                                {[](Vec p) { return Box(p, 2.5, 8, 29.5, 27.5, 2); }, 0xB98A12},
                                {[](Vec p) { return Box(p, 3.7, 9.2, 28.3, 26.3, 1.3); }, 0xF2C33B},
                                {[](Vec p) { return Box(p, 3.7, 9.2, 28.3, 11.5, 0.8); }, 0xF8DB83},
        });
    case ICON_FOLDER_OPEN: // the back of the folder and its front tipped forward
        return Render(size, {
                                {[](Vec p) { return Box(p, 2.5, 5.5, 14, 11, 1.5); }, 0xB98A12},
                                {[](Vec p) { return Box(p, 2.5, 8, 27, 27.5, 2); }, 0xB98A12},
                                {[](Vec p) { return Box(p, 3.7, 9.2, 25.8, 26.3, 1.3); }, 0xD9A520},
                                {[](Vec p) { return Box(p, 6, 11, 24, 22, 0.5); }, 0xFFFFFF},
                                {[](Vec p) { return Polygon(p, {{8, 14}, {31, 14}, {27, 27.5}, {2.5, 27.5}}); }, 0xB98A12},
                                {[](Vec p) { return Polygon(p, {{8.9, 15.2}, {29.4, 15.2}, {26, 26.3}, {4.1, 26.3}}); }, 0xF6D061},
        });
    case ICON_DRIVE_FIXED: return Drive(size, 0xC6CBD2, 0x3CC251);
    case ICON_DRIVE_REMOVABLE: // a short stick with a plug
        return Render(size, {
                                {[](Vec p) { return Box(p, 11, 2.5, 21, 10, 1); }, 0x6B7480},
                                {[](Vec p) { return Box(p, 12.3, 3.8, 19.7, 9, 0.5); }, 0xDDE2E8},
                                {[](Vec p) { return Box(p, 7.5, 9, 24.5, 29.5, 3); }, 0x1F5FA8},
                                {[](Vec p) { return Box(p, 8.8, 10.3, 23.2, 28.2, 2.2); }, 0x3C86DA},
                                {[](Vec p) { return Circle(p, {16, 23}, 1.8); }, 0xFFB23F},
        });
    case ICON_DRIVE_CDROM: // a disc
        return Render(size, {
                                {[](Vec p) { return Circle(p, {16, 16}, 13.5); }, 0x7C8591},
                                {[](Vec p) { return Circle(p, {16, 16}, 12.3); }, 0xE4E9EF},
                                {[](Vec p) { return Ring(p, {16, 16}, 9, 1.6); }, 0xB8D4F0},
                                {[](Vec p) { return Circle(p, {16, 16}, 4.2); }, 0x7C8591},
                                {[](Vec p) { return Circle(p, {16, 16}, 2.4); }, 0xFFFFFF},
        });
    case ICON_DRIVE_REMOTE: // a drive on a network line
        return Drive(size, 0xC6CBD2, 0x3C8CE0,
                     {
                         {[](Vec p) { return Box(p, 15, 24, 17, 28, 0); }, 0x4A4F57},
                         {[](Vec p) { return Box(p, 5, 27.5, 27, 29.5, 0.8); }, 0x4A4F57},
        });
    case ICON_DRIVE_RAM: // a memory module with chips
        return Render(size, {
                                {[](Vec p) { return Box(p, 2.5, 9, 29.5, 23, 1); }, 0x1E6B35},
                                {[](Vec p) { return Box(p, 3.7, 10.2, 28.3, 21.8, 0.6); }, 0x2FA155},
                                {[](Vec p) { return std::min({Box(p, 5.5, 12, 10.5, 18, 0.4), Box(p, 13.5, 12, 18.5, 18, 0.4),
                                                              Box(p, 21.5, 12, 26.5, 18, 0.4)}); }, 0x23262B},
                                {[](Vec p) { return Box(p, 4, 19.5, 28, 21.5, 0); }, 0xE0B43C},
        });
    case ICON_COMPUTER: // a monitor on a stand
        return Render(size, {
                                {[](Vec p) { return Box(p, 2.5, 4, 29.5, 23, 2); }, 0x3A3F47},
                                {[](Vec p) { return Box(p, 4.5, 6, 27.5, 21, 0.8); }, 0x4C9BE8},
                                {[](Vec p) { return Polygon(p, {{4.5, 6}, {27.5, 6}, {27.5, 10}, {4.5, 17}}); }, 0x7DB8F0},
                                {[](Vec p) { return Box(p, 14, 23, 18, 27, 0); }, 0x3A3F47},
                                {[](Vec p) { return Box(p, 9, 26.5, 23, 29, 1); }, 0x3A3F47},
        });
    case ICON_HOME: // a house
        return Render(size, {
                                {[](Vec p) { return Polygon(p, {{16, 3}, {30, 16}, {2, 16}}); }, 0xB5462E},
                                {[](Vec p) { return Box(p, 6, 14, 26, 29, 0.8); }, 0x8A5A2B},
                                {[](Vec p) { return Box(p, 7.3, 15, 24.7, 27.8, 0.5); }, 0xF3E6CF},
                                {[](Vec p) { return Box(p, 13.5, 19, 18.5, 27.8, 0.5); }, 0x8A5A2B},
        });
    case ICON_DESKTOP: // a screen with a task bar
        return Render(size, {
                                {[](Vec p) { return Box(p, 2.5, 5, 29.5, 27, 2); }, 0x2D3540},
                                {[](Vec p) { return Box(p, 4, 6.5, 28, 25.5, 0.8); }, 0x2E7D6B},
                                {[](Vec p) { return Box(p, 4, 22, 28, 25.5, 0.6); }, 0x1C2530},
                                {[](Vec p) { return std::min(Box(p, 6.5, 9, 10.5, 13, 0.6), Box(p, 6.5, 15, 10.5, 19, 0.6)); }, 0xF2C33B},
        });
    default: return {};
    }
}

// clang-format on

std::once_flag g_once;
// Like Win32's system image lists they live as long as the program: no
// destructor at exit may reach the drawing layer after it is gone.
HIMAGELIST g_lists[2] = {nullptr, nullptr};

} // namespace

HIMAGELIST SystemImageList(bool large) {
    std::call_once(g_once, [] {
        for (int i = 0; i < 2; ++i) {
            int size = i ? 32 : 16;
            g_lists[i] = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, ICON_COUNT, 0);
            for (int k = 0; k < ICON_COUNT; ++k) {
                HICON icon = gdi::IconFromImage(Picture(k, size));
                ImageList_AddIcon(g_lists[i], icon);
                DestroyIcon(icon);
            }
        }
    });
    return g_lists[large ? 1 : 0];
}

} // namespace shell

uintptr_t SHGetFileInfo(const void* path, DWORD, SHFILEINFO* info, UINT size, UINT flags) {
    if (!path) return 0;
    shell::ShellLocation where;
    if (flags & SHGFI_PIDL) {
        if (!shell::ShellLocation::Resolve(static_cast<LPCITEMIDLIST>(path), where)) return 0;
    } else {
        LPITEMIDLIST id = shell::ShellLocation::IdListOfPath(static_cast<const char*>(path));
        bool ok = id && shell::ShellLocation::Resolve(id, where);
        ILFree(id);
        if (!ok) return 0;
    }
    if (!where.Exists()) return 0;
    const bool large = !(flags & SHGFI_SMALLICON);
    const int index = where.IconIndex(flags & SHGFI_OPENICON);
    if (info && size >= sizeof(SHFILEINFO)) {
        std::memset(info, 0, sizeof *info);
        info->iIcon = index;
        if (flags & SHGFI_ICON) info->hIcon = ImageList_GetIcon(shell::SystemImageList(large), index, 0);
        if (flags & SHGFI_DISPLAYNAME) {
            std::string n = where.DisplayName(SHGDN_INFOLDER);
            std::strncpy(info->szDisplayName, n.c_str(), sizeof info->szDisplayName - 1);
        }
        if (flags & SHGFI_TYPENAME) {
            std::string t;
            where.Detail(2, t);
            std::strncpy(info->szTypeName, t.c_str(), sizeof info->szTypeName - 1);
        }
        if (flags & SHGFI_ATTRIBUTES) {
            ULONG a = 0;
            where.Attributes(0, a);
            info->dwAttributes = a;
        }
    }
    if (flags & SHGFI_SYSICONINDEX) return reinterpret_cast<uintptr_t>(shell::SystemImageList(large));
    return 1;
}
