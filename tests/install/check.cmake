# One install check for ctest, chosen by CHECK: desktop, metainfo or destdir.
cmake_minimum_required(VERSION 3.25)

set(app_id cat.corvani.Corvani)

# A validator that is not installed fails the check rather than skipping it.
macro(require_tool var name package)
  find_program(${var} ${name})
  if(NOT ${var})
    message(FATAL_ERROR "${name} not found: install the Debian package ${package} (make deps does)")
  endif()
endmacro()

# Runs a validator: a non-zero exit, or output matching fail_on, fails.
function(validate fail_on)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  message("${out}")
  if(NOT rc EQUAL 0 OR out MATCHES "${fail_on}")
    message(FATAL_ERROR "${ARGV1} found problems (exit status ${rc})")
  endif()
endfunction()

# AppStream's notes that remain on purpose, as "severity tag value" patterns, each with its reason:
# - the id has capitals: it is the desktop entry's name, which the window system is given;
# - Debian 12's AppStream 0.16 does not know <developer>, which AppStream 1.0 reads in place of
#   <developer_name> (and calls that one deprecated);
# - AppStream 1.0 asks for a homepage, and the program has none: an invented address would send
#   users nowhere.
set(appstream_accepted "^P cid-contains-uppercase-letter " "^I unknown-tag developer$" "^W url-homepage-missing( |$)")

# Runs an appstreamcli validation: every note of a severity in counted ("EWIP" or "EW") fails
# unless accepted above. An accepted warning makes the exit status 3 (validation failed), which
# then passes; any other non-zero status fails.
function(validate_appstream counted)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  message("${out}")
  string(REGEX MATCHALL "(^|\n) *[${counted}]: [^\n]*" notes "${out}")
  set(warned FALSE)
  foreach(note IN LISTS notes)
    string(STRIP "${note}" note)
    # "W: cat.corvani.Corvani:12: tag value" without its place in the file.
    string(REGEX REPLACE "^([EWIP]): [^ ]+ " "\\1 " kind "${note}")
    set(accepted FALSE)
    foreach(pattern IN LISTS appstream_accepted)
      if(kind MATCHES "${pattern}")
        set(accepted TRUE)
      endif()
    endforeach()
    if(NOT accepted)
      message(FATAL_ERROR "appstreamcli: ${note}")
    endif()
    if(kind MATCHES "^[EW] ")
      set(warned TRUE)
    endif()
  endforeach()
  if(NOT (rc EQUAL 0 OR (rc EQUAL 3 AND warned)))
    message(FATAL_ERROR "${ARGV1} ${ARGV2} failed with exit status ${rc}")
  endif()
endfunction()

function(expect_equal what actual expected)
  if(NOT actual STREQUAL expected)
    message(FATAL_ERROR "${what}: expected '${expected}', found '${actual}'")
  endif()
endfunction()

# Width and height from a PNG's header.
function(png_size file out)
  file(READ "${file}" header LIMIT 24 HEX)
  string(SUBSTRING "${header}" 0 16 signature)
  expect_equal("PNG signature of ${file}" "${signature}" "89504e470d0a1a0a")
  string(SUBSTRING "${header}" 32 8 w)
  string(SUBSTRING "${header}" 40 8 h)
  math(EXPR w "0x${w}")
  math(EXPR h "0x${h}")
  set(${out} "${w}x${h}" PARENT_SCOPE)
endfunction()

# The text of the first line of file that matches regex's one capture.
function(capture file regex out)
  file(STRINGS "${file}" lines REGEX "${regex}")
  list(GET lines 0 line)
  string(REGEX REPLACE ".*${regex}.*" "\\1" value "${line}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

if(CHECK STREQUAL "desktop")
  require_tool(tool desktop-file-validate desktop-file-utils)
  # Its hints count too: one is that a category would leave the entry out of the menus' sections.
  validate("(error|warning|hint): " ${tool} "${FILE}")
elseif(CHECK STREQUAL "metainfo")
  require_tool(tool appstreamcli appstream)
  # Every note counts, down to the pedantic ones, but those accepted above.
  validate_appstream(EWIP ${tool} validate --pedantic --no-net --no-color "${FILE}")
elseif(CHECK STREQUAL "manpage")
  require_tool(tool man man-db)
  # As lintian reads manual pages: any warning from the formatter fails.
  set(ENV{LC_ALL} C.UTF-8)
  execute_process(COMMAND ${tool} --warnings -E UTF-8 -l -Tutf8 -Z "${FILE}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE rendered ERROR_VARIABLE warnings)
  expect_equal("exit status of man --warnings" "${rc}" 0)
  expect_equal("warnings from man --warnings" "${warnings}" "")
  string(LENGTH "${rendered}" length)
  if(length LESS 2000)
    message(FATAL_ERROR "the manual page renders to only ${length} bytes")
  endif()
  capture("${FILE}" "^\\.TH CORVANI 1 [0-9-]+ \"Corvani ([^\"]*)\"" version)
  expect_equal("version in the manual page's title" "${version}" "${VERSION}")
elseif(CHECK STREQUAL "destdir")
  require_tool(tool appstreamcli appstream)
  file(REMOVE_RECURSE "${DESTDIR}")
  set(ENV{DESTDIR} "${DESTDIR}")
  execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix /usr RESULT_VARIABLE rc)
  expect_equal("exit status of cmake --install" "${rc}" 0)

  set(share usr/${DATADIR})
  set(icons ${share}/icons/hicolor)
  set(expected
    usr/${BINDIR}/corvani
    ${share}/applications/${app_id}.desktop
    ${share}/metainfo/${app_id}.metainfo.xml
    ${icons}/32x32/apps/${app_id}.png
    ${icons}/48x48/apps/${app_id}.png
    ${icons}/64x64/apps/${app_id}.png
    ${icons}/128x128/apps/${app_id}.png
    ${icons}/scalable/apps/${app_id}.svg
    ${share}/man/man1/corvani.1.gz
    ${share}/doc/corvani/copyright
    ${share}/doc/corvani/changelog.gz
    ${share}/doc/corvani/guia-docent.md.gz)
  file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE "${DESTDIR}" "${DESTDIR}/*")
  list(SORT found)
  list(SORT expected)
  expect_equal("installed files" "${found}" "${expected}")

  set(program "${DESTDIR}/usr/${BINDIR}/corvani")
  file(READ "${program}" magic LIMIT 4 HEX)
  expect_equal("start of ${program}" "${magic}" "7f454c46")
  execute_process(COMMAND test -x "${program}" RESULT_VARIABLE rc)
  expect_equal("${program} is executable (test -x)" "${rc}" 0)

  foreach(size 32 48 64 128)
    png_size("${DESTDIR}/${icons}/${size}x${size}/apps/${app_id}.png" actual)
    expect_equal("size of the ${size}x${size} icon" "${actual}" "${size}x${size}")
  endforeach()

  # The scalable icon: well-formed SVG whose root is an <svg> element with a square view box.
  require_tool(xmllint xmllint libxml2-utils)
  set(svg "${DESTDIR}/${icons}/scalable/apps/${app_id}.svg")
  execute_process(COMMAND ${xmllint} --noout "${svg}" RESULT_VARIABLE rc ERROR_VARIABLE err)
  expect_equal("xmllint on ${svg}: ${err}" "${rc}" 0)
  execute_process(COMMAND ${xmllint} --xpath "string(/*[local-name()='svg' and namespace-uri()='http://www.w3.org/2000/svg']/@viewBox)"
    "${svg}" OUTPUT_VARIABLE view_box OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
  expect_equal("view box of the SVG icon" "${view_box}" "0 0 32 32")

  # The compressed files are gzip streams; the copyright file is machine-readable.
  foreach(gz ${share}/man/man1/corvani.1.gz ${share}/doc/corvani/changelog.gz ${share}/doc/corvani/guia-docent.md.gz)
    file(READ "${DESTDIR}/${gz}" magic LIMIT 2 HEX)
    expect_equal("start of ${gz}" "${magic}" "1f8b")
  endforeach()
  file(STRINGS "${DESTDIR}/${share}/doc/corvani/copyright" format LIMIT_COUNT 1)
  expect_equal("first line of the copyright file" "${format}"
    "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/")

  # The names that tie the files together.
  set(desktop "${DESTDIR}/${share}/applications/${app_id}.desktop")
  set(metainfo "${DESTDIR}/${share}/metainfo/${app_id}.metainfo.xml")
  capture("${desktop}" "^Icon=(.*)$" icon)
  expect_equal("Icon= of the desktop entry" "${icon}" "${app_id}")
  capture("${desktop}" "^Exec=(.*)$" exec)
  expect_equal("Exec= of the desktop entry" "${exec}" "corvani")
  capture("${metainfo}" "<id>(.*)</id>" id)
  expect_equal("metainfo id" "${id}" "${app_id}")
  capture("${metainfo}" "<launchable type=\"desktop-id\">(.*)</launchable>" launchable)
  expect_equal("metainfo launchable" "${launchable}" "${app_id}.desktop")
  capture("${metainfo}" "<binary>(.*)</binary>" binary)
  expect_equal("metainfo binary" "${binary}" "corvani")
  capture("${metainfo}" "<release version=\"([^\"]*)\"" release)
  expect_equal("metainfo's newest release" "${release}" "${VERSION}")

  # AppStream's own look at the tree: metainfo, desktop entry and icons together.
  validate_appstream(EW ${tool} validate-tree --no-net --no-color --explain "${DESTDIR}/usr")
else()
  message(FATAL_ERROR "unknown CHECK '${CHECK}'")
endif()
