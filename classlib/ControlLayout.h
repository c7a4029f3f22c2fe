#pragma once
// Where a parent places its aligned and anchored children: numbers in, rectangles out,
// no windows, so the rules test headless. TWinControl::AlignControls moves the children.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "classlib/EnumNames.h"
#include "classlib/Geometry.h"

namespace ClassLib {

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
template <> struct TEnumNames<TAlign> {
    static constexpr const wchar_t* TypeName = L"TAlign";
    static constexpr const wchar_t* Names[] = {L"alNone", L"alTop", L"alBottom", L"alLeft", L"alRight", L"alClient", L"alCustom"};
};

enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = std::uint32_t;  // bit (1 << TAnchorKind)
constexpr TAnchors AnchorBit(TAnchorKind kind) { return TAnchors(1) << kind; }
constexpr TAnchors DefaultAnchors = AnchorBit(akLeft) | AnchorBit(akTop);

struct TLayoutMargins {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// One child as the layout sees it.
struct TLayoutChild {
    TAlign Align = alNone;
    TAnchors Anchors = DefaultAnchors;
    bool Visible = true;
    TRect Bounds;               // where it stands now
    bool WithMargins = false;   // an aligned child keeps Margins free around itself
    TLayoutMargins Margins;
    int MinWidth = 0;           // the size limits; 0 = none
    int MinHeight = 0;
    int MaxWidth = 0;
    int MaxHeight = 0;
    // Where an unaligned child stood, and the parent's client size, when it was last
    // placed by hand; without it the child is not moved.
    bool AnchorValid = false;
    TRect AnchorBounds;
    TSize AnchorParentSize;
};

struct TLayoutPlace {
    std::size_t Index;  // into the children given
    TRect Bounds;       // within the size limits, as the child will take it
};

// The size a child takes when asked for `width` x `height`: no negative sizes, then its limits.
TSize FitLayoutSize(const TLayoutChild& child, int width, int height);

// Visible aligned children take strips off `alignRect`, which shrinks by each: all top
// ones (by Top), then bottom ones (lowest first), left ones (by Left), right ones
// (rightmost first); client ones fill what is left. Then every unaligned child with
// anchors other than left and top keeps its distances to the anchored edges of a
// client area of `clientSize` (both edges: it stretches; neither: it keeps its centre).
// The places come in the order the children are to be moved.
std::vector<TLayoutPlace> ArrangeChildren(std::span<const TLayoutChild> children, TRect& alignRect,
                                          TSize clientSize);

}  // namespace ClassLib
