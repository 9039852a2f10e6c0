#include "model/app_state.h"

namespace tesselor {

std::string titleFor(const std::string& path) {
    return kAppTitle + " [" + path + "]";
}

} // namespace tesselor
