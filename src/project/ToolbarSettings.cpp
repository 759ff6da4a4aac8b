#include "project/ToolbarSettings.h"

#include <algorithm>
#include <numeric>
#include <string>

namespace tarnbook::project {

const std::array<ToolbarSpec, kToolbarCount>& toolbarSpecs() {
    static const std::array<ToolbarSpec, kToolbarCount> specs = {{
        {"ToolBarFile",
         "mnuFile",
         "Tbar",
         "mnuFile",
         14,
         15,
         1,
         {"FileExit1", "ProjectOpen", "FileSave", "ProjectSaveAs"}},
        {"ToolBarPrj",
         "mnuPrj",
         "Tbar",
         "mnuPrj",
         125,
         4095,
         -1,
         {"NewProject", "OpenPrjFolder", "GoCompile", "ViewCHM", "ViewLog", "ProjectProperty",
          "ImportFolder", "PutMap", "GenIndex", "Maintenance", "ExportWeb", "ImportHHP"}},
        {"ToolBarTools",
         "mnuTool",
         "TBar",
         "mnuTools",
         2,
         127,
         -1,
         {"ShowSetting", "TemplateSetting", "ImportFilter", "BarCustomize", "DeleteViewerStateFile",
          "DeCompile", "Capture"}},
        {"ToolBarBrowser",
         "mnuBrowser",
         "TBar",
         "mnuBrowser",
         7,
         15,
         3,
         {"NavigateBack", "NavigateNext", "ViewRedraw", "FontSize"}},
        {"ToolBarEditor",
         "mnuEditor",
         "TBar",
         "mnuEditor",
         3,
         31,
         -1,
         {"TagSave", "TagUndo", "EditCut1", "EditCopy1", "EditPaste1"}},
        {"ToolBarTag",
         "mnuTag",
         "TBar",
         "mnuTag",
         7,
         4095,
         -1,
         {"TagPopup", "TagExt", "TagRelated", "TagA", "TagATo", "TagK", "TagKto", "TagAnchor",
          "TagHref", "TagDirector", "TagFlash", "TagSound"}},
    }};
    return specs;
}

ToolbarMasks readToolbarMasks(const platform::IniFile& settings) {
    ToolbarMasks masks{};
    for (std::size_t i = 0; i < kToolbarCount; ++i) {
        const auto& s = toolbarSpecs()[i];
        masks[i] = settings.readInteger(s.maskSection, s.maskKey, s.defaultMask);
    }
    return masks;
}

void writeToolbarMasks(platform::IniFile& settings, const ToolbarMasks& masks) {
    for (std::size_t i = 0; i < kToolbarCount; ++i) {
        const auto& s = toolbarSpecs()[i];
        settings.writeInteger(s.maskSection, s.maskKey, masks[i]);
    }
}

ToolbarLook toolbarLook(const ToolbarSpec& entry, int mask) {
    ToolbarLook look;
    look.buttons.assign(entry.buttons.size(), false);
    if (mask < 0 || mask > entry.largestMask) return look;
    int shown = 0;
    for (std::size_t k = 0; k < entry.buttons.size(); ++k) {
        if ((mask >> k) & 1) {
            look.buttons[k] = true;
            ++shown;
        }
    }
    look.visible = shown > 0;
    if (!look.visible) return look;
    look.width = kToolbarButtonWidth * shown;
    if (entry.dropDownButton >= 0 && look.buttons[static_cast<std::size_t>(entry.dropDownButton)])
        look.width += kDropDownArrowWidth;
    return look;
}

int maskOf(const std::vector<bool>& buttons) {
    int mask = 0;
    for (std::size_t k = 0; k < buttons.size(); ++k)
        if (buttons[k]) mask |= 1 << k;
    return mask;
}

namespace {
std::string topKey(const ToolbarSpec& s) {
    return std::string(s.positionKey) + ".top";
}
std::string leftKey(const ToolbarSpec& s) {
    return std::string(s.positionKey) + ".left";
}
}  // namespace

std::optional<ToolbarPositions> readToolbarPositions(const platform::IniFile& settings) {
    if (!settings.sectionExists(kToolbarPositionSection)) return std::nullopt;
    ToolbarPositions p{};
    for (std::size_t i = 0; i < kToolbarCount; ++i) {
        const auto& s = toolbarSpecs()[i];
        p[i].top = settings.readInteger(kToolbarPositionSection, topKey(s), 0);
        p[i].left = settings.readInteger(kToolbarPositionSection, leftKey(s), 0);
    }
    return p;
}

void writeToolbarPositions(platform::IniFile& settings, const ToolbarPositions& positions) {
    for (std::size_t i = 0; i < kToolbarCount; ++i) {
        const auto& s = toolbarSpecs()[i];
        settings.writeInteger(kToolbarPositionSection, topKey(s), positions[i].top);
        settings.writeInteger(kToolbarPositionSection, leftKey(s), positions[i].left);
    }
}

ToolbarPositions chainedToolbarPositions(const ToolbarPositions& current,
                                         const std::array<int, kToolbarCount>& widths) {
    ToolbarPositions p = current;
    const int row = p[1].top;
    for (std::size_t i = 1; i < kToolbarCount; ++i) {
        p[i].top = row;
        p[i].left = p[i - 1].left + widths[i - 1];
    }
    return p;
}

std::vector<std::vector<std::size_t>> toolbarRows(const ToolbarPositions& positions) {
    std::vector<std::size_t> order(kToolbarCount);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const auto& pa = positions[a];
        const auto& pb = positions[b];
        return pa.top != pb.top ? pa.top < pb.top : pa.left < pb.left;
    });
    std::vector<std::vector<std::size_t>> rows;
    for (std::size_t i : order) {
        if (rows.empty() || positions[rows.back().front()].top != positions[i].top)
            rows.emplace_back();
        rows.back().push_back(i);
    }
    return rows;
}

const std::vector<ToolbarDialogRow>& toolbarDialogRows() {
    static const std::vector<ToolbarDialogRow> rows = [] {
        std::vector<ToolbarDialogRow> r;
        for (std::size_t t = 0; t < kToolbarCount; ++t) {
            r.push_back({true, t, 0, {}});
            const auto& buttons = toolbarSpecs()[t].buttons;
            for (std::size_t b = 0; b < buttons.size(); ++b) r.push_back({false, t, b, buttons[b]});
        }
        return r;
    }();
    return rows;
}

std::vector<bool> dialogChecks(const ToolbarMasks& masks) {
    const auto& rows = toolbarDialogRows();
    std::vector<bool> checks(rows.size(), false);
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (!rows[i].separator) checks[i] = (masks[rows[i].toolbar] >> rows[i].button) & 1;
    return checks;
}

ToolbarMasks masksFromDialogChecks(const std::vector<bool>& checks) {
    ToolbarMasks masks{};
    const auto& rows = toolbarDialogRows();
    for (std::size_t i = 0; i < rows.size() && i < checks.size(); ++i)
        if (!rows[i].separator && checks[i]) masks[rows[i].toolbar] |= 1 << rows[i].button;
    return masks;
}

}  // namespace tarnbook::project
