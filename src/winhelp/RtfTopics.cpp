#include "winhelp/RtfTopics.h"

#include <algorithm>
#include <map>
#include <set>

#include "platform/CodePages.h"
#include "platform/Cp932.h"
#include "winhelp/RtfTokenizer.h"
#include "winhelp/SymbolFonts.h"

namespace tarnbook::winhelp {

namespace platform = tarnbook::platform;

namespace {

enum class Dest { Body, FontTable, ColorTable, Footnote, Skip };

struct GroupState {
    CharFormat format;
    Dest dest = Dest::Body;
    int font = -1;
    int skipAfterUnicode = 1;  // \uc
};

// Destinations whose text is never part of a topic.
const std::set<std::string_view>& skippedDestinations() {
    static const std::set<std::string_view> kSkipped = {
        "stylesheet",   "info",      "header",     "headerl",
        "headerr",      "headerf",   "footer",     "footerl",
        "footerr",      "footerf",   "object",     "pict",
        "listtable",    "revtbl",    "filetbl",    "rsidtbl",
        "xe",           "tc",        "txe",        "listoverridetable",
        "author",       "operator",  "title",      "subject",
        "doccomm",      "generator", "themedata",  "colorschememapping",
        "latentstyles", "datastore", "mmathPr",    "fldinst",
        "bkmkstart",    "bkmkend",   "nonshppict", "shp",
        "shpinst",      "comment",
    };
    return kSkipped;
}

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\u3000' || c == u'\u00A0';
}

std::u16string trimmedText(std::u16string_view s) {
    std::size_t a = 0, b = s.size();
    while (a < b && isBlank(s[a])) ++a;
    while (b > a && isBlank(s[b - 1])) --b;
    return std::u16string(s.substr(a, b - a));
}

std::vector<std::u16string> splitAtSemicolons(std::u16string_view s) {
    std::vector<std::u16string> out;
    std::size_t start = 0;
    while (start <= s.size()) {
        std::size_t end = s.find(u';', start);
        if (end == std::u16string_view::npos) end = s.size();
        auto part = trimmedText(s.substr(start, end - start));
        if (!part.empty()) out.push_back(std::move(part));
        start = end + 1;
    }
    return out;
}

// Characters that mark a WinHelp footnote in the topic text.
bool isFootnoteMark(char16_t c) {
    return c == u'#' || c == u'$' || c == u'K' || c == u'A' || c == u'+' || c == u'*' ||
           c == u'!' || c == u'@' || c == u'>';
}

// The address an ExecFile macro (ExecFile("http://...") or EF(...)) opens when it is a web or
// mail address; empty for any other macro.
std::u16string webAddressOfMacro(std::u16string_view macro) {
    const auto open = macro.find(u'(');
    if (open == std::u16string_view::npos) return {};
    std::string name = platform::utf16ToUtf8(trimmedText(macro.substr(0, open)));
    for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (name != "execfile" && name != "ef") return {};
    std::u16string_view args = macro.substr(open + 1);
    const auto end = args.find_first_of(u",)");
    std::u16string address = trimmedText(args.substr(0, end));
    while (!address.empty() && (address.front() == u'"' || address.front() == u'`'))
        address.erase(0, 1);
    while (!address.empty() && (address.back() == u'"' || address.back() == u'\''))
        address.pop_back();
    for (const char16_t* scheme : {u"http://", u"https://", u"mailto:", u"ftp://"})
        if (address.starts_with(scheme)) return address;
    return {};
}

class Reader {
  public:
    Reader(int defaultCodePage, std::string_view source)
        : ansiCodePage_(defaultCodePage), source_(source) {
        stack_.emplace_back();
    }

    RtfReadResult read(std::string_view rtf) {
        std::size_t start = 0;
        while (start < rtf.size() && (rtf[start] == ' ' || rtf[start] == '\r' ||
                                      rtf[start] == '\n' || rtf[start] == '\t'))
            ++start;
        if (rtf.substr(start, 5) != "{\\rtf") {
            warn("not an RTF file (it does not begin with {\\rtf)");
            return std::move(result_);
        }
        RtfTokenizer tokens(rtf.substr(start));
        for (RtfToken t = tokens.next(); t.kind != RtfToken::Kind::End; t = tokens.next())
            handle(t);
        flushBytes();
        if (footnoteDepth_ != 0) finishFootnote();
        if (stack_.size() > 1)
            warn("the file ends inside " + std::to_string(stack_.size() - 1) +
                 " unclosed group(s)");
        endTopic();
        return std::move(result_);
    }

  private:
    GroupState& state() { return stack_.back(); }

    void warn(const std::string& text) {
        std::string full = source_.empty() ? text : source_ + ": " + text;
        if (warned_.insert(full).second) result_.warnings.push_back(std::move(full));
    }

    void handle(const RtfToken& t) {
        using K = RtfToken::Kind;
        if (t.kind == K::Text) return text(t.text);
        if (t.kind == K::HexByte) {
            if (skipChars_ > 0) {
                --skipChars_;
                return;
            }
            const char b = static_cast<char>(t.byte);
            return text(std::string_view(&b, 1));
        }
        flushBytes();
        skipChars_ = t.kind == K::Word || t.kind == K::Symbol ? skipChars_ : 0;
        switch (t.kind) {
            case K::GroupStart:
                if (stack_.size() >= kMaxDepth) {
                    ++overflow_;
                    warn("groups nested too deeply; inner text dropped");
                    return;
                }
                stack_.push_back(state());
                if (overflow_ == 0 && pendingStar_) pendingStar_ = false;
                return;
            case K::GroupEnd:
                pendingStar_ = false;
                if (overflow_ > 0) {
                    --overflow_;
                    return;
                }
                if (stack_.size() <= 1) {
                    warn("a '}' without its '{' was ignored");
                    return;
                }
                if (footnoteDepth_ == stack_.size()) finishFootnote();
                if (state().dest == Dest::FontTable) endFontEntry();
                stack_.pop_back();
                return;
            case K::Symbol:
                return symbol(t.symbol);
            case K::Word:
                return word(t);
            default:
                return;
        }
    }

    // --- Text and code pages ------------------------------------------------------------

    int currentFont() { return state().font >= 0 ? state().font : defaultFont_; }

    int currentCodePage() {
        auto it = fontCodePages_.find(currentFont());
        return it != fontCodePages_.end() ? it->second : ansiCodePage_;
    }

    // The name of the current font when it is a symbol font, else empty.
    std::string currentSymbolFont() {
        auto it = symbolFonts_.find(currentFont());
        return it != symbolFonts_.end() ? it->second : std::string();
    }

    void text(std::string_view bytes) {
        if (overflow_ > 0) return;
        const Dest d = state().dest;
        if (d == Dest::Skip) return;
        if (d == Dest::FontTable) {
            if (fontEntry_ >= 0)
                for (char c : bytes)
                    if (c != ';') fontNames_[fontEntry_] += c;
            return;
        }
        if (d == Dest::ColorTable) {
            for (char c : bytes)
                if (c == ';') endColor();
            return;
        }
        if (skipChars_ > 0) {
            const std::size_t n = std::min<std::size_t>(skipChars_, bytes.size());
            bytes.remove_prefix(n);
            skipChars_ -= static_cast<int>(n);
        }
        if (bytes.empty()) return;
        const int cp = currentCodePage();
        std::string symbolFont = currentSymbolFont();
        if (!pendingBytes_.empty() && (cp != pendingCodePage_ || symbolFont != pendingSymbolFont_))
            flushBytes();
        pendingCodePage_ = cp;
        pendingSymbolFont_ = std::move(symbolFont);
        pendingBytes_.append(bytes);
    }

    void flushBytes() {
        if (pendingBytes_.empty()) return;
        if (!pendingSymbolFont_.empty()) {
            const std::u16string glyphs = decodeSymbolFont(pendingBytes_, pendingSymbolFont_);
            pendingBytes_.clear();
            emit(glyphs);
            return;
        }
        auto decoded = platform::decodeCodePage(pendingBytes_, pendingCodePage_);
        if (!decoded) {
            warn("code page " + std::to_string(pendingCodePage_) +
                 " is not known here; its text was read as Windows-1252");
            decoded = platform::decodeCodePage(pendingBytes_, 1252);
        }
        pendingBytes_.clear();
        if (decoded) emit(*decoded);
    }

    void emit(std::u16string_view s) {
        switch (state().dest) {
            case Dest::Footnote:
                footnote_.append(s);
                return;
            case Dest::Body:
                break;
            default:
                return;
        }
        if (capturing_) {
            capture_.append(s);
            if (capture_.size() > kMaxCapture) abandonCapture();
            return;
        }
        if (state().format.hidden) {
            hidden_.append(s);
            return;
        }
        finishHidden();
        appendText(s, state().format);
    }

    void emitChar(char16_t c) { emit(std::u16string_view(&c, 1)); }

    void appendText(std::u16string_view s, const CharFormat& f) {
        auto& runs = paragraph_.runs;
        if (!runs.empty() && runs.back().imagePlacement == 0 &&
            runs.back().link == LinkKind::None && runs.back().format.sameLook(f)) {
            runs.back().text.append(s);
            return;
        }
        Run r;
        r.format = f;
        r.format.hidden = false;
        r.text.assign(s);
        runs.push_back(std::move(r));
    }

    // --- Jumps and popups: hot text followed by hidden text -------------------------------

    void finishHidden() {
        if (hidden_.empty()) return;
        std::u16string target = trimmedText(hidden_);
        hidden_.clear();
        if (target.empty()) return;
        auto& runs = paragraph_.runs;
        std::size_t first = runs.size();
        while (first > 0 && runs[first - 1].format.hot() && runs[first - 1].link == LinkKind::None)
            --first;
        if (first == runs.size()) return;  // hidden text with nothing to click: a note
        // '%' and '*' only change how the hot text looks.
        while (!target.empty() && (target.front() == u'%' || target.front() == u'*'))
            target.erase(0, 1);
        if (!target.empty() && target.front() == u'!') {
            const std::u16string address = webAddressOfMacro(target.substr(1));
            if (address.empty()) {
                warn("macro hot spot not converted: " + platform::utf16ToUtf8(target));
                // Without its macro the text is no hot spot: it loses the link look too.
                for (std::size_t i = first; i < runs.size(); ++i)
                    runs[i].format.underline = runs[i].format.doubleUnderline =
                        runs[i].format.strike = false;
                return;
            }
            for (std::size_t i = first; i < runs.size(); ++i) {
                runs[i].link = LinkKind::Web;
                runs[i].target = platform::encodeCp932(address);
            }
            return;
        }
        const std::string id = platform::encodeCp932(target);
        for (std::size_t i = first; i < runs.size(); ++i) {
            const CharFormat& f = runs[i].format;
            runs[i].link = (f.doubleUnderline || f.strike) ? LinkKind::Jump : LinkKind::Popup;
            runs[i].target = id;
        }
    }

    // --- Literal braces: {bmc file} and friends -------------------------------------------

    void startCapture() {
        capturing_ = true;
        capture_.clear();
        captureFormat_ = state().format;
    }

    void abandonCapture() {
        capturing_ = false;
        std::u16string literal = u"{" + capture_;
        capture_.clear();
        emit(literal);
    }

    void endCapture() {
        capturing_ = false;
        std::u16string inner = trimmedText(capture_);
        capture_.clear();
        std::u16string command;
        std::size_t i = 0;
        while (i < inner.size() && !isBlank(inner[i]) && inner[i] < 0x80) command += inner[i++];
        for (auto& c : command)
            if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        const std::u16string argument = trimmedText(std::u16string_view(inner).substr(i));
        if (command.size() >= 3 && command.compare(0, 2, u"bm") == 0 &&
            (command[2] == u'c' || command[2] == u'l' || command[2] == u'r') && !argument.empty()) {
            if (!captureFormat_.hidden) finishHidden();
            Run r;
            r.format = captureFormat_;
            r.format.hidden = false;
            r.imagePlacement = static_cast<char>(command[2]);
            std::u16string file = argument;
            // A multi-bitmap reference lists several files for different screens.
            const auto semicolon = file.find(u';');
            if (semicolon != std::u16string::npos) file = trimmedText(file.substr(0, semicolon));
            r.imageFile = platform::encodeCp932(file);
            // A picture inside hidden text is not shown.
            if (!captureFormat_.hidden) paragraph_.runs.push_back(std::move(r));
            return;
        }
        if (command == u"button" && buttonLink(argument)) return;
        if (command.starts_with(u"ewc") || command.starts_with(u"button") ||
            command.starts_with(u"mci")) {
            warn("embedded window, button or media not converted: {" +
                 platform::utf16ToUtf8(inner) + "}");
            return;
        }
        emit(u"{" + inner + u"}");
    }

    // {button label, JumpID(file, id)}: a button that jumps (or pops up) is a link.
    bool buttonLink(const std::u16string& argument) {
        const auto comma = argument.find(u',');
        if (comma == std::u16string::npos) return false;
        std::u16string label = trimmedText(argument.substr(0, comma));
        const std::u16string macro = trimmedText(argument.substr(comma + 1));
        const auto open = macro.find(u'(');
        const auto close = macro.rfind(u')');
        if (open == std::u16string::npos || close == std::u16string::npos || close < open)
            return false;
        std::string name = platform::utf16ToUtf8(trimmedText(macro.substr(0, open)));
        for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        LinkKind kind = LinkKind::None;
        if (name == "jumpid" || name == "ji") kind = LinkKind::Jump;
        if (name == "popupid" || name == "pi") kind = LinkKind::Popup;
        if (kind == LinkKind::None) return false;
        std::u16string id = macro.substr(open + 1, close - open - 1);
        const auto lastComma = id.rfind(u',');
        if (lastComma != std::u16string::npos) id = id.substr(lastComma + 1);
        id = trimmedText(id);
        while (!id.empty() && (id.front() == u'"' || id.front() == u'`' || id.front() == u'\''))
            id.erase(0, 1);
        while (!id.empty() && (id.back() == u'"' || id.back() == u'\'' || id.back() == u'`'))
            id.pop_back();
        if (id.empty()) return false;
        finishHidden();
        Run r;
        r.format = captureFormat_;
        r.format.hidden = false;
        r.text = label.empty() ? u">>" : u"[" + label + u"]";
        r.link = kind;
        r.target = platform::encodeCp932(id);
        paragraph_.runs.push_back(std::move(r));
        return true;
    }

    // --- Footnotes --------------------------------------------------------------------------

    void startFootnote() {
        footnoteKind_ = 0;
        auto& runs = paragraph_.runs;
        if (!runs.empty() && runs.back().imagePlacement == 0 && !runs.back().text.empty() &&
            isFootnoteMark(runs.back().text.back())) {
            footnoteKind_ = runs.back().text.back();
            runs.back().text.pop_back();
            if (runs.back().text.empty()) runs.pop_back();
        }
        state().dest = Dest::Footnote;
        footnoteDepth_ = stack_.size();
        footnote_.clear();
    }

    void finishFootnote() {
        footnoteDepth_ = 0;
        std::u16string text = trimmedText(footnote_);
        footnote_.clear();
        char16_t kind = footnoteKind_;
        if (kind == 0 && !text.empty()) kind = text.front();
        if (!text.empty() && text.front() == kind) text = trimmedText(text.substr(1));
        topicHasContent_ = true;
        switch (kind) {
            case u'#': {
                if (text.empty()) {
                    warn("empty context-ID footnote");
                    break;
                }
                topic_.contextIds.push_back(platform::encodeCp932(text));
                break;
            }
            case u'$':
                topic_.title = text;
                break;
            case u'K':
                for (auto& k : splitAtSemicolons(text)) topic_.keywords.push_back(std::move(k));
                break;
            case u'A':
                for (auto& k : splitAtSemicolons(text)) topic_.alinks.push_back(std::move(k));
                break;
            case u'+':
                topic_.browse = text.empty() ? u"auto" : text;
                break;
            default:
                break;  // build tags, entry macros, comments, windows
        }
    }

    // --- Paragraphs and topics --------------------------------------------------------------

    void endBlock(Block::Kind kind) {
        if (capturing_) abandonCapture();
        finishHidden();
        Block b;
        b.kind = kind;
        b.align = align_;
        b.inTable = inTable_ || kind != Block::Kind::Paragraph;
        if (kind != Block::Kind::RowEnd) b.runs = std::move(paragraph_.runs);
        paragraph_.runs.clear();
        for (const auto& r : b.runs)
            if (r.imagePlacement != 0 || !trimmedText(r.text).empty()) topicHasContent_ = true;
        topic_.body.push_back(std::move(b));
    }

    void endTopic() {
        if (capturing_) abandonCapture();
        finishHidden();
        if (!paragraph_.runs.empty()) endBlock(Block::Kind::Paragraph);
        // Empty paragraphs at the end are the page break's own line.
        while (!topic_.body.empty() && topic_.body.back().kind == Block::Kind::Paragraph &&
               std::none_of(topic_.body.back().runs.begin(), topic_.body.back().runs.end(),
                            [](const Run& r) {
                                return r.imagePlacement != 0 || !trimmedText(r.text).empty();
                            }))
            topic_.body.pop_back();
        if (topicHasContent_) {
            topic_.sourceFile = source_;
            result_.topics.push_back(std::move(topic_));
        }
        topic_ = Topic();
        topicHasContent_ = false;
    }

    // --- Control words and symbols ----------------------------------------------------------

    void symbol(char c) {
        if (overflow_ > 0) return;
        if (c == '*') {
            pendingStar_ = true;
            return;
        }
        const bool body = state().dest == Dest::Body;
        switch (c) {
            case '{':
                if (body && !capturing_)
                    startCapture();
                else
                    emitChar(u'{');
                return;
            case '}':
                if (body && capturing_)
                    endCapture();
                else
                    emitChar(u'}');
                return;
            case '\\':
                return emitChar(u'\\');
            case '~':
                return emitChar(u'\u00A0');
            case '_':
                return emitChar(u'-');
            case '\n':
                if (body) endBlock(Block::Kind::Paragraph);
                return;
            case '\t':
                return emitChar(u'\t');
            default:
                return;  // \- optional hyphen, \| and \: index marks
        }
    }

    void word(const RtfToken& t) {
        if (overflow_ > 0) return;
        const std::string_view w = t.word;
        const bool on = !t.hasParam || t.param != 0;
        GroupState& s = state();
        if (pendingStar_) {
            pendingStar_ = false;
            if (w != "footnote") {
                s.dest = Dest::Skip;
                return;
            }
        }
        if (s.dest == Dest::Skip) return;
        if (w == "fonttbl") {
            s.dest = Dest::FontTable;
            return;
        }
        if (s.dest == Dest::FontTable) {
            if (w == "f" && t.hasParam) {
                endFontEntry();
                fontEntry_ = t.param;
            }
            if (w == "fcharset" && t.hasParam && fontEntry_ >= 0) {
                fontCharsets_[fontEntry_] = t.param;
                if (auto cp = platform::codePageOfCharset(t.param))
                    fontCodePages_[fontEntry_] = *cp;
            }
            if (w == "cpg" && t.hasParam && fontEntry_ >= 0 && t.param > 0)
                fontCodePages_[fontEntry_] = t.param;
            return;
        }
        if (w == "colortbl") {
            s.dest = Dest::ColorTable;
            return;
        }
        if (s.dest == Dest::ColorTable) {
            const std::uint32_t v = static_cast<std::uint32_t>(std::clamp(t.param, 0, 255));
            if (w == "red") color_ = (color_ & 0x00FFFF) | (v << 16);
            if (w == "green") color_ = (color_ & 0xFF00FF) | (v << 8);
            if (w == "blue") color_ = (color_ & 0xFFFF00) | v;
            if (w == "red" || w == "green" || w == "blue") colorGiven_ = true;
            return;
        }
        if (skippedDestinations().count(w) != 0) {
            if (w == "pict") warn("embedded pictures are not converted");
            s.dest = Dest::Skip;
            return;
        }
        if (w == "footnote") {
            if (s.dest == Dest::Body) startFootnote();
            return;
        }
        if (w == "ansicpg" && t.hasParam && t.param > 0) {
            ansiCodePage_ = t.param;
            return;
        }
        if (w == "deff" && t.hasParam) {
            defaultFont_ = t.param;
            return;
        }
        if (w == "uc" && t.hasParam) {
            s.skipAfterUnicode = std::clamp(t.param, 0, 16);
            return;
        }
        if (w == "u" && t.hasParam) {
            const int v = t.param < 0 ? t.param + 65536 : t.param;
            emitChar(static_cast<char16_t>(v & 0xFFFF));
            skipChars_ = s.skipAfterUnicode;
            return;
        }
        characterWord(w, t, on, s);
        if (s.dest == Dest::Body) paragraphWord(w, t);
        specialCharacter(w);
    }

    void characterWord(std::string_view w, const RtfToken& t, bool on, GroupState& s) {
        CharFormat& f = s.format;
        if (w == "plain") {
            f = CharFormat();
            s.font = -1;
        } else if (w == "b") {
            f.bold = on;
        } else if (w == "i") {
            f.italic = on;
        } else if (w == "ul" || w == "uld" || w == "ulw" || w == "uldash") {
            f.underline = on;
        } else if (w == "uldb") {
            f.doubleUnderline = on;
        } else if (w == "ulnone") {
            f.underline = f.doubleUnderline = false;
        } else if (w == "strike") {
            f.strike = on;
        } else if (w == "v") {
            f.hidden = on;
        } else if (w == "super" || w == "up") {
            f.superscript = on;
            f.subscript = false;
        } else if (w == "sub" || w == "dn") {
            f.subscript = on;
            f.superscript = false;
        } else if (w == "nosupersub") {
            f.superscript = f.subscript = false;
        } else if (w == "f" && t.hasParam) {
            s.font = t.param;
        } else if (w == "cf" && t.hasParam) {
            f.color = (t.param > 0 && static_cast<std::size_t>(t.param) < colors_.size())
                          ? colors_[static_cast<std::size_t>(t.param)]
                          : 0xFFFFFFFF;
        }
    }

    void paragraphWord(std::string_view w, const RtfToken&) {
        if (w == "par") {
            endBlock(Block::Kind::Paragraph);
        } else if (w == "line") {
            emitChar(u'\n');
        } else if (w == "tab") {
            emitChar(u'\t');
        } else if (w == "page") {
            endTopic();
        } else if (w == "pard") {
            align_ = 'l';
            inTable_ = false;
        } else if (w == "qc" || w == "qr" || w == "ql" || w == "qj") {
            align_ = w[1];
        } else if (w == "intbl") {
            inTable_ = true;
        } else if (w == "cell") {
            endBlock(Block::Kind::CellEnd);
        } else if (w == "row") {
            endBlock(Block::Kind::RowEnd);
        }
    }

    void specialCharacter(std::string_view w) {
        static const std::map<std::string_view, char16_t> kCharacters = {
            {"emdash", u'\u2014'},    {"endash", u'\u2013'},  {"bullet", u'\u2022'},
            {"lquote", u'\u2018'},    {"rquote", u'\u2019'},  {"ldblquote", u'\u201C'},
            {"rdblquote", u'\u201D'}, {"emspace", u'\u2003'}, {"enspace", u'\u2002'},
        };
        auto it = kCharacters.find(w);
        if (it != kCharacters.end()) emitChar(it->second);
    }

    // A font entry is complete when the next one starts or the body uses a font.
    void endFontEntry() {
        if (fontEntry_ < 0) return;
        auto charset = fontCharsets_.find(fontEntry_);
        const std::string& name = fontNames_[fontEntry_];
        if (isSymbolFont(name, charset == fontCharsets_.end() ? -1 : charset->second))
            symbolFonts_[fontEntry_] = name;
        else
            symbolFonts_.erase(fontEntry_);
    }

    void endColor() {
        colors_.push_back(colorGiven_ ? color_ : 0xFFFFFFFF);
        color_ = 0;
        colorGiven_ = false;
    }

    static constexpr std::size_t kMaxDepth = 256;
    static constexpr std::size_t kMaxCapture = 512;

    std::vector<GroupState> stack_;
    std::size_t overflow_ = 0;
    bool pendingStar_ = false;
    int skipChars_ = 0;

    int ansiCodePage_;
    int defaultFont_ = -1;
    int fontEntry_ = -1;
    std::map<int, std::string> fontNames_;
    std::map<int, int> fontCharsets_;
    std::map<int, std::string> symbolFonts_;  // font number -> name, for symbol fonts
    std::map<int, int> fontCodePages_;
    std::vector<std::uint32_t> colors_;
    std::uint32_t color_ = 0;
    bool colorGiven_ = false;

    std::string pendingBytes_;
    std::string pendingSymbolFont_;
    int pendingCodePage_ = 1252;

    char align_ = 'l';
    bool inTable_ = false;
    Block paragraph_;
    Topic topic_;
    bool topicHasContent_ = false;
    std::u16string hidden_;

    bool capturing_ = false;
    std::u16string capture_;
    CharFormat captureFormat_;

    std::size_t footnoteDepth_ = 0;
    char16_t footnoteKind_ = 0;
    std::u16string footnote_;

    std::string source_;
    std::set<std::string> warned_;
    RtfReadResult result_;
};

}  // namespace

RtfReadResult readRtfTopics(std::string_view rtf, int defaultCodePage,
                            std::string_view sourceName) {
    Reader reader(defaultCodePage, sourceName);
    return reader.read(rtf);
}

std::u16string plainText(const std::vector<Block>& body) {
    std::u16string out;
    for (const auto& b : body) {
        std::u16string line;
        for (const auto& r : b.runs) line += r.text;
        if (!out.empty() && (!line.empty() || b.kind == Block::Kind::Paragraph)) out += u'\n';
        out += line;
    }
    return trimmedText(out);
}

}  // namespace tarnbook::winhelp
