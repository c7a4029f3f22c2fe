// Paints one screen of a 1-million-line C file scrolled to the middle and prints the times.
// With "--show SECONDS" it instead shows a window with a short C text for that long.
#include "editor/AdvMemo.h"
#include "editor/AdvmCSHS.h"

#include "classlib/Application.h"
#include "classlib/Form.h"
#include "classlib/GdiScopes.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

using TClock = std::chrono::steady_clock;

double MillisecondsSince(TClock::time_point start) {
    return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

const wchar_t* const SampleText =
    L"/* AT command interpreter: generated */\r\n"
    L"#include \"atcmd.h\"\r\n"
    L"\r\n"
    L"static const char ok[] = \"OK\"; // reply\r\n"
    L"\r\n"
    L"int at_parse(uint8_t uart_no, char *line)\r\n"
    L"{\r\n"
    L"    int count = 0x1F;\r\n"
    L"    while (*line != 0) {\r\n"
    L"        if (*line == '+') count++;\r\n"
    L"        line++;\r\n"
    L"    }\r\n"
    L"    return count; /* see http://example.org/at */\r\n"
    L"}\r\n";

int Show(int seconds) {
    ClassLib::Application->Initialize();
    auto* form = new ClassLib::TForm(nullptr);
    form->SetBounds(20, 20, 640, 400);
    form->SetCaption(L"Editor");
    auto* styler = AdvmCSHS::CreateCMemoStyler(form);
    auto* memo = new AdvMemo::TAdvMemo(form);
    memo->SetParent(form);
    memo->SetAlign(ClassLib::alClient);
    memo->SetSyntaxStyles(styler);
    std::wstring text = SampleText;
    for (int i = 0; i < 30; ++i) text += L"int handler_" + std::to_wstring(i) + L"(void); // a rather long declaration line that runs past the right margin of the view\r\n";
    memo->Lines()->SetText(text);
    memo->ActiveLineSettings()->SetShowActiveLineIndicator(true);
    memo->SetBreakPoint(3, true);
    form->Show();
    memo->SetCursor(23, 8);  // just before the "{" of the while loop
    memo->SetActiveLine(8);
    memo->SetSelStartX(4);
    memo->SetSelStartY(10);
    memo->SetSelEndX(8);
    memo->SetSelEndY(11);
    memo->Invalidate();
    memo->SetFocus();
    const auto start = TClock::now();
    while (MillisecondsSince(start) < seconds * 1000.0) {
        ClassLib::Application->ProcessMessages();
        ::Sleep(20);
    }
    std::printf("max length %d, visible columns %d, horizontal bar %d, vertical bar %d\n", memo->MaxLength(),
                memo->VisiblePosCount(), int(memo->HorzBar().Visible), int(memo->VertBar().Visible));
    delete form;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 && std::strcmp(argv[1], "--show") == 0) return Show(std::atoi(argv[2]));

    const int lineCount = 1000000;
    AdvMemo::TAdvMemo memo(nullptr);
    auto* styler = AdvmCSHS::CreateCMemoStyler(&memo);
    memo.SetSyntaxStyles(styler);
    memo.SetBounds(0, 0, 1000, 800);

    std::wstring text;
    text.reserve(size_t(lineCount) * 48);
    wchar_t line[128];
    for (int i = 0; i < lineCount; ++i) {
        if (i % 4 == 0) std::swprintf(line, 128, L"static void at_cmd_handler_%07d(uint8_t uart_no) {\r\n", i);
        else if (i % 4 == 3) std::swprintf(line, 128, L"} /* end %d */\r\n", i);
        else std::swprintf(line, 128, L"    vx_uart_puts(uart_no, \"OK %07d\"); // 0x%X\r\n", i, i);
        text += line;
    }
    auto start = TClock::now();
    memo.Lines()->SetText(text);
    std::printf("load %d lines: %.1f ms\n", lineCount, MillisecondsSince(start));

    const ClassLib::TWindowDC screen;
    const ClassLib::TOffscreenBuffer buffer(screen.Handle(), memo.Width(), memo.Height());
    HDC dc = buffer.Handle();
    memo.PaintTo(dc);  // measures the font
    memo.SetTopLine(lineCount / 2);
    memo.SetCursor(0, lineCount / 2 + 4);
    std::printf("visible lines: %d\n", memo.VisibleLineCount());

    start = TClock::now();
    memo.PaintTo(dc);
    std::printf("first paint in the middle (state scan from the top): %.2f ms\n", MillisecondsSince(start));

    const int repeats = 50;
    start = TClock::now();
    for (int i = 0; i < repeats; ++i) memo.PaintTo(dc);
    std::printf("repaint of one screen: %.2f ms\n", MillisecondsSince(start) / repeats);

    start = TClock::now();
    for (int i = 0; i < repeats; ++i) {
        memo.Lines()->Put(lineCount / 2 - 10, i % 2 ? L"/* opened" : L"int x;");
        memo.PaintTo(dc);
    }
    std::printf("edit just above the screen, then paint: %.2f ms\n", MillisecondsSince(start) / repeats);

    start = TClock::now();
    for (int i = 0; i < repeats; ++i) {
        memo.SetTopLine(lineCount / 2 + (i % 2) * 40);
        memo.PaintTo(dc);
    }
    std::printf("scroll by a screen, then paint: %.2f ms\n", MillisecondsSince(start) / repeats);

    return 0;
}
