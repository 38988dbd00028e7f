#include "library/play_names.h"

namespace morvane {

const char* technologyName(int32_t, VersionFamily) { return nullptr; }
const char* unitName(int32_t, VersionFamily) { return nullptr; }
const char* technologyNameInJapanese(int32_t, VersionFamily) { return nullptr; }
const char* unitNameInJapanese(int32_t, VersionFamily) { return nullptr; }

}  // namespace morvane
