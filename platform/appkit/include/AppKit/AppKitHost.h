#pragma once
// The host's side of the AppKit stand-in: what a real window server and user would supply.
//
// - UserInterfaceHost answers for the user: which menu item, which file, OK or Cancel, and
//   shows URLs. Hosts and tests install one (ScriptedUserInterface scripts the answers); an
//   interactive backend could sit behind the same interface. Without one, menus and panels
//   are cancelled, alerts dismissed and openURL fails.
// - The mouse location, the held modifier keys and the screen are set here.
// - NSLog lines go to a sink (standard error by default).
// - A host that plays a second process inside this one (an AAX host whose editor runs apart
//   from its data model) tells NSProcessInfo which process is acting.
//
// Every call is [main thread]. The answer functions are called synchronously from the AppKit
// call that needs them (popUpMenuPositioningItem, beginSheetModalForWindow, runModal,
// openURL); a host may run the main run loop's common modes meanwhile, as menu tracking does.

#include <AppKit/NSEvent.h>
#include <AppKit/NSMenu.h>
#include <AppKit/NSPanel.h>
#include <Foundation/NSURL.h>

#include <functional>
#include <memory>

namespace appkit {

class APPKIT_EXPORT UserInterfaceHost {
public:
    struct PanelAnswer {
        NSModalResponse response = NSModalResponseCancel;
        NSURL url; // the chosen file, for NSModalResponseOK
    };

    virtual ~UserInterfaceHost();
    // The item chosen in menu or one of its submenus, or nullptr to cancel. location is in
    // view's coordinates (screen coordinates without a view).
    virtual std::shared_ptr<NSMenuItem> chooseMenuItem(const NSMenu& menu, NSPoint location,
                                                       const NSView* view) = 0;
    virtual PanelAnswer answerSavePanel(const NSSavePanel& panel, const NSWindow* window) = 0;
    virtual PanelAnswer answerOpenPanel(const NSOpenPanel& panel, const NSWindow* window) = 0;
    virtual NSModalResponse answerAlert(const NSAlert& alert, const NSWindow* window) = 0;
    virtual bool openURL(const NSURL& url) = 0;
};

// nullptr restores the default (cancel everything).
APPKIT_EXPORT void setUserInterfaceHost(std::shared_ptr<UserInterfaceHost> host);
APPKIT_EXPORT UserInterfaceHost& userInterfaceHost();

APPKIT_EXPORT void setMouseLocation(NSPoint screenLocation);
APPKIT_EXPORT void setModifierFlags(NSEventModifierFlags flags);
APPKIT_EXPORT void setMainScreen(NSRect frame, CGFloat backingScaleFactor);
// nullptr restores standard error.
APPKIT_EXPORT void setLogSink(std::function<void(const char* line)> sink);
// The identifier NSProcessInfo reports from now on; 0 restores the process's own.
APPKIT_EXPORT void setProcessIdentifier(int identifier);

} // namespace appkit
