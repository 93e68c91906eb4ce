# Copies the shipped filter files into a folder where a file is missing, so
# a build tree runs as a portable copy and the user's edits survive rebuilds.
# Usage: cmake -DFROM=<data/Filtry> -DTO=<build/Filtry> -P seed_filters.cmake
file(MAKE_DIRECTORY "${TO}")
file(GLOB shipped RELATIVE "${FROM}" "${FROM}/*")
foreach(name IN LISTS shipped)
    if(NOT EXISTS "${TO}/${name}" AND NOT IS_SYMLINK "${TO}/${name}")
        file(COPY "${FROM}/${name}" DESTINATION "${TO}")
    endif()
endforeach()
