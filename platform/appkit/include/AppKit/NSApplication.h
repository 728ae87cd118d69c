#pragma once
// NSApplication: the process's application object: its windows and its notifications.
//
// Promises:
// - orderedWindows() lists the visible windows front to back (a child window directly above
//   its parent); keyWindow() is the key window or nullptr.
// - The application holds a visible window strongly; once ordered out or closed it holds it no
//   more (its owner keeps it alive, as setReleasedWhenClosed:NO does on the platform).
// - resignActive() posts NSApplicationDidResignActiveNotification with the application as the
//   object (what the platform does when the user switches to another program) [host].

#include <AppKit/NSResponder.h>
#include <AppKit/NSWindow.h>
#include <Foundation/NSNotification.h>

#include <vector>

APPKIT_EXPORT extern const NSNotificationName NSApplicationDidResignActiveNotification;
APPKIT_EXPORT extern const NSNotificationName NSApplicationDidBecomeActiveNotification;

class APPKIT_EXPORT NSApplication : public NSResponder {
public:
    static NSApplication* sharedApplication();
    ~NSApplication() override;

    std::vector<std::shared_ptr<NSWindow>> orderedWindows() const;
    NSWindow* keyWindow() const { return key_; }
    bool isActive() const { return active_; }
    void resignActive();   // [host]
    void becomeActive();   // [host]
    void displayWindows(); // [host] displayIfNeeded on every visible window

    // [NSWindow] bookkeeping.
    void orderWindow(NSWindow* window, bool front);
    void removeWindow(NSWindow* window);
    void setKeyWindow(NSWindow* window);

    NSApplication();

private:
    std::vector<std::shared_ptr<NSWindow>> ordered_; // front to back
    NSWindow* key_ = nullptr;
    bool active_ = true;
};
