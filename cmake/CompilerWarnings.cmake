# Strict warnings for every target of ours, linked PRIVATE so they never leak to consumers.
add_library(tarnwick_warnings INTERFACE)
target_compile_options(tarnwick_warnings INTERFACE -Wall -Wextra -Wpedantic -Werror)

# Sanitizers are switched on by the asan preset only.
option(TARNWICK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
add_library(tarnwick_sanitizers INTERFACE)
if(TARNWICK_SANITIZE)
    set(_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_compile_options(tarnwick_sanitizers INTERFACE ${_san})
    target_link_options(tarnwick_sanitizers INTERFACE ${_san})
endif()

# Qt strictness: no silent conversions between byte strings and QString.
set(TARNWICK_QT_DEFINES QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_USE_QSTRINGBUILDER QT_NO_FOREACH)
