// Menus, save and open panels, alerts and the workspace, answered by a scripted host.

#include <AppKit/AppKit.h>
#include <AppKit/ScriptedUserInterface.h>

#include "test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class Owner : public NSObject {
public:
    void factoryPreset(NSMenuItem* item) { chosen.push_back(item); }
    std::vector<NSMenuItem*> chosen;
};

class Scripted : public ::testing::Test {
protected:
    void SetUp() override {
        host = std::make_shared<appkit::ScriptedUserInterface>();
        appkit::setUserInterfaceHost(host);
        owner = std::make_shared<Owner>();
    }
    void TearDown() override { appkit::setUserInterfaceHost(nullptr); }
    void turn() { CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false); }

    // Presets ▸ Vocals ▸ {Warm Body, Soft Air}; a separator; User Presets ▸ placeholder.
    std::shared_ptr<NSMenu> presetMenu() {
        auto menu = std::make_shared<NSMenu>("Presets");
        auto vocals = std::make_shared<NSMenu>("Vocals");
        auto group = menu->addItemWithTitle("Vocals", SEL{}, "");
        menu->setSubmenu(vocals, group);
        for (const char* name : {"Warm Body", "Soft Air"}) {
            auto item = vocals->addItemWithTitle(name, SELECTOR(Owner, factoryPreset), "");
            item->setTarget(owner);
            item->setTag(vocals->numberOfItems());
        }
        menu->addItem(NSMenuItem::separatorItem());
        auto users = std::make_shared<NSMenu>("User Presets");
        auto usersItem = menu->addItemWithTitle("User Presets", SEL{}, "");
        menu->setSubmenu(users, usersItem);
        auto placeholder = users->addItemWithTitle("No saved presets yet", SEL{}, "");
        placeholder->setEnabled(false);
        auto slashed = users->addItemWithTitle("A/B", SELECTOR(Owner, factoryPreset), "");
        slashed->setTarget(owner);
        return menu;
    }

    std::shared_ptr<appkit::ScriptedUserInterface> host;
    std::shared_ptr<Owner> owner;
};

TEST_F(Scripted, AChosenItemSendsItsActionWithTheItem) {
    auto menu = presetMenu();
    host->queueMenuAnswer("Vocals/Warm Body");
    EXPECT_TRUE(menu->popUpMenuPositioningItem(nullptr, {825, 64}, nullptr));
    ASSERT_EQ(owner->chosen.size(), 1u);
    EXPECT_EQ(owner->chosen[0]->title(), NSString("Warm Body"));
    EXPECT_EQ(owner->chosen[0]->tag(), 1);
    EXPECT_EQ(host->menusShown.at(0),
              "Vocals \u25B8\n  Warm Body\n  Soft Air\n-\nUser Presets \u25B8\n"
              "  No saved presets yet (disabled)\n  A/B\n");
}

TEST_F(Scripted, GroupsDisabledItemsUnknownPathsAndCancelSendNothing) {
    auto menu = presetMenu();
    for (const char* answer : {"Vocals", "User Presets/No saved presets yet", "Drums/Drum Weight",
                               appkit::ScriptedUserInterface::kCancel}) {
        host->queueMenuAnswer(answer);
        EXPECT_FALSE(menu->popUpMenuPositioningItem(nullptr, {}, nullptr)) << answer;
    }
    EXPECT_TRUE(owner->chosen.empty());
    EXPECT_FALSE(menu->popUpMenuPositioningItem(nullptr, {}, nullptr)); // nothing queued
}

TEST_F(Scripted, TitlesContainingSlashesAreFoundWhole) {
    auto menu = presetMenu();
    auto item = menu->itemWithTitlePath("User Presets/A/B");
    ASSERT_TRUE(item);
    EXPECT_EQ(item->title(), NSString("A/B"));
    EXPECT_EQ(item->menu()->title(), NSString("User Presets"));
    EXPECT_EQ(menu->itemAtIndex(2)->submenu()->supermenu(), menu.get());
}

TEST_F(Scripted, ItemsKeepTheirRepresentedObjectAndTargetWeakly) {
    auto item = std::make_shared<NSMenuItem>("Mine", SELECTOR(Owner, factoryPreset), "");
    item->setRepresentedObject(NSURL::fileURLWithPath("/tmp/Mine.aupreset", false));
    EXPECT_EQ(NSURL::cast(item->representedObject()).lastPathComponent(),
              NSString("Mine.aupreset"));
    {
        auto gone = std::make_shared<Owner>();
        item->setTarget(gone);
    }
    EXPECT_FALSE(NSMenu::performItem(item));
}

TEST_F(Scripted, SavePanelCompletesOnTheNextRunLoopTurnAndAddsTheExtension) {
    auto panel = NSSavePanel::savePanel();
    panel->setAllowedFileTypes({"aupreset"});
    panel->setCanCreateDirectories(true);
    panel->setDirectoryURL(NSURL::fileURLWithPath("/tmp/User Presets", true));
    panel->setNameFieldStringValue("My Preset.aupreset");
    host->queueFileAnswer("Warm Copy"); // a bare name: in the panel's folder, extension added
    std::vector<NSModalResponse> results;
    std::weak_ptr<NSSavePanel> weak = panel;
    panel->beginSheetModalForWindow(nullptr,
                                    [&results, panel](NSModalResponse r) { results.push_back(r); });
    panel.reset();
    EXPECT_TRUE(results.empty()); // not yet: the handler runs from the run loop
    EXPECT_FALSE(weak.expired()); // the pending handler holds the panel
    turn();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0], NSModalResponseOK);
    ASSERT_EQ(host->panelsShown.size(), 1u);
    const auto& shown = host->panelsShown[0];
    EXPECT_FALSE(shown.open);
    EXPECT_EQ(shown.directory, "/tmp/User Presets");
    EXPECT_EQ(shown.nameField, "My Preset.aupreset");
    EXPECT_EQ(shown.allowedFileTypes, (std::vector<std::string>{"aupreset"}));
    EXPECT_TRUE(shown.canCreateDirectories);
}

TEST_F(Scripted, SavePanelUrlAndCancel) {
    auto panel = NSSavePanel::savePanel();
    panel->setAllowedFileTypes({"aupreset"});
    host->queueFileAnswer("/tmp/x/Take.AUPRESET");
    EXPECT_EQ(panel->runModal(), NSModalResponseOK);
    EXPECT_EQ(panel->URL().path(), NSString("/tmp/x/Take.AUPRESET")); // allowed, any case
    host->queueFileAnswer(appkit::ScriptedUserInterface::kCancel);
    EXPECT_EQ(panel->runModal(), NSModalResponseCancel);
    EXPECT_FALSE(panel->URL());
    EXPECT_EQ(panel->runModal(), NSModalResponseCancel); // nothing queued
}

TEST_F(Scripted, OpenPanelGivesOneUrl) {
    auto panel = NSOpenPanel::openPanel();
    panel->setAllowsMultipleSelection(false);
    panel->setDirectoryURL(NSURL::fileURLWithPath("/tmp/presets", true));
    host->queueFileAnswer("Folder/Name.aupreset");
    NSModalResponse result = NSModalResponseCancel;
    panel->beginSheetModalForWindow(nullptr, [&](NSModalResponse r) { result = r; });
    turn();
    EXPECT_EQ(result, NSModalResponseOK);
    EXPECT_EQ(panel->URL().path(), NSString("/tmp/presets/Folder/Name.aupreset"));
    ASSERT_EQ(panel->URLs().size(), 1u);
    EXPECT_TRUE(host->panelsShown.at(0).open);
}

TEST_F(Scripted, AlertsAreShownAndDismissed) {
    auto window =
        std::make_shared<NSWindow>(NSMakeRect(0, 0, 100, 100), 11, NSBackingStoreBuffered, false);
    auto alert = std::make_shared<NSAlert>();
    alert->setMessageText("Preset could not be used");
    alert->setInformativeText("The host could not apply this preset.");
    alert->beginSheetModalForWindow(window.get(), nullptr);
    turn();
    ASSERT_EQ(host->alertsShown.size(), 1u);
    EXPECT_EQ(host->alertsShown[0].messageText, "Preset could not be used");
    EXPECT_EQ(host->alertsShown[0].informativeText, "The host could not apply this preset.");
    EXPECT_TRUE(host->alertsShown[0].sheet);
    EXPECT_EQ(alert->buttonTitles().at(0), NSString("OK"));
}

TEST_F(Scripted, WorkspaceOpensThroughTheHost) {
    EXPECT_TRUE(
        NSWorkspace::sharedWorkspace()->openURL(NSURL::fileURLWithPath("/tmp/User Presets", true)));
    EXPECT_EQ(host->urlsOpened, (std::vector<std::string>{"/tmp/User Presets"}));
    appkit::setUserInterfaceHost(nullptr);
    EXPECT_FALSE(NSWorkspace::sharedWorkspace()->openURL(NSURL::fileURLWithPath("/tmp", true)));
}

TEST(DefaultHost, CancelsEverything) {
    auto menu = std::make_shared<NSMenu>("M");
    menu->addItemWithTitle("A", SEL{}, "");
    EXPECT_FALSE(menu->popUpMenuPositioningItem(nullptr, {}, nullptr));
    EXPECT_EQ(NSSavePanel::savePanel()->runModal(), NSModalResponseCancel);
    EXPECT_EQ(NSAlert().runModal(), NSAlertFirstButtonReturn);
}

} // namespace
