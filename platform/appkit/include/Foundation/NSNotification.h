#pragma once
// NSNotificationCenter: block observers of named notifications, delivered synchronously on
// the posting thread.
//
// Promises:
// - addObserverForName returns a token; the centre keeps the block until removeObserver(token).
//   A nil object observes every sender. The queue argument is accepted for the platform's
//   shape and must be nullptr (delivery is on the posting thread).
// - postNotificationName calls the matching blocks in the order they were added; an observer
//   removed during a post is not called afterwards.
// - [main thread]

#include <Foundation/NSObject.h>
#include <Foundation/NSString.h>

#include <functional>
#include <vector>

typedef NSString NSNotificationName;

class FOUNDATION_EXPORT NSNotification : public NSObject {
public:
    NSNotification(NSNotificationName name, NSObject* object);
    const NSNotificationName& name() const { return name_; }
    NSObject* object() const { return object_; }

private:
    NSNotificationName name_;
    NSObject* object_;
};

class NSOperationQueue;

class FOUNDATION_EXPORT NSNotificationCenter {
public:
    using Block = std::function<void(NSNotification* notification)>;

    static NSNotificationCenter* defaultCenter();

    std::shared_ptr<NSObject> addObserverForName(const NSNotificationName& name, NSObject* object,
                                                 NSOperationQueue* queue, Block block);
    void removeObserver(const std::shared_ptr<NSObject>& observer);
    void postNotificationName(const NSNotificationName& name, NSObject* object);
    std::size_t observerCount() const; // stand-in extension, for tests

private:
    NSNotificationCenter() = default;
    struct Observer;
    std::vector<std::shared_ptr<Observer>> observers_;
};
