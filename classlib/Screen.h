#pragma once
// The screen (monitors, work areas, pixels per inch, fonts, cursors, the open windows)
// and the mouse (position, drag threshold).
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "classlib/Control.h"
#include "classlib/Geometry.h"
#include "classlib/Object.h"

namespace ClassLib {

class TCustomForm;
class TFont;

struct TMonitor {
    HMONITOR Handle = nullptr;
    int MonitorNum = 0;
    bool Primary = false;
    TRect BoundsRect;
    TRect WorkareaRect;
    int Left() const { return BoundsRect.Left; }
    int Top() const { return BoundsRect.Top; }
    int Width() const { return BoundsRect.Width(); }
    int Height() const { return BoundsRect.Height(); }
};

class TScreen : public TComponent {
    CLASSLIB_CLASS(TScreen, TComponent)
public:
    explicit TScreen(TComponent* owner);
    ~TScreen() override;

    // The primary monitor's size.
    int Width() const;
    int Height() const;
    int PixelsPerInch() const;
    TRect DesktopRect() const;
    // The primary monitor's work area (without the task bar).
    TRect WorkAreaRect() const;

    // Monitors are read again on every call: they come and go.
    int MonitorCount() const { return int(GetMonitors().size()); }
    TMonitor Monitors(int index) const;
    TMonitor MonitorFromPoint(const TPoint& point) const;
    TMonitor MonitorFromRect(const TRect& rect) const;
    TMonitor MonitorFromWindow(HWND window) const;
    TMonitor PrimaryMonitor() const;

    // The installed font families, sorted.
    const std::vector<std::wstring>& Fonts() const;

    // A cursor other than crDefault overrides every control's own.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);
    HCURSOR Cursors(TCursor cursor) const;

    int FormCount() const { return int(FForms.size()); }
    TCustomForm* Forms(int index) const { return FForms.at(size_t(index)); }
    TCustomForm* ActiveForm() const;
    TControl* ActiveControl() const;

    TFont* HintFont() const { return FHintFont.get(); }
    TFont* MenuFont() const { return FMenuFont.get(); }
    TFont* IconFont() const { return FIconFont.get(); }

    // The form list is kept by the forms themselves.
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);

private:
    std::vector<TMonitor> GetMonitors() const;

    TCursor FCursor = crDefault;
    std::vector<TCustomForm*> FForms;
    mutable std::vector<std::wstring> FFonts;
    std::unique_ptr<TFont> FHintFont, FMenuFont, FIconFont;
};

class TMouse {
public:
    TPoint CursorPos() const;
    void SetCursorPos(const TPoint& point);
    // Pixels the mouse must move with a button down before a drag starts.
    int DragThreshold() const { return FDragThreshold; }
    void SetDragThreshold(int value) { FDragThreshold = value; }
    bool DragImmediate() const { return FDragImmediate; }
    void SetDragImmediate(bool value) { FDragImmediate = value; }
    HWND Capture() const { return ::GetCapture(); }
    int WheelScrollLines() const;
    bool MousePresent() const { return ::GetSystemMetrics(SM_MOUSEPRESENT) != 0; }
private:
    int FDragThreshold = 5;
    bool FDragImmediate = true;
};

extern TScreen* Screen;
extern TMouse* Mouse;

}  // namespace ClassLib
