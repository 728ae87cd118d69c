#include "host_receipts.h"

#include "parameter_lookup.h"

#include <cstdio>

namespace kelvohost {

HostReceipts::HostReceipts(const aaxhost::AutomationRecorder& automation,
                           const std::vector<HostParameter>& parameters)
    : automation_(automation), parameters_(parameters) {}

void HostReceipts::sizeRequested(const aaxhost::CocoaViewContainer::Request& request) {
    sizes_.push_back({automation_.requests.size(), request});
}

std::string HostReceipts::requestLine(const aaxhost::AutomationRecorder::Request& request) const {
    using Kind = aaxhost::AutomationRecorder::Kind;
    if (request.kind == Kind::touch) {
        return "touch " + request.parameter;
    }
    if (request.kind == Kind::release) {
        return "release " + request.parameter;
    }
    std::string line = "value " + request.parameter;
    char text[96];
    for (const HostParameter& parameter : parameters_) {
        if (parameter.identifier == request.parameter) {
            std::snprintf(text, sizeof text, " = %.3f", parameter.real(request.normalized));
            line += text;
            break;
        }
    }
    std::snprintf(text, sizeof text, " (normalized %.6f)", request.normalized);
    return line + text;
}

std::vector<std::string> HostReceipts::lines() const {
    std::vector<std::string> lines;
    auto size = sizes_.begin();
    const auto sizesUpTo = [&](std::size_t received) {
        for (; size != sizes_.end() && size->after <= received; ++size) {
            std::string line = "size " + formatNumber(size->request.size.horz) + " \u00D7 " +
                               formatNumber(size->request.size.vert);
            lines.push_back(size->request.accepted ? line : line + " refused");
        }
    };
    for (std::size_t i = 0; i < automation_.requests.size(); ++i) {
        sizesUpTo(i);
        lines.push_back(requestLine(automation_.requests[i]));
    }
    sizesUpTo(automation_.requests.size());
    return lines;
}

} // namespace kelvohost
