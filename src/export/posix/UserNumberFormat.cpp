#include "export/NumericText.h"

namespace zav {

NumberFormat userNumberFormat() { return usEnglishNumberFormat(); }

}  // namespace zav
