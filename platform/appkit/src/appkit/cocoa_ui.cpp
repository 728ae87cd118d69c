// The Cocoa view factory protocol's key function, so its type information has one home.

#include <AudioUnit/AUCocoaUIView.h>

AUCocoaUIBase::~AUCocoaUIBase() = default;
