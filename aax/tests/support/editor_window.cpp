#include "support/editor_window.h"

#include <stdexcept>

namespace bridgetest {

EditorWindow::EditorWindow(aaxhost::Instance& instance, aaxhost::GUIProcess process) {
    gui_ = instance.openGUI(process);
    if (gui_ == nullptr) {
        throw std::runtime_error("the effect makes no GUI");
    }
    AAX_Point size{};
    gui_->GetViewSize(&size);
    container_ = std::make_unique<aaxhost::CocoaViewContainer>(size);
    gui_->SetViewContainer(container_.get());
}

EditorWindow::~EditorWindow() {
    gui_->SetViewContainer(nullptr);
    gui_.reset();
}

NSView* EditorWindow::view() {
    const auto& subviews = container_->view().subviews();
    return subviews.empty() ? nullptr : subviews.front().get();
}

std::string EditorWindow::fallbackText() {
    auto* field = dynamic_cast<NSTextField*>(view());
    return field != nullptr ? field->stringValue().stdString() : std::string();
}

void EditorWindow::mouse(NSEventType type, NSPoint viewPoint) {
    NSEvent event =
        NSEvent::mouseEventWithType(type, view()->convertPointToView(viewPoint, nullptr), 0, 0,
                                    container_->window().windowNumber(), 1);
    container_->window().sendEvent(&event);
    pumpMainRunLoop();
}

void EditorWindow::drag(NSPoint from, double dx, double dy, bool release) {
    mouse(NSEventTypeLeftMouseDown, from);
    constexpr int steps = 10;
    for (int i = 1; i <= steps; ++i) {
        const double f = static_cast<double>(i) / steps;
        mouse(NSEventTypeLeftMouseDragged, NSPoint{from.x + dx * f, from.y + dy * f});
    }
    if (release) {
        mouse(NSEventTypeLeftMouseUp, NSPoint{from.x + dx, from.y + dy});
    }
}

void pumpMainRunLoop(double seconds) {
    if (seconds > 0) {
        CFRunLoopAdvanceManualClockForTesting(seconds);
    }
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false);
}

} // namespace bridgetest
