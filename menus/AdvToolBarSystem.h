#pragma once
// The toolbar unit's process-wide scale, set once by the first dock panel or pager that gets
// a size, and the system and focus queries of its painters.
#include "graphics/AdvStyleIF.h"

namespace ClassLib {
class TControl;
class TWinControl;
}

namespace AdvToolBar {

class TDbgList;

// One set for the whole process, read and written on the GUI thread only. The pager writes
// FormPixelsPerInch, DPIScaleFactor and the caption heights again when it is rescaled.
extern bool DPIInitialized;
extern bool FormIsScaled;        // the owning form's Scaled, recorded just before InitDPIScale
extern int FormPixelsPerInch;    // of the form's monitor
extern int ScreenPixelsPerInch;  // LOGPIXELSX of the screen
extern float DPIScaleFactor;     // the text-height ratio every scaled size of the unit uses
extern int ToolBarCaptionHeight;
extern int PagerCaptionHeight;
extern int PagerTabHeight;

// 1.0 when the form is not scaled or ppi is 96; else the height of "0" in a 9-point font at
// ppi over the same at 96.
float CalcDPIScale(int ppi);
// Records ppi and the screen's resolution and computes the factor and the caption heights;
// only the first call of the process does anything.
void InitDPIScale(int ppi);
// Back to the process's start: the state before the first InitDPIScale, the two tone sets
// empty, the scenic and glass flags off. For tests only.
void ResetDPIScale();

using AdvStyleIF::TextHeightAtDPI;
// The true Windows version (ntdll's RtlGetVersion); both left as they are when it is missing
// or fails, so callers preset them.
void GetOSVersionNumbers(int& major, int& minor);
AdvStyleIF::IAppStyleServices& GetStyleServices();
bool IsCustomStyleEnabled();
// The major file version of COMCTL32.DLL is above 5.
inline bool IsComCtl6() { return AdvStyleIF::IsComCtl6OrLater(); }
bool IsCompositionEnabled();
bool IsTaskbarAutoHide();

// False for null, or when the control or any parent is not Visible.
bool IsControlChainVisible(const ClassLib::TControl* control);
// The control is enabled, has a window, and a window below it (not the control itself) has
// the focus; the parent chain is followed 50 windows at most.
bool ContainsFocus(ClassLib::TWinControl* control);
// Deletes, keeping the order of the rest, hint windows, toolbar containers and windowed
// controls that cannot take the focus; null is ignored. The items are objects of the class
// library, as the toolbars keep their controls.
void RemoveNonFocusable(TDbgList* list);

}  // namespace AdvToolBar
