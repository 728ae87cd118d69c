// The editor view's construction, layout, DETAIL mode, interface scaling and lifetime.

#include "view/editor_view.h"

#include "help/help_texts.h"
#include "model/editor_model.h"
#include "toolkit/iron.h"
#include "view/view_layout.h"

namespace {

constexpr NSTimeInterval pollInterval = 0.03333333333333333; // 1/30 s

constexpr unsigned bypassId = classic::model.bypassId;

} // namespace

KelvoView::KelvoView() = default;

std::shared_ptr<KelvoView> KelvoView::initWithUnit(AudioUnit handle) {
    auto view = std::make_shared<KelvoView>();
    if (view->initWithFrame(CGRectMake(0, 0, ViewLayout::boundsWidth, ViewLayout::boundsHeight)) ==
        nullptr) {
        return nullptr;
    }
    view->build(handle);
    return view;
}

void KelvoView::build(AudioUnit handle) {
    unit = handle;
    active = -1;
    needle = classic::editorModel.startNeedle;
    setAppearance(NSAppearance::appearanceNamed(NSAppearanceNameDarkAqua));
    faceplate = classic::editorModel.faceplate();

    // The fixed top row, in this order.
    button("INIT", CGRectMake(95, 18, 121, 44), SELECTOR(KelvoView, initialize));
    std::shared_ptr<KelvoButton> bypass =
        button("BYPASS", CGRectMake(244, 18, 134, 44), SELECTOR(KelvoView, changed));
    bypass->setTag(bypassId);
    bypass->setButtonType(NSButtonTypePushOnPushOff);
    bypass->persistentIndicator = true;
    controls[bypassId] = bypass;
    button("DETAIL", CGRectMake(1518, 18, 132, 44), SELECTOR(KelvoView, detail));
    button("GUIDE", CGRectMake(1674, 18, 174, 44), SELECTOR(KelvoView, guide));
    helpButton = button("?", CGRectMake(1864, 18, 47, 44), SELECTOR(KelvoView, help));
    helpButton->customFace = true;
    helpButton->persistentIndicator = true;
    helpButton->setAccessibilityLabel("Context help");
    presetButton = button("PRESETS", CGRectMake(825, 18, 590, 44), SELECTOR(KelvoView, presets));
    presetButton->customFace = true;

    selectedPreset = "Studio Start";

    buildFaceplate();

    utility = false;
    layoutUtility();

    // The poll starts when the view enters a window (viewWillMoveToWindow): a view in no
    // window may outlive its unit, which a host can dispose of while it keeps the view.
    // The observer's block holds the view weakly: it does not keep it alive, and a
    // notification after it is gone does nothing.
    std::weak_ptr<KelvoView> weak = weakSelf<KelvoView>();
    resignObserver = NSNotificationCenter::defaultCenter()->addObserverForName(
        NSApplicationDidResignActiveNotification, nullptr, nullptr, [weak](NSNotification*) {
            if (std::shared_ptr<KelvoView> view = weak.lock()) {
                view->finish();
            }
        });

    refresh();
}

std::shared_ptr<KelvoButton> KelvoView::button(const NSString& title, CGRect art, SEL action) {
    auto control = std::make_shared<KelvoButton>(ViewLayout::scaled(art));
    control->artRect = art;
    control->setTitle(title);
    control->setTarget(weakSelf());
    control->setAction(action);
    control->setAccessibilityLabel(title);
    addSubview(control);
    return control;
}

void KelvoView::addScaleMenu(const char* const (&titles)[3]) {
    scaleMenu =
        std::make_shared<NSPopUpButton>(ViewLayout::scaled(CGRectMake(1010, 655, 200, 32)), false);
    scaleMenu->addItemsWithTitles({titles[0], titles[1], titles[2]});
    scaleMenu->selectItemAtIndex(2);
    scaleMenu->setTarget(weakSelf());
    scaleMenu->setAction(SELECTOR(KelvoView, resizeUI));
    scaleMenu->setAccessibilityLabel("UI Size");
    addSubview(scaleMenu);
}

std::shared_ptr<NSSlider> KelvoView::slider(unsigned id, CGRect art) {
    const classic::Definition& row = classic::definitions[id];
    auto control = std::make_shared<NSSlider>(ViewLayout::scaled(art));
    control->setMinValue(row.minimum);
    control->setMaxValue(row.maximum);
    control->setTag(id);
    control->setTarget(weakSelf());
    control->setAction(SELECTOR(KelvoView, changed));
    control->setAccessibilityLabel(row.name);
    controls[id] = control;
    addSubview(control);
    return control;
}

std::shared_ptr<KelvoDial> KelvoView::dial(unsigned id, CGPoint c, double hit, double radius,
                                           bool ring, const NSArray& markings) {
    const CGRect art = CGRectMake(c.x - hit / 2, c.y - hit / 2, hit, hit);
    auto control = std::make_shared<KelvoDial>(ViewLayout::scaled(art));
    control->artRect = art;
    control->pointerCenter = c;
    control->pointerRadius = radius;
    control->setTag(id);
    const classic::Definition& row = classic::definitions[id];
    control->minimum = row.minimum;
    control->maximum = row.maximum;
    control->stepped = row.isSwitch || row.isIndexed;
    control->ring = ring;
    control->markings = markings;
    control->setTarget(weakSelf());
    control->setAction(SELECTOR(KelvoView, changed));
    control->setAccessibilityLabel(row.name);
    control->setAccessibilityHelp(parameterHelpText(id));
    controls[id] = control;
    addSubview(control);
    return control;
}

void KelvoView::drawFaceplate() {
    NSGraphicsContext::saveGraphicsState();
    if (faceplate) {
        faceplate->drawInRect(bounds(), NSZeroRect, NSCompositingOperationSourceOver, 1.0, true,
                              NSImageHints{NSImageInterpolationHigh});
    }
    NSGraphicsContext::restoreGraphicsState();
}

void KelvoView::enterArtSpace() {
    const NSRect b = bounds();
    NSAffineTransform art;
    art.scaleXBy(b.size.width / ViewLayout::artWidth, b.size.height / ViewLayout::artHeight);
    art.concat();
}

void KelvoView::detail(NSObject*) {
    utility = !utility;
    layoutUtility();
    setNeedsDisplay(true);
}

void KelvoView::resizeUI(NSPopUpButton* sender) {
    finish();
    NSInteger index = sender != nullptr ? sender->indexOfSelectedItem() : 2;
    if (index < 0 || index > 2) {
        index = 2;
    }
    const double f = scaleFactors[index];
    // The frame changes and the bounds stay, so the faceplate and every control scale.
    setFrameSize(NSSize{ViewLayout::boundsWidth * f, ViewLayout::boundsHeight * f});
    setBoundsSize(NSSize{ViewLayout::boundsWidth, ViewLayout::boundsHeight});
    setNeedsDisplay(true);
}

void KelvoView::viewWillMoveToWindow(NSWindow* newWindow) {
    if (newWindow == nullptr) {
        finish();
        if (guideWindow) {
            guideWindow->close();
        }
        stopPoll();
    } else {
        startPoll();
    }
    NSView::viewWillMoveToWindow(newWindow);
}

void KelvoView::startPoll() {
    if (timer) {
        return; // a move from one window to another keeps the poll going
    }
    // The block holds the view weakly: the timer does not keep it alive, and a tick after it
    // is gone does nothing.
    std::weak_ptr<KelvoView> weak = weakSelf<KelvoView>();
    timer = NSTimer::timerWithTimeInterval(pollInterval, true, [weak](NSTimer*) {
        if (std::shared_ptr<KelvoView> view = weak.lock()) {
            view->refresh();
        }
    });
    NSRunLoop::mainRunLoop()->addTimer(timer, NSRunLoopCommonModes);
}

void KelvoView::stopPoll() {
    if (timer) {
        timer->invalidate();
        timer = nullptr;
    }
}

KelvoView::~KelvoView() {
    stopPoll();
    if (resignObserver) {
        NSNotificationCenter::defaultCenter()->removeObserver(resignObserver);
    }
    if (guideWindow) {
        guideWindow->close();
    }
}
