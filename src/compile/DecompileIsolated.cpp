#include "compile/DecompileIsolated.h"

#include <charconv>
#include <exception>
#include <string_view>
#include <vector>

#include "platform/Process.h"

namespace tarnbook::compile {
namespace {

// One report per line: a letter, then the fields. Texts are the last field and have no
// line breaks.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

std::vector<std::size_t> numbers(std::string_view fields) {
    std::vector<std::size_t> out;
    while (!fields.empty()) {
        std::size_t value = 0;
        const auto [end, ec] = std::from_chars(fields.data(), fields.data() + fields.size(), value);
        if (ec != std::errc()) break;
        out.push_back(value);
        fields.remove_prefix(static_cast<std::size_t>(end - fields.data()));
        if (!fields.empty() && fields.front() == ' ') fields.remove_prefix(1);
    }
    return out;
}

// Runs in the child: decompiles and reports as it goes.
void decompileAndReport(const std::string& chmPath, const std::string& outputFolder,
                        const DecompileOptions& options, const platform::LineSender& send) {
    std::size_t warningsSent = 0;
    DecompileOptions reporting = options;
    reporting.observe = [&](const DecompileResult& r, std::size_t done, std::size_t total) {
        for (; warningsSent < r.warnings.size(); ++warningsSent)
            send("W " + oneLine(r.warnings[warningsSent]));
        send("N " + std::to_string(r.entries) + " " + std::to_string(r.filesWritten) + " " +
             std::to_string(r.internalSkipped) + " " + std::to_string(done) + " " +
             std::to_string(total));
    };
    DecompileResult r;
    try {
        r = decompileChm(chmPath, outputFolder, {}, reporting);
    } catch (const std::exception& e) {
        r.error = e.what();
    }
    for (; warningsSent < r.warnings.size(); ++warningsSent)
        send("W " + oneLine(r.warnings[warningsSent]));
    if (!r.error.empty()) send("E " + oneLine(r.error));
    send("R " + std::to_string(r.opened ? 1 : 0) + " " + std::to_string(r.entries) + " " +
         std::to_string(r.filesWritten) + " " + std::to_string(r.internalSkipped));
}

}  // namespace

DecompileResult decompileIsolated(const std::string& chmPath, const std::string& outputFolder,
                                  const DecompileProgress& progress,
                                  const DecompileOptions& options, const IsolationLimits& limits) {
    DecompileResult result;
    bool finished = false;
    std::size_t done = 0, total = 0;
    auto onLine = [&](std::string_view line) {
        if (line.size() < 2) return;
        const char kind = line[0];
        const std::string_view rest = line.substr(2);
        if (kind == 'W') {
            result.warnings.emplace_back(rest);
        } else if (kind == 'E') {
            result.error = std::string(rest);
        } else if (const auto n = numbers(rest); kind == 'N' && n.size() == 5) {
            result.opened = true;
            result.entries = n[0];
            result.filesWritten = n[1];
            result.internalSkipped = n[2];
            done = n[3];
            total = n[4];
            if (progress) progress(done, total);
        } else if (kind == 'R' && n.size() == 4) {
            result.opened = n[0] != 0;
            result.entries = n[1];
            result.filesWritten = n[2];
            result.internalSkipped = n[3];
            finished = true;
        }
    };
    const platform::IsolatedOutcome outcome = platform::runIsolated(
        [&](const platform::LineSender& send) {
            decompileAndReport(chmPath, outputFolder, options, send);
        },
        onLine, {limits.idle, limits.memoryBytes});
    if (!outcome.started) {
        result.error = outcome.error;
        return result;
    }
    if (finished && outcome.exitCode == 0) return result;
    std::string why;
    if (outcome.timedOut)
        why = "reading stopped making progress for " + std::to_string(limits.idle.count()) +
              " seconds and was ended";
    else if (outcome.signal != 0)
        why = "the file is damaged: reading it crashed (signal " + std::to_string(outcome.signal) +
              ")";
    else
        why = "reading ended unexpectedly (exit status " + std::to_string(outcome.exitCode) + ")";
    const std::string where = result.opened ? " after " + std::to_string(done) + " of " +
                                                  std::to_string(total) + " entries"
                                            : std::string();
    result.error = "the file " + chmPath + " could not be read to its end: " + why + where;
    return result;
}

}  // namespace tarnbook::compile
