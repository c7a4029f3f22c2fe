#pragma once
// The program's version text and setting a check box without running its click handler.
#include <cstdint>
#include <string>
#include <utility>

namespace VxTools {

// "ver: A.B.D" of the running executable's file version A.B.C.D (C is not shown);
// the empty text when the executable has no version resource.
std::wstring GetVersionText();
// The same text from the two 32-bit halves of a file version.
std::wstring FormatVersionText(uint32_t versionMS, uint32_t versionLS);

// Sets Checked without running OnClick: the handler is taken off for the change and put
// back afterwards, also when the change fails. Works with any box that has an OnClick
// event (a field, or GetOnClick/SetOnClick) and SetChecked.
template <class TBox>
void SetCheckedSilently(TBox& box, bool state) {
    if constexpr (requires { box.OnClick = {}; }) {
        auto handler = std::move(box.OnClick);
        box.OnClick = {};
        struct TRestore {
            TBox& Box;
            decltype(handler)& Handler;
            ~TRestore() { Box.OnClick = std::move(Handler); }
        } restore{box, handler};
        box.SetChecked(state);
    } else {
        auto handler = box.GetOnClick();
        box.SetOnClick({});
        struct TRestore {
            TBox& Box;
            decltype(handler)& Handler;
            ~TRestore() { Box.SetOnClick(std::move(Handler)); }
        } restore{box, handler};
        box.SetChecked(state);
    }
}

}  // namespace VxTools
