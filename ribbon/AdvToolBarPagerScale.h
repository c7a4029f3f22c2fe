#pragma once
// The pager's sizes at a display scale: tab row, caption bar, toolbar captions and the
// tabs' start margin, from the sizes it was designed with at 96 pixels per inch.
namespace AdvToolBar {

struct TPagerScaledSizes {
    int TabHeight;             // always even: the tab faces split it in two halves
    int CaptionHeight;
    int ToolBarCaptionHeight;
    int StartMargin;
};

// Rounded to the nearest integer, halves to even.
TPagerScaledSizes ScalePagerSizes(double scale, int tabHeight, int startMargin, int captionHeight);

}  // namespace AdvToolBar
