// The PRESETS menu: factory presets in group submenus, the user's preset files as a folder
// tree, and the file commands; applying, saving and opening presets.

#include "view/editor_view.h"

#include "presets/factory_preset.h"
#include "presets/user_presets.h"

#include <AudioToolbox/AudioUnitUtilities.h>

#include <map>
#include <string>

namespace {

constexpr unsigned parameterCount = classic::parameterCount;

// Folders below the user folder are listed down to this depth; deeper ones show empty, so a
// link-free but absurdly deep tree cannot make the menu unbounded.
constexpr unsigned deepestListedFolder = 6;

constexpr const char* invalidPresetText =
    "This is not a valid preset for this model. Current settings were preserved.";
constexpr const char* unsavedPresetText = "The preset could not be saved.";
constexpr const char* refusedFactoryPresetText = "The host could not apply this preset.";

bool flag(const NSURL& url, const NSURLResourceKey& key) {
    NSHandle value;
    return url.getResourceValue(&value, key, nullptr) && NSNumber::cast(value).boolValue();
}

// Saving and showing the folder make it on demand; a failure shows the system's text.
bool createUserFolder(KelvoView& view, const NSURL& folder) {
    NSError error;
    if (NSFileManager::defaultManager()->createDirectoryAtURL(folder, true, NSDictionary(),
                                                              &error)) {
        return true;
    }
    view.presetError(error.localizedDescription());
    return false;
}

} // namespace

void KelvoView::presets(NSControl*) {
    finish();
    // Built anew on every click, so a file saved a moment ago is listed.
    const std::shared_ptr<NSMenu> menu = presetMenu();
    const NSRect f = presetButton->frame();
    // The view is flipped: 2 points below the button's lower edge.
    menu->popUpMenuPositioningItem(nullptr, NSPoint{f.origin.x, f.origin.y + f.size.height + 2},
                                   this);
}

std::shared_ptr<NSMenu> KelvoView::presetMenu() {
    auto menu = std::make_shared<NSMenu>("Presets");
    // Groups appear in the order of their first preset.
    std::map<std::string, std::shared_ptr<NSMenu>> groups;
    const classic::FactoryPresetList& factory = classic::factoryPresets();
    for (std::size_t i = 0; i < factory.size(); ++i) {
        const classic::FactoryPreset& preset = factory[i];
        std::shared_ptr<NSMenu>& group = groups[preset.group];
        if (!group) {
            group = std::make_shared<NSMenu>(preset.group);
            auto holder = std::make_shared<NSMenuItem>(preset.group, SEL{}, "");
            holder->setSubmenu(group);
            menu->addItem(holder);
        }
        std::shared_ptr<NSMenuItem> item =
            group->addItemWithTitle(preset.name, SELECTOR(KelvoView, factoryPreset), "");
        item->setTarget(weakSelf());
        item->setTag(static_cast<NSInteger>(i));
    }

    menu->addItem(NSMenuItem::separatorItem());
    auto user = std::make_shared<NSMenu>("User Presets");
    addUserPresets(rackpresets::userFolder(), *user, 0);
    if (user->numberOfItems() == 0) {
        user->addItemWithTitle("No saved presets yet", SEL{}, "")->setEnabled(false);
    }
    auto userItem = std::make_shared<NSMenuItem>("User Presets", SEL{}, "");
    userItem->setSubmenu(user);
    menu->addItem(userItem);

    menu->addItemWithTitle("Save Preset\u2026", SELECTOR(KelvoView, savePreset), "")
        ->setTarget(weakSelf());
    menu->addItemWithTitle("Open Preset\u2026", SELECTOR(KelvoView, openPreset), "")
        ->setTarget(weakSelf());
    menu->addItemWithTitle("Show User Presets Folder", SELECTOR(KelvoView, showPresetFolder), "")
        ->setTarget(weakSelf());
    return menu;
}

void KelvoView::addUserPresets(const NSURL& folder, NSMenu& menu, unsigned depth) {
    if (depth > deepestListedFolder || !folder) {
        return;
    }
    // A missing or unreadable folder lists as empty; that is no error.
    const NSArray entries = NSFileManager::defaultManager()->contentsOfDirectoryAtURL(
        folder,
        NSArray::arrayWithObjects(
            {NSURLIsDirectoryKey, NSURLIsSymbolicLinkKey, NSURLIsRegularFileKey}),
        NSDirectoryEnumerationSkipsHiddenFiles, nullptr);
    // As the file browser sorts: "Take 2" before "Take 10".
    const NSArray sorted =
        entries.sortedArrayUsingComparator([](const NSHandle& a, const NSHandle& b) {
            return NSURL::cast(a).lastPathComponent().localizedStandardCompare(
                NSURL::cast(b).lastPathComponent());
        });
    for (const NSHandle& entry : sorted) {
        const NSURL url = NSURL::cast(entry);
        // A link could lead anywhere, a loop included; only what lies in the folder is listed.
        if (!url || flag(url, NSURLIsSymbolicLinkKey)) {
            continue;
        }
        const NSString title = url.lastPathComponent().stringByDeletingPathExtension();
        auto item = std::make_shared<NSMenuItem>(title, SEL{}, "");
        if (flag(url, NSURLIsDirectoryKey)) {
            auto submenu = std::make_shared<NSMenu>(title);
            addUserPresets(url, *submenu, depth + 1);
            item->setSubmenu(submenu);
            menu.addItem(item);
        } else if (flag(url, NSURLIsRegularFileKey) &&
                   url.pathExtension().lowercaseString().isEqualToString("aupreset")) {
            item->setTarget(weakSelf());
            item->setAction(SELECTOR(KelvoView, userPreset));
            item->setRepresentedObject(url);
            menu.addItem(item);
        }
    }
}

void KelvoView::factoryPreset(NSMenuItem* item) {
    finish();
    const classic::FactoryPresetList& factory = classic::factoryPresets();
    const NSInteger index = item != nullptr ? item->tag() : -1;
    if (index < 0 || static_cast<std::size_t>(index) >= factory.size()) {
        return;
    }
    const classic::FactoryPreset& chosen = factory[static_cast<std::size_t>(index)];
    // One gesture around the whole change, so a host records the preset as one edit.
    for (unsigned id = 0; id < parameterCount; ++id) {
        gesture(id, true);
    }
    const NSString name(chosen.name);
    AUPreset preset{static_cast<SInt32>(index), name.cf()};
    const OSStatus status = AudioUnitSetProperty(unit, kAudioUnitProperty_PresentPreset,
                                                 kAudioUnitScope_Global, 0, &preset, sizeof preset);
    for (unsigned id = 0; id < parameterCount; ++id) {
        gesture(id, false);
    }
    if (status != noErr) {
        presetError(refusedFactoryPresetText);
        return;
    }
    selectedPreset = name;
    notifyPreset();
}

void KelvoView::userPreset(NSMenuItem* item) {
    finish();
    const NSURL file = item != nullptr ? NSURL::cast(item->representedObject()) : NSURL();
    NSError error;
    if (!rackpresets::load(unit, file, &error)) {
        presetError(error ? error.localizedDescription() : NSString(invalidPresetText));
        return;
    }
    selectedPreset = file.lastPathComponent().stringByDeletingPathExtension();
    notifyPreset();
}

void KelvoView::savePreset(NSMenuItem*) {
    finish();
    const NSURL folder = rackpresets::userFolder();
    if (!createUserFolder(*this, folder)) {
        return;
    }
    const std::shared_ptr<NSSavePanel> panel = NSSavePanel::savePanel();
    panel->setAllowedFileTypes({"aupreset"});
    panel->setCanCreateDirectories(true);
    panel->setDirectoryURL(folder);
    panel->setNameFieldStringValue("My Preset.aupreset");
    // The handler keeps the panel and the view until the sheet ends.
    const std::shared_ptr<KelvoView> view = self<KelvoView>();
    panel->beginSheetModalForWindow(window(), [panel, view](NSModalResponse response) {
        if (response != NSModalResponseOK) {
            return;
        }
        const NSURL file = panel->URL();
        const NSString name = file.lastPathComponent().stringByDeletingPathExtension();
        NSError failure;
        if (!rackpresets::save(view->unit, file, name, &failure)) {
            view->presetError(failure ? failure.localizedDescription()
                                      : NSString(unsavedPresetText));
            return;
        }
        // Saving changes no value, so listeners are not told; only the title follows.
        view->selectedPreset = name;
        view->refresh();
    });
}

void KelvoView::openPreset(NSMenuItem*) {
    finish();
    const std::shared_ptr<NSOpenPanel> panel = NSOpenPanel::openPanel();
    panel->setAllowedFileTypes({"aupreset"});
    panel->setAllowsMultipleSelection(false);
    panel->setDirectoryURL(rackpresets::userFolder());
    const std::shared_ptr<KelvoView> view = self<KelvoView>();
    panel->beginSheetModalForWindow(window(), [panel, view](NSModalResponse response) {
        if (response != NSModalResponseOK) {
            return;
        }
        auto chosen = std::make_shared<NSMenuItem>();
        chosen->setRepresentedObject(panel->URL());
        view->userPreset(chosen.get());
    });
}

void KelvoView::showPresetFolder(NSMenuItem*) {
    const NSURL folder = rackpresets::userFolder();
    if (!createUserFolder(*this, folder)) {
        return;
    }
    NSWorkspace::sharedWorkspace()->openURL(folder);
}

void KelvoView::notifyPreset() {
    // Every value and the state changed at once: hosts refresh their own displays and mark
    // the project as changed.
    for (unsigned id = 0; id < parameterCount; ++id) {
        AudioUnitEvent event{};
        event.mEventType = kAudioUnitEvent_ParameterValueChange;
        event.mArgument.mParameter = AudioUnitParameter{unit, id, kAudioUnitScope_Global, 0};
        AUEventListenerNotify(nullptr, this, &event);
    }
    AudioUnitEvent event{};
    event.mEventType = kAudioUnitEvent_PropertyChange;
    event.mArgument.mProperty =
        AudioUnitProperty{unit, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0};
    AUEventListenerNotify(nullptr, this, &event);
    refresh();
}

void KelvoView::presetError(const NSString& detail) {
    auto alert = std::make_shared<NSAlert>();
    alert->setMessageText("Preset could not be used");
    alert->setInformativeText(detail);
    alert->beginSheetModalForWindow(window(), nullptr);
}
