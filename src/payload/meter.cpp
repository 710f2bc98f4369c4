#include "payload/meter.h"

#include <string>

#include "dialogs/dialog.h"
#include "runtime/install_state.h"

namespace tidemark {

namespace {

constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;

struct ProgressMeterRecord : MeterGeometry {
    HDC MeterDC = nullptr;
    HPEN RedPen = nullptr;
    HPEN WhitePen = nullptr;
    HBRUSH RedBrush = nullptr;
    HBRUSH WhiteBrush = nullptr;
    HFONT PercentFont = nullptr;
    HGDIOBJ PreviousPen = nullptr;
    HGDIOBJ PreviousBrush = nullptr;
    HGDIOBJ PreviousFont = nullptr;
    int32_t LastDrawnPercent = 0;
};

// Process-wide: the decoder's callbacks draw the bar and have no context to reach a page's.
ProgressMeterRecord ProgressMeter;

ScreenRect WindowRectOf(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace

void SetUpMeter(HWND page) {
    ProgressMeterRecord& m = ProgressMeter;
    m.MeterDC = GetDC(page);

    ScreenRect frame = WindowRectOf(GetDlgItem(page, kMeterFrameId));
    ScreenRect window = WindowRectOf(page);
    int32_t borderWidth = GetSystemMetrics(SM_CXBORDER);
    int32_t captionHeight = GetSystemMetrics(SM_CYCAPTION);
    int32_t borderHeight = GetSystemMetrics(SM_CYBORDER);
    static_cast<MeterGeometry&>(m) =
        MeterGeometryFor(frame, window, borderWidth, captionHeight, borderHeight);

    m.RedPen = CreatePen(PS_SOLID, 1, kRed);
    m.WhitePen = CreatePen(PS_SOLID, 1, kWhite);
    m.PreviousPen = SelectObject(m.MeterDC, m.RedPen);
    m.RedBrush = CreateSolidBrush(kRed);
    m.WhiteBrush = CreateSolidBrush(kWhite);
    m.PreviousBrush = SelectObject(m.MeterDC, m.RedBrush);

    // The bar's coordinates are relative to the page, so they stay valid after the move.
    CentreOnScreen(page);
    InstallState.ContinueFlag = 1;

    SetBkMode(m.MeterDC, TRANSPARENT);
    m.PercentFont = CreateFontA(16, 0, 0, 0, 0, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "Arial");
    m.PreviousFont = SelectObject(m.MeterDC, m.PercentFont);
    SetTextColor(m.MeterDC, kBlack);
}

MeterReading ReadingOnBar(int32_t done, int32_t total) {
    return MeterPositionFor(done, total, ProgressMeter.BarLeft, ProgressMeter.BarSpan);
}

int32_t LastDrawnPercent() { return ProgressMeter.LastDrawnPercent; }

void DrawMeter(int32_t percentage, int32_t edge) {
    ProgressMeterRecord& m = ProgressMeter;
    SelectObject(m.MeterDC, m.RedBrush);
    SelectObject(m.MeterDC, m.RedPen);
    Rectangle(m.MeterDC, m.BarLeft, m.BarTop, edge, m.BarBottom);
    m.LastDrawnPercent = percentage;

    SelectObject(m.MeterDC, m.WhiteBrush);
    SelectObject(m.MeterDC, m.WhitePen);
    Rectangle(m.MeterDC, edge, m.BarTop, m.BarRight, m.BarBottom);

    std::string text = PercentText(percentage);
    TextOutA(m.MeterDC, m.TextX, m.TextY, text.c_str(), static_cast<int>(text.size()));
}

void TearDownMeter(HWND page) {
    ProgressMeterRecord& m = ProgressMeter;
    SelectObject(m.MeterDC, m.PreviousFont);
    DeleteObject(m.PercentFont);
    SelectObject(m.MeterDC, m.PreviousPen);
    SelectObject(m.MeterDC, m.PreviousBrush);
    DeleteObject(m.RedPen);
    DeleteObject(m.WhitePen);
    DeleteObject(m.RedBrush);
    DeleteObject(m.WhiteBrush);
    ReleaseDC(page, m.MeterDC);
    m.MeterDC = nullptr;
    m.RedPen = m.WhitePen = nullptr;
    m.RedBrush = m.WhiteBrush = nullptr;
    m.PercentFont = nullptr;
    m.PreviousPen = m.PreviousBrush = m.PreviousFont = nullptr;
}

}  // namespace tidemark
