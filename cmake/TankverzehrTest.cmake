# tankverzehr_add_test(<name> SOURCES <files...> LIBRARIES <targets...>)
# One QtTest executable, registered with CTest, run headless.
function(tankverzehr_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBRARIES})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TANKVERZEHR_TEST_OUTPUT=${CMAKE_BINARY_DIR}"
        TIMEOUT 300)
endfunction()
