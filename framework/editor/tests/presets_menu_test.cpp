// The PRESETS menu: its layout, factory presets applied through the unit with the host's
// gestures and notifications, and the user folder listed as a tree.

#include "editor_harness.h"
#include "presets_unit_editor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

const char* const factoryOutline = "Start \u25B8\n"
                                   "  Studio Start\n"
                                   "Vocals \u25B8\n"
                                   "  Warm Body\n"
                                   "  Soft Air\n"
                                   "Bass \u25B8\n"
                                   "  Rounded Low End\n"
                                   "Acoustic \u25B8\n"
                                   "  Open Acoustic\n"
                                   "Drums \u25B8\n"
                                   "  Drum Weight\n"
                                   "Color \u25B8\n"
                                   "  Tube Edge\n"
                                   "  Dark Velvet\n"
                                   "  Analog Shimmer\n"
                                   "-\n";
const char* const commandsOutline = "Save Preset\u2026\n"
                                    "Open Preset\u2026\n"
                                    "Show User Presets Folder\n";

// The outline of the "User Presets" submenu, as the menu shows it.
std::string userOutline(KelvoView& view) {
    const std::shared_ptr<NSMenuItem> user = view.presetMenu()->itemWithTitle("User Presets");
    return user && user->submenu() ? user->submenu()->outline() : "(none)";
}

TEST(PresetMenu, FactoryGroupsThenUserPresetsThenCommands) {
    UnitEditor editor;
    const std::shared_ptr<NSMenu> menu = editor.view->presetMenu();
    EXPECT_EQ(menu->title(), NSString("Presets"));
    EXPECT_EQ(menu->outline(), std::string(factoryOutline) +
                                   "User Presets \u25B8\n  No saved presets yet (disabled)\n" +
                                   commandsOutline);
    // Tags are the factory indices in table order; every actionable item targets the view.
    const char* const paths[] = {
        "Start/Studio Start",   "Vocals/Warm Body",       "Vocals/Soft Air",
        "Bass/Rounded Low End", "Acoustic/Open Acoustic", "Drums/Drum Weight",
        "Color/Tube Edge",      "Color/Dark Velvet",      "Color/Analog Shimmer"};
    for (NSInteger i = 0; i < 9; ++i) {
        const std::shared_ptr<NSMenuItem> item = menu->itemWithTitlePath(paths[i]);
        ASSERT_TRUE(item) << paths[i];
        EXPECT_EQ(item->tag(), i);
        EXPECT_EQ(item->target().get(), editor.view.get());
        EXPECT_EQ(std::string(item->action().name), "factoryPreset:");
    }
    for (const char* command :
         {"Save Preset\u2026", "Open Preset\u2026", "Show User Presets Folder"}) {
        EXPECT_EQ(menu->itemWithTitle(command)->target().get(), editor.view.get()) << command;
    }
    // Listing creates nothing.
    EXPECT_FALSE(fs::exists(editor.home.path() + "/Library"));
}

TEST(PresetMenu, FactoryPresetIsOneGestureThenNotifications) {
    UnitEditor editor;
    editor.choose("Vocals/Warm Body");

    // Popped up 2 points below the PRESETS button, in the view's coordinates.
    const NSRect f = editor.view->presetsButton()->frame();
    ASSERT_EQ(editor.ui->menuLocations.size(), 1u);
    EXPECT_DOUBLE_EQ(editor.ui->menuLocations[0].x, f.origin.x);
    EXPECT_DOUBLE_EQ(editor.ui->menuLocations[0].y, f.origin.y + f.size.height + 2);
    EXPECT_EQ(editor.ui->menuViews[0], editor.view.get());

    const float warmBody[] = {3, 2.8f, 6, 5, 1, 1, 0, 0, 0, 0, 100, 1, 0, 0};
    std::vector<std::string> expected;
    for (unsigned id = 0; id < 14; ++id) {
        expected.push_back("begin " + std::to_string(id));
    }
    expected.push_back("property 36");
    for (unsigned id = 0; id < 14; ++id) {
        expected.push_back("end " + std::to_string(id));
    }
    for (unsigned id = 0; id < 14; ++id) {
        char line[64];
        std::snprintf(line, sizeof line, "value %u %g", id, static_cast<double>(warmBody[id]));
        expected.push_back(line);
    }
    expected.push_back("property 0");
    EXPECT_EQ(editor.takeEvents(), expected);
    EXPECT_EQ(editor.presetTitle(), "PRESETS \u00b7 Warm Body  \u25be");
    EXPECT_EQ(editor.values(), std::vector<float>(std::begin(warmBody), std::end(warmBody)));
    EXPECT_TRUE(editor.ui->alertsShown.empty());
}

TEST(PresetMenu, CancelledMenuChangesNothing) {
    UnitEditor editor;
    editor.view->set(0, 4);
    editor.takeEvents();
    editor.choose("cancel");
    EXPECT_TRUE(editor.takeEvents().empty());
    EXPECT_EQ(editor.value(0), 4);
    EXPECT_EQ(editor.presetTitle(), "PRESETS \u00b7 Studio Start  \u25be");
}

TEST(PresetMenu, UnitRefusingTheFactoryPresetShowsTheSheet) {
    // The fake unit serves no present-preset property.
    EditorHarness editor;
    auto ui = std::make_shared<appkit::ScriptedUserInterface>();
    appkit::setUserInterfaceHost(ui);
    editor.state().values[0] = 4;
    editor.view->refresh();
    std::shared_ptr<NSMenuItem> item =
        editor.view->presetMenu()->itemWithTitlePath("Color/Tube Edge");
    ASSERT_TRUE(NSMenu::performItem(item));
    editor.pump();
    ASSERT_EQ(ui->alertsShown.size(), 1u);
    EXPECT_EQ(ui->alertsShown[0].messageText, "Preset could not be used");
    EXPECT_EQ(ui->alertsShown[0].informativeText, "The host could not apply this preset.");
    EXPECT_TRUE(ui->alertsShown[0].sheet);
    // The gestures are still closed; no value was announced and the title stays.
    const std::vector<std::string> events = editor.takeEvents();
    ASSERT_EQ(events.size(), 28u);
    EXPECT_EQ(events.front(), "begin 0");
    EXPECT_EQ(events.back(), "end 13");
    EXPECT_EQ(editor.state().values[0], 4);
    EXPECT_EQ(editor.view->presetName(), NSString("Studio Start"));
    appkit::setUserInterfaceHost(nullptr);
}

TEST(PresetMenu, FactoryPresetTagOutOfRangeDoesNothing) {
    UnitEditor editor;
    for (NSInteger tag : {9, -1, 100}) {
        auto item = std::make_shared<NSMenuItem>("Stray", SELECTOR(KelvoView, factoryPreset), "");
        item->setTag(tag);
        item->setTarget(editor.view);
        ASSERT_TRUE(NSMenu::performItem(item));
    }
    EXPECT_TRUE(editor.takeEvents().empty());
    EXPECT_TRUE(editor.ui->alertsShown.empty());
}

class UserPresetListing : public ::testing::Test {
protected:
    UnitEditor editor;
    std::string folder = editor.home.presetFolder();

    void file(const std::string& relative, const std::string& bytes = "x") {
        writeFile(folder + "/" + relative, bytes);
    }
};

TEST_F(UserPresetListing, NaturalOrderOnlyPresetFilesNoHiddenNoLinks) {
    file("Take 10.aupreset");
    file("Take 2.aupreset");
    file("take 3.aupreset");
    file("LOUD.AUPRESET");
    file(".hidden.aupreset");
    file("notes.txt");
    file("aupreset");
    file("Sub/Inner.aupreset");
    file(".Hidden Folder/Inside.aupreset");
    fs::create_symlink(folder + "/Take 2.aupreset", folder + "/Link.aupreset");
    fs::create_directory_symlink(folder + "/Sub", folder + "/Linked Folder");
    ASSERT_EQ(mkfifo((folder + "/Pipe.aupreset").c_str(), 0600), 0);

    EXPECT_EQ(userOutline(*editor.view), "LOUD\n"
                                         "Sub \u25B8\n"
                                         "  Inner\n"
                                         "Take 2\n"
                                         "take 3\n"
                                         "Take 10\n");
    const std::shared_ptr<NSMenuItem> item =
        editor.view->presetMenu()->itemWithTitlePath("User Presets/Sub/Inner");
    ASSERT_TRUE(item);
    EXPECT_EQ(std::string(item->action().name), "userPreset:");
    EXPECT_EQ(item->target().get(), editor.view.get());
    EXPECT_EQ(NSURL::cast(item->representedObject()).path().stdString(),
              folder + "/Sub/Inner.aupreset");
}

TEST_F(UserPresetListing, EmptySubfolderIsAnEmptySubmenu) {
    fs::create_directories(folder + "/Empty");
    EXPECT_EQ(userOutline(*editor.view), "Empty \u25B8\n");
}

TEST_F(UserPresetListing, MissingOrEmptyFolderSaysNoSavedPresets) {
    EXPECT_EQ(userOutline(*editor.view), "No saved presets yet (disabled)\n");
    fs::create_directories(folder);
    file(".DS_Store");
    EXPECT_EQ(userOutline(*editor.view), "No saved presets yet (disabled)\n");
}

TEST_F(UserPresetListing, FoldersBelowDepthSixShowEmpty) {
    // d1 lies at depth 1 below the user folder; d7 is listed but not opened.
    std::string path;
    for (int depth = 1; depth <= 8; ++depth) {
        path += "/d" + std::to_string(depth);
        file(path.substr(1) + "/p" + std::to_string(depth) + ".aupreset");
    }
    // Build the exact outline: each dK (K <= 6) holds d(K+1) then pK.
    std::string outline;
    std::function<void(int)> add = [&](int depth) {
        const std::string indent(static_cast<std::size_t>(depth - 1) * 2, ' ');
        outline += indent + "d" + std::to_string(depth) + " \u25B8\n";
        if (depth <= 6) {
            add(depth + 1);
            outline += indent + "  p" + std::to_string(depth) + "\n";
        }
    };
    add(1);
    EXPECT_EQ(userOutline(*editor.view), outline);
}

TEST_F(UserPresetListing, ChoosingAUserPresetLoadsIt) {
    // Save Warm Body as a file, go elsewhere, then choose the file from the tree.
    editor.choose("Vocals/Warm Body");
    fs::create_directories(folder + "/Vocal Takes");
    editor.choose("Save Preset\u2026", "Vocal Takes/Warm Copy");
    ASSERT_TRUE(fs::exists(folder + "/Vocal Takes/Warm Copy.aupreset"));
    editor.choose("Color/Tube Edge");
    ASSERT_EQ(editor.value(0), 4);
    editor.takeEvents();

    editor.choose("User Presets/Vocal Takes/Warm Copy");
    EXPECT_EQ(editor.value(0), 3);
    EXPECT_FLOAT_EQ(editor.value(1), 2.8f);
    EXPECT_EQ(editor.value(2), 6);
    EXPECT_EQ(editor.presetTitle(), "PRESETS \u00b7 Warm Copy  \u25be");
    // The unit names its restored preset; then, as after a factory preset, every value and
    // the state are announced. No gestures: a file is not an edit of a control.
    std::vector<std::string> expected{"property 36"};
    for (unsigned id = 0; id < 14; ++id) {
        char line[64];
        std::snprintf(line, sizeof line, "value %u %g", id, static_cast<double>(editor.value(id)));
        expected.push_back(line);
    }
    expected.push_back("property 0");
    EXPECT_EQ(editor.takeEvents(), expected);
    EXPECT_TRUE(editor.ui->alertsShown.empty());
}

TEST_F(UserPresetListing, ShowFolderCreatesItAndOpensIt) {
    editor.choose("Show User Presets Folder");
    EXPECT_TRUE(fs::is_directory(folder));
    ASSERT_EQ(editor.ui->urlsOpened.size(), 1u);
    EXPECT_EQ(editor.ui->urlsOpened[0], folder);
}

TEST_F(UserPresetListing, FolderThatCannotBeCreatedShowsTheSystemText) {
    // A file where the Library folder should be.
    writeFile(editor.home.path() + "/Library", "not a folder");
    editor.choose("Show User Presets Folder");
    editor.choose("Save Preset\u2026", "Never");
    ASSERT_EQ(editor.ui->alertsShown.size(), 2u);
    for (const auto& alert : editor.ui->alertsShown) {
        EXPECT_EQ(alert.messageText, "Preset could not be used");
        EXPECT_FALSE(alert.informativeText.empty());
        EXPECT_EQ(alert.informativeText.find("not a valid preset"), std::string::npos);
    }
    EXPECT_TRUE(editor.ui->urlsOpened.empty());
    EXPECT_TRUE(editor.ui->panelsShown.empty());
}

} // namespace
