# Fails when a source file includes a header of a layer above its own. Run as
#   cmake -DSOURCE_DIR=<src> -DSTAMP=<file> -P check_layers.cmake
# Each layer may include itself and the layers listed before it; the order is the one in
# src/CMakeLists.txt (kora_layers) and the README's Layout section.
cmake_minimum_required(VERSION 3.22)
set(layers base platform calc strength engine persistence graphics reports ui app)
# Layers side by side: persistence and graphics do not see each other.
set(apart_persistence graphics)
set(apart_graphics persistence)

set(failures "")
set(below "")
foreach(layer IN LISTS layers)
    set(allowed ${below} ${layer})
    if(DEFINED apart_${layer})
        list(REMOVE_ITEM allowed ${apart_${layer}})
    endif()
    file(GLOB files ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.cpp)
    foreach(file IN LISTS files)
        file(STRINGS ${file} includes REGEX "^#include \"[a-z_]+/")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^#include \"([a-z_]+)/.*" "\\1" target "${line}")
            if(NOT target IN_LIST allowed)
                file(RELATIVE_PATH rel ${SOURCE_DIR} ${file})
                string(APPEND failures "  ${rel}: ${line} (${layer} may use: ${allowed})\n")
            endif()
        endforeach()
    endforeach()
    list(APPEND below ${layer})
endforeach()

if(failures)
    message(FATAL_ERROR "Includes that run up or across the layers:\n${failures}")
endif()
file(TOUCH ${STAMP})
