#pragma once
// The host's part of an effect's editor window: a window whose content view is the Cocoa view
// container the effect's GUI places its view in, sized as the GUI asks.
//
//     std::unique_ptr<AAX_IEffectGUI> gui = instance.openGUI();
//     AAX_Point size{};
//     gui->GetViewSize(&size);
//     CocoaViewContainer container(size); // the window, laid out for the view
//     gui->SetViewContainer(&container);  // the GUI shows its view in it
//     GUITimer timer(*gui);               // the periodic call (GUITimer.h)
//     ...
//     gui->SetViewContainer(nullptr);     // the window closes

#include <AAX/AAX_IViewContainer.h>

#include <AppKit/AppKit.h>

#include <functional>
#include <memory>
#include <vector>

namespace aaxhost {

class CocoaViewContainer final : public AAX_IViewContainer {
public:
    struct Request {
        AAX_Point size{};
        bool accepted = false;
    };

    // [main thread] A window whose content is that size, shown; a size that is not positive
    // and finite gives an empty one.
    explicit CocoaViewContainer(AAX_Point size);
    ~CocoaViewContainer() override;
    CocoaViewContainer(const CocoaViewContainer&) = delete;
    CocoaViewContainer& operator=(const CocoaViewContainer&) = delete;

    int32_t GetType() const override; // AAX_eViewContainer_Type_NSView
    void* GetPtr() const override;    // the window's content view, a flipped NSView*
    // Records the request. Unless refuse is set, or the size is not positive and finite, the
    // window and its content take the size and the answer is AAX_SUCCESS; otherwise
    // AAX_ERROR_UNSPECIFIED and the window stays as it is.
    AAX_Result SetViewSize(AAX_Point& size) override;

    NSWindow& window() { return *window_; }
    NSView& view() { return *window_->contentView(); }
    // Every request, in order.
    const std::vector<Request>& requests() const { return requests_; }

    // Refuses every size from now on, as a host that cannot resize its window.
    bool refuse = false;
    // Called after each request with what it was and how it was answered.
    std::function<void(const Request&)> observer;

private:
    std::shared_ptr<NSWindow> window_;
    std::vector<Request> requests_;
};

} // namespace aaxhost
