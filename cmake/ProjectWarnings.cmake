# One interface target carries every warning flag; each target of the project links it.
add_library(project_warnings INTERFACE)
target_compile_options(project_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
    -Wcast-align -Woverloaded-virtual -Wnull-dereference -Wformat=2)
option(CHENFAN_WERROR "Treat warnings as errors" OFF)
if(CHENFAN_WERROR)
    target_compile_options(project_warnings INTERFACE -Werror)
endif()
