#include "winhelp/HpjConvertForm.h"

#include "platform/Cp932.h"
#include "platform/IoError.h"

namespace tarnbook::winhelp {

namespace platform = tarnbook::platform;

std::string& HpjConvertForm::lastPath() {
    static std::string path;
    return path;
}

void HpjConvertForm::reset() {
    step_ = 1;
    hpj_.clear();
    check_.clear();
    convert_.clear();
    end_.clear();
    okEnabled_ = false;
    changed();
}

void HpjConvertForm::fail(const std::string& text) {
    result_ = text;
    reset();
}

void HpjConvertForm::convert(const std::string& hpjPath, const ConversionProgress& progress) {
    lastPath() = hpjPath;
    result_.clear();
    warnings_.clear();
    hpj_ = platform::cp932ToUtf8(hpjPath);
    check_ = "プロジェクトファイル確認中";
    step_ = 2;
    changed();
    try {
        const CheckedProject checked = checkWinHelpProject(hpjPath);
        warnings_ = checked.warnings;
        if (!checked.error.empty()) {
            warnings_.push_back(checked.error);
            return fail(" NotFound :<");
        }
        check_ = std::to_string(checked.hpj.topicFiles.size()) + " RTF" +
                 (checked.cnt ? ", CNT" : "") +
                 (checked.hpj.map.empty() ? "" : ", MAP " + std::to_string(checked.hpj.map.size()));
        convert_ = "コンバート中";
        step_ = 3;
        changed();
        const ConvertedTopics topics = convertTopicFiles(checked, [&](int p) {
            if (progress) progress(p / 2);
        });
        convert_ = std::to_string(topics.topics.size()) + " topics";
        end_ = "登録中";
        step_ = 4;
        changed();
        const ConversionResult r = registerConversion(checked, topics, target_, [&](int p) {
            if (progress) progress(50 + p / 2);
        });
        warnings_ = r.warnings;
        if (r.cancelled) return fail("Convert Cancel :<");
        treeChanged_ = treeChanged_ || r.nodes > 0;
        end_ = std::to_string(r.pages.size()) + " pages, " + std::to_string(r.nodes) + " nodes";
        result_ = r.summary();
        okEnabled_ = true;
        changed();
    } catch (const platform::IoError& e) {
        fail(std::string("Convert Error :< ") + e.what());
    }
}

}  // namespace tarnbook::winhelp
