#include "job/OpenedGrid.h"

#include "catalog/Catalog.h"
#include "core/Error.h"

namespace zav {

std::wstring OpenedGrid::problem() const {
    if (!source) return describeCaptureFailure(CaptureFailure::NoWindow, info.kind);
    return describeCaptureFailure(source->failure(), info.kind, source->failureDetail());
}

std::wstring OpenedGrid::controlName() const { return controlNameOf(info.kind); }

std::wstring controlNameOf(ControlKind kind) {
    return describeControlKind(kind == ControlKind::None ? ControlKind::ListView : kind);
}

std::shared_ptr<OpenedGrid> openGrid(IGridSourceFactory& factory, const GridTarget& target) {
    auto grid = std::make_shared<OpenedGrid>();
    grid->info.hWnd = target.window;
    if (target.kind != ControlKind::None) grid->info.kind = target.kind;
    grid->source = factory.openGridSource(target);
    if (grid->source) grid->source->readListViewInfo(grid->info);
    return grid;
}

std::wstring controlKindMark(ControlKind kind) {
    switch (kind) {
        case ControlKind::TreeView: return L"{TreeView}";
        case ControlKind::ListBox: return L"{ListBox}";
        case ControlKind::ComboBox: return L"{ComboBox}";
        case ControlKind::ListView:
        case ControlKind::None: break;
    }
    return L"";
}

std::wstring buildColumnSignature(const ListViewInfo& lvInfo) {
    std::vector<std::wstring> texts;
    for (std::int32_t i = 1; i <= lvInfo.lColumnCount; ++i) {
        if (static_cast<std::size_t>(i) >= lvInfo.szColumnText.size())
            throw Error(kErrSubscript, L"buildColumnSignature", L"Subscript out of range");
        texts.push_back(lvInfo.szColumnText[static_cast<std::size_t>(i)]);
    }
    // Every other kind is marked so that its types are never offered for a list view whose header
    // reads the same (and the other way round); a list view's signature stays as it always was,
    // and with it every saved type and catalog.
    if (texts.empty()) return buildColumnSignature(texts);
    return controlKindMark(lvInfo.kind) + buildColumnSignature(texts);
}

}  // namespace zav
