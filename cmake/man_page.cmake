# Writes the command line's man page from its --help and --version, gzipped.
# Usage: cmake -DHELP2MAN=... -DCLI=... -DOUT=<page.1.gz> -P man_page.cmake
get_filename_component(page "${OUT}" NAME_WLE)
get_filename_component(dir "${OUT}" DIRECTORY)
execute_process(
    COMMAND "${HELP2MAN}" --no-info --no-discard-stderr --section=1
            "--name=find and delete disposable files from the command line"
            "--output=${dir}/${page}" "${CLI}"
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "help2man failed on ${CLI}")
endif()
# gzip -n: no name or time stamp, so the page is the same on every build.
execute_process(COMMAND gzip -9nf "${dir}/${page}" RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "gzip failed on ${dir}/${page}")
endif()
