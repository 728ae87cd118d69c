// A tiny bundle executable for the bundle tests. Built twice with a different BUNDLE_VALUE:
// both copies define the same C++ function with default visibility, so loading both side by
// side only works when each binds its own symbols locally.

namespace kelvotest {
int sharedValue() {
    return BUNDLE_VALUE;
}
} // namespace kelvotest

extern "C" __attribute__((visibility("default"))) int KelvoTestBundleValue() {
    return kelvotest::sharedValue() * 10 + BUNDLE_VALUE;
}
