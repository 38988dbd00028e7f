#include "recording_writer/body_builder.h"

#include "recording_writer/header_builder.h"

namespace morvane::fixtures {

int64_t BodyBuilder::chatAfter(int32_t first, int32_t second, std::string_view message,
                               std::optional<int32_t> declaredLength) {
  i32(first);
  i32(second);
  appendChatMessage(*this, message, declaredLength);
  return size() - static_cast<int64_t>(message.size());
}

}  // namespace morvane::fixtures
