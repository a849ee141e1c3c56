# One GoogleTest executable per subsystem: every Wine start costs time, so keep
# them few. Each runs as one CTest test under the Wine wrapper.
function(velkor_add_test_executable name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no
             WORKING_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
endfunction()
