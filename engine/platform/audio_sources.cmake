# The audio device shared by the backends (the mixer and the headless
# output) and the MPEG-audio decoder, which wraps libmpg123.
target_sources(lumi_platform PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/audio_device.cpp
    ${CMAKE_CURRENT_LIST_DIR}/audio_mixer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/mpeg_audio_decoder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/headless/headless_audio.cpp)

find_package(PkgConfig REQUIRED)
pkg_check_modules(LUMI_MPG123 REQUIRED IMPORTED_TARGET libmpg123)
target_link_libraries(lumi_platform PRIVATE PkgConfig::LUMI_MPG123)
