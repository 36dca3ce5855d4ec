// Placeholder until the portable profile layer lands.
#include <stdexcept>

#include "ini/Profile.h"

namespace zav {
std::unique_ptr<IProfile> makePortableProfile(const std::string&) {
    throw std::logic_error("portable profile layer not built yet");
}
}  // namespace zav
