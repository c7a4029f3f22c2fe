#include "graphics/AdvGDIPStartup.h"

#include "graphics/AdvGDIP.h"
#include "graphics/AdvGDIPlusApi.h"
#include "graphics/AdvGDIPlusClasses.h"
#include "graphics/AdvTypes.h"

namespace AdvGDIPStartup {

TGdiplusSession::TGdiplusSession() {
    AdvGDIPlusApi::LoadGdiplusApi();
    AdvGDIPlusClasses::StartUp();
    AdvGDIP::StartUp();
    AdvTypes::RegisterSVGFormat();
}

TGdiplusSession::~TGdiplusSession() {
    AdvTypes::UnregisterSVGFormat();
    AdvGDIP::ShutDown();
    AdvGDIPlusClasses::ShutDown();
    AdvGDIPlusApi::UnloadGdiplusApi();
}

}  // namespace AdvGDIPStartup
