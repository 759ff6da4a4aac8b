#include "webexport/SiteNavigation.h"

#include "project/ProjectJson.h"
#include "webexport/HtmlScanner.h"

namespace tarnbook::webexport {
namespace {

void appendNodes(std::string& out, const std::vector<NavNode>& nodes) {
    out += '[';
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const NavNode& n = nodes[i];
        if (i) out += ",\n";
        out += "{\"t\":" + project::jsonString(n.title);
        if (!n.url.empty()) out += ",\"u\":" + project::jsonString(n.url);
        if (n.external) out += ",\"x\":1";
        if (!n.children.empty()) {
            out += ",\"c\":";
            appendNodes(out, n.children);
        }
        out += '}';
    }
    out += ']';
}

std::string link(const std::string& url, const std::string& title, bool external = false) {
    std::string out = "<a href=\"" + escapeHtml(external ? url : "../" + url) + "\"";
    if (external) out += " class=\"tb-external\" target=\"_blank\" rel=\"noopener\"";
    return out + ">" + escapeHtml(title) + "</a>";
}

// A page of the "_tarnbook" folder with the site's look and scripts.
std::string generatedPage(const SiteInfo& site, const std::string& title, const std::string& body,
                          const std::string& extraScript = {}) {
    std::string out =
        "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
        escapeHtml(title) + " - " + escapeHtml(site.title) +
        "</title>\n<link rel=\"stylesheet\" type=\"text/css\" href=\"site.css\">\n";
    if (site.userStyleSheet)
        out += "<link rel=\"stylesheet\" type=\"text/css\" href=\"custom.css\">\n";
    out += "<script src=\"toc.js\" defer></script>\n";
    if (!extraScript.empty()) out += "<script src=\"" + extraScript + "\" defer></script>\n";
    out += "<script src=\"../_tarnbook/site.js\" defer></script>\n</head>\n<body>\n<h1>" +
           escapeHtml(title) + "</h1>\n" + body + "</body>\n</html>\n";
    return out;
}

void appendTopics(std::string& out, const std::vector<NavTopic>& topics) {
    for (std::size_t i = 0; i < topics.size(); ++i) {
        out += i ? ", " : " ";
        out += link(topics[i].url, topics[i].title);
    }
}

void appendContentsList(std::string& out, const std::vector<NavNode>& nodes) {
    out += "<ul>\n";
    for (const NavNode& n : nodes) {
        out += "<li>";
        out += n.url.empty() ? escapeHtml(n.title) : link(n.url, n.title, n.external);
        if (!n.children.empty()) appendContentsList(out, n.children);
        out += "</li>\n";
    }
    out += "</ul>\n";
}

}  // namespace

std::string tocScript(const SiteInfo& site, const std::vector<NavNode>& nodes) {
    std::string out = "window.TARNBOOK_SITE = {\"title\":" + project::jsonString(site.title) +
                      ",\"start\":" + project::jsonString(site.startPage) + ",\"nodes\":";
    appendNodes(out, nodes);
    return out + "};\n";
}

std::string keywordsPage(const SiteInfo& site, const KeywordIndex& index) {
    std::string body = "<dl class=\"tb-index\">\n";
    for (const auto& [keyword, entry] : index) {
        body += "<dt>" + escapeHtml(keyword) + "</dt>\n<dd>";
        appendTopics(body, entry.topics);
        if (!entry.subEntries.empty()) {
            body += "<dl>\n";
            for (const auto& [sub, topics] : entry.subEntries) {
                body += "<dt>" + escapeHtml(sub) + "</dt><dd>";
                appendTopics(body, topics);
                body += "</dd>\n";
            }
            body += "</dl>";
        }
        body += "</dd>\n";
    }
    body += "</dl>\n";
    return generatedPage(site, "索引", body);
}

std::string contentsPage(const SiteInfo& site, const std::vector<NavNode>& nodes) {
    std::string body;
    appendContentsList(body, nodes);
    return generatedPage(site, "目次", body);
}

std::string searchPage(const SiteInfo& site) {
    return generatedPage(site, "検索",
                         "<noscript><p>検索にはJavaScriptが必要です。</p></noscript>\n"
                         "<div id=\"tb-search-results\"></div>\n",
                         "search-index.js");
}

std::string startPage(const SiteInfo& site) {
    const std::string target = escapeHtml(site.startPage);
    return "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
           escapeHtml(site.title) +
           "</title>\n<meta http-equiv=\"refresh\" content=\"0; url=" + target +
           "\">\n</head>\n<body>\n<p><a href=\"" + target + "\">" + escapeHtml(site.title) +
           "</a></p>\n</body>\n</html>\n";
}

}  // namespace tarnbook::webexport
