#pragma once
// NSParagraphStyle: alignment and line breaking of drawn text (a value).

#include <AppKit/NSControl.h>

enum NSLineBreakMode : NSUInteger {
    NSLineBreakByWordWrapping = 0,
    NSLineBreakByCharWrapping = 1,
    NSLineBreakByClipping = 2,
    NSLineBreakByTruncatingTail = 4,
};

class APPKIT_EXPORT NSParagraphStyle {
public:
    static NSParagraphStyle defaultParagraphStyle() { return NSParagraphStyle(); }
    NSTextAlignment alignment() const { return alignment_; }
    NSLineBreakMode lineBreakMode() const { return lineBreakMode_; }

protected:
    NSTextAlignment alignment_ = NSTextAlignmentNatural;
    NSLineBreakMode lineBreakMode_ = NSLineBreakByWordWrapping;
};

class APPKIT_EXPORT NSMutableParagraphStyle : public NSParagraphStyle {
public:
    void setAlignment(NSTextAlignment alignment) { alignment_ = alignment; }
    void setLineBreakMode(NSLineBreakMode mode) { lineBreakMode_ = mode; }
};
