// ICU's converter functions, taken from the library when a decoder is first
// wanted rather than linked: a run that decodes nothing never maps ICU (about
// 0.65 ms of every start).
#pragma once

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include <memory>

namespace morvane::platform {

class IcuLibrary {
 public:
  // Null when the library or one of its functions cannot be found.
  static std::shared_ptr<const IcuLibrary> load();
  ~IcuLibrary();
  IcuLibrary(const IcuLibrary&) = delete;
  IcuLibrary& operator=(const IcuLibrary&) = delete;

  decltype(&ucnv_open) open = nullptr;
  decltype(&ucnv_close) close = nullptr;
  decltype(&ucnv_reset) reset = nullptr;
  decltype(&ucnv_toUnicode) toUnicode = nullptr;
  decltype(&ucnv_setToUCallBack) setToUCallBack = nullptr;
  decltype(&ucnv_cbToUWriteUChars) cbToUWriteUChars = nullptr;
  decltype(&ucnv_countAliases) countAliases = nullptr;
  decltype(&ucnv_fromUChars) fromUChars = nullptr;
  decltype(&ucnv_setSubstChars) setSubstChars = nullptr;

 private:
  explicit IcuLibrary(void* handle) : handle_(handle) {}
  void* handle_;
};

}  // namespace morvane::platform
