#pragma once
// Save and open panels and alerts, begun as sheets (or run modally).
//
// Promises:
// - beginSheetModalForWindow asks the host's answer interface (<AppKit/AppKitHost.h>) for the
//   user's answer, then runs the completion handler with it on the main run loop's next turn
//   (common modes); until then the panel and the handler (and what it captures) stay alive.
//   The window may be nullptr (an application-modal panel). runModal asks and returns at once.
// - Save panel: an OK answer sets URL(); a name without one of the allowed extensions gets the
//   first allowed extension appended (the platform's behaviour); a bare file name is taken in
//   directoryURL.
// - Open panel: an OK answer sets URL() and URLs() (one URL with single selection).
// - Alert: the host sees the message and informative text; the response is the host's
//   (NSAlertFirstButtonReturn for a dismissed alert). A nullptr handler is allowed.
// - NSModalResponseOK is 1 and NSModalResponseCancel 0.

#include <AppKit/NSWindow.h>
#include <Foundation/NSURL.h>

#include <functional>
#include <vector>

typedef NSInteger NSModalResponse;
inline constexpr NSModalResponse NSModalResponseCancel = 0;
inline constexpr NSModalResponse NSModalResponseOK = 1;
inline constexpr NSModalResponse NSAlertFirstButtonReturn = 1000;
inline constexpr NSModalResponse NSAlertSecondButtonReturn = 1001;

class APPKIT_EXPORT NSSavePanel : public NSObject {
public:
    using Completion = std::function<void(NSModalResponse result)>;

    static std::shared_ptr<NSSavePanel> savePanel();
    NSSavePanel();
    ~NSSavePanel() override;

    const std::vector<NSString>& allowedFileTypes() const { return allowedFileTypes_; }
    void setAllowedFileTypes(const std::vector<NSString>& types) { allowedFileTypes_ = types; }
    bool canCreateDirectories() const { return canCreateDirectories_; }
    void setCanCreateDirectories(bool flag) { canCreateDirectories_ = flag; }
    const NSURL& directoryURL() const { return directoryURL_; }
    void setDirectoryURL(const NSURL& url) { directoryURL_ = url; }
    const NSString& nameFieldStringValue() const { return nameField_; }
    void setNameFieldStringValue(const NSString& name) { nameField_ = name; }
    const NSString& message() const { return message_; }
    void setMessage(const NSString& message) { message_ = message; }
    const NSURL& URL() const { return url_; }

    void beginSheetModalForWindow(NSWindow* window, Completion completionHandler);
    NSModalResponse runModal();
    virtual bool isOpenPanel() const { return false; }

protected:
    virtual NSModalResponse ask(NSWindow* window);
    void setAnswer(NSModalResponse response, const NSURL& url);
    NSURL url_;

private:
    std::vector<NSString> allowedFileTypes_;
    bool canCreateDirectories_ = false;
    NSURL directoryURL_;
    NSString nameField_;
    NSString message_;
};

class APPKIT_EXPORT NSOpenPanel : public NSSavePanel {
public:
    static std::shared_ptr<NSOpenPanel> openPanel();
    NSOpenPanel();
    ~NSOpenPanel() override;

    bool allowsMultipleSelection() const { return multiple_; }
    void setAllowsMultipleSelection(bool flag) { multiple_ = flag; }
    bool canChooseFiles() const { return files_; }
    void setCanChooseFiles(bool flag) { files_ = flag; }
    bool canChooseDirectories() const { return directories_; }
    void setCanChooseDirectories(bool flag) { directories_ = flag; }
    std::vector<NSURL> URLs() const;
    bool isOpenPanel() const override { return true; }

protected:
    NSModalResponse ask(NSWindow* window) override;

private:
    bool multiple_ = false, files_ = true, directories_ = false;
};

enum NSAlertStyle : NSUInteger {
    NSAlertStyleWarning = 0,
    NSAlertStyleInformational = 1,
    NSAlertStyleCritical = 2,
};

class APPKIT_EXPORT NSAlert : public NSObject {
public:
    using Completion = std::function<void(NSModalResponse result)>;

    NSAlert();
    ~NSAlert() override;

    const NSString& messageText() const { return messageText_; }
    void setMessageText(const NSString& text) { messageText_ = text; }
    const NSString& informativeText() const { return informativeText_; }
    void setInformativeText(const NSString& text) { informativeText_ = text; }
    NSAlertStyle alertStyle() const { return style_; }
    void setAlertStyle(NSAlertStyle style) { style_ = style; }
    void addButtonWithTitle(const NSString& title) { buttons_.push_back(title); }
    std::vector<NSString> buttonTitles() const; // "OK" when none was added

    void beginSheetModalForWindow(NSWindow* window, Completion completionHandler);
    NSModalResponse runModal();

private:
    NSString messageText_;
    NSString informativeText_;
    NSAlertStyle style_ = NSAlertStyleWarning;
    std::vector<NSString> buttons_;
};
