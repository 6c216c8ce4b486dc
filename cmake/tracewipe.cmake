# tracewipe_add_test(<name> SOURCES <files...> LIBS <libs...>)
# One GoogleTest program, run by ctest under Wine (the toolchain's emulator).
function(tracewipe_add_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} tracewipe_test_support GTest::gtest)
    add_test(NAME ${name} COMMAND ${name})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
endfunction()

# tracewipe_lean_image(<target>)
# Sections aligned to pages in the file let Wine's loader map them rather than read them whole, so only the
# code that runs takes memory; no debug sections, which static libraries bring and the loader would read too.
function(tracewipe_lean_image target)
    target_link_options(${target} PRIVATE -s -Wl,--file-alignment=0x1000)
endfunction()
