#include "compile/DecompileForm.h"

#include "compile/Decompile.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace tarnbook::compile {

bool DecompileForm::okEnabled() const {
    return !chmPath_.empty() && platform::fileExists(chmPath_);
}

bool DecompileForm::acceptsDrag(const std::vector<std::string>& files) {
    return !files.empty() &&
           platform::lowerCaseSjis(platform::extensionPart(files.front())) == ".chm";
}

std::string decompileSummary(const DecompileResult& r, const std::string& outputFolder,
                             std::size_t maxWarnings) {
    using platform::cp932ToUtf8;
    std::string text;
    if (!r.error.empty())
        text = "逆コンパイルを最後まで完了できませんでした。\n" + cp932ToUtf8(r.error) + "\n\n";
    text += std::to_string(r.filesWritten) + " 個のファイルを [ " + cp932ToUtf8(outputFolder) +
            " ] に保存しました。";
    if (r.internalSkipped)
        text += "\n内部ファイル (#, $, ::) " + std::to_string(r.internalSkipped) +
                " 個は保存していません。";
    if (!r.warnings.empty()) {
        text += "\n\n警告 " + std::to_string(r.warnings.size()) + " 件:";
        for (std::size_t i = 0; i < r.warnings.size() && i < maxWarnings; ++i)
            text += "\n" + cp932ToUtf8(r.warnings[i]);
        if (r.warnings.size() > maxWarnings)
            text += "\nほか " + std::to_string(r.warnings.size() - maxWarnings) + " 件";
    }
    return text;
}

bool DecompileForm::drop(const std::vector<std::string>& files) {
    if (!acceptsDrag(files)) return false;
    chmPath_ = files.front();
    return true;
}

}  // namespace tarnbook::compile
