// Selectors, weak references, the class registry and NSLog.

#include <AppKit/AppKitHost.h>
#include <AudioUnit/AUCocoaUIView.h>
#include <Foundation/Foundation.h>

#include "test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Target : public NSObject {
public:
    void changed(NSObject* sender) { senders.push_back(sender); }
    std::vector<NSObject*> senders;
};

class Other : public NSObject {};

TEST(Selector, CarriesItsNameAndPerformsOnItsClass) {
    const SEL sel = SELECTOR(Target, changed);
    EXPECT_STREQ(sel.name, "changed:");
    EXPECT_EQ(NSStringFromSelector(sel), NSString("changed:"));
    EXPECT_EQ(sel, NSSelectorFromString("changed:"));
    EXPECT_FALSE(sel == NSSelectorFromString("help:"));
    Target target;
    Other sender;
    sel.perform(&target, &sender);
    ASSERT_EQ(target.senders.size(), 1u);
    EXPECT_EQ(target.senders[0], &sender);
    Other notATarget;
    EXPECT_TRUE(sel.canPerform(&target));
    EXPECT_FALSE(sel.canPerform(&notATarget));
    sel.perform(&notATarget, &sender); // another class: nothing happens
    EXPECT_EQ(target.senders.size(), 1u);
    EXPECT_EQ(NSSelectorFromString("x:").perform, nullptr);
}

TEST(WeakReference, ZeroesWhenTheObjectGoes) {
    auto object = std::make_shared<Target>();
    std::weak_ptr<Target> weak = object->weakSelf<Target>();
    EXPECT_EQ(weak.lock(), object);
    EXPECT_EQ(object->self<Other>(), nullptr);
    object.reset();
    EXPECT_EQ(weak.lock(), nullptr);
}

class Factory : public NSObject, public AUCocoaUIBase {
public:
    unsigned interfaceVersion() override { return 0; }
    std::shared_ptr<NSView> uiViewForAudioUnit(AudioUnit, NSSize) override {
        return std::make_shared<NSView>(NSMakeRect(0, 0, 20, 10));
    }
    NSString description() const override { return "Factory"; }
};

// Registered at load time, as a bundle's classes are.
const NSClassRegistrar<Factory> registrar("AppKitTestViewFactory", {"description"});

TEST(ClassRegistry, FindsRegisteredClassesByName) {
    Class cls = NSClassFromString("AppKitTestViewFactory");
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls, registrar.cls);
    EXPECT_STREQ(cls->name(), "AppKitTestViewFactory");
    EXPECT_EQ(NSStringFromClass(cls), NSString("AppKitTestViewFactory"));
    EXPECT_TRUE(cls->instancesRespondToSelector("uiViewForAudioUnit:withSize:"));
    EXPECT_TRUE(cls->instancesRespondToSelector("interfaceVersion"));
    EXPECT_TRUE(cls->instancesRespondToSelector(NSSelectorFromString("description")));
    EXPECT_FALSE(cls->instancesRespondToSelector("frobnicate:"));
    EXPECT_EQ(NSClassFromString("NoSuchFactory"), nullptr);
    EXPECT_EQ(NSClassFromString(NSString()), nullptr);
}

TEST(ClassRegistry, InstancesAreUsableThroughTheProtocol) {
    std::shared_ptr<NSObject> instance = NSClassFromString("AppKitTestViewFactory")->newInstance();
    auto* factory = dynamic_cast<AUCocoaUIBase*>(instance.get());
    ASSERT_NE(factory, nullptr);
    EXPECT_EQ(factory->interfaceVersion(), 0u);
    std::shared_ptr<NSView> view = factory->uiViewForAudioUnit(nullptr, NSZeroSize);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->bounds().size.width, 20);
    EXPECT_EQ(instance->description(), NSString("Factory"));
}

TEST(ClassRegistry, TheFirstRegistrationOfANameWins) {
    Class again =
        NSRegisterClass("AppKitTestViewFactory", [] { return std::shared_ptr<NSObject>(); }, {});
    EXPECT_EQ(again, registrar.cls);
    EXPECT_NE(again->newInstance(), nullptr);
}

TEST(Log, LinesGoToTheInstalledSink) {
    std::vector<std::string> lines;
    appkit::setLogSink([&](const char* line) { lines.emplace_back(line); });
    NSLog("KELVO AAX %s initialization failed: %s", "KelvoFennic", "AU registration failed: -50");
    appkit::setLogSink(nullptr);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "KELVO AAX KelvoFennic initialization failed: AU registration failed: -50");
}

TEST(Process, MainThreadAndIdentifier) {
    EXPECT_TRUE(NSThread::isMainThread());
    EXPECT_EQ(NSProcessInfo::processInfo()->processIdentifier(), getpid());
    appkit::setProcessIdentifier(getppid()); // a host playing its other process
    EXPECT_EQ(NSProcessInfo::processInfo()->processIdentifier(), getppid());
    appkit::setProcessIdentifier(0);
    EXPECT_EQ(NSProcessInfo::processInfo()->processIdentifier(), getpid());
}

} // namespace
