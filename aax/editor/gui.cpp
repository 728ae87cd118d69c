// The editor object's view: made from the unit the data model names, or the fallback field;
// shown in the host's container; its size told to the host.

#include "editor/gui.h"

#include "editor/native_editor.h"
#include "model/model.h"
#include "model/state_header.h"

#include <Foundation/Foundation.h>

#include <cmath>
#include <exception>
#include <stdexcept>
#include <string>

namespace kelvoaax {
namespace {

// The fallback field's size, which the host also lays out before there is any view.
constexpr CGFloat fallbackWidth = 600;
constexpr CGFloat fallbackHeight = 100;

// The unit behind the data model, when it lives in this process. Throws otherwise.
AudioUnit hostedUnit(AAX_IEffectParameters* parameters) {
    const std::runtime_error notHere("native editor requires same-process AAX Native host");
    if (parameters == nullptr) {
        throw notHere;
    }
    uint8_t block[editorDataSize] = {}; // process 0, no unit
    uint32_t size = 0;
    if (parameters->GetCustomData(editorDataID, editorDataSize, block, &size) != AAX_SUCCESS ||
        size != editorDataSize) {
        throw notHere;
    }
    const auto process = static_cast<int64_t>(loadLittleEndian64(block));
    const auto unit = static_cast<uintptr_t>(loadLittleEndian64(block + 8));
    if (process != NSProcessInfo::processInfo()->processIdentifier() || unit == 0) {
        throw notHere;
    }
    return reinterpret_cast<AudioUnit>(unit);
}

std::shared_ptr<NSView> fallbackField(const char* reason) {
    auto field = std::make_shared<NSTextField>(CGRectMake(0, 0, fallbackWidth, fallbackHeight));
    field->setStringValue(NSString(std::string("KELVO editor unavailable: ") + reason));
    field->setEditable(false);
    field->setBezeled(false);
    return field;
}

// The size the view takes in its container: its frame, which the editor's interface size
// scales while its bounds stay.
AAX_Point sizeOf(const NSView& view) {
    const NSSize size = view.frame().size;
    return AAX_Point{static_cast<float>(size.height), static_cast<float>(size.width)};
}

} // namespace

AAX_IEffectGUI* GUI::Create() noexcept {
    try {
        return new GUI();
    } catch (...) {
        return nullptr;
    }
}

GUI::GUI() = default;

GUI::~GUI() {
    if (view_) {
        view_->removeFromSuperview();
    }
}

void GUI::show(std::shared_ptr<NSView> view) {
    if (view_ && view_ != view) {
        view_->removeFromSuperview();
    }
    view_ = std::move(view);
}

void GUI::CreateViewContents() {
    try {
        [[maybe_unused]] const NSAutoreleasePool pool; // @autoreleasepool
        AAX_IEffectParameters* parameters = GetEffectParameters();
        std::shared_ptr<NSView> editor = createNativeEditor(hostedUnit(parameters));
        model_ = dynamic_cast<Model*>(parameters);
        if (model_ != nullptr) {
            model_->adoptEditor(editor);
            unitsDisposedBefore_ = model_->unitsDisposed();
        }
        show(std::move(editor));
    } catch (const std::exception& error) {
        model_ = nullptr;
        show(fallbackField(error.what()));
    }
}

bool GUI::outlivedItsUnit() const {
    return model_ != nullptr && model_->unitsDisposed() != unitsDisposedBefore_;
}

void GUI::CreateViewContainer() {
    sizeSent_ = false;
    // An editor of a disposed unit is never shown again: the unit there is now gets a new one
    // (or the fallback field says why it cannot).
    if (outlivedItsUnit()) {
        CreateViewContents();
    }
    if (GetViewContainerType() != AAX_eViewContainer_Type_NSView || !view_) {
        return;
    }
    if (auto* container = static_cast<NSView*>(GetViewContainerPtr())) {
        view_->setFrameOrigin(NSPoint{0, 0});
        container->addSubview(view_);
    }
}

void GUI::DeleteViewContainer() {
    if (view_) {
        view_->removeFromSuperview();
    }
    sizeSent_ = false;
}

AAX_Result GUI::GetViewSize(AAX_Point* size) const {
    if (size == nullptr) {
        return AAX_ERROR_NULL_ARGUMENT;
    }
    *size = view_
                ? sizeOf(*view_)
                : AAX_Point{static_cast<float>(fallbackHeight), static_cast<float>(fallbackWidth)};
    return AAX_SUCCESS;
}

AAX_Result GUI::TimerWakeup() {
    // A container of another kind holds no view of ours, so it is told no size either.
    AAX_IViewContainer* container = GetViewContainer();
    if (!view_ || container == nullptr ||
        GetViewContainerType() != AAX_eViewContainer_Type_NSView) {
        return AAX_SUCCESS;
    }
    const AAX_Point size = sizeOf(*view_);
    const bool drawable =
        std::isfinite(size.horz) && std::isfinite(size.vert) && size.horz > 0 && size.vert > 0;
    const bool changed = !sizeSent_ || size.horz != lastSize_.horz || size.vert != lastSize_.vert;
    AAX_Point request = size;
    if (drawable && changed && container->SetViewSize(request) == AAX_SUCCESS) {
        lastSize_ = size;
        sizeSent_ = true;
    }
    return AAX_SUCCESS;
}

} // namespace kelvoaax
