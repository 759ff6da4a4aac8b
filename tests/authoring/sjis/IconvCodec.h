#pragma once
#include <iconv.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tarnbook::testing {

// The system's iconv(3) as the independent reference converter.
class IconvCodec {
  public:
    IconvCodec(const char* from, const char* to) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
        }
    }
    ~IconvCodec() { iconv_close(cd_); }
    IconvCodec(const IconvCodec&) = delete;
    IconvCodec& operator=(const IconvCodec&) = delete;

    // The converted bytes, or nothing when iconv rejects the input.
    std::optional<std::string> convert(std::string_view in) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string out(in.size() * 4 + 16, '\0');
        char* ip = const_cast<char*>(in.data());
        std::size_t il = in.size();
        char* op = out.data();
        std::size_t ol = out.size();
        if (iconv(cd_, &ip, &il, &op, &ol) == static_cast<std::size_t>(-1)) return std::nullopt;
        if (iconv(cd_, nullptr, nullptr, &op, &ol) == static_cast<std::size_t>(-1)) {
            return std::nullopt;
        }
        out.resize(out.size() - ol);
        return out;
    }

  private:
    iconv_t cd_;
};

}  // namespace tarnbook::testing
