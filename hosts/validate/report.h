#pragma once
// The validator's report: one PASS or FAIL line per check, grouped in sections, with the
// reason under each failure, and a summary line at the end.

#include <cstdio>
#include <string>

namespace kelvohost {

class Report {
public:
    explicit Report(std::FILE* out = stdout) : out_(out) {}

    void section(const std::string& title);
    // Records one check; detail explains a failure (printed only for failures unless verbose).
    bool check(bool passed, const std::string& what, const std::string& detail = {});
    // A line of information that is neither a pass nor a failure.
    void note(const std::string& text);
    void skip(const std::string& what, const std::string& why);
    void summary();

    void setVerbose(bool verbose) { verbose_ = verbose; }
    int passed() const { return passed_; }
    int failed() const { return failed_; }

private:
    std::FILE* out_;
    bool verbose_ = false;
    int passed_ = 0;
    int failed_ = 0;
    int skipped_ = 0;
};

} // namespace kelvohost
