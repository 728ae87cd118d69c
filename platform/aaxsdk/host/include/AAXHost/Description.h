#pragma once
// What a module declared when the host asked it to describe itself, as plain data: the
// collection's texts, each effect with its names, categories and procedures, and each
// component with its context fields and properties in the order they were declared.

#include <AAX/AAX.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace aaxhost {

enum class FieldKind { audioIn, audioOut, bufferLength, clock, dataInPort, privateData };

// "audio input", "audio output", "audio buffer length", "clock", "data-in port", "private data"
const char* fieldKindName(FieldKind kind);

struct FieldDeclaration {
    AAX_CFieldIndex index = 0;
    FieldKind kind = FieldKind::audioIn;
    uint32_t packetSize = 0; // data-in port
    uint32_t portType = 0;   // data-in port
    int32_t privateSize = 0; // private data
    uint32_t options = 0;    // private data
};

struct PropertyDeclaration {
    AAX_EProperty id = AAX_eProperty_ManufacturerID;
    bool isPointer = false;
    AAX_CPropertyValue value = 0;
    const void* pointer = nullptr;
};

struct ComponentDescription {
    std::vector<FieldDeclaration> fields;        // in declaration order
    std::vector<PropertyDeclaration> properties; // of the process procedure, in order
    bool hasProcessProc = false;

    // The first value property of that ID.
    std::optional<AAX_CPropertyValue> property(AAX_EProperty id) const;
    // The process procedure named by AAX_eProperty_NativeProcessProc, or null.
    AAX_CProcessProc processProc() const;
    // Channels of the stem format properties (low 16 bits), 0 when not declared.
    unsigned inputChannels() const;
    unsigned outputChannels() const;
    // One more than the largest field index: the length of a context.
    std::size_t contextLength() const;
};

struct Procedure {
    int32_t id = 0;
    void* pointer = nullptr;
};

struct EffectDescription {
    std::string identifier; // as added to the collection
    std::vector<std::string> names;
    std::vector<uint32_t> categories;
    std::vector<ComponentDescription> components;
    std::vector<Procedure> procedures;

    void* procedure(int32_t id) const; // the first of that ID, or null
};

struct ModuleDescription {
    AAX_Result result = AAX_SUCCESS; // what the description entry point returned
    std::vector<EffectDescription> effects;
    std::string manufacturer;
    std::vector<std::string> packageNames;
    std::optional<uint32_t> packageVersion;
};

} // namespace aaxhost
