# Warnings and sanitizers are attached through interface targets, never per file.
add_library(skribo_warnings INTERFACE)
target_compile_options(skribo_warnings INTERFACE -Wall -Wextra -Wpedantic)
if(SKRIBO_WERROR)
  target_compile_options(skribo_warnings INTERFACE -Werror)
endif()

add_library(skribo_sanitize INTERFACE)
if(SKRIBO_SANITIZE)
  target_compile_options(skribo_sanitize INTERFACE -fsanitize=address,undefined
                         -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(skribo_sanitize INTERFACE -fsanitize=address,undefined)
endif()

# Every project target links this one.
add_library(skribo_defaults INTERFACE)
target_link_libraries(skribo_defaults INTERFACE skribo_warnings skribo_sanitize)
if(SKRIBO_FUZZ)
  target_compile_options(skribo_defaults INTERFACE -fsanitize=fuzzer-no-link)
endif()
