#pragma once
// TSpeedButton: a windowless button with a glyph and a caption, drawn raised, pressed
// or (flat) only framed while the mouse is over it.
#include <memory>
#include <string>

#include "classlib/Control.h"

namespace ClassLib {

class TBitmap;

enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

class TSpeedButton : public TGraphicControl {
    CLASSLIB_CLASS(TSpeedButton, TGraphicControl)
public:
    static const TPropertyList& Published();
    explicit TSpeedButton(TComponent* owner);
    ~TSpeedButton() override;

    // The picture; with NumGlyphs above 1 it holds that many equal images side by side
    // (up, disabled, down, exclusive), of which the one for the state is drawn.
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(const TBitmap* value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    // Down stays pressed between clicks (only for a button with a GroupIndex).
    bool Down() const { return FDown; }
    void SetDown(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value) { FGroupIndex = value; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value) { FAllowAllUp = value; }
    TButtonState State() const { return FState; }
    // True while the mouse is over the button.
    bool MouseInControl() const { return FMouseInControl; }

    void Dispatch(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;

protected:
    void Paint() override;
    // The glyph image for the state, drawn at (x, y) with its corner colour left out.
    void DrawGlyph(TCanvas* canvas, int x, int y);
    TButtonState FState = bsUp;
    bool FDragging = false;

private:
    std::unique_ptr<TBitmap> FGlyph;
    int FNumGlyphs = 1;
    bool FFlat = false;
    bool FDown = false;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FMouseInControl = false;
};

}  // namespace ClassLib
