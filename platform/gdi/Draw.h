#pragma once
// Lines and shapes with the selected pen and brush.  Pens are one pixel wide
// (wider pens draw squares along the path); lines leave out their end point.
// Colour-inverting operations (R2_NOT, R2_XORPEN, DrawFocusRect, InvertRect)
// keep the alpha byte so that a second call restores the pixels exactly;
// everything else writes alpha 0.
#include "gdi/GdiTypes.h"

enum : int { ALTERNATE = 1, WINDING = 2 };

BOOL MoveToEx(HDC dc, int x, int y, POINT* old);
BOOL LineTo(HDC dc, int x, int y);
BOOL GetCurrentPositionEx(HDC dc, POINT* pos);
BOOL Polyline(HDC dc, const POINT* pts, int count);
// brush may also be a system colour index plus one, as Win32 allows.
int FillRect(HDC dc, const RECT* r, HBRUSH brush);
int FrameRect(HDC dc, const RECT* r, HBRUSH brush);
BOOL InvertRect(HDC dc, const RECT* r);
BOOL DrawFocusRect(HDC dc, const RECT* r);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
BOOL Polygon(HDC dc, const POINT* pts, int count);
int SetPolyFillMode(HDC dc, int mode);
BOOL FillRgn(HDC dc, HRGN rgn, HBRUSH brush); // rgn in logical units
BOOL FrameRgn(HDC dc, HRGN rgn, HBRUSH brush, int w, int h);
