#include "project/ContextPopups.h"

#include <array>

namespace tarnbook::project {

namespace {

// The three item dialogs share their field texts (10086-10098), so the same numbers recur.
constexpr std::array kPopups = std::to_array<ContextPopup>({
    {"TfrmWizard", "EditPrjName", 10001},
    {"TfrmWizard", "RGNodeIcon", 10002},
    {"TfrmWizard", "CBStyle", 10005},
    {"TfrmPrjTmpSetting", "RGNodeIcon", 10002},
    {"TfrmPrjTmpSetting", "ComboBox1", 10006},

    {"TdlgNewHeading", "EditHeadTitle", 10086},
    {"TdlgNewHeading", "EditHeadHTML", 10087},
    {"TdlgNewHeading", "CmbBoxAnchor", 10088},
    {"TdlgNewHeading", "CBIconList", 10089},
    {"TdlgNewHeading", "AutoNew", 10090},
    {"TdlgNewHeading", "FileOpen1", 10091},
    {"TdlgNewHeading", "SearchAnchor", 10092},
    {"TdlgNewContent", "EditContentTitle", 10086},
    {"TdlgNewContent", "EditContentHTML", 10087},
    {"TdlgNewContent", "CmbBoxAnchor", 10088},
    {"TdlgNewContent", "CBIcon2", 10089},
    {"TdlgNewContent", "AutoNew", 10090},
    {"TdlgNewContent", "FileOpen1", 10091},
    {"TdlgNewContent", "SearchAnchor", 10092},
    {"TfrmPropChange", "EditTitle", 10086},
    {"TfrmPropChange", "EditHTML", 10087},
    {"TfrmPropChange", "CmbboxAnchor", 10088},
    {"TfrmPropChange", "CB1", 10089},
    {"TfrmPropChange", "CB2", 10089},
    {"TfrmPropChange", "FileOpen1", 10091},
    {"TfrmPropChange", "EditKeyWord", 10093},
    {"TfrmPropChange", "CBKWsub", 10094},
    {"TfrmPropChange", "EditKWsub", 10094},
    {"TfrmPropChange", "EditID", 10095},
    {"TfrmPropChange", "CngType", 10099},
    {"TdlgNewPopup", "EditPopCall", 10096},
    {"TdlgNewPopup", "MemoPopTxt", 10097},
    {"TdlgNewPopup", "FontEdit1", 10098},

    {"TfrmSetting", "PROJECT", 10201},
    {"TfrmSetting", "HHC", 10202},
    {"TfrmSetting", "EditHTML", 10203},
    {"TfrmSetting", "EditTXT", 10203},
    {"TfrmSetting", "Prefix", 10204},
    {"TfrmSetting", "SetCompleteDest", 10205},
    {"TfrmSetting", "SetCompleteDestPath", 10205},

    {"TfrmImportFilter", "ChkLstBoxOnlyImport", 10301},
    {"TfrmImportFilter", "ChkLstBoxSkipFolder", 10302},
    {"TfrmURLFilter", "lstbxURLFilter", 10303},
    {"TfrmSelectGetTitle", "rGroupSelectGetTitle", 10304},
    {"TfrmMaintenance", "AnalizeButton", 10401},
    {"TfrmMaintenance", "EraceButton", 10402},
});

}  // namespace

std::span<const ContextPopup> contextPopups() {
    return kPopups;
}

std::optional<std::uint32_t> contextPopupOf(std::string_view dialog, std::string_view control) {
    for (const ContextPopup& p : kPopups)
        if (p.dialog == dialog && p.control == control) return p.id;
    return std::nullopt;
}

}  // namespace tarnbook::project
