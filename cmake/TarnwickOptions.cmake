# One INTERFACE target carries the compile options every library and program shares.
add_library(tarnwick_options INTERFACE)
target_compile_features(tarnwick_options INTERFACE cxx_std_20)
target_compile_options(tarnwick_options INTERFACE -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
target_compile_definitions(tarnwick_options INTERFACE QT_NO_KEYWORDS)
# src/ is the one include root: "store/data_module.h", "widgets/gauge.h".
target_include_directories(tarnwick_options INTERFACE ${PROJECT_SOURCE_DIR}/src)

option(TARNWICK_SANITIZE "Build with address and undefined-behaviour sanitizers" OFF)
if(TARNWICK_SANITIZE)
    target_compile_options(tarnwick_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(tarnwick_options INTERFACE -fsanitize=address,undefined)
endif()
