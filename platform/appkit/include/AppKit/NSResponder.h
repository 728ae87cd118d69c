#pragma once
// NSResponder: the event-handling methods and the responder chain.
//
// Promises:
// - The default mouse, scroll-wheel and key handlers pass the event to nextResponder() (a
//   view's is its superview, a content view's its window); at the end of the chain the event
//   is dropped.
// - acceptsFirstResponder is false by default.

#include <AppKit/AppKitDefines.h>
#include <AppKit/NSEvent.h>
#include <Foundation/NSObject.h>

class APPKIT_EXPORT NSResponder : public NSObject {
public:
    NSResponder();
    ~NSResponder() override;

    virtual NSResponder* nextResponder() const;

    virtual void mouseDown(NSEvent* event);
    virtual void mouseDragged(NSEvent* event);
    virtual void mouseUp(NSEvent* event);
    virtual void mouseMoved(NSEvent* event);
    virtual void rightMouseDown(NSEvent* event);
    virtual void rightMouseUp(NSEvent* event);
    virtual void scrollWheel(NSEvent* event);
    virtual void keyDown(NSEvent* event);
    virtual void keyUp(NSEvent* event);

    virtual bool acceptsFirstResponder() const;
    virtual bool becomeFirstResponder();
    virtual bool resignFirstResponder();
};
