#pragma once
// A label that shows mini-HTML through the canvas engine: anchors with hover look, click and
// hint, pictures, shadows, a gradient or line background, bevels, a border, sizing to its
// text, printing onto another canvas and highlighting of search texts.
#include <functional>
#include <memory>
#include <string>

#include "classlib/Form.h"
#include "classlib/StandardControls.h"
#include "graphics/AdvStyleIF.h"
#include "rendering/AdvHTML.h"

namespace ClassLib {
struct THintInfo;
class TChangeLink;
class TCustomImageList;
class TStringList;
}  // namespace ClassLib

namespace HTMLabel {

enum TAutoSizeType { asVertical, asHorizontal, asBoth };
enum TVAlignment { tvaTop, tvaCenter, tvaBottom };
enum TGradientType { gtFullHorizontal, gtFullVertical, gtBottomLine, gtCenterLine, gtTopLine };

using TAnchorClick = std::function<void(ClassLib::TObject* sender, const std::wstring& anchor)>;
using TAnchorHintEvent = std::function<void(ClassLib::TObject* sender, std::wstring& anchor)>;
using TNewSizeEvent = std::function<void(ClassLib::TObject* sender, int newWidth, int newHeight)>;

// What the engine is asked for one layout; the label fills the rest from its own values.
struct TLabelDraw {
    ClassLib::TCanvas* Canvas = nullptr;
    std::wstring S;
    ClassLib::TRect R;
    int X = 0, Y = 0;
    int HoverLink = -1;
    int ShadowOffset = 2;
    bool CheckOnly = false, StopBelowPoint = false, MeasureOnly = false, Print = false, Hover = false, FormScaled = true;
    double ResFactor = 1.0;
    ClassLib::TColor URLColor = ClassLib::clBlue, HoverColor = ClassLib::clNone,
                     HoverFontColor = ClassLib::clNone, ShadowColor = ClassLib::clGray;
};

class THTMLabel : public ClassLib::TCustomLabel, public AdvStyleIF::IOVTStyle {
    CLASSLIB_CLASS(THTMLabel, ClassLib::TCustomLabel)
public:
    static const ClassLib::TPropertyList& Published();
    explicit THTMLabel(ClassLib::TComponent* owner);
    ~THTMLabel() override;

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    void Doit() { Paint(); }
    void SetComponentStyle(AdvStyleIF::TOVTStyle AStyle) override;
    void SetDPIScale(float ADPIScale) { if (ADPIScale > 0) FDPIScale = ADPIScale; }
    void HTMLPrint(ClassLib::TCanvas* canvas, ClassLib::TRect r);
    void HilightText(const std::wstring& hiText, bool doCase);
    void UnHilightText();
    void MarkText(const std::wstring& hiText, bool doCase);
    void UnMarkText();
    ClassLib::TSize GetSizeWithMaxWidth(int AMaxWidth);
    ClassLib::TSize HTMLSize();
    // The display text without its tags.
    std::wstring Text();
    PictureContainer::THTMLPictureCache* ImageCache() const { return FImageCache.get(); }
    int XSize() const { return FXSize; }
    int YSize() const { return FYSize; }

    ClassLib::TStringList* HTMLText() const { return FHTMLText.get(); }
    // Takes the list's text as one line: its line breaks go.
    void SetHTMLText(const ClassLib::TStringList* value);
    ClassLib::TCustomImageList* Images() const { return FImages; }
    void SetImages(ClassLib::TCustomImageList* value);
    PictureContainer::TPictureContainer* PictureContainer() const { return FContainer; }
    void SetPictureContainer(PictureContainer::TPictureContainer* value);
    bool AutoSizing() const { return FAutoSizing; }
    void SetAutoSizing(bool value);
    TAutoSizeType AutoSizeType() const { return FAutoSizeType; }
    void SetAutoSizeType(TAutoSizeType value) { FAutoSizeType = value; SetAutoSizing(FAutoSizing); }
    bool AnchorHint() const { return FAnchorHint; }
    void SetAnchorHint(bool value) { FAnchorHint = value; }
    ClassLib::TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(ClassLib::TBevelCut value) { FBevelInner = value; Invalidate(); }
    ClassLib::TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(ClassLib::TBevelCut value) { FBevelOuter = value; Invalidate(); }
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int value) { FBevelWidth = value; Invalidate(); }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int value) { FBorderWidth = value; Invalidate(); }
    ClassLib::TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(ClassLib::TBorderStyle value) { FBorderStyle = value; Invalidate(); }
    ClassLib::TColor URLColor() const { return FURLColor; }
    void SetURLColor(ClassLib::TColor value) { Change(FURLColor, value); }
    ClassLib::TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(ClassLib::TColor value) { Change(FShadowColor, value); }
    int ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(int value) { Change(FShadowOffset, value); }
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment value) { Change(FVAlignment, value); }
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool value) { Change(FEllipsis, value); }
    ClassLib::TColor ColorTo() const { return FColorTo; }
    void SetColorTo(ClassLib::TColor value) { Change(FColorTo, value); }
    ClassLib::TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(ClassLib::TColor value) { Change(FBorderColor, value); }
    TGradientType GradientType() const { return FGradientType; }
    void SetGradientType(TGradientType value) { Change(FGradientType, value); }
    int LineSpacing() const { return FLineSpacing; }
    void SetLineSpacing(int value) { Change(FLineSpacing, value); }
    int LineWidth() const { return FLineWidth; }
    void SetLineWidth(int value) { Change(FLineWidth, value); }
    bool Hover() const { return FHover; }
    void SetHover(bool value) { FHover = value; }
    ClassLib::TColor HoverColor() const { return FHoverColor; }
    void SetHoverColor(ClassLib::TColor value) { FHoverColor = value; }
    ClassLib::TColor HoverFontColor() const { return FHoverFontColor; }
    void SetHoverFontColor(ClassLib::TColor value) { FHoverFontColor = value; }
    bool HTMLHint() const { return FHTMLHint; }
    void SetHTMLHint(bool value) { FHTMLHint = value; }
    bool HintShowFull() const { return FHintShowFull; }
    void SetHintShowFull(bool value) { FHintShowFull = value; }
    AdvHTML::TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(AdvHTML::TBiDiMode value) { Change(FBiDiMode, value); }
    AdvStyleIF::TOVTStyle UIStyle() const { return FOVTStyle; }
    void SetUIStyle(AdvStyleIF::TOVTStyle value) { SetComponentStyle(value); }
    ClassLib::TColor FontColor() const { return FFontColor; }
    std::wstring Version() const;
    void SetVersion(const std::wstring&) {}
    // The application-style colours (none in this build unless services are replaced).
    void UpdateCustomStyle();

    TAnchorClick OnAnchorClick;
    TAnchorClick OnAnchorEnter;
    TAnchorClick OnAnchorExit;
    TAnchorHintEvent OnAnchorHint;
    TNewSizeEvent OnNewSize;

    virtual int GetVersionNr() { return 0x02030001; }
    // The HTMLText lines joined: nothing between ">" and "<", one blank otherwise.
    virtual std::wstring GetDisplayText();
    virtual void DoAnchorClick(const std::wstring& anchor) { if (OnAnchorClick) OnAnchorClick(this, anchor); }
    virtual void HTMLChanged() { Invalidate(); }
    virtual bool DrawHTMLText(const TLabelDraw& draw, AdvHTML::THTMLResults& results);

    void Dispatch(ClassLib::TMessage& message) override;
    void Loaded() override;
    void ChangeScale(int m, int d) override;
    void MouseMove(ClassLib::TShiftState shift, int x, int y) override;
    void MouseDown(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;

protected:
    void Paint() override;
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;

private:
    template <class T> void Change(T& field, T value) {
        if (field == value) return;
        field = value;
        Invalidate();
    }
    // The anchor (or, with `title`, its TITLE when it has one) under a client point; empty for none.
    std::wstring IsAnchor(int x, int y, bool title, ClassLib::TRect& hoverRect);
    void InvalidateHoverRect(const ClassLib::TRect& rect);
    void PaintFill(ClassLib::TCanvas* canvas, const ClassLib::TRect& client);
    void HintShow(ClassLib::THintInfo& info);
    void EditText(const std::function<std::wstring(const std::wstring&)>& edit);

    std::wstring FAnchor;            // the anchor last entered
    bool FAutoSizing = false;
    TAutoSizeType FAutoSizeType = asVertical;
    std::unique_ptr<ClassLib::TStringList> FHTMLText;
    bool FAnchorHint = false;
    ClassLib::TCustomImageList* FImages = nullptr;
    std::unique_ptr<PictureContainer::THTMLPictureCache> FImageCache;
    int FUpdateCount = 0;
    ClassLib::TColor FURLColor = ClassLib::clBlue;
    ClassLib::TColor FFontColor = ClassLib::clWindowText;
    ClassLib::TBevelCut FBevelInner = ClassLib::bvNone, FBevelOuter = ClassLib::bvNone;
    int FBevelWidth = 1, FBorderWidth = 0;
    ClassLib::TBorderStyle FBorderStyle = ClassLib::bsNone;
    int FShadowOffset = 2;
    ClassLib::TColor FShadowColor = ClassLib::clGray;
    bool FHover = false;
    int FHoverHyperLink = -1;        // 1-based anchor under the mouse, -1 none
    int FOldHoverHyperLink = -1;
    ClassLib::TColor FHoverColor = ClassLib::clNone, FHoverFontColor = ClassLib::clNone;
    TVAlignment FVAlignment = tvaTop;
    bool FEllipsis = false;
    ClassLib::TRect FCurrHoverRect{-1, -1, -1, -1};
    PictureContainer::TPictureContainer* FContainer = nullptr;
    TGradientType FGradientType = gtFullHorizontal;
    ClassLib::TColor FBorderColor = ClassLib::clBlack;
    int FLineWidth = 2, FLineSpacing = 0;
    bool FHTMLHint = false, FHintShowFull = false;
    std::unique_ptr<ClassLib::TChangeLink> FILChangeLink;
    int FXSize = 0, FYSize = 0;      // the sizes the engine gave last
    ClassLib::TColor FColorTo = ClassLib::clNone;
    bool FFormScaled = true;
    float FDPIScale = 1.0f;
    AdvStyleIF::TOVTStyle FOVTStyle = AdvStyleIF::tsCustom;
    bool FUseCustomStyles = false;
    AdvHTML::TBiDiMode FBiDiMode = AdvHTML::bdLeftToRight;
};

}  // namespace HTMLabel
