#include "authoring/tags/MediaTagMarkup.h"

namespace tarnbook::authoring {

std::string soundTag(std::string_view file, int volume) {
    std::string out = R"(<!-- Sound Play :) --><embed src=")";
    out.append(file).append(R"(" volume=")").append(std::to_string(volume));
    out += R"("><!-- end -->)";
    return out;
}

std::string flashTag(std::string_view file, std::string_view width, std::string_view height) {
    std::string size = R"(width=")";
    size.append(width).append(R"(" height=")").append(height).append(R"(")");
    std::string out = R"(<!-- Flash Play :) --><object )";
    out += R"(classid="clsid:D27CDB6E-AE6D-11cf-96B8-444553540000" )" + size + ">";
    out.append(R"(<param name="movie" value=")").append(file).append(R"(">)");
    out += R"(<param name="quality" value="high">)";
    out.append(R"(<embed src=")").append(file).append(R"(" )").append(size);
    out += R"( type="application/x-shockwave-flash"></object><!-- end -->)";
    return out;
}

std::string directorTag(std::string_view file, std::string_view width, std::string_view height) {
    std::string size = "width=";
    size.append(width).append(" height=").append(height);
    std::string out = "<!-- Director Play :) -->\r\n";
    out += "<script language=javascript>\r\n";
    out += "var y,y3,src;\r\n";
    out += "y = location.href;\r\n";
    // The page's address without the compiled-help scheme prefix and its own file name.
    out += R"(y3 = y.lastIndexOf('\\') + 1;)"
           "\r\n";
    out.append("src = 'file:///' + y.substring(14,y3) +'").append(file).append("';\r\n");
    out += R"(document.write("<object classid='clsid:166B1BCA-3F9C-11CF-8075-444553540000' )";
    out += size + R"(>");)"
                  "\r\n";
    out += R"(document.write("<param name='src' value=" + src + ">");)"
           "\r\n";
    out += R"(document.write("<embed src=" + src + " )" + size +
           R"(></object>");)"
           "\r\n";
    out += "</script>\r\n";
    out += "<!-- end -->";
    return out;
}

std::string anchorTag(std::string_view name) {
    std::string out = R"(<a name=")";
    out.append(name).append(R"("></a>)");
    return out;
}

std::string pageLinkTag(std::string_view page, std::string_view anchor, std::string_view linkText) {
    std::string out = R"(<a href=")";
    out.append(page);
    if (!anchor.empty()) out.append("#").append(anchor);
    out.append(R"(">)").append(linkText).append("</a>");
    return out;
}

}  // namespace tarnbook::authoring
