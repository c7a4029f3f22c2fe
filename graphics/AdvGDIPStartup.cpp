#include "graphics/AdvGDIPStartup.h"

#include "graphics/AdvGDIP.h"
#include "graphics/AdvGDIPlusApi.h"
#include "graphics/AdvGDIPlusClasses.h"

namespace AdvGDIPStartup {

TGdiplusSession::TGdiplusSession() {
    AdvGDIPlusApi::LoadGdiplusApi();
    AdvGDIPlusClasses::StartUp();
    AdvGDIP::StartUp();
}

TGdiplusSession::~TGdiplusSession() {
    AdvGDIP::ShutDown();
    AdvGDIPlusClasses::ShutDown();
    AdvGDIPlusApi::UnloadGdiplusApi();
}

}  // namespace AdvGDIPStartup
