#include "workshopimport/WorkshopFiles.h"

#include "authoring/SjisConvert.h"
#include "hhc/HhpFile.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace tarnbook::workshopimport {

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The value of "key=value" in [OPTIONS], or among the lines before any section (some
// hand-written projects have no [OPTIONS] header at all).
std::optional<std::string> optionOrLoose(const hhc::HhpFile& hhp, std::string_view key) {
    if (auto v = hhp.option(key)) return v;
    for (const std::string& line : hhp.preamble()) {
        std::string k, v;
        if (hhc::splitKeyValue(line, &k, &v) && hhc::equalsNoCase(hhc::trimBlanks(k), key))
            return hhc::trimBlanks(v);
    }
    return std::nullopt;
}

// The LCID of the "Language" line, read from the raw bytes (the number is ASCII whatever the
// encoding of the language name after it).
std::optional<unsigned> rawLanguageId(std::string_view bytes) {
    const hhc::HhpFile raw = hhc::HhpFile::parse(bytes);
    if (auto v = optionOrLoose(raw, "Language")) return sitemap::parseLanguageId(*v);
    return std::nullopt;
}

// Values are sometimes written in quotes: Index file="Index.hhk".
std::string unquoted(const std::string& value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

bool sameFileName(std::string_view a, std::string_view b) {
    return hhc::equalsNoCase(platform::fileNamePart(a), platform::fileNamePart(b));
}

std::string inFolderOf(std::string_view file, std::string_view name) {
    return platform::joinPath(platform::folderPart(file), name);
}

}  // namespace

std::string declaredCharset(std::string_view bytes) {
    static constexpr std::string_view kKey = "charset";
    for (std::size_t i = 0; i + kKey.size() < bytes.size(); ++i) {
        if (lower(bytes[i]) != 'c') continue;
        std::size_t k = 0;
        while (k < kKey.size() && lower(bytes[i + k]) == kKey[k]) ++k;
        if (k < kKey.size()) continue;
        std::size_t p = i + k;
        while (p < bytes.size() && bytes[p] == ' ') ++p;
        if (p >= bytes.size() || bytes[p] != '=') continue;
        ++p;
        while (p < bytes.size() && (bytes[p] == ' ' || bytes[p] == '"' || bytes[p] == '\'')) ++p;
        std::string label;
        while (p < bytes.size() && label.size() < 40 && bytes[p] != '"' && bytes[p] != '\'' &&
               bytes[p] != ';' && bytes[p] != ' ' && bytes[p] != '>')
            label += lower(bytes[p++]);
        return label;
    }
    return {};
}

WorkshopFiles findWorkshopFiles(std::string_view contentsPath) {
    WorkshopFiles f;
    f.contents = std::string(contentsPath);
    const std::string hhp = platform::changeExtension(contentsPath, ".hhp");
    const std::string hhk = platform::changeExtension(contentsPath, ".hhk");
    std::optional<hhc::HhpFile> parsed;
    if (platform::fileExists(hhp)) {
        f.project = hhp;
        if (const auto bytes = platform::tryReadFile(hhp)) parsed = hhc::HhpFile::parse(*bytes);
    } else {
        const std::string folder = platform::folderPart(contentsPath);
        for (const platform::FolderEntry& e : platform::listFolder(folder)) {
            if (e.isFolder || !hhc::equalsNoCase(platform::extensionPart(e.name), ".hhp")) continue;
            const std::string candidate = inFolderOf(contentsPath, e.name);
            const auto bytes = platform::tryReadFile(candidate);
            if (!bytes) continue;
            hhc::HhpFile project = hhc::HhpFile::parse(*bytes);
            const auto named = optionOrLoose(project, "Contents file");
            if (!named || !sameFileName(unquoted(*named), contentsPath)) continue;
            f.project = candidate;
            parsed = std::move(project);
            break;
        }
    }
    if (platform::fileExists(hhk)) {
        f.index = hhk;
    } else if (parsed) {
        if (auto index = optionOrLoose(*parsed, "Index file"); index && !unquoted(*index).empty()) {
            const std::string indexPath = inFolderOf(contentsPath, unquoted(*index));
            if (platform::fileExists(indexPath)) f.index = indexPath;
        }
    }
    return f;
}

WorkshopProject readWorkshopProject(std::string_view path) {
    const std::string bytes = platform::readFile(path);
    WorkshopProject p;
    p.languageId = rawLanguageId(bytes);
    p.encoding = sitemap::decideEncoding(bytes, {}, p.languageId);
    sitemap::DecodedText text = sitemap::decodeSource(bytes, p.encoding.encoding);
    p.form = text.form;
    const hhc::HhpFile hhp = hhc::HhpFile::parse(text.text);
    p.titleText = optionOrLoose(hhp, "Title").value_or(std::string());
    if (const hhc::HhpSection* files = hhp.section("FILES"))
        for (const std::string& line : files->lines) {
            std::string name = hhc::trimBlanks(line);
            if (!name.empty() && name[0] != ';') p.files.push_back(std::move(name));
        }
    return p;
}

LoadedSitemap loadSitemap(std::string_view path, std::optional<unsigned> languageId) {
    const std::string bytes = platform::readFile(path);
    LoadedSitemap out;
    out.encoding = sitemap::decideEncoding(bytes, declaredCharset(bytes), languageId);
    sitemap::DecodedText text = sitemap::decodeSource(bytes, out.encoding.encoding);
    if (text.form == sitemap::TextForm::Cp932) text.text = authoring::convertTextToSjis(text.text);
    out.form = text.form;
    out.sitemap = sitemap::readSitemap(text.text, text.form);
    return out;
}

}  // namespace tarnbook::workshopimport
