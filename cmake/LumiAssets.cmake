# The asset pipeline: SVG artwork -> PNG (rsvg-convert) -> MG01 (lumitool
# encode) -> one IDX2 archive per program (lumitool pack), plus the sounds.
# Every stage is a script that redoes only what is out of date; the custom
# commands list their products as byproducts, so Ninja re-checks them and
# stops a chain early when nothing changed.

find_package(Python3 3.9 REQUIRED COMPONENTS Interpreter)
find_program(LUMI_RSVG_CONVERT rsvg-convert)
find_program(LUMI_ESPEAK espeak-ng)
if(NOT LUMI_RSVG_CONVERT OR NOT LUMI_ESPEAK)
    message(FATAL_ERROR "The asset pipeline needs rsvg-convert and espeak-ng: run scripts/install-deps.sh")
endif()

set(LUMI_ASSET_SCRIPTS ${CMAKE_SOURCE_DIR}/data/scripts)
set(LUMI_ARCHIVE_DIR ${CMAKE_BINARY_DIR}/data/archives)

# The archive file of an asset set (monthly, daily, clock1 ... clock7).
function(lumi_archive_path name out_var)
    set(${out_var} ${LUMI_ARCHIVE_DIR}/${name}.idx2 PARENT_SCOPE)
endfunction()

# lumi_generated_svgs(NAME SCRIPT script.py FILES a.svg b.svg ... OUT var):
# runs the generator script once into a folder of its own; var receives the
# SVG paths and NAME_stamp names the stamp that later stages depend on.
function(lumi_generated_svgs name)
    cmake_parse_arguments(ARG "" "SCRIPT;OUT" "FILES" ${ARGN})
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/svg/${name})
    set(files)
    foreach(file IN LISTS ARG_FILES)
        list(APPEND files ${dir}/${file})
    endforeach()
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/stamps/${name}.svg.stamp)
    add_custom_command(OUTPUT ${stamp}
        BYPRODUCTS ${files}
        COMMAND ${Python3_EXECUTABLE} ${LUMI_ASSET_SCRIPTS}/${ARG_SCRIPT} ${dir}
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${LUMI_ASSET_SCRIPTS}/${ARG_SCRIPT} ${LUMI_ASSET_SCRIPTS}/lumiart.py
                ${LUMI_ASSET_SCRIPTS}/scenes.py
        COMMENT "Drawing ${name}"
        VERBATIM)
    set(${ARG_OUT} ${files} PARENT_SCOPE)
    set(${name}_stamp ${stamp} PARENT_SCOPE)
endfunction()

# lumi_asset_archive(NAME SVGS ... [SVG_STAMPS ...] [FILES ...] [FILE_STAMPS ...]
#                    [METHODS m1,m2]):
# renders and encodes the SVGs, stages them with the ready-made FILES
# (sounds), and packs the archive; the target lumi_archive_NAME builds it.
# METHODS limits the encoder to those methods (the smallest result wins).
function(lumi_asset_archive name)
    cmake_parse_arguments(ARG "" "METHODS" "SVGS;SVG_STAMPS;FILES;FILE_STAMPS" ${ARGN})
    set(method_args)
    if(ARG_METHODS)
        set(method_args --methods ${ARG_METHODS})
    endif()
    set(work ${CMAKE_CURRENT_BINARY_DIR}/${name})
    set(pngs)
    set(mgs)
    foreach(svg IN LISTS ARG_SVGS)
        get_filename_component(stem ${svg} NAME_WE)
        list(APPEND pngs ${work}/png/${stem}.png)
        list(APPEND mgs ${work}/mg/${stem}.mg)
    endforeach()
    set(stamps ${CMAKE_CURRENT_BINARY_DIR}/stamps)
    set(scripts ${LUMI_ASSET_SCRIPTS}/assets.py)

    add_custom_command(OUTPUT ${stamps}/${name}.png.stamp
        BYPRODUCTS ${pngs}
        COMMAND ${Python3_EXECUTABLE} ${scripts} render ${work}/png ${ARG_SVGS}
        COMMAND ${CMAKE_COMMAND} -E touch ${stamps}/${name}.png.stamp
        DEPENDS ${ARG_SVGS} ${ARG_SVG_STAMPS} ${scripts}
        COMMENT "Rendering the images of ${name}"
        VERBATIM)
    add_custom_command(OUTPUT ${stamps}/${name}.mg.stamp
        BYPRODUCTS ${mgs}
        COMMAND ${Python3_EXECUTABLE} ${scripts} encode ${method_args} $<TARGET_FILE:lumitool> ${work}/mg ${pngs}
        COMMAND ${CMAKE_COMMAND} -E touch ${stamps}/${name}.mg.stamp
        DEPENDS ${stamps}/${name}.png.stamp lumitool ${scripts}
        COMMENT "Encoding the images of ${name}"
        VERBATIM)
    lumi_archive_path(${name} archive)
    add_custom_command(OUTPUT ${archive}
        COMMAND ${Python3_EXECUTABLE} ${scripts} stage ${work}/staged ${mgs} ${ARG_FILES}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${LUMI_ARCHIVE_DIR}
        COMMAND $<TARGET_FILE:lumitool> pack ${work}/staged ${archive} --maker Lumi
        DEPENDS ${stamps}/${name}.mg.stamp ${ARG_FILES} ${ARG_FILE_STAMPS} lumitool ${scripts}
        COMMENT "Packing ${name}.idx2"
        VERBATIM)
    add_custom_target(lumi_archive_${name} ALL DEPENDS ${archive})
    set_property(GLOBAL APPEND PROPERTY LUMI_ARCHIVES ${name})
    set_property(GLOBAL PROPERTY LUMI_ARCHIVE_PNGS_${name} ${pngs})
endfunction()

# lumi_link_archive(TARGET NAME ID): embeds the archive NAME (monthly, daily,
# clock1 ... clock7) into the program TARGET under resource id ID and
# builds the archive first.
function(lumi_link_archive target name id)
    lumi_archive_path(${name} archive)
    set_source_files_properties(${archive} DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} PROPERTIES GENERATED TRUE)
    add_dependencies(${target} lumi_archive_${name})
    lumi_embed_archive(${target} ${archive} ID ${id})
endfunction()
