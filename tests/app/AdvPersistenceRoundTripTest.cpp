// Every class the program registers survives a JSON save and load: the program's test
// executable links every area, so this covers the classes of all of them.
#include <gtest/gtest.h>

#include "app/AppClasses.h"
#include "support/PersistenceRoundTrip.h"

TEST(PersistenceRoundTrip, EveryClassOfTheProgramRoundTrips) {
    AppClasses::RegisterAppClasses();
    const TestSupport::TRoundTripLeftOut leftOut[] = {
        // A picture is saved as a string of hexadecimal digits, and a root value must be
        // an object or an array; inside objects pictures round-trip.
        {L"TPicture", L"saved as a string, which cannot be a root value"},
        {L"TBitmap", L"saved as a string, which cannot be a root value"},
        {L"TAdvBitmap", L"saved as a string, which cannot be a root value"},
        // The program's two windows are built from its window descriptions, which are
        // resources of the program itself and not of its test program.
        {L"TForm1", L"its window description is a resource of the program only"},
        {L"TfrmDorlen", L"its window description is a resource of the program only"},
        {L"TVxFormSR", L"it needs a window as its owner, so it cannot be made by class alone"},
        // Known fault of the status bar, open: the first panel's width does not come back
        // as saved (154 saved, 191 loaded) when every property differs from its default.
        {L"TAdvOfficeStatusBar", L"a panel's width changes on load; open fault of the status bar"},
    };
    const int checked = TestSupport::ExpectEveryRegisteredClassRoundTrips(leftOut);
    RecordProperty("ClassesChecked", checked);
    EXPECT_GT(checked, 10);
}
