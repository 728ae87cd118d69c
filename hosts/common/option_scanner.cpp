#include "option_scanner.h"

#include "host_error.h"

namespace kelvohost {

OptionScanner::OptionScanner(const std::vector<std::string>& arguments) : arguments_(arguments) {}

bool OptionScanner::next(std::string& name) {
    while (position_ < arguments_.size()) {
        const std::string& argument = arguments_[position_++];
        if (optionsEnded_ || argument.size() < 2 || argument[0] != '-') {
            operands_.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded_ = true;
            continue;
        }
        name_ = argument;
        attached_.reset();
        if (const std::size_t equals = argument.find('=');
            argument.starts_with("--") && equals != std::string::npos) {
            name_ = argument.substr(0, equals);
            attached_ = argument.substr(equals + 1);
        }
        name = name_;
        return true;
    }
    return false;
}

std::string OptionScanner::value() {
    if (attached_) {
        return *attached_;
    }
    if (position_ >= arguments_.size()) {
        throw InputError(name_ + " needs a value (see --help)");
    }
    return arguments_[position_++];
}

void OptionScanner::noValue() const {
    if (attached_) {
        throw InputError(name_ + " takes no value");
    }
}

void OptionScanner::unknown() const {
    throw InputError("unknown option " + name_ + " (see --help)");
}

void setOnce(std::optional<std::string>& slot, const std::string& option,
             const std::string& value) {
    if (slot) {
        throw InputError(option + " given twice");
    }
    slot = value;
}

} // namespace kelvohost
