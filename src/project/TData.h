#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tarnbook::project {

// The record every contents node carries. 8-bit texts are CP932 bytes as stored; the keyword
// fields are UTF-16 because the record splits them over two fixed fields.
struct TData {
    static constexpr std::uint8_t kContent = 0;
    static constexpr std::uint8_t kHeading = 1;

    std::uint8_t ItemType = kContent;
    // The opaque value the contents file held in the parent field. Readers ignore it; it is
    // written back unchanged so that a file loads and saves byte for byte.
    std::uint32_t ParentValue = 0;
    std::string Title;
    std::string HTML;
    std::int32_t ImageIndex = 8;
    std::int32_t Level = 0;
    std::u16string KeyWord;
    std::u16string SubKeyWord;
    std::string ContextID;
    std::string Anchor;
    std::string Reserved;

    bool isHeading() const { return ItemType == kHeading; }
    bool isWebLink() const;
    bool operator==(const TData&) const = default;
};

// Icons 12 to 15 mark a web link: the node's page is a web address, not a file.
inline bool isWebLinkIcon(int imageIndex) {
    return imageIndex >= 12 && imageIndex <= 15;
}

// A page text that names a web address rather than a file: it holds "http://" or "https://"
// in any letter case. Secure addresses are links exactly like plain ones.
inline bool namesWebAddress(std::string_view text) {
    auto holds = [text](std::string_view scheme) {
        for (std::size_t i = 0; i + scheme.size() <= text.size(); ++i) {
            std::size_t k = 0;
            while (k < scheme.size() && (text[i + k] | 0x20) == scheme[k]) ++k;
            if (k == scheme.size()) return true;
        }
        return false;
    };
    return holds("http://") || holds("https://");
}

inline bool TData::isWebLink() const {
    return isWebLinkIcon(ImageIndex);
}

// Heading icons 0, 2, 4, 6 show the next index when selected; content icons show themselves.
// A damaged record may hold any number; the largest one has no next image.
inline int selectedImageFor(const TData& d) {
    return d.isHeading() && d.ImageIndex < INT32_MAX ? d.ImageIndex + 1 : d.ImageIndex;
}

}  // namespace tarnbook::project
