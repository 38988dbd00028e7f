// The list's small-icon images, as the folder scan fills them.
#pragma once

#include <string>

namespace morvane {

class IconSource {
 public:
  virtual ~IconSource() = default;
  // Removes every image.
  virtual void clear() = 0;
  // Appends the icon of the file or folder at fullPath (an exact path); its
  // image index, or -1 when no icon could be obtained or stored.
  virtual int addIconFor(const std::string& fullPath) = 0;
};

}  // namespace morvane
