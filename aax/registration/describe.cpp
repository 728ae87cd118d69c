#include "registration/describe.h"

#include "editor/gui.h"
#include "model/context.h"
#include "model/model.h"
#include "product.h"

#include <AAX/AAX_CheckedResult.h>

#include <stdexcept>

namespace kelvoaax {
namespace {

inline constexpr uint32_t manufacturerID = 'Kvlo';
inline constexpr const char* manufacturerName = "KELVO AUDIO LAB";
inline constexpr uint32_t packageVersion = 1;

AAX_EStemFormat stemFormat(uint32_t channels) {
    return channels == 1 ? AAX_eStemFormat_Mono : AAX_eStemFormat_Stereo;
}

} // namespace

void describe(AAX_IEffectDescriptor& effect, uint32_t inputs, uint32_t outputs, uint32_t nativeID) {
    AAX_IComponentDescriptor* component = effect.NewComponentDescriptor();
    if (component == nullptr) {
        throw std::runtime_error("AAX descriptor missing");
    }
    AAX_CheckedResult result;
    result = component->AddAudioIn(field::audioIn);
    result = component->AddAudioOut(field::audioOut);
    result = component->AddAudioBufferLength(field::bufferLength);
    result = component->AddClock(field::clock);
    result = component->AddDataInPort(field::snapshot, sizeof(ParameterSnapshot),
                                      AAX_eDataInPortType_Buffered);
    result = component->AddPrivateData(field::renderState, sizeof(RenderState),
                                       AAX_ePrivateDataOptions_ResetByPlugIn);

    AAX_IPropertyMap* properties = component->NewPropertyMap();
    if (properties == nullptr) {
        throw std::runtime_error("AAX properties missing");
    }
    result = properties->AddProperty(AAX_eProperty_ManufacturerID, manufacturerID);
    result = properties->AddProperty(AAX_eProperty_ProductID, product::productID);
    result = properties->AddProperty(AAX_eProperty_PlugInID_Native, nativeID);
    result = properties->AddProperty(AAX_eProperty_CanBypass, 1);
    result = properties->AddProperty(AAX_eProperty_InputStemFormat, stemFormat(inputs));
    result = properties->AddProperty(AAX_eProperty_OutputStemFormat, stemFormat(outputs));
    const AAX_CProcessProc processProc = &process;
    result = properties->AddPointerProperty(AAX_eProperty_NativeProcessProc,
                                            reinterpret_cast<const void*>(processProc));

    result = component->AddProcessProc(properties);
    result = effect.AddComponent(component);
}

} // namespace kelvoaax

// [main thread] The module's description: exactly one effect. Whatever fails after the
// descriptor exists, and however it fails, is reported as AAX_ERROR_UNSPECIFIED.
AAX_Result GetEffectDescriptions(AAX_ICollection* collection) {
    using namespace kelvoaax;
    if (collection == nullptr) {
        return AAX_ERROR_NULL_OBJECT;
    }
    AAX_IEffectDescriptor* effect = collection->NewDescriptor();
    if (effect == nullptr) {
        return AAX_ERROR_NULL_OBJECT;
    }
    try {
        AAX_CheckedResult result;
        result = effect->AddName(product::name);
        result = effect->AddCategory(product::category);
        describe(*effect, 1, 1, product::monoNativeID);
        describe(*effect, 2, 2, product::stereoNativeID);
        const AAX_CreateEffectParametersProc createModel = &Model::Create;
        const AAX_CreateEffectGUIProc createGUI = &GUI::Create;
        result = effect->AddProcPtr(reinterpret_cast<void*>(createModel),
                                    AAX_eProcPtrID_Create_EffectParameters);
        result =
            effect->AddProcPtr(reinterpret_cast<void*>(createGUI), AAX_eProcPtrID_Create_EffectGUI);
        result = collection->AddEffect(product::identifier, effect);
        result = collection->SetManufacturerName(manufacturerName);
        result = collection->AddPackageName(product::name);
        result = collection->SetPackageVersion(packageVersion);
        return AAX_SUCCESS;
    } catch (...) {
        return AAX_ERROR_UNSPECIFIED;
    }
}
