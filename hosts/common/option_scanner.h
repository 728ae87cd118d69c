#pragma once
// Reading a host's command line the way every host reads it: options and operands in any
// order, "--name value" or "--name=value", "--" ends the options, a lone "-" is an operand.
//
//     OptionScanner scanner(arguments);
//     std::string name;
//     while (scanner.next(name)) {
//         if (name == "--block") block = parse(scanner.value());
//         else if (name == "--json") { scanner.noValue(); json = true; }
//         else scanner.unknown();
//     }
//     use(scanner.operands());
//
// Every refusal is an InputError with a one-line message.

#include <optional>
#include <string>
#include <vector>

namespace kelvohost {

class OptionScanner {
public:
    explicit OptionScanner(const std::vector<std::string>& arguments);

    // The next option's name ("--block", "-h"); false when none is left. Operands met on the
    // way are collected.
    bool next(std::string& name);
    // The current option's value: attached with '=' or the next argument.
    std::string value();
    // Refuses a value attached to the current option.
    void noValue() const;
    // Refuses the current option.
    [[noreturn]] void unknown() const;
    // Every operand, in order (complete once next has returned false).
    const std::vector<std::string>& operands() const { return operands_; }

private:
    const std::vector<std::string>& arguments_;
    std::size_t position_ = 0;
    bool optionsEnded_ = false;
    std::string name_;
    std::optional<std::string> attached_;
    std::vector<std::string> operands_;
};

// Stores value in slot, refusing an option given twice.
void setOnce(std::optional<std::string>& slot, const std::string& option, const std::string& value);

} // namespace kelvohost
