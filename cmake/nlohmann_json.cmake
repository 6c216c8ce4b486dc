# nlohmann-json, header-only, from Debian's nlohmann-json3-dev (installed by scripts/setup). Only its own
# folder is linked into the build folder: the host's /usr/include on the cross compiler's path would put the
# host's C headers before MinGW's.
find_path(TRACEWIPE_NLOHMANN_JSON_ROOT nlohmann/json.hpp PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT TRACEWIPE_NLOHMANN_JSON_ROOT)
    message(FATAL_ERROR "nlohmann/json.hpp is missing: run scripts/setup (Debian package nlohmann-json3-dev)")
endif()
set(TRACEWIPE_NLOHMANN_JSON_DIR ${CMAKE_BINARY_DIR}/third_party/nlohmann_json)
file(MAKE_DIRECTORY ${TRACEWIPE_NLOHMANN_JSON_DIR})
file(CREATE_LINK ${TRACEWIPE_NLOHMANN_JSON_ROOT}/nlohmann ${TRACEWIPE_NLOHMANN_JSON_DIR}/nlohmann SYMBOLIC)
add_library(tracewipe_nlohmann_json INTERFACE)
target_include_directories(tracewipe_nlohmann_json SYSTEM INTERFACE ${TRACEWIPE_NLOHMANN_JSON_DIR})
