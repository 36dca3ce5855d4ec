// The Windows build's grid sources: a window told as a grid target, and the source of its kind.
#include <memory>

#include "capture/win32/ListBoxSource.h"
#include "capture/win32/ListViewSource.h"
#include "capture/win32/SystemGridSources.h"
#include "capture/win32/TreeViewSource.h"
#include "capture/win32/WindowText.h"

namespace zav {
namespace {

// What a window that is no grid control opens: a source that reads nothing.
class RefusedSource final : public IGridSource {
public:
    VBool readListViewInfo(ListViewInfo& info) override {
        info = ListViewInfo{};
        return vbFalse;
    }
    std::wstring getColumnText(std::int32_t) override { return {}; }
    std::wstring getCellText(std::int32_t, std::int32_t) override { return {}; }
    CaptureFailure failure() const override { return CaptureFailure::NotAGrid; }
};

class SystemGridSourceFactory final : public IGridSourceFactory {
public:
    explicit SystemGridSourceFactory(const CaptureOptions& options) : options_(options) {}
    std::unique_ptr<IGridSource> openGridSource(const GridTarget& target) override {
        // Each kind through its own messages, as the target's kind says.
        switch (target.kind) {
            case ControlKind::ListBox:
            case ControlKind::ComboBox: return ListBoxSource::open(target, options_);
            case ControlKind::TreeView: return TreeViewSource::open(target, options_);
            case ControlKind::ListView: return ListViewSource::openListViewBuffers(target, options_);
            case ControlKind::None: break;
        }
        return std::make_unique<RefusedSource>();
    }

private:
    CaptureOptions options_;
};

}  // namespace

GridTarget gridTargetOf(WindowHandle hWnd) {
    GridTarget target;
    target.window = hWnd;
    target.className = getWindowClass(hWnd, 64);
    target.kind = controlKindOfClass(target.className);
    return target;
}

std::unique_ptr<IGridSourceFactory> makeSystemGridSourceFactory() { return makeSystemGridSourceFactory(CaptureOptions{}); }

std::unique_ptr<IGridSourceFactory> makeSystemGridSourceFactory(const CaptureOptions& options) {
    return std::make_unique<SystemGridSourceFactory>(options);
}

}  // namespace zav
