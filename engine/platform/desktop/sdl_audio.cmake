# The desktop's SDL2 audio output, a library of its own: the desktop backend
# links it and returns an SdlAudioDevice from Audio().
find_package(PkgConfig REQUIRED)
pkg_check_modules(LUMI_SDL2 REQUIRED IMPORTED_TARGET sdl2)
add_library(lumi_platform_sdl_audio STATIC ${CMAKE_CURRENT_LIST_DIR}/desktop_audio_sdl.cpp)
target_link_libraries(lumi_platform_sdl_audio PUBLIC lumi_platform PRIVATE PkgConfig::LUMI_SDL2)
