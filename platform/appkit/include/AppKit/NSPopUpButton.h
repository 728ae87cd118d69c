#pragma once
// NSPopUpButton: a button that shows a menu of choices and keeps one selected.
//
// Promises:
// - Items are NSMenuItems of menu(); the first item added is selected.
// - A mouse-down pops the menu up at the button through the host's answer interface
//   (<AppKit/AppKitHost.h>); a chosen enabled item becomes the selection and the button's
//   action is sent with the button as sender; a cancelled menu changes nothing.
// - selectItemAtIndex outside the range selects nothing (indexOfSelectedItem −1).
// - accessibilityRole is NSAccessibilityPopUpButtonRole; accessibilityValue the selected title.

#include <AppKit/NSButton.h>

#include <vector>

class NSMenu;
class NSMenuItem;

class APPKIT_EXPORT NSPopUpButton : public NSButton {
public:
    NSPopUpButton(NSRect frame, bool pullsDown); // initWithFrame:pullsDown:
    ~NSPopUpButton() override;

    bool pullsDown() const { return pullsDown_; }
    const std::shared_ptr<NSMenu>& menu() const { return menu_; }
    void addItemWithTitle(const NSString& title);
    void addItemsWithTitles(const std::vector<NSString>& titles);
    void removeAllItems();
    NSInteger numberOfItems() const;
    std::shared_ptr<NSMenuItem> itemAtIndex(NSInteger index) const;
    NSString itemTitleAtIndex(NSInteger index) const;
    std::vector<NSString> itemTitles() const;
    void selectItemAtIndex(NSInteger index);
    void selectItemWithTitle(const NSString& title);
    NSInteger indexOfSelectedItem() const { return selected_; }
    std::shared_ptr<NSMenuItem> selectedItem() const;
    NSString titleOfSelectedItem() const;

    void mouseDown(NSEvent* event) override;
    void mouseDragged(NSEvent*) override {}
    void mouseUp(NSEvent*) override {}
    void drawRect(NSRect dirtyRect) override;

    NSAccessibilityRole accessibilityRole() const override;
    NSHandle accessibilityValue() const override;

private:
    std::shared_ptr<NSMenu> menu_;
    NSInteger selected_ = -1;
    bool pullsDown_;
};
