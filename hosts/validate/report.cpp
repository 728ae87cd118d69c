#include "report.h"

namespace kelvohost {

void Report::section(const std::string& title) {
    std::fprintf(out_, "\n%s\n", title.c_str());
    std::fflush(out_);
}

bool Report::check(bool passed, const std::string& what, const std::string& detail) {
    std::fprintf(out_, "  %s  %s\n", passed ? "PASS" : "FAIL", what.c_str());
    if (!detail.empty() && (!passed || verbose_)) {
        std::fprintf(out_, "        %s\n", detail.c_str());
    }
    std::fflush(out_);
    (passed ? passed_ : failed_) += 1;
    return passed;
}

void Report::note(const std::string& text) {
    std::fprintf(out_, "        %s\n", text.c_str());
}

void Report::skip(const std::string& what, const std::string& why) {
    std::fprintf(out_, "  SKIP  %s (%s)\n", what.c_str(), why.c_str());
    ++skipped_;
}

void Report::summary() {
    std::fprintf(out_, "\n%s: %d passed, %d failed", failed_ == 0 ? "PASSED" : "FAILED", passed_,
                 failed_);
    if (skipped_ > 0) {
        std::fprintf(out_, ", %d skipped", skipped_);
    }
    std::fprintf(out_, "\n");
    std::fflush(out_);
}

} // namespace kelvohost
