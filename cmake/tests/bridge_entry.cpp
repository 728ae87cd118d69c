// A stand-in entry point for the AAX-style fixture bundle: one exported function, one that must
// stay hidden.

namespace {
int hiddenAnswer() {
    return 7;
}
} // namespace

int KelvoFixtureBridgeHelper() {
    return hiddenAnswer();
}

extern "C" __attribute__((visibility("default"))) int KelvoFixtureBridgeEntry() {
    return KelvoFixtureBridgeHelper();
}
