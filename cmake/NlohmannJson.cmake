# The JSON reader for the Definitive Edition's chat messages: Debian's
# header-only nlohmann-json3-dev. Natively its own package config; in the
# Windows builds only its folder is put on the include path, through a link
# in the build tree, since adding /usr/include would let the cross compiler
# pick up the host's other headers. Either way the target is morvane_json.
add_library(morvane_json INTERFACE)
if(NOT CMAKE_CROSSCOMPILING)
  find_package(nlohmann_json 3 REQUIRED)
  target_link_libraries(morvane_json INTERFACE nlohmann_json::nlohmann_json)
  return()
endif()

set(MORVANE_JSON_HEADERS "/usr/include/nlohmann"
    CACHE PATH "Folder of Debian's nlohmann-json3-dev headers (json.hpp)")
if(NOT EXISTS "${MORVANE_JSON_HEADERS}/json.hpp")
  message(FATAL_ERROR "nlohmann/json.hpp not found in ${MORVANE_JSON_HEADERS}: run scripts/install-deps.sh")
endif()
set(_json_root "${CMAKE_BINARY_DIR}/third_party/json_include")
file(MAKE_DIRECTORY "${_json_root}")
file(CREATE_LINK "${MORVANE_JSON_HEADERS}" "${_json_root}/nlohmann" SYMBOLIC)
target_include_directories(morvane_json SYSTEM INTERFACE "${_json_root}")
