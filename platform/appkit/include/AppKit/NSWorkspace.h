#pragma once
// NSWorkspace: opening a URL in the system's viewer (a folder in the file browser).
//
// Promises: openURL hands the URL to the host's answer interface (<AppKit/AppKitHost.h>),
// which shows it (or records it) and says whether that worked; without a host it fails.

#include <AppKit/AppKitDefines.h>
#include <Foundation/NSURL.h>

class APPKIT_EXPORT NSWorkspace {
public:
    static NSWorkspace* sharedWorkspace();
    bool openURL(const NSURL& url);

private:
    NSWorkspace() = default;
};
