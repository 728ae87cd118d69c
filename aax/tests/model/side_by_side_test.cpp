// Both AAX bundles and all eight unit bundles in one process: each bundle keeps its own code
// and renders with it, though they all define the same C++ names.

#include "support/bridge_host.h"
#include "testing/unit_host.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace bridgetest;

double energy(const std::vector<float>& samples) {
    double sum = 0.0;
    for (const float sample : samples) {
        sum += static_cast<double>(sample) * sample;
    }
    return sum;
}

TEST(SideBySide, BothBridgesAndAllEightUnitsLoadAndRenderInOneProcess) {
    struct Unit {
        const char* product;
        OSType subtype;
    };
    const Unit units[] = {{"KelvoTolvar", 'Tolv'}, {"KelvoOpalin", 'Opal'}, {"KelvoMireth", 'Mire'},
                          {"KelvoVantor", 'Vant'}, {"KelvoElvane", 'Elva'}, {"KelvoQuorin", 'Quor'},
                          {"KelvoCorvel", 'Corv'}, {"KelvoFennic", 'Fenn'}};
    const unithost::Channels input = {std::vector<float>(2048), std::vector<float>(2048)};
    unithost::Channels tone = input;
    for (std::size_t i = 0; i < 2048; ++i) {
        tone[0][i] = tone[1][i] = static_cast<float>(0.3 * std::sin(0.05 * static_cast<double>(i)));
    }

    std::vector<std::unique_ptr<unithost::Unit>> hosted;
    for (const Unit& unit : units) {
        AudioComponent component = unithost::component(unitBundle(unit.product), unit.subtype);
        ASSERT_NE(component, nullptr) << unit.product;
        hosted.push_back(std::make_unique<unithost::Unit>(component, 48000.0, 2));
    }
    std::vector<std::unique_ptr<aaxhost::Instance>> bridged;
    for (const char* bundle : {"KelvoFennicAAX", "KelvoCorvelAAX"}) {
        bridged.push_back(instance(module(productBundle(bundle)), 2));
    }

    for (std::size_t i = 0; i < hosted.size(); ++i) {
        const unithost::Channels output = hosted[i]->render(tone, 512);
        EXPECT_EQ(hosted[i]->lastStatus(), noErr) << units[i].product;
        EXPECT_GT(energy(output[0]), 0.0) << units[i].product;
    }
    for (const auto& effect : bridged) {
        Block output(2, 2048);
        const float* inputs[] = {tone[0].data(), tone[1].data()};
        for (std::size_t start = 0; start < 2048; start += 512) {
            const float* block[] = {inputs[0] + start, inputs[1] + start};
            float* out[] = {output.samples[0].data() + start, output.samples[1].data() + start};
            effect->process(block, out, 512);
        }
        EXPECT_GT(energy(output.samples[0]), 0.0);
    }

    // The bridges' units are their own copies, with their own parameters.
    EXPECT_NE(unitOf(*bridged[0]), unitOf(*bridged[1]));
    int32_t fennic = 0;
    int32_t corvel = 0;
    bridged[0]->effect().GetNumberOfParameters(&fennic);
    bridged[1]->effect().GetNumberOfParameters(&corvel);
    EXPECT_EQ(fennic, 10);
    EXPECT_NE(corvel, fennic);
}

} // namespace
