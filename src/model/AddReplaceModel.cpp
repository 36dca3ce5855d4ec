#include "model/AddReplaceModel.h"

namespace zav {

VBool AddReplaceModel::validateReplace() {
    VBool valid = vbTrue;
    if (txtReplace.empty()) {
        reporter_->show(kEmptyMessage, kProgramTitle, MessageIcon::Stop);
        valid = vbFalse;
    }
    if (column_) {
        for (const auto& rule : column_->replaces) {
            if (rule->szReplace.size() == txtReplace.size() && equalsNoCase(rule->szReplace, txtReplace)) {
                reporter_->show(txtReplace + kDuplicateSuffix, kProgramTitle, MessageIcon::Stop);
                valid = vbFalse;
                break;
            }
        }
    }
    return valid;
}

bool AddReplaceModel::okClicked() {
    if (!column_) return false;
    if (validateReplace() == vbFalse) return false;
    column_->addReplace(txtReplace, txtWith);
    return true;
}

}  // namespace zav
