#pragma once
// Counts heap allocations made by any thread while a scope is armed, so a test can prove
// that a render path allocates nothing. Linking kelvo_allocation_counter replaces the
// program's global operator new and delete; shared objects loaded into the process (bundles
// included) resolve to the same definitions, so their C++ allocations count too.
//
//     kelvo::testing::AllocationScope scope;
//     AudioUnitRender(...);
//     EXPECT_EQ(scope.count(), 0u);

#include <cstddef>

namespace kelvo::testing {

class AllocationScope {
public:
    AllocationScope();  // arms counting (scopes may nest; each sees allocations made in it)
    ~AllocationScope(); // disarms
    AllocationScope(const AllocationScope&) = delete;
    AllocationScope& operator=(const AllocationScope&) = delete;

    std::size_t count() const; // allocations since this scope was armed

private:
    std::size_t start_;
};

} // namespace kelvo::testing
