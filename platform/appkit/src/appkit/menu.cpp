// NSMenu and NSMenuItem.

#include <AppKit/AppKitHost.h>
#include <AppKit/NSMenu.h>

#include <algorithm>
#include <vector>

std::shared_ptr<NSMenuItem> NSMenuItem::separatorItem() {
    auto item = std::make_shared<NSMenuItem>();
    item->separator_ = true;
    item->enabled_ = false;
    return item;
}

NSMenuItem::NSMenuItem() : title_("") {}

NSMenuItem::NSMenuItem(const NSString& title, SEL action, const NSString& keyEquivalent)
    : title_(title ? title : NSString("")), action_(action),
      keyEquivalent_(keyEquivalent ? keyEquivalent : NSString("")) {}

NSMenuItem::~NSMenuItem() {
    if (submenu_ && submenu_->supermenu_ == menu_) {
        submenu_->supermenu_ = nullptr;
    }
}

void NSMenuItem::setSubmenu(const std::shared_ptr<NSMenu>& submenu) {
    if (submenu_) {
        submenu_->supermenu_ = nullptr;
    }
    submenu_ = submenu;
    if (submenu_) {
        submenu_->supermenu_ = menu_;
    }
}

NSMenu::NSMenu(const NSString& title) : title_(title ? title : NSString("")) {}

NSMenu::~NSMenu() {
    for (const auto& item : items_) {
        item->menu_ = nullptr;
        if (item->submenu_) {
            item->submenu_->supermenu_ = nullptr;
        }
    }
}

void NSMenu::addItem(const std::shared_ptr<NSMenuItem>& item) {
    insertItem(item, numberOfItems());
}

void NSMenu::insertItem(const std::shared_ptr<NSMenuItem>& item, NSInteger index) {
    if (!item || item->menu_ || index < 0 || index > numberOfItems()) {
        return; // an item belongs to one menu at a time
    }
    item->menu_ = this;
    if (item->submenu_) {
        item->submenu_->supermenu_ = this;
    }
    items_.insert(items_.begin() + index, item);
}

std::shared_ptr<NSMenuItem> NSMenu::addItemWithTitle(const NSString& title, SEL action,
                                                     const NSString& keyEquivalent) {
    auto item = std::make_shared<NSMenuItem>(title, action, keyEquivalent);
    addItem(item);
    return item;
}

void NSMenu::removeItemAtIndex(NSInteger index) {
    if (index < 0 || index >= numberOfItems()) {
        return;
    }
    items_[static_cast<std::size_t>(index)]->menu_ = nullptr;
    items_.erase(items_.begin() + index);
}

void NSMenu::removeAllItems() {
    for (const auto& item : items_) {
        item->menu_ = nullptr;
    }
    items_.clear();
}

void NSMenu::setSubmenu(const std::shared_ptr<NSMenu>& submenu,
                        const std::shared_ptr<NSMenuItem>& item) {
    if (item) {
        item->setSubmenu(submenu);
    }
}

std::shared_ptr<NSMenuItem> NSMenu::itemAtIndex(NSInteger index) const {
    if (index < 0 || index >= numberOfItems()) {
        return nullptr;
    }
    return items_[static_cast<std::size_t>(index)];
}

std::shared_ptr<NSMenuItem> NSMenu::itemWithTitle(const NSString& title) const {
    for (const auto& item : items_) {
        if (item->title() == title) {
            return item;
        }
    }
    return nullptr;
}

std::shared_ptr<NSMenuItem> NSMenu::itemWithTag(NSInteger tag) const {
    for (const auto& item : items_) {
        if (item->tag() == tag) {
            return item;
        }
    }
    return nullptr;
}

NSInteger NSMenu::indexOfItem(const NSMenuItem* item) const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].get() == item) {
            return static_cast<NSInteger>(i);
        }
    }
    return -1;
}

namespace {

bool contains(const NSMenu& menu, const NSMenuItem* item) {
    for (const auto& candidate : menu.itemArray()) {
        if (candidate.get() == item) {
            return true;
        }
        if (candidate->submenu() && contains(*candidate->submenu(), item)) {
            return true;
        }
    }
    return false;
}

std::shared_ptr<NSMenuItem> find(const NSMenu& menu, const std::string& path) {
    // Longest title first, so a title that itself contains '/' wins over a split there.
    std::vector<std::size_t> ends{path.size()};
    for (std::size_t i = path.size(); i-- > 0;) {
        if (path[i] == '/') {
            ends.push_back(i);
        }
    }
    for (const std::size_t end : ends) {
        auto item = menu.itemWithTitle(NSString(std::string_view(path).substr(0, end)));
        if (!item) {
            continue;
        }
        if (end == path.size()) {
            return item;
        }
        if (item->submenu()) {
            if (auto found = find(*item->submenu(), path.substr(end + 1))) {
                return found;
            }
        }
    }
    return nullptr;
}

void outlineInto(const NSMenu& menu, int depth, std::string& out) {
    for (const auto& item : menu.itemArray()) {
        out.append(static_cast<std::size_t>(depth) * 2, ' ');
        if (item->isSeparatorItem()) {
            out += "-\n";
            continue;
        }
        out += item->title().stdString();
        if (item->hasSubmenu()) {
            out += " \u25B8";
        }
        if (!item->isEnabled()) {
            out += " (disabled)";
        }
        out += "\n";
        if (item->submenu()) {
            outlineInto(*item->submenu(), depth + 1, out);
        }
    }
}

} // namespace

bool NSMenu::performItem(const std::shared_ptr<NSMenuItem>& item) {
    if (!item || item->isSeparatorItem() || !item->isEnabled() || item->hasSubmenu() ||
        !item->action() || !item->action().perform) {
        return false;
    }
    const std::shared_ptr<NSObject> target = item->target();
    if (!item->action().canPerform(target.get())) {
        return false;
    }
    const std::shared_ptr<NSMenuItem> keep = item;
    item->action().perform(target.get(), item.get());
    return true;
}

bool NSMenu::popUpMenuPositioningItem(const std::shared_ptr<NSMenuItem>&, NSPoint location,
                                      NSView* view) {
    const std::shared_ptr<NSObject> keep = weak_from_this().lock();
    std::shared_ptr<NSMenuItem> chosen =
        appkit::userInterfaceHost().chooseMenuItem(*this, location, view);
    if (!chosen || !contains(*this, chosen.get())) {
        return false;
    }
    return performItem(chosen);
}

std::shared_ptr<NSMenuItem> NSMenu::itemWithTitlePath(const NSString& path) const {
    return path ? find(*this, path.stdString()) : nullptr;
}

std::string NSMenu::outline() const {
    std::string out;
    outlineInto(*this, 0, out);
    return out;
}
