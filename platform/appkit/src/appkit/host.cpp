// The host's answer interface: the installed host, the cancelling default and the scripted host.

#include <AppKit/ScriptedUserInterface.h>

namespace appkit {
namespace {

// What a process without a user gets: nothing chosen, nothing opened.
class CancellingHost final : public UserInterfaceHost {
public:
    std::shared_ptr<NSMenuItem> chooseMenuItem(const NSMenu&, NSPoint, const NSView*) override {
        return nullptr;
    }
    PanelAnswer answerSavePanel(const NSSavePanel&, const NSWindow*) override { return {}; }
    PanelAnswer answerOpenPanel(const NSOpenPanel&, const NSWindow*) override { return {}; }
    NSModalResponse answerAlert(const NSAlert&, const NSWindow*) override {
        return NSAlertFirstButtonReturn;
    }
    bool openURL(const NSURL&) override { return false; }
};

std::shared_ptr<UserInterfaceHost>& installed() {
    static auto* host = new std::shared_ptr<UserInterfaceHost>(std::make_shared<CancellingHost>());
    return *host;
}

std::vector<std::string> lowered(const std::vector<NSString>& types) {
    std::vector<std::string> out;
    for (const NSString& t : types) {
        out.push_back(t.stdString());
    }
    return out;
}

} // namespace

UserInterfaceHost::~UserInterfaceHost() = default;

void setUserInterfaceHost(std::shared_ptr<UserInterfaceHost> host) {
    installed() = host ? std::move(host) : std::make_shared<CancellingHost>();
}

UserInterfaceHost& userInterfaceHost() {
    return *installed();
}

std::shared_ptr<NSMenuItem> ScriptedUserInterface::chooseMenuItem(const NSMenu& menu, NSPoint,
                                                                  const NSView*) {
    menusShown.push_back(menu.outline());
    if (menuAnswers.empty()) {
        return nullptr;
    }
    const std::string answer = menuAnswers.front();
    menuAnswers.pop_front();
    if (answer == kCancel) {
        return nullptr;
    }
    return menu.itemWithTitlePath(NSString(std::string_view(answer)));
}

UserInterfaceHost::PanelAnswer ScriptedUserInterface::answerPanel(const NSSavePanel& panel) {
    PanelRecord record;
    record.open = panel.isOpenPanel();
    record.directory = panel.directoryURL() ? panel.directoryURL().path().stdString() : "";
    record.nameField = panel.nameFieldStringValue() ? panel.nameFieldStringValue().stdString() : "";
    record.allowedFileTypes = lowered(panel.allowedFileTypes());
    record.canCreateDirectories = panel.canCreateDirectories();
    if (const auto* open = dynamic_cast<const NSOpenPanel*>(&panel)) {
        record.allowsMultipleSelection = open->allowsMultipleSelection();
    }
    panelsShown.push_back(record);
    if (fileAnswers.empty()) {
        return {};
    }
    const std::string answer = fileAnswers.front();
    fileAnswers.pop_front();
    if (answer == kCancel || answer.empty()) {
        return {};
    }
    const NSString path{std::string_view(answer)};
    if (!path.isAbsolutePath() && panel.directoryURL()) {
        return {NSModalResponseOK, panel.directoryURL().URLByAppendingPathComponent(path, false)};
    }
    return {NSModalResponseOK, NSURL::fileURLWithPath(path.stringByStandardizingPath(), false)};
}

UserInterfaceHost::PanelAnswer ScriptedUserInterface::answerSavePanel(const NSSavePanel& panel,
                                                                      const NSWindow*) {
    return answerPanel(panel);
}

UserInterfaceHost::PanelAnswer ScriptedUserInterface::answerOpenPanel(const NSOpenPanel& panel,
                                                                      const NSWindow*) {
    return answerPanel(panel);
}

NSModalResponse ScriptedUserInterface::answerAlert(const NSAlert& alert, const NSWindow* window) {
    alertsShown.push_back({alert.messageText() ? alert.messageText().stdString() : "",
                           alert.informativeText() ? alert.informativeText().stdString() : "",
                           window != nullptr});
    return NSAlertFirstButtonReturn;
}

bool ScriptedUserInterface::openURL(const NSURL& url) {
    urlsOpened.push_back(url.path().stdString());
    return true;
}

} // namespace appkit
