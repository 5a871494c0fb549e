#include "gdi/Objects.h"

#include "gdi/Bitmap.h"
#include "gdi/SysColors.h"

#include <cstring>
#include <mutex>
#include <unordered_map>

namespace gdi {
namespace {

struct Table {
    std::mutex m;
    std::unordered_map<uintptr_t, std::unique_ptr<Object>> objects;
    uintptr_t next = 0x1000;
};

Table& T() {
    static Table t;
    return t;
}

// Handles are multiples of 16 well above 31, so that they never look like heap
// memory nor like the system colour numbers FillRect also takes as brushes.
uintptr_t Key(HGDIOBJ h) {
    return reinterpret_cast<uintptr_t>(h);
}

} // namespace

HGDIOBJ AddObject(std::unique_ptr<Object> obj) {
    std::lock_guard g(T().m);
    uintptr_t key = (T().next++) << 4;
    T().objects.emplace(key, std::move(obj));
    return reinterpret_cast<HGDIOBJ>(key);
}

Object* FindObject(HGDIOBJ h, DWORD type) {
    std::lock_guard g(T().m);
    auto it = T().objects.find(Key(h));
    if (it == T().objects.end()) return nullptr;
    if (type && it->second->type != type) return nullptr;
    return it->second.get();
}

void NoteSelected(HGDIOBJ h, int delta) {
    if (Object* o = FindObject(h, 0)) o->selections += delta;
}

COLORREF ResolveColor(COLORREF c) {
    if ((c & 0xFFFFFF00) == 0xFF000000) return GetSysColor(static_cast<int>(c & 0xFF));
    return c & 0x00FFFFFF;
}

} // namespace gdi

using namespace gdi;

BOOL DeleteObject(HGDIOBJ obj) {
    std::lock_guard g(T().m);
    auto it = T().objects.find(Key(obj));
    if (it == T().objects.end()) return FALSE;
    if (it->second->stock) return TRUE; // deleting a stock object is harmless
    if (it->second->selections > 0) return FALSE;
    T().objects.erase(it);
    return TRUE;
}

DWORD GetObjectType(HGDIOBJ obj) {
    Object* o = FindObject(obj, 0);
    return o ? o->type : 0;
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
    if (!lb) return nullptr;
    auto b = std::make_unique<Brush>();
    b->style = lb->lbStyle == BS_NULL ? BS_NULL : BS_SOLID;
    b->color = lb->lbColor;
    return static_cast<HBRUSH>(AddObject(std::move(b)));
}

HBRUSH CreateSolidBrush(COLORREF color) {
    LOGBRUSH lb{BS_SOLID, color, 0};
    return CreateBrushIndirect(&lb);
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
    Bitmap* src = FindBitmap(bitmap);
    if (!src || src->width <= 0 || src->height <= 0) return nullptr;
    auto b = std::make_unique<Brush>();
    b->style = BS_PATTERN;
    b->pattern = CopyBitmap32(*src);
    return static_cast<HBRUSH>(AddObject(std::move(b)));
}

HPEN CreatePen(int style, int width, COLORREF color) {
    auto p = std::make_unique<Pen>();
    p->style = style == PS_NULL ? PS_NULL : (style == PS_DOT || style == PS_DASH ? style : PS_SOLID);
    p->width = width < 1 ? 1 : width;
    p->color = color;
    return static_cast<HPEN>(AddObject(std::move(p)));
}

HFONT CreateFontIndirect(const LOGFONT* lf) {
    if (!lf) return nullptr;
    auto f = std::make_unique<Font>();
    f->logFont = *lf;
    f->logFont.lfFaceName[sizeof(f->logFont.lfFaceName) - 1] = 0;
    return static_cast<HFONT>(AddObject(std::move(f)));
}

HGDIOBJ GetStockObject(int which) {
    static HGDIOBJ stock[20] = {};
    static std::once_flag once;
    std::call_once(once, [] {
        auto brush = [](COLORREF c, UINT style) {
            auto b = std::make_unique<Brush>();
            b->color = c, b->style = style, b->stock = true;
            return AddObject(std::move(b));
        };
        auto pen = [](COLORREF c, int style) {
            auto p = std::make_unique<Pen>();
            p->color = c, p->style = style, p->stock = true;
            return AddObject(std::move(p));
        };
        stock[WHITE_BRUSH] = brush(RGB(255, 255, 255), BS_SOLID);
        stock[LTGRAY_BRUSH] = brush(RGB(192, 192, 192), BS_SOLID);
        stock[GRAY_BRUSH] = brush(RGB(128, 128, 128), BS_SOLID);
        stock[DKGRAY_BRUSH] = brush(RGB(64, 64, 64), BS_SOLID);
        stock[BLACK_BRUSH] = brush(0, BS_SOLID);
        stock[NULL_BRUSH] = brush(0, BS_NULL);
        stock[DC_BRUSH] = brush(RGB(255, 255, 255), BS_SOLID);
        stock[WHITE_PEN] = pen(RGB(255, 255, 255), PS_SOLID);
        stock[BLACK_PEN] = pen(0, PS_SOLID);
        stock[NULL_PEN] = pen(0, PS_NULL);
        stock[DC_PEN] = pen(0, PS_SOLID);
        for (int i : {SYSTEM_FONT, DEFAULT_GUI_FONT}) {
            auto f = std::make_unique<Font>();
            f->stock = true;
            f->logFont.lfHeight = -11;
            f->logFont.lfWeight = FW_NORMAL;
            std::strcpy(f->logFont.lfFaceName, "Tahoma");
            stock[i] = AddObject(std::move(f));
        }
    });
    return which >= 0 && which < 20 ? stock[which] : nullptr;
}

int GetObject(HGDIOBJ obj, int size, void* out) {
    Object* o = FindObject(obj, 0);
    if (!o) return 0;
    switch (o->type) {
    case OBJ_BITMAP:
        return GetBitmapObject(*FindBitmap(static_cast<HBITMAP>(obj)), size, out);
    case OBJ_BRUSH: {
        auto* b = static_cast<Brush*>(o);
        LOGBRUSH lb{b->style, b->color, 0};
        if (!out) return sizeof lb;
        if (size < static_cast<int>(sizeof lb)) return 0;
        std::memcpy(out, &lb, sizeof lb);
        return sizeof lb;
    }
    case OBJ_PEN: {
        auto* p = static_cast<Pen*>(o);
        LOGPEN lp{
            static_cast<UINT>(p->style), {p->width, 0},
             p->color
        };
        if (!out) return sizeof lp;
        if (size < static_cast<int>(sizeof lp)) return 0;
        std::memcpy(out, &lp, sizeof lp);
        return sizeof lp;
    }
    case OBJ_FONT: {
        auto* f = static_cast<Font*>(o);
        if (!out) return sizeof f->logFont;
        if (size < static_cast<int>(sizeof f->logFont)) return 0;
        std::memcpy(out, &f->logFont, sizeof f->logFont);
        return sizeof f->logFont;
    }
    default:
        return 0;
    }
}
