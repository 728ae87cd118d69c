#pragma once
// The protocol a dial's owner adopts: a dial tells it when an edit of its parameter starts
// and ends, so that the whole edit (a drag, a wheel step, a key press) reaches the host as
// one automation gesture.

class NSControl;

class RackOwner {
public:
    // [main thread]
    virtual void beginDial(NSControl* dial) = 0;
    // [main thread]
    virtual void endDial(NSControl* dial) = 0;

protected:
    ~RackOwner() = default;
};
