#include "authoring/TagHighlight.h"

#include <array>
#include <cctype>
#include <utility>

#include "platform/Cp932.h"

namespace tarnbook::authoring {
namespace {

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Collects one kind of span: from each opening to the end of the next closing after it.
void collect(const std::string& upper, std::string_view open, std::string_view close,
             std::vector<TagSpan>& out) {
    std::size_t from = 0;
    while (true) {
        const std::size_t start = platform::findSjis(upper, open, from);
        if (start == std::string::npos) return;
        const std::size_t end = platform::findSjis(upper, close, start + open.size());
        if (end == std::string::npos) {
            out.push_back({start, upper.size() - start});
            return;
        }
        out.push_back({start, end + close.size() - start});
        from = end + close.size();
    }
}

}  // namespace

unsigned parseColourSetting(std::string_view text, unsigned fallback) {
    static const std::array<std::pair<std::string_view, unsigned>, 20> names = {{
        {"clblack", 0x000000},   {"clmaroon", 0x800000},     {"clgreen", 0x008000},
        {"clolive", 0x808000},   {"clnavy", 0x000080},       {"clpurple", 0x800080},
        {"clteal", 0x008080},    {"clgray", 0x808080},       {"clsilver", 0xC0C0C0},
        {"clred", 0xFF0000},     {"cllime", 0x00FF00},       {"clyellow", 0xFFFF00},
        {"clblue", 0x0000FF},    {"clfuchsia", 0xFF00FF},    {"claqua", 0x00FFFF},
        {"clwhite", 0xFFFFFF},   {"clwindowtext", 0x000000}, {"clwindow", 0xFFFFFF},
        {"clbtnface", 0xF0F0F0}, {"clnone", 0xFFFFFF},
    }};
    const std::string t = lowerAscii(text);
    for (const auto& [name, rgb] : names)
        if (t == name) return rgb;
    long long v = 0;
    bool ok = false;
    if (!t.empty() && t[0] == '$') {
        try {
            std::size_t used = 0;
            v = std::stoll(t.substr(1), &used, 16);
            ok = used == t.size() - 1;
        } catch (...) {
        }
    } else {
        ok = platform::IniFile::parseInteger(t, &v);
    }
    if (!ok || v < 0) return fallback;
    // Stored numbers are in blue-green-red order.
    const auto bgr = static_cast<unsigned>(v) & 0xFFFFFFu;
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

HighlightSettings readHighlightSettings(const platform::IniFile& settings) {
    HighlightSettings s;
    s.objects = settings.readBool("SYSTEM", "ColObjtag", true);
    s.anchors = settings.readBool("SYSTEM", "ColAnchortag", false);
    s.links = settings.readBool("SYSTEM", "ColHreftag", false);
    s.spanRgb = parseColourSetting(settings.readString("SYSTEM", "ObjCol", "clBlue"), 0x0000FF);
    return s;
}

std::vector<TagSpan> findTagSpans(std::string_view bytes, const HighlightSettings& s) {
    const std::string upper = platform::upperCaseSjis(bytes);
    std::vector<TagSpan> spans;
    if (s.objects) collect(upper, "<OBJECT", "/OBJECT>", spans);
    if (s.anchors) collect(upper, "<A NAME=", ">", spans);
    if (s.links) collect(upper, "<A HREF=", "</A>", spans);
    return spans;
}

std::vector<int> editorPositions(std::string_view bytes) {
    std::vector<int> pos(bytes.size() + 1, 0);
    int p = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        std::size_t len = 1;
        int units = 1;
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            len = 2;
        } else if (platform::isLeadByte(c) && i + 1 < bytes.size()) {
            const auto t = static_cast<unsigned char>(bytes[i + 1]);
            if (t != '\r' && t != '\n') {
                len = 2;
                units = static_cast<int>(platform::decodeCp932(bytes.substr(i, 2)).size());
            }
        }
        for (std::size_t k = 0; k < len; ++k) pos[i + k] = p;
        p += units;
        i += len;
    }
    pos[bytes.size()] = p;
    return pos;
}

void htmlTagPickUp(ui::SourceEditor& editor, const HighlightSettings& s) {
    const bool wasModified = editor.modified();
    editor.beginUpdate();
    editor.resetColours();
    const std::string text = editor.textBytes();
    const std::vector<TagSpan> spans = findTagSpans(text, s);
    if (!spans.empty()) {
        const std::vector<int> pos = editorPositions(text);
        for (auto it = spans.rbegin(); it != spans.rend(); ++it) {
            const int a = pos[it->start];
            const int b = pos[it->start + it->length];
            editor.colourRange(a, b - a, s.spanRgb, true);
        }
    }
    editor.setSelection(0, 0);
    editor.endUpdate();
    editor.setModified(wasModified);
}

}  // namespace tarnbook::authoring
