# Settings every Lumisera target shares: language level, warnings, sanitizers.
add_library(lumisera_common INTERFACE)
target_compile_features(lumisera_common INTERFACE cxx_std_20)
# Headers are included by their path from src/ ("core/UserDefaults.h"): one include directory.
target_include_directories(lumisera_common INTERFACE ${PROJECT_SOURCE_DIR}/src)
target_compile_options(lumisera_common INTERFACE
    -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual -Wold-style-cast -Wcast-qual -Wformat=2)
if(LUMISERA_WERROR)
    target_compile_options(lumisera_common INTERFACE -Werror)
endif()
# Strings say what they are: no silent conversion between bytes, text and addresses.
target_compile_definitions(lumisera_common INTERFACE
    QT_NO_KEYWORDS QT_NO_CAST_FROM_BYTEARRAY QT_NO_CAST_TO_ASCII QT_NO_URL_CAST_FROM_STRING
    QT_USE_QSTRINGBUILDER QT_STRICT_ITERATORS)

if(LUMISERA_SANITIZE)
    set(_lumisera_san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_compile_options(lumisera_common INTERFACE ${_lumisera_san})
    target_link_options(lumisera_common INTERFACE ${_lumisera_san})
endif()

# Every library gets libFuzzer's coverage hooks, so that the fuzz targets see into them; only the
# targets of tests/fuzz link libFuzzer itself (lumisera_add_fuzzer).
if(LUMISERA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "LUMISERA_FUZZ needs clang: configure with CC=clang CXX=clang++")
    endif()
    set(_lumisera_fuzz_san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_compile_options(lumisera_common INTERFACE -fsanitize=fuzzer-no-link ${_lumisera_fuzz_san})
    target_link_options(lumisera_common INTERFACE ${_lumisera_fuzz_san})
endif()

# lumisera_add_test(TestName LIBS lib...): builds TestName.cpp into a test executable and
# registers it with ctest, offscreen, in a private home of its own.
function(lumisera_add_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "LIBS;SOURCES" ${ARGN})
    add_executable(${name} ${name}.cpp ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE lumisera_testsupport Qt6::Test ${ARG_LIBS})
    add_test(NAME ${name} COMMAND ${name})
    # English whatever the developer's desktop speaks: tests compare the English texts.
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANGUAGE=en")
    if(ARG_TIMEOUT)
        set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
    endif()
endfunction()

# lumisera_add_fuzzer(FuzzName LIBS lib...): builds FuzzName.cpp into a libFuzzer executable.
# Never registered with ctest: scripts/fuzz.sh runs them.
function(lumisera_add_fuzzer name)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    add_executable(${name} ${name}.cpp)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    if(NOT TARGET lumisera_fuzzers)
        add_custom_target(lumisera_fuzzers)
    endif()
    add_dependencies(lumisera_fuzzers ${name})
endfunction()

# Qt's headers are most of what each file compiles: each library parses them once (precompiled).
set(LUMISERA_PCH_CORE <QObject> <QString> <QStringList> <QByteArray> <QList> <QHash> <QUrl> <QFile>
    <QFileInfo> <QDir> <QPointer> <QCoreApplication> <QFuture> <QMutex> <QTimer> <memory> <optional>)
set(LUMISERA_PCH_WIDGETS ${LUMISERA_PCH_CORE} <QWidget> <QLabel> <QPushButton> <QToolButton>
    <QVBoxLayout> <QHBoxLayout> <QStackedWidget> <QApplication> <QKeyEvent> <QPainter> <QImage>)

# lumisera_precompile(target [WIDGETS]): the precompiled Qt headers of a library.
function(lumisera_precompile target)
    cmake_parse_arguments(ARG "WIDGETS" "" "" ${ARGN})
    if(ARG_WIDGETS)
        target_precompile_headers(${target} PRIVATE ${LUMISERA_PCH_WIDGETS})
    else()
        target_precompile_headers(${target} PRIVATE ${LUMISERA_PCH_CORE})
    endif()
endfunction()
