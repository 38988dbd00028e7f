// The wide forms of exact paths, for the W calls of the Windows layer.
#pragma once

#include <string>

namespace morvane::platform {

std::wstring wideFromExact(const std::string& exact);
std::string exactFromWide(const std::wstring& wide);
// The wide text as the ANSI calls render it (see ansiFromExact).
std::string ansiFromWide(const std::wstring& wide);

}  // namespace morvane::platform
