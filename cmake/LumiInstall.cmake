# Installation as a desktop application (cmake --install, and the package):
#
#   <prefix>/lib/lumi/             the nine programs and holidays.txt: the
#                                  program folder, found through /proc/self/exe
#   <prefix>/bin/                  a symbolic link per program, and lumitool
#   <prefix>/share/applications/   one desktop entry per program
#   <prefix>/share/icons/hicolor/  the program icons, 16 to 64 pixels and SVG
#   <prefix>/share/metainfo/       the AppStream description of the suite
#   <prefix>/share/man/man1/       lumitool's manual
#
# Included last from the top-level CMakeLists.txt, so every program target
# that exists is known; a program that is not built is left out.
#
# Run as a script (the uninstall target) it removes what an installation
# recorded in its manifest:
#   cmake -DLUMI_MANIFEST=<build>/install_manifest.txt -P LumiInstall.cmake

if(CMAKE_SCRIPT_MODE_FILE)
    if(NOT EXISTS "${LUMI_MANIFEST}")
        message(FATAL_ERROR "No installation recorded in ${LUMI_MANIFEST}: nothing to remove")
    endif()
    file(STRINGS "${LUMI_MANIFEST}" installed)
    set(folders)
    foreach(file IN LISTS installed)
        set(file "$ENV{DESTDIR}${file}")
        if(EXISTS "${file}" OR IS_SYMLINK "${file}")
            message(STATUS "Removing ${file}")
            file(REMOVE "${file}")
        endif()
        get_filename_component(folder "${file}" DIRECTORY)
        list(APPEND folders "${folder}")
    endforeach()
    # Our own folders go when they are empty; shared ones (bin, share/...) stay.
    # Loose skin files a user put beside the programs keep lib/lumi alive.
    list(REMOVE_DUPLICATES folders)
    list(SORT folders ORDER DESCENDING)
    foreach(folder IN LISTS folders)
        while(folder MATCHES "/(lib|share)/lumi(/[^/]+)?$")
            file(GLOB left "${folder}/*")
            if(left OR NOT IS_DIRECTORY "${folder}")
                break()
            endif()
            message(STATUS "Removing ${folder}/")
            file(REMOVE_RECURSE "${folder}")
            get_filename_component(folder "${folder}" DIRECTORY)
        endwhile()
    endforeach()
    return()
endif()

set(LUMI_INSTALL_PROGRAM_DIR lib/lumi)
set(LUMI_DESKTOP_TEMPLATES ${CMAKE_CURRENT_LIST_DIR}/../data/desktop)

# program, desktop template, clock face (empty for the calendars)
set(lumi_installed_programs
    "LumiMonthly|LumiMonthly|"
    "LumiClock|LumiClock|1"
    "LumiClock2|LumiClock|2"
    "LumiClock3|LumiClock|3"
    "LumiClock4|LumiClock|4"
    "LumiClock5|LumiClock|5"
    "LumiClock6|LumiClock|6"
    "LumiClock7|LumiClock|7"
    "LumiDaily|LumiDaily|")
set(lumi_digital_faces 3 4 7)

set(lumi_launcher_dir ${CMAKE_BINARY_DIR}/install-staging/launchers)
file(MAKE_DIRECTORY ${lumi_launcher_dir})

foreach(entry IN LISTS lumi_installed_programs)
    string(REPLACE "|" ";" fields "${entry}")
    list(GET fields 0 program)
    list(GET fields 1 template)
    list(GET fields 2 face)
    if(NOT TARGET ${program})
        message(STATUS "Install: ${program} is not built here and is left out")
        continue()
    endif()

    install(TARGETS ${program} RUNTIME DESTINATION ${LUMI_INSTALL_PROGRAM_DIR})

    # The launcher is a relative link, so the tree can be moved or staged
    # (DESTDIR, the package) and still point at its own program.
    file(CREATE_LINK ../${LUMI_INSTALL_PROGRAM_DIR}/${program} ${lumi_launcher_dir}/${program}
         SYMBOLIC)
    install(PROGRAMS ${lumi_launcher_dir}/${program} DESTINATION bin)

    # The desktop entry names the launcher by its absolute path, known only
    # at install time (--prefix, or /usr for the package).
    set(kind analog)
    set(kind_zh 指针)
    if(face IN_LIST lumi_digital_faces)
        set(kind digital)
        set(kind_zh 数字)
    endif()
    set(staged ${CMAKE_BINARY_DIR}/install-staging/applications/${program}.desktop)
    install(CODE "
        set(LUMI_LAUNCHER \"\${CMAKE_INSTALL_PREFIX}/bin/${program}\")
        set(LUMI_CLOCK_FACE \"${face}\")
        set(LUMI_CLOCK_KIND \"${kind}\")
        set(LUMI_CLOCK_KIND_ZH \"${kind_zh}\")
        configure_file(\"${LUMI_DESKTOP_TEMPLATES}/${template}.desktop.in\" \"${staged}\" @ONLY)
        file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/applications\" TYPE FILE
             FILES \"${staged}\")")
endforeach()

if(TARGET lumitool)
    install(TARGETS lumitool RUNTIME DESTINATION bin)
    find_program(LUMI_GZIP gzip REQUIRED)
    set(manual ${CMAKE_BINARY_DIR}/install-staging/man/lumitool.1)
    add_custom_command(OUTPUT ${manual}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/tools/lumitool/lumitool.1 ${manual}
        COMMAND ${LUMI_GZIP} -9nf ${manual}
        DEPENDS ${CMAKE_SOURCE_DIR}/tools/lumitool/lumitool.1
        COMMENT "Compressing lumitool's manual"
        VERBATIM)
    add_custom_target(lumi_manual ALL DEPENDS ${manual}.gz)
    install(FILES ${manual}.gz DESTINATION share/man/man1)
endif()

# The icons rendered by the asset pipeline: <name>-<size>.png beside the SVGs.
file(GLOB lumi_icon_svgs ${CMAKE_SOURCE_DIR}/data/icons/*.svg)
foreach(svg IN LISTS lumi_icon_svgs)
    get_filename_component(icon ${svg} NAME_WE)
    foreach(size 16 32 48 64)
        install(FILES ${CMAKE_BINARY_DIR}/data/icons/${icon}-${size}.png
                DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ${icon}.png)
    endforeach()
    install(FILES ${svg} DESTINATION share/icons/hicolor/scalable/apps)
endforeach()

install(FILES ${LUMI_DESKTOP_TEMPLATES}/org.lumi.Lumi.metainfo.xml DESTINATION share/metainfo)

add_custom_target(uninstall
    COMMAND ${CMAKE_COMMAND} -DLUMI_MANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
            -P ${CMAKE_CURRENT_LIST_FILE}
    COMMENT "Removing the installed files"
    VERBATIM)

include(LumiPackage)
