// NSPopUpButton.

#include <AppKit/AppKitHost.h>
#include <AppKit/NSBezierPath.h>
#include <AppKit/NSFont.h>
#include <AppKit/NSMenu.h>
#include <AppKit/NSPopUpButton.h>
#include <AppKit/NSStringDrawing.h>

NSPopUpButton::NSPopUpButton(NSRect frame, bool pullsDown)
    : NSButton(frame), menu_(std::make_shared<NSMenu>("")), pullsDown_(pullsDown) {}

NSPopUpButton::~NSPopUpButton() = default;

void NSPopUpButton::addItemWithTitle(const NSString& title) {
    // The platform replaces an item of the same title.
    for (NSInteger i = 0; i < menu_->numberOfItems(); ++i) {
        if (menu_->itemAtIndex(i)->title() == title) {
            menu_->removeItemAtIndex(i);
            if (selected_ >= menu_->numberOfItems()) {
                selected_ = menu_->numberOfItems() - 1;
            }
            break;
        }
    }
    menu_->addItemWithTitle(title, SEL{}, "");
    if (selected_ < 0) {
        selected_ = 0;
    }
    setNeedsDisplay(true);
}

void NSPopUpButton::addItemsWithTitles(const std::vector<NSString>& titles) {
    for (const NSString& t : titles) {
        addItemWithTitle(t);
    }
}

void NSPopUpButton::removeAllItems() {
    menu_->removeAllItems();
    selected_ = -1;
    setNeedsDisplay(true);
}

NSInteger NSPopUpButton::numberOfItems() const {
    return menu_->numberOfItems();
}

std::shared_ptr<NSMenuItem> NSPopUpButton::itemAtIndex(NSInteger index) const {
    return menu_->itemAtIndex(index);
}

NSString NSPopUpButton::itemTitleAtIndex(NSInteger index) const {
    auto item = itemAtIndex(index);
    return item ? item->title() : NSString("");
}

std::vector<NSString> NSPopUpButton::itemTitles() const {
    std::vector<NSString> titles;
    for (const auto& item : menu_->itemArray()) {
        titles.push_back(item->title());
    }
    return titles;
}

void NSPopUpButton::selectItemAtIndex(NSInteger index) {
    selected_ = index >= 0 && index < numberOfItems() ? index : -1;
    setNeedsDisplay(true);
}

void NSPopUpButton::selectItemWithTitle(const NSString& title) {
    for (NSInteger i = 0; i < numberOfItems(); ++i) {
        if (itemTitleAtIndex(i) == title) {
            selectItemAtIndex(i);
            return;
        }
    }
    selectItemAtIndex(-1);
}

std::shared_ptr<NSMenuItem> NSPopUpButton::selectedItem() const {
    return itemAtIndex(selected_);
}

NSString NSPopUpButton::titleOfSelectedItem() const {
    auto item = selectedItem();
    return item ? item->title() : NSString();
}

void NSPopUpButton::mouseDown(NSEvent*) {
    const std::shared_ptr<NSObject> keep = weak_from_this().lock();
    highlight(true);
    const NSPoint at = {bounds().origin.x, isFlipped() ? NSMaxY(bounds()) : bounds().origin.y};
    std::shared_ptr<NSMenuItem> chosen =
        appkit::userInterfaceHost().chooseMenuItem(*menu_, at, this);
    highlight(false);
    if (!chosen || !chosen->isEnabled() || chosen->isSeparatorItem()) {
        return;
    }
    const NSInteger index = menu_->indexOfItem(chosen.get());
    if (index < 0) {
        return;
    }
    selectItemAtIndex(index);
    sendAction(action(), nullptr);
}

void NSPopUpButton::drawRect(NSRect) {
    const NSRect b = NSInsetRect(bounds(), 1, 1);
    const NSBezierPath face = NSBezierPath::bezierPathWithRoundedRect(b, 5, 5);
    NSColor::colorWithWhite(isHighlighted() ? 0.7 : 0.95, 1).setFill();
    face.fill();
    NSColor::colorWithWhite(0.45, 1).setStroke();
    face.stroke();
    const std::shared_ptr<NSFont>& f = font() ? font() : NSFont::systemFontOfSize(13);
    const NSStringAttributes attributes{f, NSColor::blackColor(), {}};
    const NSString title = titleOfSelectedItem();
    const CGFloat h = NSString("Ag").sizeWithAttributes(attributes).height;
    NSRect r = NSInsetRect(bounds(), 8, 0);
    r.origin.y = NSMidY(bounds()) - h / 2;
    r.size.height = h;
    if (title) {
        title.drawInRect(r, attributes);
    }
    NSMutableParagraphStyle right;
    right.setAlignment(NSTextAlignmentRight);
    NSString("\u25BE").drawInRect(r, {f, NSColor::blackColor(), right});
}

NSAccessibilityRole NSPopUpButton::accessibilityRole() const {
    return NSAccessibilityPopUpButtonRole;
}

NSHandle NSPopUpButton::accessibilityValue() const {
    return titleOfSelectedItem();
}
