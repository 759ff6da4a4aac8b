#include "contents/GeneratedPages.h"

#include "BuildInfo.h"
#include "authoring/SjisConvert.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace tarnbook::contents {

namespace {

constexpr std::string_view kSection = "XHP";
constexpr std::string_view kConvertedComment = "<!-- Quillet Auto Converted Text :) -->";

void appendLine(std::string& out, std::string_view line) {
    out.append(line);
    out.append("\r\n");
}

void appendLines(std::string& out, const std::vector<std::string>& lines) {
    for (const auto& line : lines) appendLine(out, line);
}

// The first name beside `path` that is not taken: "name(1).ext", "name(2).ext", ...
std::string freePageName(std::string_view path) {
    if (!platform::pathExists(path)) return std::string(path);
    const std::string folder = platform::folderPartWithSeparator(path);
    const std::string base = platform::baseName(path);
    const std::string extension = platform::extensionPart(path);
    for (long k = 1;; ++k) {
        std::string candidate = folder + base + "(" + std::to_string(k) + ")" + extension;
        if (!platform::pathExists(candidate)) return candidate;
    }
}

}  // namespace

std::string generatorLine() {
    return std::string("<meta name=\"GENERATOR\" content=\"Tarnbook ") +
           buildinfo::kProductVersion + "\">";
}

std::string_view generatedComment() {
    return "<!-- Quillet Auto Generated HTML :) -->";
}

std::vector<std::string> standardOpeningLines() {
    return {"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">", "<HTML><HEAD>",
            generatorLine()};
}

std::string styleSheetLine(std::string_view cssPath) {
    return "<link rel=\"stylesheet\" href=\"" + platform::fileNamePart(cssPath) +
           "\" type=\"text/css\">";
}

void copyStyleSheetIntoResource(std::string_view cssPath, std::string_view resourceFolder) {
    const std::string name = platform::fileNamePart(cssPath);
    if (name.empty() || !platform::fileExists(cssPath)) return;
    const std::string target = platform::joinPath(resourceFolder, name);
    if (platform::pathExists(target)) return;
    platform::copyFile(cssPath, target, /*failIfExists=*/true);
}

std::string resourceFolderOf(const platform::IniFile& project) {
    return platform::joinPath(project.readString(kSection, "PDir"), "_RESOURCE");
}

std::string newPageFromTemplate(const platform::IniFile& project, std::string_view pagePath,
                                std::string_view title) {
    const bool useCss = project.readBool(kSection, "UseCSS", false);
    const std::string css = project.readString(kSection, "CSS");
    const std::string autoHead = project.readString(kSection, "AutoHEAD");
    const std::string autoHtml = project.readString(kSection, "AutoHTML");

    if (useCss) copyStyleSheetIntoResource(css, resourceFolderOf(project));

    // A bare or relative name means a page of the resource folder, where every page lives,
    // not one beside whatever the current folder happens to be.
    const std::string requested = platform::isAbsolutePath(pagePath)
                                      ? std::string(pagePath)
                                      : platform::joinPath(resourceFolderOf(project), pagePath);
    const std::string target = freePageName(requested);

    std::string page;
    appendLines(page, standardOpeningLines());
    appendLine(page, "<TITLE>" + std::string(title) + "</TITLE>");
    if (useCss) appendLine(page, styleSheetLine(css));
    if (!autoHead.empty() && platform::fileExists(autoHead)) {
        appendLines(page, platform::readLines(autoHead));
    }
    if (!autoHtml.empty() && platform::fileExists(autoHtml)) {
        // The template brings its own BODY element.
        appendLine(page, "</HEAD>");
        appendLine(page, generatedComment());
        appendLines(page, platform::readLines(autoHtml));
        appendLine(page, "</HTML>");
    } else {
        appendLine(page, "</HEAD><BODY>");
        appendLine(page, generatedComment());
        appendLine(page, "</BODY></HTML>");
    }
    platform::writeFileAtomic(target, page);
    return target;
}

std::string convertTxtToHtml(std::string_view textPath) {
    // Read first: a source that cannot be read leaves no temporary file behind.
    const std::vector<std::string> lines = platform::readLines(textPath);
    std::string page;
    appendLines(page, standardOpeningLines());
    appendLine(page, "</HEAD><BODY>");
    appendLine(page, kConvertedComment);
    for (const auto& line : lines) {
        page.append(line);
        appendLine(page, "<br>");
    }
    appendLine(page, "</BODY></HTML>");

    const std::string temp = platform::makeTempFile("QLT");
    try {
        platform::writeFileAtomic(temp, page);
    } catch (...) {
        platform::deleteFile(temp);
        throw;
    }
    return temp;
}

std::string extractHtmlTitle(std::string_view htmlPath) {
    static constexpr std::string_view kOpen = "<TITLE>";
    static constexpr std::string_view kClose = "</TITLE>";
    for (const auto& raw : platform::readLines(htmlPath)) {
        const std::string line = authoring::convertLineToSjis(raw);
        const std::string upper = platform::upperCaseSjis(line);
        const std::size_t open = platform::findSjis(upper, kOpen);
        if (open == std::string::npos && platform::findSjis(upper, "BODY") == std::string::npos) {
            continue;
        }
        // The first line that names a title or a body decides, whatever it holds.
        if (open == std::string::npos) return {};
        const std::size_t start = open + kOpen.size();
        const std::size_t close = platform::findSjis(upper, kClose, start);
        if (close == std::string::npos) return {};
        return line.substr(start, close - start);
    }
    return {};
}

}  // namespace tarnbook::contents
