// The responder chain's default handlers.

#include <AppKit/NSResponder.h>

NSResponder::NSResponder() = default;
NSResponder::~NSResponder() = default;

NSResponder* NSResponder::nextResponder() const {
    return nullptr;
}

#define FORWARD(method)                                                                            \
    void NSResponder::method(NSEvent* event) {                                                     \
        if (NSResponder* next = nextResponder()) {                                                 \
            next->method(event);                                                                   \
        }                                                                                          \
    }
FORWARD(mouseDown)
FORWARD(mouseDragged)
FORWARD(mouseUp)
FORWARD(mouseMoved)
FORWARD(rightMouseDown)
FORWARD(rightMouseUp)
FORWARD(scrollWheel)
FORWARD(keyDown)
FORWARD(keyUp)
#undef FORWARD

bool NSResponder::acceptsFirstResponder() const {
    return false;
}
bool NSResponder::becomeFirstResponder() {
    return true;
}
bool NSResponder::resignFirstResponder() {
    return true;
}
