#pragma once
#include <string_view>
#include <vector>

// The link targets of an HTML page, as the compile log counts them and as the own back end
// follows them to pull referenced files into the compiled help.
namespace tarnbook::hhc {

// Values of href= and src= attributes (quoted or bare), in page order, as written.
std::vector<std::string_view> linkValues(std::string_view html);

// scheme://..., mailto: and news: addresses.
bool isWebAddress(std::string_view value);

}  // namespace tarnbook::hhc
