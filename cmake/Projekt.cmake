# Build settings shared by every target of the project.

set(PV_WARNINGS -Wall -Wextra)
if(PV_WERROR)
    list(APPEND PV_WARNINGS -Werror)
endif()

if(PV_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# Strict Qt string handling everywhere: no silent conversions from char*.
add_compile_definitions(QT_NO_CAST_FROM_BYTEARRAY QT_STRICT_ITERATORS QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)

# One static library per source folder.
#   pv_add_library(<name> SOURCES ... [LIBS ...])
function(pv_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_compile_options(${name} PRIVATE ${PV_WARNINGS})
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# Environment every test runs in: offscreen windows, a private runtime folder, sanitizers that fail.
set(PV_XDG_RUNTIME_DIR ${CMAKE_BINARY_DIR}/xdg-runtime)
file(MAKE_DIRECTORY ${PV_XDG_RUNTIME_DIR})
file(CHMOD ${PV_XDG_RUNTIME_DIR} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
set(PV_TEST_ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen"
    "XDG_RUNTIME_DIR=${PV_XDG_RUNTIME_DIR}"
    "LANG=C.UTF-8"
    "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=0"
    "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
    "QTEST_FUNCTION_TIMEOUT=240000"
    "PV_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
    "PV_BINARY_DIR=${CMAKE_BINARY_DIR}")

# One Qt Test executable per test file, registered with ctest.
#   pv_add_test(<name> SOURCES ... [LIBS ...])
function(pv_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE ${PV_WARNINGS})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} testsupport Qt6::Test)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${PV_TEST_ENVIRONMENT}" TIMEOUT 300)
endfunction()

# Adds every sub-folder of the current folder that has a CMakeLists.txt, in the order given first,
# then the rest alphabetically.
function(pv_add_subdirectories)
    set(done "")
    foreach(dir ${ARGN})
        if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
            add_subdirectory(${dir})
            list(APPEND done ${dir})
        endif()
    endforeach()
    file(GLOB children RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
    list(SORT children)
    foreach(dir ${children})
        if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${dir}
           AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt
           AND NOT dir IN_LIST done)
            add_subdirectory(${dir})
        endif()
    endforeach()
endfunction()

# The four parts of the project version (missing parts count as 0), for the program's version
# record and the tests that read it back.
foreach(teil MAJOR MINOR PATCH TWEAK)
    if("${PROJECT_VERSION_${teil}}" STREQUAL "")
        set(PV_VERSION_${teil} 0)
    else()
        set(PV_VERSION_${teil} ${PROJECT_VERSION_${teil}})
    endif()
endforeach()
set(PV_VERSION_TEXT "${PV_VERSION_MAJOR}.${PV_VERSION_MINOR}.${PV_VERSION_PATCH}.${PV_VERSION_TWEAK}")
