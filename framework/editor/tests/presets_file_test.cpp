// User preset files: saving through the panel, loading in XML and binary form, and every
// file the editor must refuse without touching the unit.

#include "editor_harness.h"
#include "presets/user_presets.h"
#include "presets_unit_editor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

constexpr const char* invalidText =
    "This is not a valid preset for this model. Current settings were preserved.";

// The unit's state as a dictionary, read as the editor reads it.
NSMutableDictionary unitState(AudioUnit unit) {
    CFPropertyListRef list = nullptr;
    UInt32 size = sizeof list;
    EXPECT_EQ(AudioUnitGetProperty(unit, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0,
                                   &list, &size),
              noErr);
    return NSDictionary::cast(NSHandle::bridgeTransfer(list)).mutableCopy();
}

std::string serialised(const NSHandle& list, NSPropertyListFormat format) {
    const NSData data = NSPropertyListSerialization::dataWithPropertyList(list, format, 0, nullptr);
    return std::string(static_cast<const char*>(data.bytes()), data.length());
}

NSHandle parsed(const std::string& bytes, NSPropertyListFormat* format = nullptr) {
    return NSPropertyListSerialization::propertyListWithData(
        NSData::dataWithBytes(bytes.data(), bytes.size()), NSPropertyListImmutable, format,
        nullptr);
}

class PresetFiles : public ::testing::Test {
protected:
    UnitEditor editor;
    std::string folder = editor.home.presetFolder();

    // A preset file holding Warm Body's state, as a host's copy of the unit would write it.
    std::string warmBodyXML() {
        editor.choose("Vocals/Warm Body");
        NSMutableDictionary state = unitState(editor.unit);
        editor.choose("Start/Studio Start");
        editor.takeEvents();
        return serialised(state, NSPropertyListXMLFormat_v1_0);
    }

    // Chooses a file through "Open Preset…".
    void open(const std::string& path) { editor.choose("Open Preset\u2026", path); }
};

TEST_F(PresetFiles, SaveWritesXMLNamedAfterTheFile) {
    editor.choose("Vocals/Soft Air");
    editor.takeEvents();
    editor.choose("Save Preset\u2026", "Airy Lead");

    ASSERT_EQ(editor.ui->panelsShown.size(), 1u);
    const auto& panel = editor.ui->panelsShown[0];
    EXPECT_FALSE(panel.open);
    EXPECT_EQ(panel.directory, folder);
    EXPECT_EQ(panel.nameField, "My Preset.aupreset");
    EXPECT_EQ(panel.allowedFileTypes, std::vector<std::string>{"aupreset"});
    EXPECT_TRUE(panel.canCreateDirectories);

    const std::string bytes = readFile(folder + "/Airy Lead.aupreset");
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.rfind("<?xml", 0), 0u);
    NSPropertyListFormat format = 0;
    const NSDictionary saved = NSDictionary::cast(parsed(bytes, &format));
    EXPECT_EQ(format, NSPropertyListXMLFormat_v1_0);
    EXPECT_EQ(NSString::cast(saved.objectForKey(NSString("name"))), NSString("Airy Lead"));
    EXPECT_EQ(NSData::cast(saved.objectForKey(NSString("data"))).length(), 124u);
    EXPECT_EQ(editor.presetTitle(), "PRESETS \u00b7 Airy Lead  \u25be");
    // Saving changes no value: nothing is announced, and no sheet appears.
    EXPECT_TRUE(editor.takeEvents().empty());
    EXPECT_TRUE(editor.ui->alertsShown.empty());
    // Written atomically: no temporary file is left beside it.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) {
        ++entries;
    }
    EXPECT_EQ(entries, 1u);
}

TEST_F(PresetFiles, SavedFileRestoresTheValuesInXMLAndBinaryForm) {
    editor.choose("Drums/Drum Weight");
    editor.view->set(9, -7.5f); // Output Trim, beyond the preset
    editor.view->set(13, 12.25f);
    const std::vector<float> saved = editor.values();
    editor.choose("Save Preset\u2026", "Drum Bus");
    const std::string xml = readFile(folder + "/Drum Bus.aupreset");
    writeFile(folder + "/Drum Bus Binary.aupreset",
              serialised(parsed(xml), NSPropertyListBinaryFormat_v1_0));

    for (const char* name : {"Drum Bus", "Drum Bus Binary"}) {
        editor.choose("Start/Studio Start");
        ASSERT_NE(editor.values(), saved);
        editor.choose(std::string("User Presets/") + name);
        EXPECT_EQ(editor.values(), saved) << name;
        EXPECT_EQ(editor.presetTitle(), std::string("PRESETS \u00b7 ") + name + "  \u25be");
    }
    EXPECT_TRUE(editor.ui->alertsShown.empty());
}

TEST_F(PresetFiles, OpenPanelLoadsAFileFromAnywhere) {
    TemporaryFolder elsewhere;
    writeFile(elsewhere.path() + "/Shared Warmth.aupreset", warmBodyXML());
    open(elsewhere.path() + "/Shared Warmth.aupreset");
    ASSERT_EQ(editor.ui->panelsShown.size(), 1u);
    const auto& panel = editor.ui->panelsShown[0];
    EXPECT_TRUE(panel.open);
    EXPECT_EQ(panel.directory, folder);
    EXPECT_EQ(panel.allowedFileTypes, std::vector<std::string>{"aupreset"});
    EXPECT_FALSE(panel.allowsMultipleSelection);
    // Opening creates no folder.
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_EQ(editor.value(0), 3);
    EXPECT_EQ(editor.presetTitle(), "PRESETS \u00b7 Shared Warmth  \u25be");
}

TEST_F(PresetFiles, CancelledPanelsChangeNothing) {
    editor.view->set(1, 7.5f);
    editor.takeEvents();
    editor.choose("Save Preset\u2026", "cancel");
    editor.choose("Open Preset\u2026", "cancel");
    EXPECT_EQ(editor.ui->panelsShown.size(), 2u);
    EXPECT_TRUE(fs::is_empty(folder)); // made for the save panel, left empty
    EXPECT_EQ(editor.value(1), 7.5f);
    EXPECT_EQ(editor.presetTitle(), "PRESETS \u00b7 Studio Start  \u25be");
    EXPECT_TRUE(editor.takeEvents().empty());
    EXPECT_TRUE(editor.ui->alertsShown.empty());
}

// Every file the editor refuses: the sheet's detail, and nothing changed.
struct Refused {
    const char* what;
    std::string (*bytes)(const std::string& valid);
    bool systemText; // the detail is the system's description rather than the generic text
    friend void PrintTo(const Refused& refused, std::ostream* out) { *out << refused.what; }
};

std::string otherModel(const std::string& valid) {
    NSMutableDictionary state = NSDictionary::cast(parsed(valid)).mutableCopy();
    state.setObject(NSNumber::numberWithUnsignedInt('Opal'), NSString("subtype"));
    return serialised(state, NSPropertyListXMLFormat_v1_0);
}
std::string oversized(const std::string& valid) {
    // Still a valid preset: only its size is wrong.
    std::string bytes = valid;
    const std::size_t at = bytes.rfind("</dict>");
    bytes.insert(at, std::string(rackpresets::sizeLimit + 1 - bytes.size(), ' '));
    return bytes;
}
std::string truncated(const std::string& valid) {
    return valid.substr(0, valid.size() / 2);
}
std::string notAPropertyList(const std::string&) {
    return "Warm Body, but as notes\n";
}
std::string outOfRange(const std::string& valid) {
    // Gain 7: the table's range ends at 4.
    NSMutableDictionary state = NSDictionary::cast(parsed(valid)).mutableCopy();
    std::string blob = [&] {
        const NSData data = NSData::cast(state.objectForKey(NSString("data")));
        return std::string(static_cast<const char*>(data.bytes()), data.length());
    }();
    const float seven = 7;
    std::uint32_t bits;
    std::memcpy(&bits, &seven, 4);
    for (int i = 0; i < 4; ++i) {
        blob[16 + i] = static_cast<char>(bits >> (24 - 8 * i));
    }
    state.setObject(NSData::dataWithBytes(blob.data(), blob.size()), NSString("data"));
    return serialised(state, NSPropertyListBinaryFormat_v1_0);
}

class RefusedFiles : public PresetFiles, public ::testing::WithParamInterface<Refused> {};

TEST_P(RefusedFiles, ShowTheSheetAndKeepTheSettings) {
    const Refused& c = GetParam();
    const std::string path = folder + "/Refused.aupreset";
    writeFile(path, c.bytes(warmBodyXML()));
    editor.view->set(10, 55); // Parallel Mix
    editor.view->set(6, 1);   // Pad
    editor.choose("Bass/Rounded Low End");
    const std::vector<float> before = editor.values();
    editor.takeEvents();

    // What the system says about this file, if it says anything.
    NSError error;
    ASSERT_FALSE(rackpresets::load(editor.unit, NSURL::fileURLWithPath(path.c_str()), &error));
    EXPECT_EQ(static_cast<bool>(error), c.systemText);

    editor.choose("User Presets/Refused");
    ASSERT_EQ(editor.ui->alertsShown.size(), 1u);
    EXPECT_EQ(editor.ui->alertsShown[0].messageText, "Preset could not be used");
    EXPECT_EQ(editor.ui->alertsShown[0].informativeText,
              c.systemText ? error.localizedDescription().stdString() : invalidText);
    EXPECT_EQ(editor.values(), before);
    EXPECT_EQ(editor.presetTitle(), "PRESETS \u00b7 Rounded Low End  \u25be");
    EXPECT_TRUE(editor.takeEvents().empty());
}

INSTANTIATE_TEST_SUITE_P(PresetFiles, RefusedFiles,
                         ::testing::Values(Refused{"OtherModel", &otherModel, false},
                                           Refused{"OneByteOverTheLimit", &oversized, false},
                                           Refused{"Truncated", &truncated, true},
                                           Refused{"NotAPropertyList", &notAPropertyList, true},
                                           Refused{"ValueOutOfRange", &outOfRange, false}),
                         [](const ::testing::TestParamInfo<Refused>& info) {
                             return std::string(info.param.what);
                         });

TEST_F(PresetFiles, FileOfExactlyTheLimitIsRead) {
    std::string bytes = warmBodyXML();
    bytes.insert(bytes.rfind("</dict>"), std::string(rackpresets::sizeLimit - bytes.size(), ' '));
    ASSERT_EQ(bytes.size(), rackpresets::sizeLimit);
    writeFile(folder + "/Padded.aupreset", bytes);
    editor.choose("User Presets/Padded");
    EXPECT_TRUE(editor.ui->alertsShown.empty());
    EXPECT_EQ(editor.value(0), 3);
    EXPECT_EQ(editor.presetTitle(), "PRESETS \u00b7 Padded  \u25be");
}

TEST_F(PresetFiles, NamedPipeIsRefusedWithoutBlocking) {
    const std::string path = folder + "/Pipe.aupreset";
    fs::create_directories(folder);
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    // The menu does not offer it, and opening it through the panel must not wait for a writer.
    EXPECT_EQ(editor.view->presetMenu()->itemWithTitlePath("User Presets/Pipe"), nullptr);
    open(path);
    ASSERT_EQ(editor.ui->alertsShown.size(), 1u);
    EXPECT_EQ(editor.ui->alertsShown[0].informativeText, invalidText);
    EXPECT_EQ(editor.presetTitle(), "PRESETS \u00b7 Studio Start  \u25be");
}

TEST_F(PresetFiles, MissingFileShowsTheSystemText) {
    open(folder + "/Gone.aupreset");
    ASSERT_EQ(editor.ui->alertsShown.size(), 1u);
    const std::string detail = editor.ui->alertsShown[0].informativeText;
    EXPECT_NE(detail.find("Gone.aupreset"), std::string::npos) << detail;
}

TEST_F(PresetFiles, WriteFailureShowsTheSystemTextAndKeepsTheTitle) {
    editor.choose("Vocals/Soft Air");
    editor.choose("Save Preset\u2026", folder + "/No Such Folder/Lost");
    ASSERT_EQ(editor.ui->alertsShown.size(), 1u);
    EXPECT_EQ(editor.ui->alertsShown[0].messageText, "Preset could not be used");
    EXPECT_NE(editor.ui->alertsShown[0].informativeText, "The preset could not be saved.");
    EXPECT_FALSE(editor.ui->alertsShown[0].informativeText.empty());
    EXPECT_EQ(editor.presetTitle(), "PRESETS \u00b7 Soft Air  \u25be");
}

// A unit may hold a preset name with U+0000 (restored from a binary file), which XML cannot
// hold. The saved preset takes the file's name, so the file is written whole.
TEST_F(PresetFiles, AStateNamedWithAZeroSavesWholeUnderTheFilesName) {
    editor.choose("Vocals/Soft Air");
    const UniChar zero[] = {u'a', 0, u'b'};
    const CFStringRef name = CFStringCreateWithCharacters(nullptr, zero, 3);
    NSMutableDictionary state = unitState(editor.unit);
    CFDictionarySetValue(state.cf(), CFSTR("name"), name);
    CFRelease(name);
    CFPropertyListRef list = state.cf();
    ASSERT_EQ(AudioUnitSetProperty(editor.unit, kAudioUnitProperty_ClassInfo,
                                   kAudioUnitScope_Global, 0, &list, sizeof list),
              noErr);
    const NSMutableDictionary held = unitState(editor.unit);
    ASSERT_EQ(
        CFStringGetLength(static_cast<CFStringRef>(CFDictionaryGetValue(held.cf(), CFSTR("name")))),
        3)
        << "the unit keeps the name whole";
    const std::vector<float> values = editor.values();

    editor.choose("Save Preset\u2026", "Kept Whole");
    EXPECT_TRUE(editor.ui->alertsShown.empty());
    const std::string bytes = readFile(folder + "/Kept Whole.aupreset");
    EXPECT_EQ(bytes.rfind("<?xml", 0), 0u);
    const NSDictionary saved = NSDictionary::cast(parsed(bytes));
    ASSERT_TRUE(saved);
    EXPECT_EQ(NSString::cast(saved.objectForKey(NSString("name"))), NSString("Kept Whole"));
    editor.choose("Start/Studio Start");
    editor.choose("User Presets/Kept Whole");
    EXPECT_EQ(editor.values(), values);
}

// A file name may hold a control character that XML cannot: the sheet says the list could not
// be written, and no file, whole or cut short, is left.
TEST_F(PresetFiles, ANameXMLCannotHoldShowsTheSystemTextAndWritesNothing) {
    editor.choose("Vocals/Soft Air");
    editor.choose("Save Preset\u2026", "Bell\x07");
    ASSERT_EQ(editor.ui->alertsShown.size(), 1u);
    EXPECT_EQ(editor.ui->alertsShown[0].messageText, "Preset could not be used");
    EXPECT_EQ(editor.ui->alertsShown[0].informativeText,
              "The property list could not be written in this format.");
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_EQ(editor.presetTitle(), "PRESETS \u00b7 Soft Air  \u25be");
}

TEST(PresetFilesOnAFakeUnit, UnitWithoutStateWritesNothing) {
    // The fake unit serves no class info.
    TemporaryHome home;
    EditorHarness editor;
    auto ui = std::make_shared<appkit::ScriptedUserInterface>();
    appkit::setUserInterfaceHost(ui);
    ui->queueFileAnswer("Nothing");
    editor.view->savePreset(nullptr);
    editor.pump();
    ASSERT_EQ(ui->alertsShown.size(), 1u);
    EXPECT_EQ(ui->alertsShown[0].informativeText, "The preset could not be saved.");
    EXPECT_FALSE(fs::exists(home.presetFolder() + "/Nothing.aupreset"));
    EXPECT_EQ(editor.view->presetName(), NSString("Studio Start"));
    appkit::setUserInterfaceHost(nullptr);
}

TEST(PresetFilesOnAFakeUnit, ValidFileTheUnitRefusesShowsTheGenericText) {
    TemporaryFolder folder;
    const std::string path = folder.path() + "/Warm.aupreset";
    {
        UnitEditor tolvar;
        tolvar.choose("Vocals/Warm Body");
        writeFile(path, serialised(unitState(tolvar.unit), NSPropertyListXMLFormat_v1_0));
    }
    EditorHarness editor; // its unit refuses every class-info set
    auto ui = std::make_shared<appkit::ScriptedUserInterface>();
    appkit::setUserInterfaceHost(ui);
    auto item = std::make_shared<NSMenuItem>();
    item->setRepresentedObject(NSURL::fileURLWithPath(path.c_str()));
    editor.view->userPreset(item.get());
    editor.pump();
    ASSERT_EQ(ui->alertsShown.size(), 1u);
    EXPECT_EQ(ui->alertsShown[0].informativeText, invalidText);
    EXPECT_EQ(editor.view->presetName(), NSString("Studio Start"));
    EXPECT_EQ(editor.state().values[0], 2);
    appkit::setUserInterfaceHost(nullptr);
}

} // namespace
