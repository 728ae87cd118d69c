#pragma once
// NSMenu and NSMenuItem: menus with submenus, shown by popUpMenuPositioningItem.
//
// Promises:
// - A menu holds its items strongly, an item its submenu strongly; back links (item → menu,
//   submenu → supermenu) are plain pointers. The target is weak, as for controls.
// - popUpMenuPositioningItem asks the host's answer interface (<AppKit/AppKitHost.h>) which
//   item the user chooses (in this menu or any submenu); it then performs the chosen item's
//   action on its target with the item as the sender and returns true. Separators, disabled
//   items, items with a submenu and items without an action cannot be chosen: such an answer
//   and a cancelled menu return false and send nothing. The run loop's common-mode timers
//   may run while the host decides.
// - An item shows as disabled when setEnabled(false) was called (the menu does not validate
//   items automatically).
// - itemWithTitlePath("Vocals/Warm Body") walks submenus by title (a stand-in extension for
//   hosts and tests); titles containing '/' are matched as a whole where they exist.

#include <AppKit/AppKitDefines.h>
#include <Foundation/NSGeometry.h>
#include <Foundation/NSHandle.h>
#include <Foundation/NSObject.h>
#include <Foundation/NSString.h>

#include <vector>

class NSView;
class NSMenu;

class APPKIT_EXPORT NSMenuItem : public NSObject {
public:
    static std::shared_ptr<NSMenuItem> separatorItem();
    NSMenuItem(); // init: an untitled item
    // initWithTitle:action:keyEquivalent:
    NSMenuItem(const NSString& title, SEL action, const NSString& keyEquivalent);
    ~NSMenuItem() override;

    const NSString& title() const { return title_; }
    void setTitle(const NSString& title) { title_ = title; }
    NSInteger tag() const { return tag_; }
    void setTag(NSInteger tag) { tag_ = tag; }
    std::shared_ptr<NSObject> target() const { return target_.lock(); }
    void setTarget(const std::weak_ptr<NSObject>& target) { target_ = target; }
    SEL action() const { return action_; }
    void setAction(SEL action) { action_ = action; }
    const NSString& keyEquivalent() const { return keyEquivalent_; }
    const NSHandle& representedObject() const { return representedObject_; }
    void setRepresentedObject(const NSHandle& object) { representedObject_ = object; }
    const std::shared_ptr<NSMenu>& submenu() const { return submenu_; }
    void setSubmenu(const std::shared_ptr<NSMenu>& submenu);
    bool hasSubmenu() const { return submenu_ != nullptr; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool isSeparatorItem() const { return separator_; }
    NSInteger state() const { return state_; }
    void setState(NSInteger state) { state_ = state; }
    NSMenu* menu() const { return menu_; }

private:
    friend class NSMenu;
    NSString title_;
    NSInteger tag_ = 0;
    std::weak_ptr<NSObject> target_;
    SEL action_;
    NSString keyEquivalent_;
    NSHandle representedObject_;
    std::shared_ptr<NSMenu> submenu_;
    bool enabled_ = true;
    bool separator_ = false;
    NSInteger state_ = 0;
    NSMenu* menu_ = nullptr;
};

class APPKIT_EXPORT NSMenu : public NSObject {
public:
    explicit NSMenu(const NSString& title); // initWithTitle:
    ~NSMenu() override;

    const NSString& title() const { return title_; }
    void setTitle(const NSString& title) { title_ = title; }
    void addItem(const std::shared_ptr<NSMenuItem>& item);
    void insertItem(const std::shared_ptr<NSMenuItem>& item, NSInteger index);
    // addItemWithTitle:action:keyEquivalent:
    std::shared_ptr<NSMenuItem> addItemWithTitle(const NSString& title, SEL action,
                                                 const NSString& keyEquivalent);
    void removeItemAtIndex(NSInteger index);
    void removeAllItems();
    void setSubmenu(const std::shared_ptr<NSMenu>& submenu,
                    const std::shared_ptr<NSMenuItem>& item);
    NSInteger numberOfItems() const { return static_cast<NSInteger>(items_.size()); }
    std::shared_ptr<NSMenuItem> itemAtIndex(NSInteger index) const;
    std::shared_ptr<NSMenuItem> itemWithTitle(const NSString& title) const;
    std::shared_ptr<NSMenuItem> itemWithTag(NSInteger tag) const;
    NSInteger indexOfItem(const NSMenuItem* item) const;
    const std::vector<std::shared_ptr<NSMenuItem>>& itemArray() const { return items_; }
    NSMenu* supermenu() const { return supermenu_; }

    // popUpMenuPositioningItem:atLocation:inView: (location in view's coordinates; view may be
    // nullptr for screen coordinates).
    bool popUpMenuPositioningItem(const std::shared_ptr<NSMenuItem>& item, NSPoint location,
                                  NSView* view);
    // Performs a chosen item's action as a menu does (false when it cannot be chosen).
    static bool performItem(const std::shared_ptr<NSMenuItem>& item);

    std::shared_ptr<NSMenuItem> itemWithTitlePath(const NSString& path) const;
    // Stand-in extension: an indented outline of the menu ("-" for separators, "(disabled)"
    // and "▸" marks), for logs and tests.
    std::string outline() const;

private:
    friend class NSMenuItem;
    NSString title_;
    std::vector<std::shared_ptr<NSMenuItem>> items_;
    NSMenu* supermenu_ = nullptr;
};
