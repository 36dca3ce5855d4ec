#include "core/Platform.h"

namespace zav {

Services& services() {
    static Services instance;
    return instance;
}

}  // namespace zav
