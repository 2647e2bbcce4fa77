#include "widget/clock_label_win32.h"

#include <memory>

#include "widget/window_class_win32.h"

namespace talvessa {
namespace {

constexpr char kLabelClassName[] = "TalvessaClockLabel";
// Never seen: start-up replaces both before the window is first shown.
constexpr char kDesignText[] = "2024/3/5\r\nTuesday\r\n07:08:09";
constexpr COLORREF kDesignColour = 65535;

constexpr int kDesignWidth = 128;
constexpr int kDesignHeight = 40;

// The label's own copies, owned by its window from WM_NCCREATE to WM_NCDESTROY.
struct LabelState {
    std::string text;
    COLORREF colour = kDesignColour;
};

LabelState* labelState(HWND label) {
    return reinterpret_cast<LabelState*>(GetWindowLongPtrA(label, GWLP_USERDATA));
}

HFONT createLabelFont() {
    LOGFONTA font{};
    font.lfHeight = -12;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = PROOF_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH;
    lstrcpynA(font.lfFaceName, "Verdana", LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

// Draws only the glyphs, straight into the paint context (no off-screen buffer). The font is made
// and deleted at every paint: nothing is cached between paints.
void paintLabel(HWND label) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(label, &paint);
    if (!dc) return;
    RECT bounds;
    GetClientRect(label, &bounds);
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(label)) + 1, '\0');
    int length = GetWindowTextA(label, text.data(), static_cast<int>(text.size()));
    const LabelState* state = labelState(label);
    if (length > 0 && state) {
        HFONT font = createLabelFont();
        HGDIOBJ previousFont = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, state->colour);
        // Exactly these flags: "&" prefixes stay active and tabs are not expanded. DT_VCENTER
        // only centres single-line text, so with DT_WORDBREAK the first line starts at the top.
        DrawTextA(dc, text.data(), length, &bounds, DT_NOCLIP | DT_CENTER | DT_WORDBREAK | DT_VCENTER);
        SelectObject(dc, previousFont);
        if (font) DeleteObject(font);
    }
    EndPaint(label, &paint);
}

// Redraws at once every visible window inside `parent` that meets `area` (screen coordinates),
// bottom-most first and each before the windows it contains.
void redrawWindowsMeeting(HWND parent, const RECT& area) {
    HWND topChild = GetWindow(parent, GW_CHILD);
    if (!topChild) return;
    for (HWND child = GetWindow(topChild, GW_HWNDLAST); child; child = GetWindow(child, GW_HWNDPREV)) {
        if (!IsWindowVisible(child)) continue;
        RECT bounds;
        RECT meet;
        if (!GetWindowRect(child, &bounds) || !IntersectRect(&meet, &bounds, &area)) continue;
        MapWindowPoints(nullptr, child, reinterpret_cast<POINT*>(&meet), 2);
        RedrawWindow(child, &meet, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ERASENOW | RDW_UPDATENOW);
        redrawWindowsMeeting(child, area);
    }
}

LRESULT CALLBACK labelProcedure(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
        case WM_NCCREATE: {
            auto state = std::make_unique<LabelState>();
            state->text = kDesignText;
            SetWindowLongPtrA(label, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.release()));
            break;
        }
        case WM_NCDESTROY:
            delete labelState(label);
            SetWindowLongPtrA(label, GWLP_USERDATA, 0);
            break;
        case WM_PAINT:
            paintLabel(label);
            return 0;
        case WM_MOVE:
            refreshClockLabel(label);
            return 0;
        default:
            break;
        }
    } catch (...) {
        // Nothing may leave a window procedure; an allocation failure in WM_NCCREATE refuses the
        // window.
        if (message == WM_NCCREATE) return FALSE;
    }
    return DefWindowProcA(label, message, wParam, lParam);
}

}  // namespace

HWND createClockLabel(HWND parent, int controlId) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!registerClockWindowClass(instance, kLabelClassName, labelProcedure)) return nullptr;
    return CreateWindowExA(WS_EX_TRANSPARENT, kLabelClassName, kDesignText,
                           WS_CHILD | WS_CLIPSIBLINGS, 0, 0, kDesignWidth, kDesignHeight, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), instance,
                           nullptr);
}

void setClockLabelText(HWND label, std::string_view text) {
    LabelState* state = labelState(label);
    if (!state) return;
    state->text.assign(text.substr(0, text.find('\0')));
    SetWindowTextA(label, state->text.c_str());
    refreshClockLabel(label);
}

void setClockLabelColour(HWND label, COLORREF colour) {
    LabelState* state = labelState(label);
    if (!state) return;
    state->colour = colour;
    refreshClockLabel(label);
}

std::string clockLabelText(HWND label) {
    const LabelState* state = labelState(label);
    return state ? state->text : std::string();
}

COLORREF clockLabelColour(HWND label) {
    const LabelState* state = labelState(label);
    return state ? state->colour : 0;
}

void refreshClockLabel(HWND label) {
    HWND top = GetAncestor(label, GA_ROOT);
    RECT area;
    if (!top || !GetWindowRect(label, &area)) return;
    // The face beneath first: the top-level window's black covers the old glyphs, because the
    // transparent label is not clipped out of its parent's painting.
    RECT inTop = area;
    MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&inTop), 2);
    InvalidateRect(top, &inTop, TRUE);
    UpdateWindow(top);
    redrawWindowsMeeting(top, area);
    InvalidateRect(label, nullptr, FALSE);
}

}  // namespace talvessa
