#include "widget/widget_window_win32.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "widget/clock_label_win32.h"
#include "widget/pointer_tray_win32.h"
#include "widget/settings_menu_win32.h"
#include "widget/window_class_win32.h"
#include "widget/window_alpha_win32.h"

namespace talvessa {
namespace {

constexpr char kWidgetClassName[] = "TalvessaWidget";
constexpr char kOwnerClassName[] = "TalvessaWidgetOwner";

// The design place gives only the size; the start position is computed.
constexpr int kDesignWidth = 219;
constexpr int kDesignHeight = 83;

constexpr int kLabelControlId = 1;
constexpr UINT_PTR kTickTimerId = 1;

constexpr std::int32_t kMinPosition = -32627;
constexpr std::int32_t kMaxPosition = 32627;
constexpr std::int32_t kMaxExtent = 32627;

// Signed division truncating towards zero: a screen narrower than the window gives a negative
// origin.
constexpr int centredOrigin(int screenExtent, int windowExtent) {
    return (screenExtent - windowExtent) / 2;
}
static_assert(centredOrigin(1920, kDesignWidth) == 850 && centredOrigin(1080, kDesignHeight) == 498);
static_assert(centredOrigin(200, kDesignWidth) == -9);

struct WidgetState {
    WidgetEvents* events = nullptr;
    HWND owner = nullptr;
    HWND window = nullptr;
    HWND label = nullptr;
    std::int32_t periodMs = 0;
    // The form raises no moved or resized event before its created event has run.
    bool formEventsOn = false;
    // Only a fully loaded window ends the message loop when it goes.
    bool loaded = false;
};

WidgetState& widgetState() {
    static WidgetState state;
    return state;
}

void paintFace(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (!dc) return;
    FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EndPaint(window, &paint);
}

void routeMenuCommand(WidgetEvents& events, UINT commandId) {
    auto entry = menuEntryForCommandId(commandId, kSettingsMenu.size());
    if (!entry) return;
    const MenuCommand& command = kSettingsMenu[*entry].command;
    if (command.kind != MenuCommandKind::None) events.onMenuCommand(command);
}

LRESULT CALLBACK widgetProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WidgetState& state = widgetState();
    try {
        switch (message) {
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT covers the update area; erasing here would flicker
        case WM_PAINT:
            paintFace(window);
            return 0;
        case WM_LBUTTONDOWN: {
            // A press on the bare face moves the window as a press on a caption would. Posted, so
            // the move loop starts from the message loop with the button still down.
            POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ClientToScreen(window, &point);
            PostMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
            return 0;
        }
        case WM_GETMINMAXINFO:
            // The platform caps a top-level window's size at about the screen's when it is
            // resized; widths and heights up to the clamp bound must stand.
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMaxTrackSize = {kMaxExtent, kMaxExtent};
            return 0;
        case WM_TIMER:
            if (wParam != kTickTimerId) break;
            if (state.events) state.events->onTick();
            return 0;
        case WM_COMMAND:
            // Menu choices only: no accelerator (HIWORD 1) and no control notification (lParam).
            if (HIWORD(wParam) != 0 || lParam != 0) break;
            if (state.events) routeMenuCommand(*state.events, LOWORD(wParam));
            return 0;
        case WM_MOVE:
            if (state.formEventsOn && state.events) state.events->onWidgetMoved();
            break;
        case WM_SIZE:
            if (state.formEventsOn && state.events) state.events->onWidgetResized();
            break;
        case kTrayCallbackMessage:
            // wParam, the icon's identifier, is not examined: the window has one icon.
            if (auto action = trayActionFor(lParam); action && state.events) {
                state.events->onTrayEvent(*action);
            }
            return 0;
        case WM_DESTROY:
            KillTimer(window, kTickTimerId);
            removeTrayIcon(window);
            if (state.window == window) {
                state.periodMs = 0;
                state.formEventsOn = false;
            }
            break;
        case WM_NCDESTROY:
            if (state.window == window) {
                state.window = nullptr;
                state.label = nullptr;
                if (state.loaded) PostQuitMessage(0);
                state.loaded = false;
            }
            break;
        default:
            break;
        }
    } catch (...) {
        // A handler's failure must not unwind through the platform's frames.
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool registerClasses(HINSTANCE instance) {
    if (!registerClockWindowClass(instance, kWidgetClassName, widgetProcedure)) return false;

    WNDCLASSEXA ownerClass{};
    ownerClass.cbSize = sizeof ownerClass;
    ownerClass.lpfnWndProc = DefWindowProcA;
    ownerClass.hInstance = instance;
    ownerClass.lpszClassName = kOwnerClassName;
    return RegisterClassExA(&ownerClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND handleOf(ControlObject object) {
    const WidgetState& state = widgetState();
    switch (object) {
    case ControlObject::WidgetWindow:
        return state.window;
    case ControlObject::ClockLabel:
        return state.label;
    case ControlObject::TickTimer:
        break;  // no window of its own: it runs on WidgetWindow's
    }
    return nullptr;
}

// The outer rectangle: screen coordinates for a top-level window, the parent's client
// coordinates for a child.
RECT placeOf(HWND window) {
    RECT place{};
    GetWindowRect(window, &place);
    if (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) {
        MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&place), 2);
    }
    return place;
}

void setTimerPeriod(std::int32_t requestedMs) {
    WidgetState& state = widgetState();
    std::int32_t periodMs = std::max(requestedMs, 0);
    // The period in force is left alone, so a running timer keeps its phase.
    if (!state.window || periodMs == state.periodMs) return;
    if (state.periodMs > 0) KillTimer(state.window, kTickTimerId);
    state.periodMs = periodMs;
    if (periodMs > 0) SetTimer(state.window, kTickTimerId, static_cast<UINT>(periodMs), nullptr);
}

class Win32WidgetPort final : public WidgetPort {
public:
    void setControlProperty(ControlObject object, ControlProperty property,
                            std::int32_t value) override {
        if (property == ControlProperty::TimerPeriod) {
            if (object == ControlObject::TickTimer) setTimerPeriod(value);
            return;
        }
        HWND window = handleOf(object);
        if (!window) return;
        RECT place = placeOf(window);
        int width = place.right - place.left;
        int height = place.bottom - place.top;
        switch (property) {
        case ControlProperty::Left:
            MoveWindow(window, std::clamp(value, kMinPosition, kMaxPosition), place.top, width,
                       height, TRUE);
            break;
        case ControlProperty::Top:
            MoveWindow(window, place.left, std::clamp(value, kMinPosition, kMaxPosition), width,
                       height, TRUE);
            break;
        case ControlProperty::Width:
            SetWindowPos(window, nullptr, 0, 0, std::clamp(value, 0, kMaxExtent), height,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        case ControlProperty::Height:
            SetWindowPos(window, nullptr, 0, 0, width, std::clamp(value, 0, kMaxExtent),
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        case ControlProperty::TextColour:
            if (object == ControlObject::ClockLabel) {
                setClockLabelColour(window, static_cast<COLORREF>(value));
            }
            break;
        case ControlProperty::TimerPeriod:
        case ControlProperty::Text:
            break;
        }
    }

    void setControlProperty(ControlObject object, ControlProperty property,
                            std::string_view text) override {
        if (object == ControlObject::ClockLabel && property == ControlProperty::Text) {
            if (HWND label = handleOf(object)) setClockLabelText(label, text);
        }
    }

    // Integer properties only: a text reads as 0.
    std::int32_t getControlProperty(ControlObject object, ControlProperty property) override {
        if (property == ControlProperty::TimerPeriod) {
            return object == ControlObject::TickTimer ? widgetState().periodMs : 0;
        }
        HWND window = handleOf(object);
        if (!window) return 0;
        RECT place = placeOf(window);
        switch (property) {
        case ControlProperty::Left:
            return place.left;
        case ControlProperty::Top:
            return place.top;
        case ControlProperty::Width:
            return place.right - place.left;
        case ControlProperty::Height:
            return place.bottom - place.top;
        case ControlProperty::TextColour:
            return object == ControlObject::ClockLabel
                       ? static_cast<std::int32_t>(clockLabelColour(window))
                       : 0;
        case ControlProperty::TimerPeriod:
        case ControlProperty::Text:
            break;
        }
        return 0;
    }

    WindowHandle getWindowHandle(ControlObject object) override { return handleOf(object); }

    void applyWindowAlpha(WindowHandle window, std::int32_t alpha,
                          std::uint32_t colourKey) override {
        talvessa::applyWindowAlpha(static_cast<HWND>(window), alpha, colourKey);
    }

    void setTrayIcon(std::span<const std::uint8_t> icoBytes, const char* tooltip) override {
        if (HWND window = widgetState().window) talvessa::setTrayIcon(window, icoBytes, tooltip);
    }

    [[noreturn]] void endProgram(int exitCode) override {
        destroyWidgetWindow();
        std::exit(exitCode);  // runs the shutdown routine registered with std::atexit
    }
};

// Sees each message taken from the thread's queue before it is dispatched: the place where
// queued input becomes events of the program's own objects. The label's two pointer events run
// here, then the message still goes to the label. Messages dispatched by the platform's own modal
// loops (a popup, the window move) do not pass here.
void routeBeforeDispatch(const MSG& message) {
    const WidgetState& state = widgetState();
    if (!state.events || !state.label || message.hwnd != state.label) return;
    try {
        if (message.message == WM_LBUTTONDOWN) state.events->onLabelLeftPress();
        if (message.message == WM_RBUTTONUP) state.events->onLabelRightRelease();
    } catch (...) {
        // Same rule as inside the window procedures: a handler's failure stays here.
    }
}

}  // namespace

bool loadWidgetWindow(WidgetEvents& events) {
    destroyWidgetWindow();
    WidgetState& state = widgetState();
    state = WidgetState{};
    state.events = &events;

    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!registerClasses(instance)) return false;

    // A hidden tool window owns the widget, which keeps the widget off the taskbar.
    state.owner = CreateWindowExA(WS_EX_TOOLWINDOW, kOwnerClassName, "", WS_POPUP, 0, 0, 0, 0,
                                  nullptr, nullptr, instance, nullptr);
    if (!state.owner) return false;

    int left = centredOrigin(GetSystemMetrics(SM_CXSCREEN), kDesignWidth);
    int top = centredOrigin(GetSystemMetrics(SM_CYSCREEN), kDesignHeight);
    state.window = CreateWindowExA(0, kWidgetClassName, "", WS_CLIPCHILDREN | WS_MINIMIZEBOX, left,
                                   top, kDesignWidth, kDesignHeight, state.owner, nullptr, instance,
                                   nullptr);
    if (!state.window) {
        destroyWidgetWindow();
        return false;
    }

    // The platform gives every overlapped window a caption; take it away and recompute the
    // frame, so the outer rectangle is the client area.
    LONG style = GetWindowLongA(state.window, GWL_STYLE);
    SetWindowLongA(state.window, GWL_STYLE, style & ~WS_CAPTION);
    SetWindowPos(state.window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT outer{};
    GetWindowRect(state.window, &outer);
    if (outer.right - outer.left != kDesignWidth || outer.bottom - outer.top != kDesignHeight) {
        MoveWindow(state.window, left, top, kDesignWidth, kDesignHeight, TRUE);
    }

    // Null where the program carries no icon resource (the test programs): no icon then.
    HICON icon = LoadIconA(instance, "DEFAULT_ICON");
    SendMessageA(state.window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(state.window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SendMessageA(state.window, WM_SETFONT,
                 reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SetWindowPos(state.window, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);

    state.label = createClockLabel(state.window, kLabelControlId);
    if (!state.label) {
        destroyWidgetWindow();
        return false;
    }
    ShowWindow(state.label, SW_SHOWNA);

    events.onWidgetCreated();
    if (!state.window) {  // the handler ended the window itself
        destroyWidgetWindow();
        return false;
    }
    state.formEventsOn = true;
    events.onWidgetMoved();
    events.onWidgetResized();
    state.loaded = true;
    ShowWindow(state.window, SW_SHOW);
    return true;
}

WidgetPort& widgetPort() {
    static Win32WidgetPort port;
    return port;
}

void destroyWidgetWindow() {
    WidgetState& state = widgetState();
    bool endsLoop = state.window && state.loaded;
    if (state.window) DestroyWindow(state.window);  // takes the label and the timer with it
    if (state.owner) DestroyWindow(state.owner);
    state.window = nullptr;
    state.label = nullptr;
    state.owner = nullptr;
    state.loaded = false;
    if (endsLoop) {
        MSG quit;
        PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
}

int runMessageLoop() {
    MSG message{};
    BOOL result;
    while ((result = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        routeBeforeDispatch(message);
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    destroyWidgetWindow();
    return result == 0 ? static_cast<int>(message.wParam) : 0;
}

}  // namespace talvessa
