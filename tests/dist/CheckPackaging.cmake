# cmake -DBUILD_DIR=... -DPREFIX=... -P CheckPackaging.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                OUTPUT_QUIET RESULT_VARIABLE result)
if(result)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(metainfo ${PREFIX}/share/metainfo/io.github.brisvel.Brisvel.metainfo.xml)
execute_process(COMMAND appstreamcli validate --no-net ${metainfo} RESULT_VARIABLE result OUTPUT_VARIABLE output)
if(result)
  message(FATAL_ERROR "appstreamcli refuses ${metainfo}:\n${output}")
endif()

# Every screenshot the metainfo names is installed under the same name.
file(READ ${metainfo} xml)
string(REGEX MATCHALL "/screenshots/[a-z_]+\\.png" screenshots "${xml}")
if(NOT screenshots)
  message(FATAL_ERROR "no screenshots in ${metainfo}")
endif()
foreach(screenshot ${screenshots})
  if(NOT EXISTS ${PREFIX}/share/brisvel${screenshot})
    message(FATAL_ERROR "${screenshot} is named in the metainfo but not installed")
  endif()
endforeach()

set(page ${PREFIX}/share/man/man6/brisvel.6)
execute_process(COMMAND man -l ${page} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(result OR NOT output MATCHES "BRISVEL\\(6\\)" OR errors)
  message(FATAL_ERROR "man -l ${page} failed (${result}):\n${errors}")
endif()
