// A parameter: its value, what the host reads, and the requests the plug-in's changes become.

#include <AAX/AAX_CLinearTaperDelegate.h>
#include <AAX/AAX_CParameter.h>
#include <AAX/AAX_CheckedResult.h>
#include <AAXHost/HostServices.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include <memory>

namespace {

// Shows the real value with the letter x, reads texts starting with '=' as numbers.
class Shown final : public AAX_IDisplayDelegate<double> {
public:
    Shown* Clone() const override { return new Shown(*this); }
    bool ValueToString(double value, AAX_CString* text) const override {
        text->Set(std::string("x").append(std::to_string(static_cast<int>(value))).c_str());
        return true;
    }
    bool ValueToString(double value, int32_t maxChars, AAX_CString* text) const override {
        ValueToString(value, text);
        text->Truncate(static_cast<uint32_t>(maxChars));
        return true;
    }
    bool StringToValue(const AAX_CString& text, double* value) const override {
        if (text.Get()[0] != '=') {
            return false;
        }
        *value = std::atof(text.Get() + 1);
        return true;
    }
};

std::unique_ptr<AAX_CParameter<double>> gain() {
    return std::make_unique<AAX_CParameter<double>>("gain", AAX_CString("Gain"), 10.0,
                                                    AAX_CLinearTaperDelegate<double, 0>(0.0, 40.0),
                                                    Shown(), true);
}

TEST(Parameter, StartsAtItsDefaultAndShowsThroughItsDelegates) {
    const auto parameter = gain();
    EXPECT_STREQ(parameter->Identifier(), "gain");
    EXPECT_TRUE(parameter->Name() == "Gain");
    EXPECT_EQ(parameter->GetNormalizedValue(), 0.25);
    EXPECT_EQ(parameter->GetNormalizedDefaultValue(), 0.25);
    EXPECT_EQ(parameter->GetNumberOfSteps(), 10001u);
    EXPECT_EQ(parameter->GetType(), AAX_eParameterType_Continuous);
    double real = 0.0;
    EXPECT_TRUE(parameter->GetValueAsDouble(&real));
    EXPECT_EQ(real, 10.0);
    AAX_CString text;
    EXPECT_TRUE(parameter->NormalizedToString(0.5, -1, &text));
    EXPECT_STREQ(text.Get(), "x20");
    EXPECT_TRUE(parameter->NormalizedToString(1.0, 2, &text));
    EXPECT_STREQ(text.Get(), "x4");
    double parsed = 0.0;
    EXPECT_TRUE(parameter->StringToReal(AAX_CString("=50"), &parsed));
    EXPECT_EQ(parsed, 50.0) << "not constrained: the host judges the range";
    EXPECT_FALSE(parameter->StringToReal(AAX_CString("30"), &parsed));
    parameter->SetNormalizedValue(1.5);
    EXPECT_EQ(parameter->GetNormalizedValue(), 1.0);
    parameter->SetNormalizedValue(NAN);
    EXPECT_EQ(parameter->GetNormalizedValue(), 1.0);
}

TEST(Parameter, ThePlugInsChangesAreRequestsToTheHost) {
    const auto parameter = gain();
    aaxhost::AutomationRecorder host;
    parameter->SetAutomationDelegate(&host);
    parameter->Touch();
    parameter->SetValueWithDouble(30.0);
    parameter->Release();
    ASSERT_EQ(host.requests.size(), 3u);
    EXPECT_EQ(host.requests[0].kind, aaxhost::AutomationRecorder::Kind::touch);
    EXPECT_EQ(host.requests[1].kind, aaxhost::AutomationRecorder::Kind::set);
    EXPECT_EQ(host.requests[1].normalized, 0.75);
    EXPECT_EQ(host.requests[2].kind, aaxhost::AutomationRecorder::Kind::release);
    EXPECT_EQ(parameter->GetNormalizedValue(), 0.25) << "the host decides";

    parameter->SetAutomationDelegate(nullptr);
    parameter->SetValueWithDouble(30.0);
    EXPECT_EQ(parameter->GetNormalizedValue(), 0.75) << "without a host: at once";
}

TEST(CheckedResult, ThrowsForAnythingButSuccess) {
    AAX_CheckedResult result;
    EXPECT_NO_THROW(result = AAX_SUCCESS);
    try {
        result = AAX_ERROR_INVALID_CHUNK_ID;
        FAIL() << "no exception";
    } catch (const AAX_CheckedResult::Exception& error) {
        EXPECT_EQ(error.Result(), AAX_ERROR_INVALID_CHUNK_ID);
        EXPECT_STREQ(error.what(), "AAX result -20007");
    }
}

} // namespace
