#include "platform/icu_library.h"

#include <dlfcn.h>
#include <unicode/uvernum.h>

// The exported names carry ICU's version suffix ("ucnv_open_72"); the
// headers' renaming macros give them.
#define MORVANE_ICU_NAME(function) MORVANE_ICU_QUOTE(function)
#define MORVANE_ICU_QUOTE(function) #function

namespace morvane::platform {
namespace {

template <typename Function>
bool take(void* handle, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(handle, name));
  return function != nullptr;
}

}  // namespace

std::shared_ptr<const IcuLibrary> IcuLibrary::load() {
  // Never unmapped: ICU keeps caches that outlive any one decoder.
  void* handle = dlopen("libicuuc.so." U_ICU_VERSION_SHORT, RTLD_LAZY | RTLD_LOCAL | RTLD_NODELETE);
  if (handle == nullptr) return nullptr;
  std::shared_ptr<IcuLibrary> icu(new IcuLibrary(handle));
  const bool complete =
      take(handle, MORVANE_ICU_NAME(ucnv_open), icu->open) &&
      take(handle, MORVANE_ICU_NAME(ucnv_close), icu->close) &&
      take(handle, MORVANE_ICU_NAME(ucnv_reset), icu->reset) &&
      take(handle, MORVANE_ICU_NAME(ucnv_toUnicode), icu->toUnicode) &&
      take(handle, MORVANE_ICU_NAME(ucnv_setToUCallBack), icu->setToUCallBack) &&
      take(handle, MORVANE_ICU_NAME(ucnv_cbToUWriteUChars), icu->cbToUWriteUChars) &&
      take(handle, MORVANE_ICU_NAME(ucnv_countAliases), icu->countAliases) &&
      take(handle, MORVANE_ICU_NAME(ucnv_fromUChars), icu->fromUChars) &&
      take(handle, MORVANE_ICU_NAME(ucnv_setSubstChars), icu->setSubstChars);
  if (!complete) return nullptr;
  return icu;
}

IcuLibrary::~IcuLibrary() { dlclose(handle_); }

}  // namespace morvane::platform
