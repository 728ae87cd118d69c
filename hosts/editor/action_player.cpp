#include "action_player.h"

#include "host_error.h"
#include "main_loop.h"
#include "output_file.h"
#include "printable_text.h"

#include <AppKit/AppKitHost.h>
#include <AppKit/NSImage.h>
#include <AppKit/NSWindow.h>
#include <AppKit/ScriptedUserInterface.h>

using kelvohost::InputError;

namespace {

// A point of the faceplate in art units (1983 by 793) as a view point at 100 %.
constexpr double artScale = 0.75642965204236; // 1500 / 1983

// The interface size pop-up is the view's only pop-up button.
NSPopUpButton* scaleMenu(NSView& view) {
    for (const std::shared_ptr<NSView>& subview : view.subviews()) {
        if (auto* menu = dynamic_cast<NSPopUpButton*>(subview.get())) {
            return menu;
        }
    }
    return nullptr;
}

// The PRESETS button's title, as the faceplate shows it.
std::string presetTitle(NSView& view) {
    for (const std::shared_ptr<NSView>& subview : view.subviews()) {
        if (auto* button = dynamic_cast<NSButton*>(subview.get());
            button != nullptr && button->title().hasPrefix("PRESETS")) {
            return button->title().stdString();
        }
    }
    return "";
}

// The window drawn as it stands, as PNG bytes (empty when it cannot be).
NSData pictureOf(NSWindow& window) {
    window.display();
    const std::shared_ptr<NSBitmapImageRep>& drawn = window.backingImageRep();
    return drawn ? drawn->representationUsingType(NSBitmapImageFileTypePNG) : NSData();
}

// OUT.png gives OUT-guide.png.
std::string guidePNG(const std::string& png) {
    const std::string suffix = ".png";
    const bool hasSuffix = png.size() > suffix.size() &&
                           png.compare(png.size() - suffix.size(), suffix.size(), suffix) == 0;
    return (hasSuffix ? png.substr(0, png.size() - suffix.size()) : png) + "-guide.png";
}

} // namespace

// The user's answers as the command line gives them; a menu path that names no item is an
// error of the command line, not a cancelled menu.
class ActionPlayer::CommandLineAnswers : public appkit::ScriptedUserInterface {
public:
    std::shared_ptr<NSMenuItem> chooseMenuItem(const NSMenu& menu, NSPoint location,
                                               const NSView* view) override {
        const std::string answer = menuAnswers.empty() ? "" : menuAnswers.front();
        std::shared_ptr<NSMenuItem> item =
            ScriptedUserInterface::chooseMenuItem(menu, location, view);
        if (!item && !answer.empty() && answer != kCancel) {
            missed = answer;
        }
        return item;
    }
    std::string missed;
};

ActionPlayer::ActionPlayer(EditorInput& input, EditorHostActions& host)
    : input_(input), host_(host), answers_(std::make_shared<CommandLineAnswers>()) {
    appkit::setUserInterfaceHost(answers_);
}

ActionPlayer::~ActionPlayer() {
    appkit::setUserInterfaceHost(nullptr);
}

void ActionPlayer::perform(const EditorAction& action) {
    using Kind = EditorAction::Kind;
    switch (action.kind) {
    case Kind::set:
        host_.set(action.text);
        break;
    case Kind::input:
        host_.input(action.text);
        break;
    case Kind::click:
        input_.click(action.x, action.y, 1, action.shift);
        break;
    case Kind::doubleClick:
        input_.click(action.x, action.y, 1, action.shift);
        input_.click(action.x, action.y, 2, action.shift);
        break;
    case Kind::drag:
        input_.drag(action);
        break;
    case Kind::wheel:
        input_.wheel(action);
        break;
    case Kind::key:
        input_.key(action);
        break;
    case Kind::detail:
        input_.click(1584 * artScale, 40 * artScale, 1); // DETAIL
        break;
    case Kind::scale:
        if (NSPopUpButton* menu = scaleMenu(input_.view())) {
            menu->selectItemAtIndex(action.count == 75 ? 0 : action.count == 85 ? 1 : 2);
            menu->sendAction(menu->action(), nullptr);
            host_.followSize();
        }
        break;
    case Kind::ticks:
        for (int i = 0; i < action.count; ++i) {
            poll();
        }
        pumpMainRunLoop();
        return;
    case Kind::presetMenu:
        // The menu and the panel it opens ask their answers while PRESETS is clicked.
        answers_->queueMenuAnswer(action.text);
        if (!action.answer.empty()) {
            answers_->queueFileAnswer(action.answer);
        }
        input_.click(1120 * artScale, 40 * artScale, 1); // PRESETS
        pumpMainRunLoop();                               // the sheet's completion
        answers_->fileAnswers.clear();
        if (!answers_->missed.empty()) {
            throw InputError("the preset menu has no item \"" + answers_->missed + "\"");
        }
        presetsUsed_ = true;
        break;
    case Kind::helpMode:
        input_.click(1887.5 * artScale, 40 * artScale, 1); // ?
        break;
    case Kind::hover:
        appkit::setMouseLocation(
            input_.window().convertPointToScreen(input_.toWindow(action.x, action.y)));
        advancePoll(); // help mode follows the mouse at the poll
        break;
    case Kind::guide:
        input_.click(1761 * artScale, 40 * artScale, 1); // GUIDE
        guideShown_ = true;
        break;
    }
    pollDue_ = true;
    pumpMainRunLoop();
}

void ActionPlayer::poll() {
    advancePoll();
    pollDue_ = false;
}

void ActionPlayer::writeImages(const std::string& png) {
    if (pollDue_) {
        poll();
    }
    // Both pictures drawn before either file is touched, then written together.
    std::vector<NSData> images{pictureOf(input_.window())};
    std::vector<std::string> paths{png};
    if (guideShown_) {
        const std::vector<std::shared_ptr<NSWindow>>& children = input_.window().childWindows();
        if (children.empty()) {
            throw InputError("GUIDE showed no window");
        }
        images.push_back(pictureOf(*children.front()));
        paths.push_back(guidePNG(png));
    }
    std::vector<kelvohost::OutputBytes> outputs;
    for (std::size_t i = 0; i < images.size(); ++i) {
        if (!images[i]) {
            throw InputError(paths[i] + ": the window could not be drawn as a PNG");
        }
        const kelvohost::OutputTarget target = kelvohost::resolveOutputTarget(paths[i]);
        if (kelvohost::leadsToStandardOutput(target)) {
            throw InputError(paths[i] + ": the picture would go to stdout, where the program " +
                             "prints what it received");
        }
        const auto* bytes = static_cast<const std::uint8_t*>(images[i].bytes());
        outputs.push_back({target, {bytes, images[i].length()}});
    }
    kelvohost::writeOutputFiles(outputs);
}

std::vector<std::string> ActionPlayer::presetLines() const {
    std::vector<std::string> lines;
    // The alerts and the title may hold a preset's name as the user typed or saved it.
    for (const auto& alert : answers_->alertsShown) {
        lines.push_back(
            kelvohost::printableText("alert " + alert.messageText + ": " + alert.informativeText));
    }
    if (presetsUsed_) {
        lines.push_back(kelvohost::printableText("title " + presetTitle(input_.view())));
    }
    return lines;
}
