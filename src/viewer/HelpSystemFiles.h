#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the system entries of a compiled help say about showing it: #SYSTEM (title, default
// page, sitemaps, language), #WINDOWS with #STRINGS (the default window's caption, size and
// pages), #IVB with #STRINGS (context numbers to pages) and #IDXHDR (merged files). Every
// reader takes untrusted bytes and skips what does not fit.
namespace tarnbook::viewer {

struct WindowGeometry {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    std::int64_t width() const { return static_cast<std::int64_t>(right) - left; }
    std::int64_t height() const { return static_cast<std::int64_t>(bottom) - top; }
};

struct HelpSystemInfo {
    std::string title;         // as stored (the help's code page)
    std::string defaultTopic;  // entry name, e.g. "html/top.htm"
    std::string contentsFile;  // entry name of the .hhc; empty when none is named
    std::string indexFile;
    std::string defaultWindow;
    std::optional<std::uint32_t> languageId;
    std::optional<WindowGeometry> window;  // of the default window, when it gives one
    std::map<std::uint32_t, std::string> contextTargets;  // context number -> page as stored
    std::vector<std::string> mergeFiles;                  // "other.chm" as stored
};

struct SystemEntries {
    std::string_view system, windows, strings, ivb, idxhdr;
};

HelpSystemInfo readHelpSystemInfo(const SystemEntries& entries);

}  // namespace tarnbook::viewer
