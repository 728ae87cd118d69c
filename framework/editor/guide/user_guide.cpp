// The user guide window and its text.

#include "guide/user_guide.h"

#include "view/editor_view.h"

#include "model.h"

#include <limits>

namespace userguide {

namespace {

constexpr CGFloat largest = std::numeric_limits<double>::max();

// Titled, closable and resizable.
constexpr NSWindowStyleMask guideStyle =
    NSWindowStyleMaskTitled | NSWindowStyleMaskClosable | NSWindowStyleMaskResizable;
static_assert(guideStyle == 11);

} // namespace

NSString text(const NSBundle* bundle) {
    if (bundle != nullptr) {
        if (const NSURL url = bundle->URLForResource("USER-GUIDE", "txt")) {
            if (NSString contents =
                    NSString::stringWithContentsOfURL(url, NSUTF8StringEncoding, nullptr)) {
                return contents;
            }
        }
    }
    return fallbackText;
}

std::shared_ptr<NSWindow> makeWindow(const char* product, const NSString& contents) {
    auto window = std::make_shared<NSWindow>(CGRectMake(0, 0, 740, 600), guideStyle,
                                             NSBackingStoreBuffered, false);
    // The view keeps the window for its whole life and shows it again on the next GUIDE.
    window->setReleasedWhenClosed(false);
    window->setTitle(NSString::stringWithFormat("%s \u00b7 User Guide", product));

    auto scroll = std::make_shared<NSScrollView>(CGRectMake(0, 0, 740, 600));
    scroll->setHasVerticalScroller(true);
    scroll->setAutoresizingMask(NSViewWidthSizable | NSViewHeightSizable);

    auto view = std::make_shared<NSTextView>(CGRectMake(0, 0, 710, 1000));
    view->setEditable(false);
    view->setVerticallyResizable(true);
    view->setHorizontallyResizable(false);
    view->setMinSize(NSSize{0, 600});
    view->setMaxSize(NSSize{largest, largest});
    view->textContainer()->setContainerSize(NSSize{710, largest});
    view->textContainer()->setWidthTracksTextView(true);
    view->setFont(NSFont::systemFontOfSize(15));
    view->setTextContainerInset(NSSize{22, 22});
    view->setAutoresizingMask(NSViewWidthSizable);
    view->setString(contents);

    scroll->setDocumentView(view);
    window->setContentView(scroll);
    window->center();
    return window;
}

} // namespace userguide

void KelvoView::guide(NSControl*) {
    finish();
    if (!guideWindow) {
        const std::shared_ptr<NSBundle> bundle =
            NSBundle::bundleWithIdentifier(classic::model.bundleIdentifier);
        guideWindow = userguide::makeWindow(classic::model.product, userguide::text(bundle.get()));
    }
    // Above the host's window and at its level, so the guide never hides behind the editor.
    if (NSWindow* host = window()) {
        guideWindow->setLevel(host->level());
        host->addChildWindow(guideWindow, NSWindowAbove);
    }
    guideWindow->makeKeyAndOrderFront(nullptr);
}
