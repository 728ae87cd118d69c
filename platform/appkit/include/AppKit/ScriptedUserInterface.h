#pragma once
// ScriptedUserInterface: a UserInterfaceHost that gives queued answers and records what the
// user was shown, for headless hosts and tests.
//
// Promises:
// - Menus: each pop-up takes the next queued answer: a title path ("Vocals/Warm Body",
//   through NSMenu::itemWithTitlePath) or kCancel. An empty queue or a path that names no
//   item cancels. Every menu shown is recorded as its outline.
// - Panels: each save or open panel takes the next queued file answer: a path (relative paths
//   are taken in the panel's directory) or kCancel; an empty queue cancels. Each panel is
//   recorded (kind, directory, proposed name, allowed types).
// - Alerts are recorded (message, informative text) and dismissed with
//   NSAlertFirstButtonReturn.
// - openURL records the URL and succeeds.

#include <AppKit/AppKitHost.h>

#include <deque>
#include <string>
#include <vector>

namespace appkit {

class APPKIT_EXPORT ScriptedUserInterface : public UserInterfaceHost {
public:
    static constexpr const char* kCancel = "cancel";

    struct PanelRecord {
        bool open = false;
        std::string directory;
        std::string nameField;
        std::vector<std::string> allowedFileTypes;
        bool canCreateDirectories = false;
        bool allowsMultipleSelection = false;
    };
    struct AlertRecord {
        std::string messageText;
        std::string informativeText;
        bool sheet = false; // begun on a window
    };

    void queueMenuAnswer(std::string titlePathOrCancel) {
        menuAnswers.push_back(std::move(titlePathOrCancel));
    }
    void queueFileAnswer(std::string pathOrCancel) {
        fileAnswers.push_back(std::move(pathOrCancel));
    }

    std::deque<std::string> menuAnswers;
    std::deque<std::string> fileAnswers;
    std::vector<std::string> menusShown; // outlines
    std::vector<PanelRecord> panelsShown;
    std::vector<AlertRecord> alertsShown;
    std::vector<std::string> urlsOpened; // paths

    std::shared_ptr<NSMenuItem> chooseMenuItem(const NSMenu& menu, NSPoint location,
                                               const NSView* view) override;
    PanelAnswer answerSavePanel(const NSSavePanel& panel, const NSWindow* window) override;
    PanelAnswer answerOpenPanel(const NSOpenPanel& panel, const NSWindow* window) override;
    NSModalResponse answerAlert(const NSAlert& alert, const NSWindow* window) override;
    bool openURL(const NSURL& url) override;

private:
    PanelAnswer answerPanel(const NSSavePanel& panel);
};

} // namespace appkit
