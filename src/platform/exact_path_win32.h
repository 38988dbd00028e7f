// The wide forms of exact paths, for the W calls of the Windows layer, and the
// program's own UTF-8 literals in the ANSI code page.
#pragma once

#include <string>

namespace morvane::platform {

std::wstring wideFromExact(const std::string& exact);
std::string exactFromWide(const std::wstring& wide);
// The wide text as the ANSI calls render it (see ansiFromExact).
std::string ansiFromWide(const std::wstring& wide);
// ANSI code page text for the W functions.
std::wstring wideFromAnsi(const std::string& ansi);
// UTF-8 text in the ANSI code page the A functions expect.
std::string ansiFromUtf8(const std::string& utf8);

}  // namespace morvane::platform
