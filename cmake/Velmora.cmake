# Helpers shared by the folders' build files.

# Qt's headers are large: every target precompiles them once.
function(velmora_pch target)
    target_precompile_headers(${target} PRIVATE <QtCore> <QtGui> <QtWidgets> <string> <vector> <functional> <memory>)
endfunction()

# velmora_library(NAME <target> [DIRS <dir>...] LIBS <libs>...)
# A static library of every .cpp in the current folder (and the listed sub-folders).
function(velmora_library)
    cmake_parse_arguments(A "" "NAME" "DIRS;LIBS" ${ARGN})
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    foreach(d ${A_DIRS})
        file(GLOB more CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${d}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${d}/*.h)
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

# velmora_test(NAME <target> DIR <folder under tests/> LIBS <libs>...)
# One test program per folder: every .cpp in it plus the shared test main.
function(velmora_test)
    cmake_parse_arguments(A "" "NAME;DIR" "LIBS" ${ARGN})
    file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${A_DIR}/*.cpp)
    add_executable(${A_NAME} ${srcs} ${CMAKE_SOURCE_DIR}/tests/common/TestMain.cpp)
    target_include_directories(${A_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests/common)
    target_link_libraries(${A_NAME} PRIVATE ${A_LIBS} GTest::gtest GTest::gmock)
    target_compile_definitions(${A_NAME} PRIVATE
        VELMORA_SOURCE_DIR="${CMAKE_SOURCE_DIR}" VELMORA_TESTDATA_DIR="${CMAKE_SOURCE_DIR}/../shared/testdata")
    velmora_pch(${A_NAME})
    add_test(NAME ${A_NAME} COMMAND ${A_NAME})
    set_tests_properties(${A_NAME} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 900)
endfunction()
