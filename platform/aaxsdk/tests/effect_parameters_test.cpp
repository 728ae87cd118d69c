// The effect and GUI bases: what they do before a plug-in overrides anything, and the packet
// dispatch that carries parameter values to the process procedure.

#include <AAX/AAX_CEffectGUI.h>
#include <AAX/AAX_CEffectParameters.h>
#include <AAX/AAX_CLinearTaperDelegate.h>
#include <AAX/AAX_CParameter.h>
#include <AAX/AAX_CString.h>
#include <AAXHost/HostServices.h>
#include <AAXHost/PacketMailbox.h>

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

namespace {

class Plain final : public AAX_IDisplayDelegate<double> {
public:
    Plain* Clone() const override { return new Plain(*this); }
    bool ValueToString(double, AAX_CString*) const override { return false; }
    bool ValueToString(double, int32_t, AAX_CString*) const override { return false; }
    bool StringToValue(const AAX_CString&, double*) const override { return false; }
};

// Two parameters on port 4, one on port 7; each packet holds the number of handler calls.
class Effect final : public AAX_CEffectParameters {
public:
    bool failing = false;
    bool throwing = false;
    int calls = 0;
    bool withBypass = true;

    AAX_Result count(AAX_CPacket& packet) {
        ++calls;
        if (failing) {
            return AAX_ERROR_INVALID_PARAMETER_ID;
        }
        packet.SetSize(sizeof(int));
        std::memcpy(packet.GetPtr(), &calls, sizeof calls);
        return AAX_SUCCESS;
    }
    AAX_Result other(AAX_CPacket&) { return AAX_ERROR_UNSPECIFIED; }

protected:
    AAX_Result EffectInit() override {
        if (throwing) {
            throw std::runtime_error("no");
        }
        add("a", 4, &Effect::count);
        add("b", 4, &Effect::other); // the port's packet keeps the first handler
        add("c", 7, &Effect::count);
        if (withBypass) {
            add(cDefaultMasterBypassID, 7, &Effect::count);
        }
        return Controller() != nullptr ? AAX_SUCCESS : AAX_ERROR_NULL_OBJECT;
    }

private:
    void add(const char* id, AAX_CFieldIndex port, AAX_Result (Effect::*handler)(AAX_CPacket&)) {
        mParameterManager.AddParameter(new AAX_CParameter<double>(
            id, AAX_CString(id), 0.0, AAX_CLinearTaperDelegate<double, 0>(0.0, 1.0), Plain(),
            true));
        mPacketDispatcher.RegisterPacket(id, port, AAX_CPacketHandler<Effect>(this, handler));
    }
};

class EffectBase : public ::testing::Test {
protected:
    void SetUp() override {
        host.port = [this](AAX_CFieldIndex index) {
            return index == 4 ? &four : index == 7 ? &seven : nullptr;
        };
    }
    // The handler-call count the port's newest packet carries, 0 when none was posted.
    static int posted(aaxhost::PacketMailbox& mailbox) {
        const void* packet = mailbox.take();
        int value = 0;
        if (packet != nullptr) {
            std::memcpy(&value, packet, sizeof value);
        }
        return value;
    }

    aaxhost::Controller host;
    aaxhost::PacketMailbox four{64};
    aaxhost::PacketMailbox seven{64};
    Effect effect;
};

TEST_F(EffectBase, InitializeRunsTheEffectsInitialisation) {
    EXPECT_EQ(effect.Initialize(nullptr, nullptr, nullptr), AAX_ERROR_NULL_OBJECT);
    Effect other;
    other.throwing = true;
    EXPECT_EQ(other.Initialize(&host, nullptr, nullptr), AAX_ERROR_UNSPECIFIED);
}

TEST_F(EffectBase, DirtyPacketsArePostedOncePerChange) {
    ASSERT_EQ(effect.Initialize(&host, nullptr, nullptr), AAX_SUCCESS);
    EXPECT_EQ(effect.GenerateCoefficients(), AAX_SUCCESS);
    EXPECT_EQ(posted(four), 1) << "a packet starts dirty";
    EXPECT_EQ(posted(seven), 2);
    EXPECT_EQ(effect.GenerateCoefficients(), AAX_SUCCESS);
    EXPECT_EQ(effect.calls, 2) << "nothing changed";

    EXPECT_EQ(effect.UpdateParameterNormalizedValue("b", 0.5, AAX_eUpdateSource_Parameter),
              AAX_SUCCESS);
    EXPECT_EQ(effect.GenerateCoefficients(), AAX_SUCCESS);
    EXPECT_EQ(posted(four), 3) << "b shares a's packet and its handler";
    EXPECT_EQ(posted(seven), 2) << "port 7 unchanged";

    effect.failing = true;
    effect.UpdateParameterNormalizedValue("a", 0.5, AAX_eUpdateSource_Parameter);
    EXPECT_EQ(effect.GenerateCoefficients(), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ(posted(four), 3) << "a failed packet is not posted";
    effect.failing = false;
    EXPECT_EQ(effect.GenerateCoefficients(), AAX_SUCCESS);
    EXPECT_EQ(effect.calls, 4) << "nor dirty any more";
}

TEST_F(EffectBase, TheHostsUpdatesSetTheParameter) {
    ASSERT_EQ(effect.Initialize(&host, nullptr, nullptr), AAX_SUCCESS);
    EXPECT_EQ(effect.UpdateParameterNormalizedValue("zz", 0.5, AAX_eUpdateSource_Parameter),
              AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ(effect.UpdateParameterNormalizedValue("c", 0.25, AAX_eUpdateSource_Parameter),
              AAX_SUCCESS);
    int32_t count = 0;
    EXPECT_EQ(effect.GetNumberOfParameters(&count), AAX_SUCCESS);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(effect.GetParameterAtIndex(2)->GetNormalizedValue(), 0.25);
    EXPECT_EQ(effect.GetParameterAtIndex(4), nullptr);
    AAX_CString bypass;
    EXPECT_EQ(effect.GetMasterBypassParameter(&bypass), AAX_SUCCESS);
    EXPECT_STREQ(bypass.Get(), "MasterBypassID");

    Effect without;
    without.withBypass = false;
    without.Initialize(&host, nullptr, nullptr);
    EXPECT_EQ(without.GetMasterBypassParameter(&bypass), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_STREQ(bypass.Get(), "");
}

TEST_F(EffectBase, DefaultsOfFieldsChunksAndCustomData) {
    unsigned char block[8];
    std::memset(block, 0xAB, sizeof block);
    EXPECT_EQ(effect.ResetFieldData(5, block, sizeof block), AAX_SUCCESS);
    EXPECT_EQ(block[0], 0);
    EXPECT_EQ(block[7], 0);
    EXPECT_EQ(effect.ResetFieldData(5, nullptr, 8), AAX_ERROR_NULL_ARGUMENT);
    int32_t chunks = -1;
    EXPECT_EQ(effect.GetNumberOfChunks(&chunks), AAX_SUCCESS);
    EXPECT_EQ(chunks, 0);
    uint32_t size = 9;
    EXPECT_EQ(effect.GetChunkSize('abcd', &size), AAX_ERROR_INVALID_CHUNK_ID);
    EXPECT_EQ(effect.GetCustomData('abcd', 8, block, &size), AAX_SUCCESS);
    EXPECT_EQ(size, 0u);
}

class Editor final : public AAX_CEffectGUI {
public:
    std::vector<std::string> calls;
    int32_t containerType = -1;

protected:
    void CreateViewContents() override {
        calls.push_back(GetEffectParameters() != nullptr ? "contents" : "contents, no model");
    }
    void CreateViewContainer() override {
        calls.push_back("container");
        containerType = GetViewContainerType();
    }
    void DeleteViewContainer() override { calls.push_back("delete"); }
};

class Container final : public AAX_IViewContainer {
public:
    int32_t GetType() const override { return AAX_eViewContainer_Type_NSView; }
    void* GetPtr() const override { return nullptr; }
    AAX_Result SetViewSize(AAX_Point&) override { return AAX_SUCCESS; }
};

TEST(EffectGUIBase, CallsTheEditorsViewSteps) {
    Editor editor;
    Effect effect;
    Container first;
    Container second;
    editor.Initialize(&effect);
    editor.SetViewContainer(&first);
    editor.SetViewContainer(&second);
    editor.SetViewContainer(nullptr);
    EXPECT_EQ(editor.calls,
              (std::vector<std::string>{"contents", "container", "delete", "container", "delete"}));
    EXPECT_EQ(editor.containerType, AAX_eViewContainer_Type_NSView);
    AAX_Point size{-1.0f, -1.0f};
    EXPECT_EQ(editor.GetViewSize(&size), AAX_SUCCESS);
    EXPECT_EQ(size.vert, 0.0f);
    EXPECT_EQ(size.horz, 0.0f);
}

} // namespace
