#include "project/ProjectJson.h"

#include <cstdio>

#include "platform/Cp932.h"

namespace tarnbook::project {

namespace {

// Length of the well-formed UTF-8 sequence at `i`; 0 when the bytes there are none (a
// Shift_JIS byte the decoder could not map travels through as itself).
std::size_t utf8SequenceLength(const std::string& s, std::size_t i) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = at(i);
    if (c < 0x80) return 1;
    std::size_t len = 0;
    char32_t cp = 0, min = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2, cp = c & 0x1F, min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3, cp = c & 0x0F, min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4, cp = c & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        if ((at(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (at(i + k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

}  // namespace

std::string jsonString(const std::string& utf8) {
    std::string out = "\"";
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const std::size_t len = utf8SequenceLength(utf8, i);
        char buf[8];
        if (len == 0) {
            // Shown as the text \xHH so the output stays UTF-8 and the byte stays visible.
            std::snprintf(buf, sizeof buf, "\\\\x%02X", c);
            out += buf;
            ++i;
            continue;
        }
        if (len > 1) {
            out.append(utf8, i, len);
            i += len;
            continue;
        }
        ++i;
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

namespace {

std::string text(const std::string& cp932) {
    return jsonString(platform::cp932ToUtf8(cp932));
}
std::string text16(const std::u16string& s) {
    return jsonString(platform::utf16ToUtf8(s));
}

}  // namespace

std::string projectToJson(const Workspace& ws) {
    std::string out = "{\"xhp\": {";
    if (ws.project) {
        out += "\"Version\":" + std::to_string(ws.project->readInteger("XHP", "Version", 0));
        out += ", \"Count\":" + std::to_string(ws.project->readInteger("XHP", "Count", 0));
        out += ", \"PDir\":" + text(ws.project->readString("XHP", "PDir"));
        out += ", \"Name\":" + text(ws.project->readString("XHP", "Name"));
    }
    out += "}, \"nodes\": [";
    bool first = true;
    ws.tree.forEach([&](TreeNode& n) {
        const TData& d = n.data;
        out += first ? "\n  " : ",\n  ";
        first = false;
        out += "{\"ItemType\":" + std::to_string(d.ItemType);
        out += ",\"Title\":" + text(d.Title);
        out += ",\"HTML\":" + text(d.HTML);
        out += ",\"ImageIndex\":" + std::to_string(d.ImageIndex);
        out += ",\"Level\":" + std::to_string(d.Level);
        out += ",\"depth\":" + std::to_string(n.depth());
        out += ",\"KeyWord\":" + text16(d.KeyWord);
        out += ",\"SubKeyWord\":" + text16(d.SubKeyWord);
        out += ",\"ContextID\":" + text(d.ContextID);
        out += ",\"Anchor\":" + text(d.Anchor);
        out += ",\"Reserved\":" + text(d.Reserved) + "}";
    });
    out += first ? "]}\n" : "\n]}\n";
    return out;
}

}  // namespace tarnbook::project
