#include "link/port_problems.h"

#include <cstddef>

namespace kaldor {
namespace {

// Ports next to each other with the same reason (and, for permission, the same group).
struct PortRun {
    int first = 0;
    int last = 0;
    std::string firstDevice;
    std::string lastDevice;
    PortOpenResult result;
};

bool sameReason(const PortOpenResult& a, const PortOpenResult& b) {
    return a.error == b.error && a.group == b.group && a.detail == b.detail;
}

std::vector<PortRun> runs(const std::vector<PortProblem>& problems) {
    std::vector<PortRun> out;
    for (const PortProblem& p : problems) {
        if (!worthTelling(p.result))
            continue;
        if (!out.empty() && out.back().last + 1 == p.port &&
            sameReason(out.back().result, p.result)) {
            out.back().last = p.port;
            out.back().lastDevice = p.result.device;
            continue;
        }
        out.push_back({p.port, p.port, p.result.device, p.result.device, p.result});
    }
    return out;
}

std::string portsOf(const PortRun& run) {
    std::string text = "COM" + std::to_string(run.first);
    if (run.last != run.first)
        text += "-COM" + std::to_string(run.last);
    return text;
}

std::string devicesOf(const PortRun& run) {
    if (run.firstDevice.empty())
        return {};
    if (run.first == run.last)
        return " (" + run.firstDevice + ")";
    return " (" + run.firstDevice + " ... " + run.lastDevice + ")";
}

// The words with "%1" (and "%2") put in.
std::string filled(std::string words, const std::string& first, const std::string& second = {}) {
    if (const std::size_t at = words.find("%1"); at != std::string::npos)
        words.replace(at, 2, first);
    if (const std::size_t at = words.find("%2"); at != std::string::npos)
        words.replace(at, 2, second);
    return words;
}

std::string groupOf(const PortOpenResult& result) {
    return result.group.empty() ? std::string(kSerialGroup) : result.group;
}

std::string advice(const PortOpenResult& result, const PortProblemWords& words) {
    switch (result.error) {
        case PortOpenError::PermissionDenied:
            return filled(words.joinGroup, groupOf(result), kSerialPortsSection);
        case PortOpenError::NoSuchDevice:
            return words.checkCable;
        case PortOpenError::Busy:
            return words.closeOther;
        case PortOpenError::None:
        case PortOpenError::Other:
            break;
    }
    return {};
}

}  // namespace

bool worthTelling(const PortOpenResult& result) {
    if (result.ok())
        return false;
    return result.error != PortOpenError::NoSuchDevice || result.named;
}

std::string reasonText(const PortOpenResult& result, const PortProblemWords& words) {
    switch (result.error) {
        case PortOpenError::None:
            return {};
        case PortOpenError::NoSuchDevice:
            return words.noSuchDevice;
        case PortOpenError::PermissionDenied:
            return words.permissionDenied;
        case PortOpenError::Busy:
            return words.busy;
        case PortOpenError::Other:
            break;
    }
    return result.detail.empty() ? words.notOpened : words.notOpened + ": " + result.detail;
}

std::vector<std::string> portProblemLines(const std::vector<PortProblem>& problems,
                                          const PortProblemWords& words) {
    std::vector<std::string> lines;
    for (const PortRun& run : runs(problems))
        lines.push_back(portsOf(run) + devicesOf(run) + ": " + reasonText(run.result, words) +
                        advice(run.result, words));
    return lines;
}

std::vector<std::string> portProblemBriefs(const std::vector<PortProblem>& problems,
                                           const PortProblemWords& words) {
    std::vector<std::string> lines;
    bool denied = false;
    for (const PortRun& run : runs(problems)) {
        denied = denied || run.result.error == PortOpenError::PermissionDenied;
        std::string reason = reasonText(run.result, words);
        // The brief keeps the reason's first words: "busy", not what follows in brackets.
        if (const std::size_t cut = reason.find(" ("); cut != std::string::npos)
            reason.resize(cut);
        if (run.result.error == PortOpenError::PermissionDenied)
            reason += " (" + filled(words.group, groupOf(run.result)) + ")";
        lines.push_back(portsOf(run) + ": " + reason);
    }
    if (denied)
        lines.push_back(filled(words.see, kSerialPortsSection));
    return lines;
}

}  // namespace kaldor
