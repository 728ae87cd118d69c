// Event listeners: what is delivered, to whom, in which order, and when (the run loop is pumped
// by hand with the manual clock, never by sleeping).

#include "fake_plugin.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The main run loop, driven by hand.
void advance(CFTimeInterval seconds) {
    CFShimAdvanceClock(seconds);
}
void pump() {
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false);
}

struct Delivery {
    void* object;
    AudioUnitEventType type;
    AudioUnitParameterID id;
    AudioUnitParameterValue value;
    bool operator==(const Delivery&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Delivery& d) {
    return out << "{" << d.object << " type " << d.type << " id " << d.id << " value " << d.value
               << "}";
}

struct Recorder {
    std::vector<Delivery> deliveries;
    static void proc(void* refCon, void* object, const AudioUnitEvent* event, UInt64 /*hostTime*/,
                     AudioUnitParameterValue value) {
        const AudioUnitParameterID id = event->mEventType == kAudioUnitEvent_PropertyChange
                                            ? event->mArgument.mProperty.mPropertyID
                                            : event->mArgument.mParameter.mParameterID;
        static_cast<Recorder*>(refCon)->deliveries.push_back(
            {object, event->mEventType, id, value});
    }
};

class Listener : public ::testing::Test {
protected:
    void SetUp() override {
        CFRunLoopUseManualClockForTesting(true); // before the listener's timer takes its date
        ASSERT_EQ(AudioComponentInstanceNew(fake::component(), &unit), noErr);
        ASSERT_EQ(AUEventListenerCreate(&Recorder::proc, &recorder, CFRunLoopGetMain(),
                                        kCFRunLoopDefaultMode, kInterval, 0, &listener),
                  noErr);
    }
    void TearDown() override {
        if (listener != nullptr) {
            AUListenerDispose(listener);
        }
        AudioComponentInstanceDispose(unit);
    }

    AudioUnitEvent event(AudioUnitEventType type, AudioUnitParameterID id) const {
        AudioUnitEvent e{};
        e.mEventType = type;
        e.mArgument.mParameter = {unit, id, kAudioUnitScope_Global, 0};
        return e;
    }
    AudioUnitParameter parameter(AudioUnitParameterID id) const {
        return {unit, id, kAudioUnitScope_Global, 0};
    }
    void listen(void* object, AudioUnitParameterID id) {
        for (AudioUnitEventType type :
             {kAudioUnitEvent_ParameterValueChange, kAudioUnitEvent_BeginParameterChangeGesture,
              kAudioUnitEvent_EndParameterChangeGesture}) {
            const AudioUnitEvent e = event(type, id);
            ASSERT_EQ(AUEventListenerAddEventType(listener, object, &e), noErr);
        }
    }
    void notify(AudioUnitEventType type, AudioUnitParameterID id, void* sender = nullptr,
                AUEventListenerRef sendingListener = nullptr) {
        const AudioUnitEvent e = event(type, id);
        ASSERT_EQ(AUEventListenerNotify(sendingListener, sender, &e), noErr);
    }
    void set(AudioUnitParameterID id, AudioUnitParameterValue value) {
        const AudioUnitParameter p = parameter(id);
        ASSERT_EQ(AUParameterSet(nullptr, nullptr, &p, value, 0), noErr);
    }

    static constexpr Float32 kInterval = 0.005f; // the bridge's 5 ms
    AudioUnit unit = nullptr;
    AUEventListenerRef listener = nullptr;
    Recorder recorder;
    int object = 0; // its address is the registered object
};

constexpr auto kValue = kAudioUnitEvent_ParameterValueChange;
constexpr auto kBegin = kAudioUnitEvent_BeginParameterChangeGesture;
constexpr auto kEnd = kAudioUnitEvent_EndParameterChangeGesture;

TEST_F(Listener, DeliversOnTheRunLoopAtTheIntervalInOrder) {
    listen(&object, 1);
    notify(kBegin, 1);
    set(1, 0.25f);
    notify(kEnd, 1);
    pump();
    EXPECT_TRUE(recorder.deliveries.empty()) << "not before the interval has passed";
    advance(kInterval);
    pump();
    const std::vector<Delivery> expected = {
        {&object, kBegin, 1, 0.0f}, {&object, kValue, 1, 0.25f}, {&object, kEnd, 1, 0.0f}};
    EXPECT_EQ(recorder.deliveries, expected);
    AudioUnitParameterValue stored = 0;
    AudioUnitGetParameter(unit, 1, kAudioUnitScope_Global, 0, &stored);
    EXPECT_EQ(stored, 0.25f); // AUParameterSet sets, then tells

    advance(kInterval);
    pump();
    EXPECT_EQ(recorder.deliveries.size(), 3u) << "nothing twice";
}

TEST_F(Listener, CoalescesValueChangesPerParameterButNeverAcrossAGesture) {
    listen(&object, 1);
    listen(&object, 2);
    set(1, 0.1f);
    set(2, 0.5f);
    set(1, 0.2f); // replaces 0.1
    notify(kBegin, 1);
    set(1, 0.3f);
    set(1, 0.4f); // replaces 0.3, not 0.2 (a gesture lies between)
    notify(kEnd, 1);
    notify(kEnd, 1); // gestures are never merged
    set(1, 0.6f);
    advance(kInterval);
    pump();
    const std::vector<Delivery> expected = {{&object, kValue, 2, 0.5f}, {&object, kValue, 1, 0.2f},
                                            {&object, kBegin, 1, 0.0f}, {&object, kValue, 1, 0.4f},
                                            {&object, kEnd, 1, 0.0f},   {&object, kEnd, 1, 0.0f},
                                            {&object, kValue, 1, 0.6f}};
    EXPECT_EQ(recorder.deliveries, expected);
}

TEST_F(Listener, NotifiedValueChangesCarryTheUnitsCurrentValue) {
    listen(&object, 3);
    ASSERT_EQ(AudioUnitSetParameter(unit, 3, kAudioUnitScope_Global, 0, 0.75f, 0), noErr);
    notify(kValue, 3);
    const AudioUnitParameter p = parameter(3);
    ASSERT_EQ(AudioUnitSetParameter(unit, 3, kAudioUnitScope_Global, 0, 0.5f, 0), noErr);
    advance(kInterval);
    pump();
    ASSERT_EQ(recorder.deliveries.size(), 1u);
    EXPECT_EQ(recorder.deliveries[0].value, 0.75f); // read when notified, not when delivered
    ASSERT_EQ(AUParameterListenerNotify(nullptr, nullptr, &p), noErr);
    advance(kInterval);
    pump();
    ASSERT_EQ(recorder.deliveries.size(), 2u);
    EXPECT_EQ(recorder.deliveries[1].value, 0.5f);
}

TEST_F(Listener, HearsOnlyWhatItRegisteredAndNotItsOwnObject) {
    int other = 0;
    listen(&object, 1);
    const AudioUnitEvent anyValue = event(kValue, kAUParameterListener_AnyParameter);
    ASSERT_EQ(AUEventListenerAddEventType(listener, &other, &anyValue), noErr);
    ASSERT_EQ(AUEventListenerAddEventType(listener, &other, &anyValue), noErr); // once only

    notify(kBegin, 2);                    // nobody registered gestures of 2
    set(2, 0.5f);                         // &other hears any parameter
    notify(kBegin, 1, &object, listener); // the sender's own registration is skipped
    notify(kValue, 1, nullptr, listener); // a NULL object skips every registration
    set(1, 0.25f);                        // both registrations hear it
    advance(kInterval);
    pump();
    const std::vector<Delivery> expected = {
        {&other, kValue, 2, 0.5f}, {&object, kValue, 1, 0.25f}, {&other, kValue, 1, 0.25f}};
    EXPECT_EQ(recorder.deliveries, expected);

    const AudioUnitEvent value1 = event(kValue, 1);
    ASSERT_EQ(AUEventListenerRemoveEventType(listener, &object, &value1), noErr);
    set(1, 0.5f);
    advance(kInterval);
    pump();
    ASSERT_EQ(recorder.deliveries.size(), 4u);
    EXPECT_EQ(recorder.deliveries[3], (Delivery{&other, kValue, 1, 0.5f}));

    AudioUnitEvent property{};
    property.mEventType = kAudioUnitEvent_PropertyChange;
    property.mArgument.mProperty = {unit, 0, kAudioUnitScope_Global, 0};
    ASSERT_EQ(AUEventListenerAddEventType(listener, &object, &property), noErr);
    ASSERT_EQ(AUEventListenerNotify(nullptr, nullptr, &property), noErr);
    advance(kInterval);
    pump();
    ASSERT_EQ(recorder.deliveries.size(), 5u);
    EXPECT_EQ(recorder.deliveries[4], (Delivery{&object, kAudioUnitEvent_PropertyChange, 0, 0}));
}

TEST_F(Listener, DisposedListenersHearNothingMore) {
    listen(&object, 1);
    set(1, 0.5f);
    ASSERT_EQ(AUListenerDispose(listener), noErr);
    listener = nullptr;
    advance(kInterval);
    pump();
    set(1, 0.75f);
    advance(kInterval);
    pump();
    EXPECT_TRUE(recorder.deliveries.empty());
}

TEST_F(Listener, AZeroIntervalDeliversAtTheNextPass) {
    Recorder immediate;
    AUEventListenerRef now = nullptr;
    ASSERT_EQ(AUEventListenerCreate(&Recorder::proc, &immediate, nullptr, nullptr, 0, 0, &now),
              noErr);
    const AudioUnitEvent begin = event(kBegin, 0);
    ASSERT_EQ(AUEventListenerAddEventType(now, &object, &begin), noErr);
    const AudioUnitEvent value = event(kValue, 0);
    ASSERT_EQ(AUEventListenerAddEventType(now, &object, &value), noErr);
    notify(kBegin, 0);
    set(0, 0.25f);
    set(0, 0.5f); // no interval, so nothing is coalesced
    EXPECT_TRUE(immediate.deliveries.empty()) << "never from inside the notifying call";
    pump();
    const std::vector<Delivery> expected = {
        {&object, kBegin, 0, 0.0f}, {&object, kValue, 0, 0.25f}, {&object, kValue, 0, 0.5f}};
    EXPECT_EQ(immediate.deliveries, expected);
    // A delivery posted for a listener that is gone by then does nothing.
    notify(kBegin, 0);
    ASSERT_EQ(AUListenerDispose(now), noErr);
    pump();
    EXPECT_EQ(immediate.deliveries.size(), 3u);
}

TEST(ListenerCalls, RefuseWhatTheyCannotUse) {
    AUEventListenerRef listener = nullptr;
    EXPECT_EQ(AUEventListenerCreate(nullptr, nullptr, nullptr, nullptr, 0, 0, &listener),
              kAudio_ParamError);
    EXPECT_EQ(AUEventListenerNotify(nullptr, nullptr, nullptr), kAudio_ParamError);
    AudioUnitEvent bad{};
    bad.mEventType = 9;
    EXPECT_EQ(AUEventListenerNotify(nullptr, nullptr, &bad), kAudio_ParamError);
    EXPECT_EQ(AUParameterSet(nullptr, nullptr, nullptr, 0, 0), kAudio_ParamError);
    AudioUnitParameter noUnit{nullptr, 0, 0, 0};
    EXPECT_EQ(AUParameterSet(nullptr, nullptr, &noUnit, 0, 0), badComponentInstance);
}

} // namespace
