// NSApplication: the window list and the activation notifications.

#include <AppKit/NSApplication.h>

#include <algorithm>

const NSNotificationName NSApplicationDidResignActiveNotification =
    "NSApplicationDidResignActiveNotification";
const NSNotificationName NSApplicationDidBecomeActiveNotification =
    "NSApplicationDidBecomeActiveNotification";

NSApplication::NSApplication() = default;
NSApplication::~NSApplication() = default;

NSApplication* NSApplication::sharedApplication() {
    static auto* application =
        new std::shared_ptr<NSApplication>(std::make_shared<NSApplication>());
    return application->get();
}

std::vector<std::shared_ptr<NSWindow>> NSApplication::orderedWindows() const {
    std::vector<std::shared_ptr<NSWindow>> windows = ordered_;
    // Higher levels are in front; within a level the order of ordering counts.
    std::stable_sort(windows.begin(), windows.end(),
                     [](const auto& a, const auto& b) { return a->level() > b->level(); });
    return windows;
}

void NSApplication::orderWindow(NSWindow* window, bool front) {
    if (!window) {
        return;
    }
    std::shared_ptr<NSWindow> held;
    auto it = std::find_if(ordered_.begin(), ordered_.end(),
                           [&](const auto& w) { return w.get() == window; });
    if (it != ordered_.end()) {
        held = *it;
        ordered_.erase(it);
    } else {
        held = std::static_pointer_cast<NSWindow>(window->weak_from_this().lock());
        if (!held) {
            return; // not owned by a shared_ptr: it cannot be listed
        }
    }
    if (front) {
        ordered_.insert(ordered_.begin(), held);
    } else {
        // Behind: directly below its parent when it has one, else at the back.
        auto parent = std::find_if(ordered_.begin(), ordered_.end(), [&](const auto& w) {
            return w.get() == window->parentWindow();
        });
        ordered_.insert(parent == ordered_.end() ? ordered_.end() : parent + 1, held);
    }
}

void NSApplication::removeWindow(NSWindow* window) {
    if (key_ == window) {
        key_ = nullptr;
    }
    auto it = std::find_if(ordered_.begin(), ordered_.end(),
                           [&](const auto& w) { return w.get() == window; });
    if (it != ordered_.end()) {
        std::shared_ptr<NSWindow> last = std::move(*it);
        ordered_.erase(it);
    }
}

void NSApplication::setKeyWindow(NSWindow* window) {
    key_ = window;
}

void NSApplication::resignActive() {
    active_ = false;
    NSNotificationCenter::defaultCenter()->postNotificationName(
        NSApplicationDidResignActiveNotification, this);
}

void NSApplication::becomeActive() {
    active_ = true;
    NSNotificationCenter::defaultCenter()->postNotificationName(
        NSApplicationDidBecomeActiveNotification, this);
}

void NSApplication::displayWindows() {
    const std::vector<std::shared_ptr<NSWindow>> windows = ordered_;
    for (const auto& w : windows) {
        w->displayIfNeeded();
    }
}
