#include <AAX/AAX_CString.h>

#include <cstring>

AAX_CString::AAX_CString(const char* text) {
    Set(text);
}

void AAX_CString::Set(const char* text) {
    text_.assign(text != nullptr ? text : "");
}

void AAX_CString::Truncate(uint32_t length) {
    if (length < text_.size()) {
        text_.resize(length);
    }
}

bool AAX_CString::operator==(const char* other) const {
    return other != nullptr && std::strcmp(text_.c_str(), other) == 0;
}
