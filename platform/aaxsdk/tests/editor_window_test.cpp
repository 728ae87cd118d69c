// The host side of an editor: the periodic call's schedule, and the view container that sizes
// its window as the GUI asks.

#include <AAXHost/GUITimer.h>
#include <AAXHost/ViewContainer.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

class CountingGUI final : public AAX_IEffectGUI {
public:
    AAX_Result Initialize(AAX_IEffectParameters*) override { return AAX_SUCCESS; }
    AAX_Result SetViewContainer(AAX_IViewContainer*) override { return AAX_SUCCESS; }
    AAX_Result GetViewSize(AAX_Point*) const override { return AAX_SUCCESS; }
    AAX_Result TimerWakeup() override {
        ++wakeups;
        return AAX_SUCCESS;
    }
    int wakeups = 0;
};

TEST(GUITimer, CallsAtOnceThenThirtyTimesASecondWhileItLives) {
    CFRunLoopUseManualClockForTesting(true);
    CountingGUI gui;
    {
        aaxhost::GUITimer timer(gui);
        CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false);
        EXPECT_EQ(gui.wakeups, 1) << "the first call at the next pass";
        CFRunLoopRunInMode(kCFRunLoopDefaultMode, 1.0, false);
        EXPECT_EQ(gui.wakeups, 31);
        EXPECT_EQ(timer.wake(), AAX_SUCCESS);
        EXPECT_EQ(gui.wakeups, 32);
    }
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 1.0, false);
    EXPECT_EQ(gui.wakeups, 32);
    CFRunLoopUseManualClockForTesting(false);
}

TEST(CocoaViewContainer, SizesItsWindowAsTheGUIAsks) {
    aaxhost::CocoaViewContainer container(AAX_Point{100, 600});
    EXPECT_EQ(container.GetType(), AAX_eViewContainer_Type_NSView);
    EXPECT_EQ(container.GetPtr(), &container.view());
    EXPECT_TRUE(NSEqualSizes(container.window().frame().size, NSSize{600, 100}));

    AAX_Point size{599.85f, 1500};
    EXPECT_EQ(container.SetViewSize(size), AAX_SUCCESS);
    EXPECT_EQ(container.window().frame().size.width, 1500);
    EXPECT_EQ(container.view().frame().size.height, 599.85f);
    for (AAX_Point bad : {AAX_Point{0, 10}, AAX_Point{NAN, 10}, AAX_Point{10, INFINITY}}) {
        EXPECT_EQ(container.SetViewSize(bad), AAX_ERROR_UNSPECIFIED);
    }
    container.refuse = true;
    AAX_Point small{10, 10};
    EXPECT_EQ(container.SetViewSize(small), AAX_ERROR_UNSPECIFIED);
    EXPECT_EQ(container.window().frame().size.width, 1500) << "refused sizes change nothing";
    ASSERT_EQ(container.requests().size(), 5u);
    EXPECT_TRUE(container.requests()[0].accepted);
    EXPECT_FALSE(container.requests()[4].accepted);
}

} // namespace
