#include "compile/SitemapWriter.h"

#include <algorithm>
#include <functional>

#include "BuildInfo.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace tarnbook::compile {
namespace {

using Sink = std::function<void(std::string_view)>;

// Collects lines, each ended with CR LF, and hands them to the sink in large pieces, so a
// sitemap of any size is written without being held whole in memory.
class Lines {
  public:
    explicit Lines(const Sink& sink) : sink_(sink) { text_.reserve(kPiece + 4096); }
    ~Lines() { flush(); }
    Lines(const Lines&) = delete;
    Lines& operator=(const Lines&) = delete;
    Lines& tabs(int n) {
        text_.append(static_cast<std::size_t>(std::max(0, n)), '\t');
        return *this;
    }
    Lines& add(std::string_view piece) {
        text_ += piece;
        return *this;
    }
    void end() {
        text_ += "\r\n";
        if (text_.size() >= kPiece) flush();
    }
    void flush() {
        if (!text_.empty()) sink_(text_);
        text_.clear();
    }
    void line(std::string_view whole) {
        add(whole);
        end();
    }

  private:
    static constexpr std::size_t kPiece = 1 << 20;
    const Sink& sink_;
    std::string text_;
};

void writeHead(Lines& out) {
    out.line(R"(<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">)");
    out.line("<HTML><HEAD>");
    out.add(R"(<meta name="GENERATOR" content=")")
        .add(buildinfo::kProductName)
        .add(" ")
        .add(buildinfo::kProductVersion)
        .line("\">");
    out.line("<!-- Sitemap 1.0 -->");
    out.line("</HEAD><BODY>");
}

std::string withoutQuotes(const std::u16string& keyword) {
    std::u16string k = keyword;
    k.erase(std::remove(k.begin(), k.end(), u'"'), k.end());
    return platform::encodeCp932(k);
}

// The target of a node's index entries. A web-link node's page is a web address, so it is
// named as it is (as in the contents) instead of as a file of the resource folder.
std::string indexTarget(const project::TData& d) {
    std::string target = d.isWebLink() ? d.HTML : "_RESOURCE\\" + d.HTML;
    if (!d.Anchor.empty()) target += "#" + d.Anchor;
    return target;
}

void writeEntry(Lines& out, int indent, std::string_view name, std::string_view local) {
    out.tabs(indent).line(R"(<LI><OBJECT type="text/sitemap">)");
    out.tabs(indent).add(R"(<param name="Name" value=")").add(name).line("\">");
    out.tabs(indent).add(R"(<param name="Local" value=")").add(local).line("\">");
    out.tabs(indent).line("</OBJECT>");
}

}  // namespace

std::vector<std::u16string> splitKeywordText(std::u16string_view text) {
    std::vector<std::u16string> items;
    std::u16string item;
    char16_t quote = 0;
    auto finish = [&] {
        if (!item.empty()) items.push_back(item);
        item.clear();
        quote = 0;
    };
    for (char16_t c : text) {
        if (c == u'\r' || c == u'\n') {
            finish();
        } else if (c == u',' && quote == 0) {
            finish();
        } else {
            if (c == u'"' || c == u'\'') {
                if (quote == 0)
                    quote = c;
                else if (quote == c)
                    quote = 0;
            }
            item += c;
        }
    }
    finish();
    return items;
}

std::string indexFilePath(const project::Workspace& ws) {
    return inProjectFolder(projectFolderOf(ws), ws.projectName() + ".hhk");
}

std::string contentsFilePath(const project::Workspace& ws) {
    return inProjectFolder(projectFolderOf(ws), ws.projectName() + ".hhc");
}

namespace {

std::string collect(const std::function<void(const Sink&)>& write) {
    std::string text;
    write([&](std::string_view piece) { text.append(piece); });
    return text;
}

}  // namespace

std::string indexFileText(const project::Workspace& ws) {
    return collect([&](const Sink& sink) { writeIndex(ws, sink); });
}

std::string contentsFileText(const project::Workspace& ws, const BuildProgress& progress) {
    return collect([&](const Sink& sink) { writeContents(ws, progress, sink); });
}

void writeIndex(const project::Workspace& ws, const Sink& sink) {
    const std::size_t count = nodesToWrite(ws);
    Lines out(sink);
    writeHead(out);
    out.line("<UL>");
    std::size_t i = 0;
    for (auto* node = ws.tree.first(); node && i < count;
         node = project::ContentTree::next(node), ++i) {
        const project::TData& d = node->data;
        if (d.HTML.empty() || d.KeyWord.empty()) continue;
        const auto keywords = splitKeywordText(d.KeyWord);
        const auto subKeywords = splitKeywordText(d.SubKeyWord);
        const std::string target = indexTarget(d);
        for (const auto& k : keywords) {
            writeEntry(out, 0, withoutQuotes(k), target);
            if (subKeywords.empty()) continue;
            out.line("<UL>");
            for (const auto& s : subKeywords) writeEntry(out, 1, withoutQuotes(s), target);
            out.line("</UL>");
        }
    }
    const platform::IniFile& p = *ws.project;
    const int added = p.readInteger("Addition", "Count", 0);
    for (int n = 1; n <= added; ++n) {
        const std::string key = p.readString("Addition", "Key" + std::to_string(n));
        if (!key.empty())
            writeEntry(out, 0, key, p.readString("Addition", "File" + std::to_string(n)));
    }
    out.line("</UL>");
    out.line("</BODY></HTML>");
}

void writeContents(const project::Workspace& ws, const BuildProgress& progress, const Sink& sink) {
    const platform::IniFile& p = *ws.project;
    const std::size_t count = nodesToWrite(ws);
    Lines out(sink);

    int style = 800024;
    if (p.readBool("XHP", "NodeSquare", true)) style += 1;
    if (p.readBool("XHP", "NodeLines", false)) style += 2;
    if (p.readBool("XHP", "OneClick", false)) style += 400;
    writeHead(out);
    out.line(R"(<OBJECT type="text/site properties">)");
    out.line(R"(<param name="ImageType" value="Folder">)");
    out.add(R"(<param name="Window Styles" value="0x)").add(std::to_string(style)).line("\">");
    out.line("</OBJECT><UL>");

    int prev = 0;
    int open = 1;
    std::size_t i = 0;
    for (auto* node = ws.tree.first(); node && i < count;
         node = project::ContentTree::next(node), ++i) {
        const project::TData& d = node->data;
        const std::string title = platform::cutBytes(d.Title, 250);
        const std::string html = platform::cutBytes(d.HTML, 250);
        const std::string anchor = platform::cutBytes(d.Anchor, 100);
        const int level = node->depth();
        if (level < prev) {
            const int closing = prev - level;
            for (int k = 1; k <= closing; ++k)
                out.tabs(k == 1 ? prev + 2 : prev + 2 - k).line("</UL>");
            out.end();
            open -= closing;
        } else if (level > prev) {
            const int opening = level - prev;
            for (int k = 1; k <= opening; ++k)
                out.tabs(k == 1 ? level + 2 : level + 1).line("<UL>");
            out.end();
            open += opening;
        }
        const int indent = level + 2;
        prev = level;
        const bool webLink = d.isWebLink();

        out.tabs(indent).line(R"(<LI><OBJECT type="text/sitemap">)");
        out.tabs(indent).add(R"(<param name="Name" value=")").add(title).line("\">");
        if (!html.empty()) {
            if (!anchor.empty())
                out.tabs(indent)
                    .add(R"(<param name="Local" value="_RESOURCE\)")
                    .add(html)
                    .add("#")
                    .add(anchor)
                    .line("\">");
            else if (!webLink)
                out.tabs(indent)
                    .add(R"(<param name="Local" value="_RESOURCE\)")
                    .add(html)
                    .line("\">");
            else
                out.add(R"(<param name="Local" value=")").add(html).line("\">");
        }
        if (webLink) out.tabs(indent).line(R"(<param name="WindowName" value="$global_web">)");
        out.tabs(indent)
            .add(R"(<param name="ImageNumber" value=")")
            .add(std::to_string(static_cast<long long>(d.ImageIndex) + 1))
            .line("\">");
        out.tabs(indent).line("</OBJECT>");
    }
    if (progress) progress(90);
    for (int k = 1; k < open; ++k) out.line("</UL>");
    out.line("</UL>");

    const int merges = p.readInteger("XHP", "Merge", 0);
    for (int n = 1; n <= merges; ++n) {
        const std::string b = platform::baseName(p.readString("XHP", "Merge" + std::to_string(n)));
        out.line(R"(<OBJECT type="text/sitemap">)");
        out.add(R"(<PARAM name="Merge" value=")").add(b).add(".chm::").add(b).line(".hhc\">");
        out.line("</OBJECT>");
    }
    out.line("</BODY></HTML>");
}

void writeIndexFile(const project::Workspace& ws) {
    platform::writeFileAtomicStreamed(
        indexFilePath(ws), [&](const Sink& sink) { writeIndex(ws, sink); },
        platform::Durability::Unsynced);
}

void writeContentsFile(const project::Workspace& ws, const BuildProgress& progress) {
    platform::writeFileAtomicStreamed(
        contentsFilePath(ws), [&](const Sink& sink) { writeContents(ws, progress, sink); },
        platform::Durability::Unsynced);
    if (progress) progress(100);
}

}  // namespace tarnbook::compile
