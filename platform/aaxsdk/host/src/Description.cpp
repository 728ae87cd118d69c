#include <AAXHost/Description.h>

#include <algorithm>

namespace aaxhost {

const char* fieldKindName(FieldKind kind) {
    switch (kind) {
    case FieldKind::audioIn:
        return "audio input";
    case FieldKind::audioOut:
        return "audio output";
    case FieldKind::bufferLength:
        return "audio buffer length";
    case FieldKind::clock:
        return "clock";
    case FieldKind::dataInPort:
        return "data-in port";
    case FieldKind::privateData:
        return "private data";
    }
    return "?";
}

std::optional<AAX_CPropertyValue> ComponentDescription::property(AAX_EProperty id) const {
    for (const auto& declared : properties) {
        if (declared.id == id && !declared.isPointer) {
            return declared.value;
        }
    }
    return std::nullopt;
}

AAX_CProcessProc ComponentDescription::processProc() const {
    for (const auto& declared : properties) {
        if (declared.id == AAX_eProperty_NativeProcessProc && declared.isPointer) {
            return reinterpret_cast<AAX_CProcessProc>(const_cast<void*>(declared.pointer));
        }
    }
    return nullptr;
}

unsigned ComponentDescription::inputChannels() const {
    return property(AAX_eProperty_InputStemFormat).value_or(0) & 0xFFFFu;
}

unsigned ComponentDescription::outputChannels() const {
    return property(AAX_eProperty_OutputStemFormat).value_or(0) & 0xFFFFu;
}

std::size_t ComponentDescription::contextLength() const {
    std::size_t length = 0;
    for (const auto& field : fields) {
        if (field.index >= 0) {
            length = std::max(length, static_cast<std::size_t>(field.index) + 1);
        }
    }
    return length;
}

void* EffectDescription::procedure(int32_t id) const {
    for (const auto& declared : procedures) {
        if (declared.id == id) {
            return declared.pointer;
        }
    }
    return nullptr;
}

} // namespace aaxhost
