#include "authoring/CustomTags.h"

#include "platform/Files.h"

namespace tarnbook::authoring {

std::vector<std::string> splitCustomTagFields(std::string_view line) {
    // Quotes and commas are below 0x40, so they never occur as the trail byte of a
    // double-byte character and a byte-wise scan is safe.
    std::vector<std::string> fields;
    std::string field;
    char quote = 0;
    for (char c : line) {
        if (quote) {
            if (c == quote) quote = 0;
            field += c;
        } else if (c == '"' || c == '\'') {
            quote = c;
            field += c;
        } else if (c == ',') {
            if (!field.empty()) fields.push_back(std::move(field));
            field.clear();
        } else {
            field += c;
        }
    }
    if (!field.empty()) fields.push_back(std::move(field));
    return fields;
}

CustomTagMenu parseCustomTags(std::string_view bytes) {
    CustomTagMenu menu;
    for (const std::string& line : platform::splitLines(bytes)) {
        if (!line.empty() && line[0] == '*') {
            menu.groups.push_back({line.substr(1), {}});
            continue;
        }
        const std::vector<std::string> f = splitCustomTagFields(line);
        if (f.empty()) continue;
        if (menu.groups.empty()) {
            // Before any group the caption comes first.
            menu.loose.push_back(f.size() >= 2 ? CustomTag{f[0], f[1]} : CustomTag{f[0], f[0]});
        } else if (f.size() >= 2) {
            std::string caption;
            for (char c : f[1])
                if (c != '"') caption += c;
            menu.groups.back().tags.push_back({caption, f[0]});
        } else {
            menu.groups.back().tags.push_back({f[0], f[0]});
        }
    }
    return menu;
}

CustomTagMenu loadCustomTags(std::string_view path) {
    if (path.empty()) return {};
    auto bytes = platform::tryReadFile(path);
    if (!bytes || !platform::fileExists(path)) return {};
    return parseCustomTags(*bytes);
}

}  // namespace tarnbook::authoring
