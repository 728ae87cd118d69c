#include "model/display.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace kelvoaax {
namespace {

const char* suffixFor(AudioUnitParameterUnit unit) {
    switch (unit) {
    case kAudioUnitParameterUnit_Percent:
        return " %";
    case kAudioUnitParameterUnit_Hertz:
        return " Hz";
    case kAudioUnitParameterUnit_Decibels:
        return " dB";
    case kAudioUnitParameterUnit_Milliseconds:
        return " ms";
    default:
        return "";
    }
}

// The first `characters` code points of UTF-8 text.
std::string leadingCharacters(const std::string& text, std::size_t characters) {
    std::size_t end = 0;
    for (std::size_t count = 0; end < text.size() && count < characters; ++count) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
            ++end;
        }
    }
    return text.substr(0, end);
}

} // namespace

Display::Display(const Parameter& parameter)
    : valueStrings_(parameter.valueStrings), minValue_(parameter.info.minValue),
      suffix_(suffixFor(parameter.info.unit)) {
    if (parameter.info.unit == kAudioUnitParameterUnit_Boolean) {
        valueStrings_ = {"Off", "On"};
    }
}

bool Display::ValueToString(double value, AAX_CString* valueString) const {
    if (valueString == nullptr || !std::isfinite(value)) {
        return false;
    }
    if (!valueStrings_.empty()) {
        // Range-checked as a double: a value far outside the strings never reaches an integer
        // conversion.
        const double index = std::round(value - minValue_);
        if (index >= 0.0 && index < static_cast<double>(valueStrings_.size())) {
            valueString->Set(valueStrings_[static_cast<std::size_t>(index)].c_str());
            return true;
        }
    }
    // Fixed notation of the largest double: 309 digits, sign, point and two decimals.
    char number[320];
    const auto written =
        std::to_chars(number, number + sizeof number, value, std::chars_format::fixed, 2);
    valueString->Set((std::string(number, written.ptr) + suffix_).c_str());
    return true;
}

bool Display::ValueToString(double value, int32_t maxNumChars, AAX_CString* valueString) const {
    if (!ValueToString(value, valueString)) {
        return false;
    }
    if (maxNumChars >= 0) {
        valueString->Set(
            leadingCharacters(valueString->Get(), static_cast<std::size_t>(maxNumChars)).c_str());
    }
    return true;
}

bool Display::StringToValue(const AAX_CString& valueString, double* value) const {
    if (value == nullptr) {
        return false;
    }
    const std::string text = valueString.Get();
    for (std::size_t i = 0; i < valueStrings_.size(); ++i) {
        if (text == valueStrings_[i]) {
            *value = minValue_ + static_cast<double>(i);
            return true;
        }
    }
    const char* begin = text.c_str();
    const char* end = begin + text.size();
    while (begin != end && std::strchr(" \t\n\r\f\v", *begin) != nullptr) {
        ++begin;
    }
    if (begin != end && *begin == '+') {
        ++begin;
    }
    double number = 0.0;
    const auto [stop, error] = std::from_chars(begin, end, number);
    if (error != std::errc() || stop == begin) {
        *value = 0.0;
        return false;
    }
    *value = number;
    return std::isfinite(number);
}

} // namespace kelvoaax
