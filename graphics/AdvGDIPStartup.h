#pragma once
// Starting and stopping GDI+ for the whole program: the run-time binding, then the
// run-time family, then the statically linked family, then the picture formats drawn
// with it (SVG); the reverse at exit.

namespace AdvGDIPStartup {

// Held for the program's life (or a test executable's); its end stops GDI+.
class TGdiplusSession {
public:
    TGdiplusSession();
    ~TGdiplusSession();
    TGdiplusSession(const TGdiplusSession&) = delete;
    TGdiplusSession& operator=(const TGdiplusSession&) = delete;
};

}  // namespace AdvGDIPStartup
