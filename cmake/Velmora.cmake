# Helpers shared by the folders' build files.

# ccache: the launcher carries the settings ccache needs, so that a build run by hand (plain cmake and
# ninja) caches as well as the scripts' builds. Every unit uses the shared precompiled header, and
# ccache caches such units only with the pch_defines and time_macros sloppiness; the header's .gch is
# written just before the units that read it, which the include_file_* sloppiness allows. Paths under
# the checkout are hashed relative to it (base folder), and the debug information names the checkout
# as "." instead of its absolute folder, so a clone in another folder hits the same cache entries.
# The cache folder and its size stay the user's (CCACHE_DIR, or scripts/env.sh for the scripts).
foreach(lang C CXX)
    set(launcher "${CMAKE_${lang}_COMPILER_LAUNCHER}")
    if(launcher MATCHES "(^|/)ccache$")
        set(CMAKE_${lang}_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env
            CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
            CCACHE_BASEDIR=${CMAKE_SOURCE_DIR} ${launcher})
        set(VELMORA_CCACHE ON)
    endif()
endforeach()
if(VELMORA_CCACHE)
    add_compile_options(-fdebug-prefix-map=${CMAKE_SOURCE_DIR}=.)
endif()

# One precompiled header for the whole build: made once by the target velmora_pch and reused by
# every library, program and test (REUSE_FROM), so Qt's headers are parsed once per build instead
# of once per target. It holds only what most units include. Reuse needs the same compile flags
# and definitions everywhere: definitions that differ between targets (the test programs' source
# and test-data folders) live in generated headers instead (cmake/VelmoraPaths.h.in).
set(VELMORA_PCH_HEADERS
    <QString> <QStringList> <QList> <QHash> <QByteArray> <QImage> <QPainter> <QFont> <QColor>
    <QRegion> <QWidget> <QPointer>
    <string> <vector> <functional> <memory> <algorithm> <map>)

add_library(velmora_pch STATIC ${CMAKE_SOURCE_DIR}/cmake/PchAnchor.cpp)
target_link_libraries(velmora_pch PUBLIC Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Network Qt6::PrintSupport)
target_precompile_headers(velmora_pch PRIVATE ${VELMORA_PCH_HEADERS})

# The folders, test-data and build folders as macros of a generated header (VelmoraPaths.h).
configure_file(${CMAKE_SOURCE_DIR}/cmake/VelmoraPaths.h.in ${CMAKE_BINARY_DIR}/generated/VelmoraPaths.h @ONLY)

function(velmora_pch target)
    # Every target that reuses the header needs the same Qt definitions as velmora_pch.
    target_link_libraries(${target} PRIVATE Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Network Qt6::PrintSupport)
    target_precompile_headers(${target} REUSE_FROM velmora_pch)
endfunction()

# The sources of a folder: every .cpp and .h in it.
function(velmora_glob out dir)
    file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
    set(${out} ${srcs} PARENT_SCOPE)
endfunction()

# velmora_library(NAME <target> [DIRS <dir>...] LIBS <libs>...)
# A static library of every .cpp in the current folder (and the listed sub-folders).
function(velmora_library)
    cmake_parse_arguments(A "" "NAME" "DIRS;LIBS" ${ARGN})
    velmora_glob(srcs ${CMAKE_CURRENT_SOURCE_DIR})
    foreach(d ${A_DIRS})
        velmora_glob(more ${CMAKE_CURRENT_SOURCE_DIR}/${d})
        list(APPEND srcs ${more})
    endforeach()
    add_library(${A_NAME} STATIC ${srcs})
    target_include_directories(${A_NAME} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    foreach(d ${A_DIRS})
        target_include_directories(${A_NAME} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/${d})
    endforeach()
    target_link_libraries(${A_NAME} PUBLIC ${A_LIBS})
    velmora_pch(${A_NAME})
endfunction()

# velmora_library_sources(<target>)
# A folder that compiles into a library made elsewhere (the drop-down editors into the control
# library): its sources and its include folder join that target.
function(velmora_library_sources target)
    velmora_glob(srcs ${CMAKE_CURRENT_SOURCE_DIR})
    if(srcs)
        target_sources(${target} PRIVATE ${srcs})
    endif()
    target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
endfunction()

# velmora_test(NAME <target> DIR <folder under tests/> LIBS <libs>...)
# One test program per folder: every .cpp in it plus the shared test main. The program runs as a
# few CTest entries (shards, one per three test sources), each running its share of the tests in
# one process through tests/run_shard.sh: a start-up of a sanitized Qt program costs more than most
# tests, and a test that aborts is named while the rest of its shard still runs.
function(velmora_test)
    cmake_parse_arguments(A "" "NAME;DIR" "LIBS" ${ARGN})
    file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${A_DIR}/*.cpp)
    add_executable(${A_NAME} ${srcs} ${CMAKE_SOURCE_DIR}/tests/common/TestMain.cpp)
    target_include_directories(${A_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests/common ${CMAKE_BINARY_DIR}/generated)
    target_link_libraries(${A_NAME} PRIVATE ${A_LIBS} GTest::gtest GTest::gmock)
    velmora_pch(${A_NAME})
    list(LENGTH srcs nsrc)
    math(EXPR shards "(${nsrc} + 2) / 3")
    math(EXPR last "${shards} - 1")
    foreach(i RANGE ${last})
        add_test(NAME ${A_NAME}.shard${i}
                 COMMAND bash ${CMAKE_SOURCE_DIR}/tests/run_shard.sh $<TARGET_FILE:${A_NAME}> ${i} ${shards})
        set_tests_properties(${A_NAME}.shard${i} PROPERTIES
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
    endforeach()
endfunction()
