#pragma once
// NSArray and NSMutableArray: ordered collections of Foundation value objects (handles on
// CFArrays with the CF type callbacks, so items are retained while in the array).
//
// Promises:
// - objectAtIndex out of range gives nil (the platform raises; nothing here throws).
// - Iteration (range-for) yields NSHandle items in order.
// - A mutable array is a distinct CFMutableArray; copying the handle shares the same array,
//   as copying a pointer does on the platform. mutableCopy/copy make new arrays.
// - Arrays of AppKit objects (views, colours) are std::vectors of shared_ptrs or values in this
//   stand-in; NSArray holds only CF-bridged values.

#include <Foundation/NSHandle.h>

#include <functional>
#include <initializer_list>

class NSMutableArray;

class FOUNDATION_EXPORT NSArray : public NSHandle {
public:
    NSArray() = default;
    NSArray(std::nullptr_t) {}

    static NSArray bridge(CFArrayRef array);
    static NSArray bridgeTransfer(CFArrayRef array);
    static NSArray cast(const NSHandle& object);
    CFArrayRef cf() const { return static_cast<CFArrayRef>(object_); }

    static NSArray array();
    static NSArray arrayWithObjects(std::initializer_list<NSHandle> objects);

    NSUInteger count() const;
    NSHandle objectAtIndex(NSUInteger index) const;
    NSHandle firstObject() const;
    NSHandle lastObject() const;
    bool containsObject(const NSHandle& object) const;
    NSUInteger indexOfObject(const NSHandle& object) const; // NSNotFound when absent
    NSArray sortedArrayUsingComparator(
        const std::function<NSComparisonResult(const NSHandle&, const NSHandle&)>& cmp) const;
    NSMutableArray mutableCopy() const;

    class Iterator {
    public:
        Iterator(const NSArray* array, NSUInteger index) : array_(array), index_(index) {}
        NSHandle operator*() const { return array_->objectAtIndex(index_); }
        Iterator& operator++() {
            ++index_;
            return *this;
        }
        bool operator!=(const Iterator& other) const { return index_ != other.index_; }

    private:
        const NSArray* array_;
        NSUInteger index_;
    };
    Iterator begin() const { return Iterator(this, 0); }
    Iterator end() const { return Iterator(this, count()); }
};

class FOUNDATION_EXPORT NSMutableArray : public NSArray {
public:
    NSMutableArray() = default;
    NSMutableArray(std::nullptr_t) {}

    static NSMutableArray bridge(CFMutableArrayRef array);
    static NSMutableArray bridgeTransfer(CFMutableArrayRef array);
    CFMutableArrayRef cf() const { return (CFMutableArrayRef)object_; }

    static NSMutableArray array();
    static NSMutableArray arrayWithCapacity(NSUInteger capacity);

    void addObject(const NSHandle& object); // nil is ignored
    void insertObject(const NSHandle& object, NSUInteger index);
    void removeObjectAtIndex(NSUInteger index);
    void removeAllObjects();
};
