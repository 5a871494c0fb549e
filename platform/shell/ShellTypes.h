#pragma once
// The Win32-shaped vocabulary of the shell namespace: result codes, item-ID
// lists, attribute, enumeration and name flags, special-folder numbers.
// Text is UTF-8, as everywhere in the platform layer.
#include "win/WinTypes.h"

#include <cstdint>

using HRESULT = int32_t;
using ULONG = uint32_t;
using USHORT = uint16_t;

constexpr HRESULT S_OK = 0, S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001),
                  E_NOINTERFACE = static_cast<HRESULT>(0x80004002), E_FAIL = static_cast<HRESULT>(0x80004005),
                  E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E),
                  E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr) {
    return hr < 0;
}
// Win32 errors carried in a result: the file and access errors callers tell apart.
constexpr DWORD ERROR_FILE_NOT_FOUND = 2, ERROR_PATH_NOT_FOUND = 3, ERROR_ACCESS_DENIED = 5,
                ERROR_ALREADY_EXISTS = 183, ERROR_INVALID_NAME = 123, ERROR_NOT_SAME_DEVICE = 17;
constexpr HRESULT HRESULT_FROM_WIN32(DWORD e) {
    return e == 0 ? S_OK : static_cast<HRESULT>((e & 0xFFFF) | 0x80070000u);
}
// CompareIDs answers its order in the code of a success result, as a short.
constexpr HRESULT MAKE_COMPARE_RESULT(int order) {
    return static_cast<HRESULT>(static_cast<uint16_t>(order < 0 ? -1 : order > 0 ? 1 : 0));
}
constexpr short HRESULT_CODE_SHORT(HRESULT hr) {
    return static_cast<short>(hr & 0xFFFF);
}

#pragma pack(push, 1)
struct SHITEMID {
    USHORT cb; // with these two bytes
    BYTE abID[1];
};
struct ITEMIDLIST {
    SHITEMID mkid;
};
#pragma pack(pop)
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;

// Attributes (SFGAO_*).
constexpr ULONG SFGAO_CANCOPY = 0x1, SFGAO_CANMOVE = 0x2, SFGAO_CANLINK = 0x4, SFGAO_CANRENAME = 0x10,
                SFGAO_CANDELETE = 0x20, SFGAO_HASPROPSHEET = 0x40, SFGAO_DROPTARGET = 0x100,
                SFGAO_GHOSTED = 0x8000, SFGAO_LINK = 0x10000, SFGAO_SHARE = 0x20000, SFGAO_READONLY = 0x40000,
                SFGAO_HIDDEN = 0x80000, SFGAO_STREAM = 0x00400000, SFGAO_VALIDATE = 0x01000000,
                SFGAO_REMOVABLE = 0x02000000, SFGAO_FILESYSANCESTOR = 0x10000000, SFGAO_FOLDER = 0x20000000,
                SFGAO_FILESYSTEM = 0x40000000, SFGAO_HASSUBFOLDER = 0x80000000;

// Enumeration (SHCONTF_*).
constexpr DWORD SHCONTF_FOLDERS = 0x20, SHCONTF_NONFOLDERS = 0x40, SHCONTF_INCLUDEHIDDEN = 0x80;

// Display names (SHGDN_*).
constexpr DWORD SHGDN_NORMAL = 0x0, SHGDN_INFOLDER = 0x1, SHGDN_FOREDITING = 0x1000,
                SHGDN_FORADDRESSBAR = 0x4000, SHGDN_FORPARSING = 0x8000;

// A name handed back by GetDisplayNameOf.  We always answer STRRET_WSTR
// with a UTF-8 text from the task allocator, which the caller frees with
// SHFree; the other two forms are read by callers that get them elsewhere.
constexpr UINT STRRET_WSTR = 0, STRRET_OFFSET = 1, STRRET_CSTR = 2;
struct STRRET {
    UINT uType;
    union {
        char* pOleStr;
        UINT uOffset;
        char cStr[260];
    };
};

// Details of one column (GetDetailsOf); a null item asks for the heading.
struct SHELLDETAILS {
    int fmt; // 0 left, 1 right, as the list view's column formats
    int cxChar;
    STRRET str;
};

// Special folders (CSIDL_*).
constexpr int CSIDL_DESKTOP = 0x00, CSIDL_INTERNET = 0x01, CSIDL_PROGRAMS = 0x02, CSIDL_CONTROLS = 0x03,
              CSIDL_PRINTERS = 0x04, CSIDL_PERSONAL = 0x05, CSIDL_FAVORITES = 0x06, CSIDL_STARTUP = 0x07,
              CSIDL_RECENT = 0x08, CSIDL_SENDTO = 0x09, CSIDL_BITBUCKET = 0x0A, CSIDL_STARTMENU = 0x0B,
              CSIDL_DESKTOPDIRECTORY = 0x10, CSIDL_DRIVES = 0x11, CSIDL_NETWORK = 0x12, CSIDL_FONTS = 0x14,
              CSIDL_TEMPLATES = 0x15, CSIDL_COMMON_STARTMENU = 0x16, CSIDL_COMMON_PROGRAMS = 0x17,
              CSIDL_COMMON_STARTUP = 0x18, CSIDL_COMMON_DESKTOPDIRECTORY = 0x19, CSIDL_APPDATA = 0x1A,
              CSIDL_PRINTHOOD = 0x1B;

// Drive kinds (GetDriveType).
constexpr UINT DRIVE_UNKNOWN = 0, DRIVE_NO_ROOT_DIR = 1, DRIVE_REMOVABLE = 2, DRIVE_FIXED = 3,
               DRIVE_REMOTE = 4, DRIVE_CDROM = 5, DRIVE_RAMDISK = 6;

// Volume flags (GetVolumeInformation).
constexpr DWORD FILE_CASE_SENSITIVE_SEARCH = 0x1, FILE_CASE_PRESERVED_NAMES = 0x2,
                FILE_READ_ONLY_VOLUME = 0x80000;
