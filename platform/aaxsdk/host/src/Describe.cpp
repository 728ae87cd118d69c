// The host's collection and descriptors. Each records what the module declares; the objects
// live until describe returns, as the host's promise says.

#include <AAXHost/Describe.h>

#include <AAX/AAX_ICollection.h>

#include <memory>

namespace aaxhost {
namespace {

class PropertyMap final : public AAX_IPropertyMap {
public:
    AAX_Result AddProperty(AAX_EProperty property, AAX_CPropertyValue value) override {
        properties.push_back({property, false, value, nullptr});
        return AAX_SUCCESS;
    }
    AAX_Result AddPointerProperty(AAX_EProperty property, const void* pointer) override {
        properties.push_back({property, true, 0, pointer});
        return AAX_SUCCESS;
    }

    std::vector<PropertyDeclaration> properties;
};

class ComponentDescriptor final : public AAX_IComponentDescriptor {
public:
    explicit ComponentDescriptor(const Refusals& refusals) : refusals_(refusals) {}

    AAX_Result AddAudioIn(AAX_CFieldIndex index) override {
        return add({index, FieldKind::audioIn});
    }
    AAX_Result AddAudioOut(AAX_CFieldIndex index) override {
        return add({index, FieldKind::audioOut});
    }
    AAX_Result AddAudioBufferLength(AAX_CFieldIndex index) override {
        return add({index, FieldKind::bufferLength});
    }
    AAX_Result AddClock(AAX_CFieldIndex index) override { return add({index, FieldKind::clock}); }
    AAX_Result AddDataInPort(AAX_CFieldIndex index, uint32_t packetSize,
                             AAX_EDataInPortType type) override {
        FieldDeclaration field{index, FieldKind::dataInPort};
        field.packetSize = packetSize;
        field.portType = type;
        return add(field);
    }
    AAX_Result AddPrivateData(AAX_CFieldIndex index, int32_t size, uint32_t options) override {
        FieldDeclaration field{index, FieldKind::privateData};
        field.privateSize = size;
        field.options = options;
        return add(field);
    }
    AAX_IPropertyMap* NewPropertyMap() override {
        if (refusals_.propertyMap) {
            return nullptr;
        }
        maps_.push_back(std::make_unique<PropertyMap>());
        return maps_.back().get();
    }
    AAX_Result AddProcessProc(AAX_IPropertyMap* properties) override {
        for (const auto& map : maps_) {
            if (map.get() == properties) {
                description.properties = map->properties;
                description.hasProcessProc = true;
                return AAX_SUCCESS;
            }
        }
        return AAX_ERROR_NULL_OBJECT; // not a map of this descriptor
    }

    ComponentDescription description;

private:
    AAX_Result add(const FieldDeclaration& field) {
        if (field.index < 0) {
            return AAX_ERROR_UNSPECIFIED;
        }
        description.fields.push_back(field);
        return AAX_SUCCESS;
    }

    const Refusals& refusals_;
    std::vector<std::unique_ptr<PropertyMap>> maps_;
};

class EffectDescriptor final : public AAX_IEffectDescriptor {
public:
    explicit EffectDescriptor(const Refusals& refusals) : refusals_(refusals) {}

    AAX_Result AddName(const char* name) override {
        if (name == nullptr) {
            return AAX_ERROR_NULL_ARGUMENT;
        }
        description.names.emplace_back(name);
        return AAX_SUCCESS;
    }
    AAX_Result AddCategory(uint32_t category) override {
        description.categories.push_back(category);
        return AAX_SUCCESS;
    }
    AAX_IComponentDescriptor* NewComponentDescriptor() override {
        if (refusals_.componentDescriptor) {
            return nullptr;
        }
        components_.push_back(std::make_unique<ComponentDescriptor>(refusals_));
        return components_.back().get();
    }
    AAX_Result AddComponent(AAX_IComponentDescriptor* component) override {
        for (const auto& made : components_) {
            if (made.get() == component) {
                description.components.push_back(made->description);
                return AAX_SUCCESS;
            }
        }
        return AAX_ERROR_NULL_OBJECT;
    }
    AAX_Result AddProcPtr(void* procedure, int32_t procID) override {
        if (procedure == nullptr) {
            return AAX_ERROR_NULL_ARGUMENT;
        }
        description.procedures.push_back({procID, procedure});
        return AAX_SUCCESS;
    }

    EffectDescription description;

private:
    const Refusals& refusals_;
    std::vector<std::unique_ptr<ComponentDescriptor>> components_;
};

class Collection final : public AAX_ICollection {
public:
    explicit Collection(const Refusals& refusals) : refusals_(refusals) {}

    AAX_IEffectDescriptor* NewDescriptor() override {
        if (refusals_.effectDescriptor) {
            return nullptr;
        }
        effects_.push_back(std::make_unique<EffectDescriptor>(refusals_));
        return effects_.back().get();
    }
    AAX_Result AddEffect(const char* effectID, AAX_IEffectDescriptor* descriptor) override {
        if (refusals_.addEffect != AAX_SUCCESS) {
            return refusals_.addEffect;
        }
        if (effectID == nullptr) {
            return AAX_ERROR_NULL_ARGUMENT;
        }
        for (const auto& made : effects_) {
            if (made.get() == descriptor) {
                EffectDescription effect = made->description;
                effect.identifier = effectID;
                description.effects.push_back(std::move(effect));
                return AAX_SUCCESS;
            }
        }
        return AAX_ERROR_NULL_OBJECT;
    }
    AAX_Result SetManufacturerName(const char* name) override {
        if (name == nullptr) {
            return AAX_ERROR_NULL_ARGUMENT;
        }
        description.manufacturer = name;
        return AAX_SUCCESS;
    }
    AAX_Result AddPackageName(const char* name) override {
        if (name == nullptr) {
            return AAX_ERROR_NULL_ARGUMENT;
        }
        description.packageNames.emplace_back(name);
        return AAX_SUCCESS;
    }
    AAX_Result SetPackageVersion(uint32_t version) override {
        description.packageVersion = version;
        return AAX_SUCCESS;
    }

    ModuleDescription description;

private:
    const Refusals& refusals_;
    std::vector<std::unique_ptr<EffectDescriptor>> effects_;
};

} // namespace

ModuleDescription describe(AAX_DescribeModuleProc entryPoint, const Refusals& refusals) {
    Collection collection(refusals);
    const AAX_Result result = entryPoint(&collection);
    ModuleDescription description = std::move(collection.description);
    description.result = result;
    return description;
}

} // namespace aaxhost
