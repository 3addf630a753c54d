# Settings every Lumisera target shares: language level, warnings, sanitizers.
add_library(lumisera_common INTERFACE)
target_compile_features(lumisera_common INTERFACE cxx_std_20)
target_compile_options(lumisera_common INTERFACE -Wall -Wextra)
target_compile_definitions(lumisera_common INTERFACE
    QT_NO_KEYWORDS QT_NO_CAST_FROM_BYTEARRAY)

if(LUMISERA_SANITIZE)
    set(_lumisera_san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_compile_options(lumisera_common INTERFACE ${_lumisera_san})
    target_link_options(lumisera_common INTERFACE ${_lumisera_san})
endif()

# lumisera_add_test(TestName LIBS lib...): builds TestName.cpp into a test executable and
# registers it with ctest, offscreen, in a private home of its own.
function(lumisera_add_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "LIBS;SOURCES" ${ARGN})
    add_executable(${name} ${name}.cpp ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE lumisera_testsupport Qt6::Test ${ARG_LIBS})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    if(ARG_TIMEOUT)
        set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
    endif()
endfunction()
