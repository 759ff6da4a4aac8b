#include "project/ProjectJson.h"

#include <cstdio>

#include "platform/Cp932.h"

namespace tarnbook::project {

std::string jsonString(const std::string& utf8) {
    std::string out = "\"";
    for (unsigned char c : utf8) {
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
                    char buf[8];
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
