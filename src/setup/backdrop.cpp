#include "setup/backdrop.h"

#include <windows.h>

#include <cstring>

#include "core/backdrop_layout.h"
#include "core/gradient.h"
#include "core/profile.h"
#include "runtime/install_state.h"
#include "setup/backdrop.h"

namespace tidemark {

namespace {

void FillWithColour(HDC dc, const RECT& area, Colour colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

// One brush per row, made and deleted row by row: no off-screen copy is kept.
void PaintGradient(HDC dc, int32_t width, int32_t height) {
    Colour top = ProductProfile.GradientTopColour;
    Colour bottom = ProductProfile.GradientBottomColour;
    if (GradientSteps(top, bottom) == 0) {
        FillWithColour(dc, RECT{0, 0, width, height}, top);
        return;
    }
    GradientRows rows(top, bottom, height);
    for (int32_t y = 0; y < height; ++y) {
        FillWithColour(dc, RECT{0, y, width, y + 1}, rows.Current());
        rows.Next();
    }
}

HFONT CreateBackdropFont(int height, BOOL italic, const char* face) {
    return CreateFontA(height, 0, 0, 0, 900, italic, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0, face);
}

void DrawText(HDC dc, PixelPoint at, const char* text) {
    TextOutA(dc, at.x, at.y, text, static_cast<int>(std::strlen(text)));
}

void DrawTitle(HDC dc) {
    HFONT font = CreateBackdropFont(44, TRUE, "Times New Roman");
    HGDIOBJ previous = SelectObject(dc, font);
    SetTextColor(dc, ShadowColour(ProductProfile.TitleColour));
    DrawText(dc, kTitleShadowOrigin, ProductProfile.BackdropTitle);
    SetTextColor(dc, ProductProfile.TitleColour);
    DrawText(dc, kTitleOrigin, ProductProfile.BackdropTitle);
    SelectObject(dc, previous);
    DeleteObject(font);
}

void DrawLogo(HDC dc, int32_t width, int32_t height) {
    HDC memory = CreateCompatibleDC(dc);
    SelectObject(memory, InstallState.LogoBitmap);
    PixelPoint at = LogoOrigin(width, height);
    BitBlt(dc, at.x, at.y, kLogoWidth, kLogoHeight, memory, 0, 0, SRCCOPY);
    DeleteDC(memory);
}

// Drawn in the title colour, which is still selected.
void DrawNotice(HDC dc, int32_t width, int32_t height) {
    HFONT font = CreateBackdropFont(12, FALSE, "Small");
    HGDIOBJ previous = SelectObject(dc, font);
    DrawText(dc, NoticeOrigin(width, height), ProductProfile.MakerNotice);
    SelectObject(dc, previous);
    DeleteObject(font);
}

}  // namespace

void PaintBackdrop() {
    HWND window = InstallState.BackdropWindow;
    int32_t width = InstallState.ScreenWidth;
    int32_t height = InstallState.ScreenHeight;
    // The window's own device context, not the paint structure's: every paint redraws the whole
    // screen, whatever the update region.
    HDC dc = GetDC(window);
    PaintGradient(dc, width, height);
    SetBkMode(dc, TRANSPARENT);
    DrawTitle(dc);
    DrawLogo(dc, width, height);
    DrawNotice(dc, width, height);
    ReleaseDC(window, dc);
}

LRESULT CALLBACK BackdropWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
        case WM_DESTROY:
            PostMessageA(window, WM_QUIT, 0, 0);
            break;
        case WM_PAINT:
            PaintBackdrop();
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace tidemark
