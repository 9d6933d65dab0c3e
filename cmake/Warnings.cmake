# Warnings for every target of the project; errors where ORVU_WARNINGS_AS_ERRORS is on (CI).
add_library(orvu_warnings INTERFACE)
if(MSVC)
    target_compile_options(orvu_warnings INTERFACE /W4 /utf-8)
    if(ORVU_WARNINGS_AS_ERRORS)
        target_compile_options(orvu_warnings INTERFACE /WX)
    endif()
else()
    target_compile_options(orvu_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow
        -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Wimplicit-fallthrough)
    if(ORVU_WARNINGS_AS_ERRORS)
        target_compile_options(orvu_warnings INTERFACE -Werror)
    endif()
endif()
