#include "clipboard/PasteIntoTarget.h"
#include "views/SmallClipDlg.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct PLACEMENT_CASE {
    POINT ptCursor;
    SIZE sizeStored;
    RECT rcScreen;
    RECT rcExpected;
    UINT nDpi = 96;
};

TEST(SmallClipPlacement, OpensAtTheCursorUnlessItWouldPassTheRightOrBottomEdge) {
    const RECT rcFullHd{0, 0, 1920, 1080};
    const PLACEMENT_CASE cases[] = {
        {{1800, 900}, {415, 250}, rcFullHd, {1385, 650, 1800, 900}},
        {{100, 100}, {415, 250}, rcFullHd, {100, 100, 515, 350}},
        // Ending exactly at the edge is not passing it.
        {{1505, 830}, {415, 250}, rcFullHd, {1505, 830, 1920, 1080}},
        {{1506, 831}, {415, 250}, rcFullHd, {1091, 581, 1506, 831}},
        {{1800, 100}, {300, 200}, rcFullHd, {1500, 100, 1800, 300}},
        {{100, 1000}, {300, 200}, rcFullHd, {100, 800, 400, 1000}},
        // Stored sizes that cannot be right give the defaults.
        {{100, 100}, {0, -5}, rcFullHd, {100, 100, 515, 350}},
        {{100, 100}, {5000, 250}, rcFullHd, {100, 100, 515, 350}},
        // The default size is given at 96 DPI; a stored size is pixels as it stands.
        {{100, 100}, {0, 0}, rcFullHd, {100, 100, 723, 475}, 144},
        {{100, 100}, {300, 200}, rcFullHd, {100, 100, 400, 300}, 144},
        // A monitor right of the primary one: its own edges count.
        {{3700, 100}, {415, 250}, {1920, 0, 3840, 1080}, {3285, 100, 3700, 350}},
        {{2000, 100}, {415, 250}, {1920, 0, 3840, 1080}, {2000, 100, 2415, 350}},
    };
    for (const PLACEMENT_CASE& c : cases) {
        const RECT rc = PlaceSmallClipWindow(c.ptCursor, c.sizeStored, c.rcScreen, c.nDpi);
        EXPECT_TRUE(EqualRect(&rc, &c.rcExpected))
            << "cursor " << c.ptCursor.x << "," << c.ptCursor.y << ": got " << rc.left << ","
            << rc.top << "-" << rc.right << "," << rc.bottom;
    }
}

TEST(PasteKeys, TheVKeyOfTheLayoutOrTheVKeyWhenTheLayoutHasNone) {
    EXPECT_EQ(ChoosePasteKey(0x56), 0x56);
    EXPECT_EQ(ChoosePasteKey(0x0156), 0x56); // the shift state is not used
    EXPECT_EQ(ChoosePasteKey(0x4B), 0x4B);   // a layout with v elsewhere
    EXPECT_EQ(ChoosePasteKey(-1), 0x56);     // no key for v at all
}

TEST(PasteKeys, AHeldControlIsNeitherPressedNorReleased) {
    using Events = std::vector<std::pair<BYTE, bool>>;
    auto flatten = [](const std::vector<PASTE_KEY_EVENT>& arr) {
        Events events;
        for (const PASTE_KEY_EVENT& e : arr) {
            events.emplace_back(e.nVirtualKey, e.bKeyUp);
        }
        return events;
    };
    EXPECT_EQ(flatten(MakePasteKeyEvents(false, 0x56)),
              (Events{{VK_CONTROL, false}, {0x56, false}, {0x56, true}, {VK_CONTROL, true}}));
    EXPECT_EQ(flatten(MakePasteKeyEvents(true, 0x56)), (Events{{0x56, false}, {0x56, true}}));
}

} // namespace
