#include "editor_session.h"

#include "action_player.h"
#include "first_input.h"
#include "host_error.h"
#include "host_receipts.h"
#include "main_loop.h"
#include "parameter_values.h"
#include "program_main.h"

#include <AAXHost/GUITimer.h>
#include <AAXHost/ViewContainer.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>

namespace kelvohost {
namespace {

constexpr int32_t blockFrames = 512;

// The editor's window as the host keeps it: the GUI, the container it was given and the
// periodic call, taken down in the host's order (the call stops, the window closes, the GUI
// goes).
class HostedEditor {
public:
    HostedEditor(aaxhost::Instance& instance, aaxhost::GUIProcess process, HostReceipts& receipts,
                 const std::string& product) {
        gui_ = instance.openGUI(process);
        if (gui_ == nullptr) {
            throw InputError(product + " makes no editor");
        }
        AAX_Point size{};
        gui_->GetViewSize(&size);
        container_ = std::make_unique<aaxhost::CocoaViewContainer>(size);
        container_->observer = [&receipts](const aaxhost::CocoaViewContainer::Request& request) {
            receipts.sizeRequested(request);
        };
        gui_->SetViewContainer(container_.get());
        timer_ = std::make_unique<aaxhost::GUITimer>(*gui_);
    }
    ~HostedEditor() {
        timer_.reset();
        gui_->SetViewContainer(nullptr);
        gui_.reset();
    }
    HostedEditor(const HostedEditor&) = delete;
    HostedEditor& operator=(const HostedEditor&) = delete;

    NSWindow& window() { return container_->window(); }
    aaxhost::GUITimer& timer() { return *timer_; }
    // What the GUI placed in the container, or null.
    NSView* view() {
        const auto& subviews = container_->view().subviews();
        return subviews.empty() ? nullptr : subviews.front().get();
    }

private:
    std::unique_ptr<aaxhost::CocoaViewContainer> container_;
    std::unique_ptr<AAX_IEffectGUI> gui_;
    std::unique_ptr<aaxhost::GUITimer> timer_;
};

// What the AAX host does for the actions that are its own: parameters through its
// automation, audio through the process procedure, its window laid out anew after the editor
// changed its size.
class HostActions : public EditorHostActions {
public:
    HostActions(aaxhost::Instance& instance, const std::vector<HostParameter>& parameters,
                HostedEditor& editor, const FirstInput& first)
        : instance_(instance), parameters_(parameters), editor_(editor), first_(first) {}

    void set(const std::string& assignment) override {
        const auto [identifier, normalized] = parameterAssignment(parameters_, assignment);
        if (const AAX_Result result = instance_.setParameter(identifier.c_str(), normalized);
            result != AAX_SUCCESS) {
            throw InputError(identifier + ": the plug-in refused the value (AAX result " +
                             std::to_string(result) + ")");
        }
    }

    void input(const std::string& path) override { render(first_.audioFor(path)); }

    void followSize() override { editor_.timer().wake(); }

private:
    void render(const AudioData& audio) {
        const unsigned channels = instance_.component().inputChannels();
        std::vector<std::vector<float>> output(channels, std::vector<float>(blockFrames));
        std::vector<const float*> in(channels);
        std::vector<float*> out(channels);
        for (std::size_t start = 0; start < audio.frameCount(); start += blockFrames) {
            const auto frames = static_cast<int32_t>(
                std::min<std::size_t>(blockFrames, audio.frameCount() - start));
            for (unsigned c = 0; c < channels; ++c) {
                in[c] = audio.channels[std::min(c, audio.channelCount() - 1)].data() + start;
                out[c] = output[c].data();
            }
            instance_.process(in.data(), out.data(), frames);
        }
    }

    aaxhost::Instance& instance_;
    const std::vector<HostParameter>& parameters_;
    HostedEditor& editor_;
    const FirstInput& first_;
};

} // namespace

int showEditor(const AaxOptions& options, const PluginSession& session) {
    startManualClock();
    // The user preset folder lies under the home folder, read on every use.
    if (options.home) {
        setenv("HOME", options.home->c_str(), 1);
    }
    // The input is refused as a render refuses it: the editor cannot play what the plug-in
    // cannot.
    const FirstInput first = firstInput(options.editorActions);
    const std::unique_ptr<aaxhost::Instance> started = startInstance(
        session, session.componentForInput(first.path, first.channels), first.sampleRate);
    aaxhost::Instance& instance = *started;
    const std::vector<HostParameter> parameters = hostParameters(instance.effect());
    HostReceipts receipts(instance.automation(), parameters);

    HostedEditor editor(
        instance, options.otherProcess ? aaxhost::GUIProcess::other : aaxhost::GUIProcess::same,
        receipts, session.location.product);
    pumpMainRunLoop(); // the first periodic call
    NSView* view = editor.view();
    if (view == nullptr) {
        throw std::runtime_error(session.location.product + " showed nothing in its window");
    }
    EditorInput input(editor.window(), *view);
    HostActions actions(instance, parameters, editor, first);
    ActionPlayer player(input, actions);
    for (const EditorAction& action : options.editorActions) {
        player.perform(action);
    }
    player.writeImages(*options.png);
    passEventTime(); // what the plug-in's listener still holds reaches the host
    for (const std::string& line : receipts.lines()) {
        std::cout << line << "\n";
    }
    for (const std::string& line : player.presetLines()) {
        std::cout << line << "\n";
    }
    return exitSuccess;
}

} // namespace kelvohost
