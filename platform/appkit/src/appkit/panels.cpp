// Save and open panels, alerts and the workspace, answered by the host.

#include <AppKit/AppKitHost.h>
#include <AppKit/NSPanel.h>
#include <AppKit/NSWorkspace.h>

#include <CoreFoundation/CoreFoundation.h>

namespace {

// Runs the completion on the main run loop's next turn, in every mode.
void later(std::function<void()> work) {
    CFRunLoopPerformBlock(CFRunLoopGetMain(), kCFRunLoopCommonModes, std::move(work));
    CFRunLoopWakeUp(CFRunLoopGetMain());
}

NSURL resolved(const NSURL& answer, const NSURL& directory) {
    if (!answer) {
        return answer;
    }
    const NSString path = answer.path();
    if (path.isAbsolutePath() || !directory) {
        return answer.URLByStandardizingPath();
    }
    return directory.URLByAppendingPathComponent(path).URLByStandardizingPath();
}

} // namespace

std::shared_ptr<NSSavePanel> NSSavePanel::savePanel() {
    return std::make_shared<NSSavePanel>();
}

NSSavePanel::NSSavePanel() = default;
NSSavePanel::~NSSavePanel() = default;

void NSSavePanel::setAnswer(NSModalResponse response, const NSURL& url) {
    url_ = response == NSModalResponseOK ? url : NSURL();
}

NSModalResponse NSSavePanel::ask(NSWindow* window) {
    appkit::UserInterfaceHost::PanelAnswer answer =
        appkit::userInterfaceHost().answerSavePanel(*this, window);
    if (answer.response != NSModalResponseOK || !answer.url) {
        setAnswer(NSModalResponseCancel, NSURL());
        return NSModalResponseCancel;
    }
    NSURL url = resolved(answer.url, directoryURL_);
    if (!allowedFileTypes_.empty()) {
        const NSString extension = url.pathExtension().lowercaseString();
        bool allowed = false;
        for (const NSString& type : allowedFileTypes_) {
            allowed = allowed || extension == type.lowercaseString();
        }
        if (!allowed) {
            url = url.URLByAppendingPathExtension(allowedFileTypes_.front());
        }
    }
    setAnswer(NSModalResponseOK, url);
    return NSModalResponseOK;
}

void NSSavePanel::beginSheetModalForWindow(NSWindow* window, Completion completionHandler) {
    const NSModalResponse response = ask(window);
    // The pending completion holds the panel as the platform's sheet does.
    std::shared_ptr<NSSavePanel> self =
        std::static_pointer_cast<NSSavePanel>(weak_from_this().lock());
    later([self, handler = std::move(completionHandler), response] {
        if (handler) {
            handler(response);
        }
    });
}

NSModalResponse NSSavePanel::runModal() {
    return ask(nullptr);
}

std::shared_ptr<NSOpenPanel> NSOpenPanel::openPanel() {
    return std::make_shared<NSOpenPanel>();
}

NSOpenPanel::NSOpenPanel() = default;
NSOpenPanel::~NSOpenPanel() = default;

NSModalResponse NSOpenPanel::ask(NSWindow* window) {
    appkit::UserInterfaceHost::PanelAnswer answer =
        appkit::userInterfaceHost().answerOpenPanel(*this, window);
    if (answer.response != NSModalResponseOK || !answer.url) {
        setAnswer(NSModalResponseCancel, NSURL());
        return NSModalResponseCancel;
    }
    setAnswer(NSModalResponseOK, resolved(answer.url, directoryURL()));
    return NSModalResponseOK;
}

std::vector<NSURL> NSOpenPanel::URLs() const {
    return url_ ? std::vector<NSURL>{url_} : std::vector<NSURL>{};
}

NSAlert::NSAlert() = default;
NSAlert::~NSAlert() = default;

std::vector<NSString> NSAlert::buttonTitles() const {
    return buttons_.empty() ? std::vector<NSString>{NSString("OK")} : buttons_;
}

void NSAlert::beginSheetModalForWindow(NSWindow* window, Completion completionHandler) {
    const NSModalResponse response = appkit::userInterfaceHost().answerAlert(*this, window);
    std::shared_ptr<NSAlert> self = std::static_pointer_cast<NSAlert>(weak_from_this().lock());
    later([self, handler = std::move(completionHandler), response] {
        if (handler) {
            handler(response);
        }
    });
}

NSModalResponse NSAlert::runModal() {
    return appkit::userInterfaceHost().answerAlert(*this, nullptr);
}

NSWorkspace* NSWorkspace::sharedWorkspace() {
    static NSWorkspace workspace;
    return &workspace;
}

bool NSWorkspace::openURL(const NSURL& url) {
    return url && appkit::userInterfaceHost().openURL(url);
}
