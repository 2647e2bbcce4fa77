#pragma once
// ClockLabel: a transparent child window that draws only the glyphs of its text, so the parent's
// black face shows around and between them (Win32 only).

#include <windows.h>

#include <string>
#include <string_view>

namespace talvessa {

// Creates the label, not yet shown, at 0, 0, 128 x 40 in `parent` with its design text and
// colour. Null when the platform refuses.
HWND createClockLabel(HWND parent, int controlId);

// Keeps a copy of `text` (cut at an embedded NUL), makes it the window text and refreshes, even
// when the text is unchanged.
void setClockLabelText(HWND label, std::string_view text);
// Keeps the colour unchanged (a non-zero high byte included) and refreshes.
void setClockLabelColour(HWND label, COLORREF colour);

std::string clockLabelText(HWND label);
COLORREF clockLabelColour(HWND label);

// Repaints the top-level window's face beneath the label at once, then the label over it, so no
// trace of the previous glyphs stays.
void refreshClockLabel(HWND label);

}  // namespace talvessa
