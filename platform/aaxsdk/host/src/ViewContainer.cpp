#include <AAXHost/ViewContainer.h>

#include <cmath>

namespace aaxhost {
namespace {

bool drawable(const AAX_Point& size) {
    return std::isfinite(size.horz) && std::isfinite(size.vert) && size.horz > 0 && size.vert > 0;
}

NSSize windowSize(const AAX_Point& size) {
    return drawable(size) ? NSSize{size.horz, size.vert} : NSSize{0, 0};
}

// The container's view is flipped, as a host's editor area is: a view placed at its origin
// sits at the window's top left, however the window's size rounds.
class ContainerView final : public NSView {
public:
    using NSView::NSView;
    bool isFlipped() const override { return true; }
};

} // namespace

CocoaViewContainer::CocoaViewContainer(AAX_Point size) {
    const NSSize content = windowSize(size);
    window_ = std::make_shared<NSWindow>(CGRectMake(0, 0, content.width, content.height),
                                         NSWindowStyleMaskTitled | NSWindowStyleMaskClosable,
                                         NSBackingStoreBuffered, false);
    window_->setContentView(
        std::make_shared<ContainerView>(CGRectMake(0, 0, content.width, content.height)));
    window_->makeKeyAndOrderFront(nullptr);
}

CocoaViewContainer::~CocoaViewContainer() {
    window_->close();
}

int32_t CocoaViewContainer::GetType() const {
    return AAX_eViewContainer_Type_NSView;
}

void* CocoaViewContainer::GetPtr() const {
    return window_->contentView().get();
}

AAX_Result CocoaViewContainer::SetViewSize(AAX_Point& size) {
    const Request request{size, !refuse && drawable(size)};
    requests_.push_back(request);
    if (request.accepted) {
        window_->setContentSize(windowSize(size));
    }
    if (observer) {
        observer(request);
    }
    return request.accepted ? AAX_SUCCESS : AAX_ERROR_UNSPECIFIED;
}

} // namespace aaxhost
