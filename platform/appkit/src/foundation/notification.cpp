// The notification centre.

#include <Foundation/NSNotification.h>

#include <algorithm>

NSNotification::NSNotification(NSNotificationName name, NSObject* object)
    : name_(std::move(name)), object_(object) {}

struct NSNotificationCenter::Observer : NSObject {
    NSNotificationName name;
    NSObject* object = nullptr;
    Block block;
    bool removed = false;
};

NSNotificationCenter* NSNotificationCenter::defaultCenter() {
    static NSNotificationCenter center;
    return &center;
}

std::shared_ptr<NSObject> NSNotificationCenter::addObserverForName(const NSNotificationName& name,
                                                                   NSObject* object,
                                                                   NSOperationQueue*, Block block) {
    auto observer = std::make_shared<Observer>();
    observer->name = name;
    observer->object = object;
    observer->block = std::move(block);
    observers_.push_back(observer);
    return observer;
}

void NSNotificationCenter::removeObserver(const std::shared_ptr<NSObject>& token) {
    auto it = std::find_if(observers_.begin(), observers_.end(),
                           [&](const std::shared_ptr<Observer>& o) { return o == token; });
    if (it != observers_.end()) {
        (*it)->removed = true;
        observers_.erase(it);
    }
}

void NSNotificationCenter::postNotificationName(const NSNotificationName& name, NSObject* object) {
    NSNotification notification(name, object);
    // A snapshot: blocks may add or remove observers while the notification is delivered.
    const std::vector<std::shared_ptr<Observer>> current = observers_;
    for (const auto& o : current) {
        if (o->removed || (o->name && !o->name.isEqualToString(name)) ||
            (o->object && o->object != object)) {
            continue;
        }
        o->block(&notification);
    }
}

std::size_t NSNotificationCenter::observerCount() const {
    return observers_.size();
}
