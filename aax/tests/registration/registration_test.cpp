// What an AAX host sees when it scans the bridge: one effect with a mono and a stereo native
// component, declared from the build's constants; and what registration answers when the
// host's side fails.

#include "support/bridge_host.h"

#include <AAXHost/Describe.h>

#include <gtest/gtest.h>

namespace {

using aaxhost::FieldKind;

struct Build {
    const char* bundle;
    const char* name;
    const char* identifier;
    uint32_t category;
    uint32_t product;
    uint32_t monoID;
    uint32_t stereoID;
};

const Build builds[] = {
    {"KelvoFennicAAX", "KelvoFennic", "com.kelvo.KelvoFennicAAX", 2, 'Fenn', 0x3D81C5A2,
     0x6F2E94B7},
    {"KelvoCorvelAAX", "KelvoCorvel", "com.kelvo.KelvoCorvelAAX", 1, 'Corv', 0x9C47D13E,
     0xB5168E4F},
};

class Registration : public ::testing::TestWithParam<Build> {};

TEST_P(Registration, DescribesOneEffectWithAMonoAndAStereoComponent) {
    const Build& build = GetParam();
    const aaxhost::Module& module = bridgetest::module(bridgetest::productBundle(build.bundle));
    const aaxhost::ModuleDescription& description = module.description;
    EXPECT_EQ(description.result, AAX_SUCCESS);
    EXPECT_EQ(description.manufacturer, "KELVO AUDIO LAB");
    EXPECT_EQ(description.packageNames, std::vector<std::string>{build.name});
    EXPECT_EQ(description.packageVersion, 1u);
    ASSERT_EQ(description.effects.size(), 1u);

    const aaxhost::EffectDescription& effect = description.effects[0];
    EXPECT_EQ(effect.identifier, build.identifier);
    EXPECT_EQ(effect.identifier, module.identifier) << "the effect is the bundle";
    EXPECT_EQ(effect.names, std::vector<std::string>{build.name});
    EXPECT_EQ(effect.categories, std::vector<uint32_t>{build.category});
    ASSERT_EQ(effect.procedures.size(), 2u);
    EXPECT_EQ(effect.procedures[0].id, AAX_eProcPtrID_Create_EffectParameters);
    EXPECT_EQ(effect.procedures[1].id, AAX_eProcPtrID_Create_EffectGUI);

    ASSERT_EQ(effect.components.size(), 2u);
    const uint32_t nativeIDs[] = {build.monoID, build.stereoID};
    const uint32_t stems[] = {AAX_eStemFormat_Mono, AAX_eStemFormat_Stereo};
    for (std::size_t c = 0; c < 2; ++c) {
        SCOPED_TRACE(c == 0 ? "mono" : "stereo");
        const aaxhost::ComponentDescription& component = effect.components[c];
        EXPECT_EQ(component.inputChannels(), c + 1);
        EXPECT_EQ(component.outputChannels(), c + 1);

        const FieldKind kinds[] = {FieldKind::audioIn,      FieldKind::audioOut,
                                   FieldKind::bufferLength, FieldKind::clock,
                                   FieldKind::dataInPort,   FieldKind::privateData};
        ASSERT_EQ(component.fields.size(), 6u);
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(component.fields[i].index, i);
            EXPECT_EQ(component.fields[i].kind, kinds[i]);
        }
        EXPECT_EQ(component.fields[4].packetSize, 1040u);
        EXPECT_EQ(component.fields[4].portType, 1u);
        EXPECT_EQ(component.fields[5].privateSize, 32);
        EXPECT_EQ(component.fields[5].options, 4u);

        ASSERT_TRUE(component.hasProcessProc);
        const std::pair<AAX_EProperty, uint32_t> expected[] = {
            {AAX_eProperty_ManufacturerID, 'Kvlo'},
            {AAX_eProperty_ProductID, build.product},
            {AAX_eProperty_PlugInID_Native, nativeIDs[c]},
            {AAX_eProperty_CanBypass, 1},
            {AAX_eProperty_InputStemFormat, stems[c]},
            {AAX_eProperty_OutputStemFormat, stems[c]}};
        ASSERT_EQ(component.properties.size(), 7u);
        for (std::size_t p = 0; p < 6; ++p) {
            EXPECT_EQ(component.properties[p].id, expected[p].first) << p;
            EXPECT_FALSE(component.properties[p].isPointer);
            EXPECT_EQ(component.properties[p].value, expected[p].second) << p;
        }
        EXPECT_EQ(component.properties[6].id, AAX_eProperty_NativeProcessProc);
        EXPECT_NE(component.processProc(), nullptr);
    }
    EXPECT_EQ(effect.components[0].processProc(), effect.components[1].processProc());
}

INSTANTIATE_TEST_SUITE_P(Builds, Registration, ::testing::ValuesIn(builds),
                         [](const auto& info) { return std::string(info.param.bundle); });

TEST(RegistrationRefusals, HostFailuresBecomeResults) {
    const AAX_DescribeModuleProc entry =
        bridgetest::module(bridgetest::productBundle("KelvoFennicAAX")).entryPoint;
    struct Case {
        const char* what;
        aaxhost::Refusals refusals;
        AAX_Result result;
    };
    const Case cases[] = {
        {"no effect descriptor", {true, false, false, AAX_SUCCESS}, AAX_ERROR_NULL_OBJECT},
        {"no component descriptor", {false, true, false, AAX_SUCCESS}, AAX_ERROR_UNSPECIFIED},
        {"no property map", {false, false, true, AAX_SUCCESS}, AAX_ERROR_UNSPECIFIED},
        {"the effect refused", {false, false, false, AAX_ERROR_NULL_OBJECT}, AAX_ERROR_UNSPECIFIED},
    };
    for (const Case& c : cases) {
        const aaxhost::ModuleDescription description = aaxhost::describe(entry, c.refusals);
        EXPECT_EQ(description.result, c.result) << c.what;
        EXPECT_TRUE(description.effects.empty()) << c.what;
        EXPECT_TRUE(description.manufacturer.empty()) << c.what;
    }
}

} // namespace
