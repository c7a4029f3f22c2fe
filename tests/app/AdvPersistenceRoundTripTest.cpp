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
        // With its page-state saving switched on it writes the pages' state, when it goes,
        // to the file the scrambled settings name; the controls' tests cover that saving.
        {L"TAdvPageControl", L"it saves its pages' state to the file its settings name when it goes"},
        // A panel with AutoSize on takes its width from its text whenever the text or the
        // switch is set, so a width set by hand afterwards is not what a reload gives.
        {L"TAdvOfficeStatusBar", L"an auto-sized panel's width follows its text, not a width set by hand"},
    };
    const int checked = TestSupport::ExpectEveryRegisteredClassRoundTrips(leftOut);
    RecordProperty("ClassesChecked", checked);
    EXPECT_GT(checked, 10);
}
