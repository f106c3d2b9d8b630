# Writes the desktop entry at install time, when the launcher's place is known, and installs it.
# Set by the caller: QUARROX_DESKTOP_TEMPLATE (the entry with @QUARROX_EXEC@ for the command),
# QUARROX_DESKTOP_EXEC ("name": the launcher by its name, found on PATH; "path": by its
# absolute path, which works wherever the prefix is), QUARROX_LAUNCHER (its absolute path),
# QUARROX_DESKTOP_STAGE (a folder of the build to write the entry in) and QUARROX_DESKTOP_DEST
# (where it is installed, without DESTDIR).

if(QUARROX_DESKTOP_EXEC STREQUAL "name")
  set(QUARROX_EXEC quarrox)
else()
  # A path with any character beyond the plainest ones is quoted, with the characters that are
  # special inside quotes escaped; then every backslash is doubled for the value's own string
  # escapes, and a percent sign doubled so it is not taken for a field code.
  set(QUARROX_EXEC "${QUARROX_LAUNCHER}")
  if(QUARROX_EXEC MATCHES "[^-A-Za-z0-9/._+,=@:]")
    foreach(special "\\" "\"" "`" "$")
      string(REPLACE "${special}" "\\${special}" QUARROX_EXEC "${QUARROX_EXEC}")
    endforeach()
    set(QUARROX_EXEC "\"${QUARROX_EXEC}\"")
  endif()
  string(REPLACE "\\" "\\\\" QUARROX_EXEC "${QUARROX_EXEC}")
  string(REPLACE "%" "%%" QUARROX_EXEC "${QUARROX_EXEC}")
endif()

configure_file("${QUARROX_DESKTOP_TEMPLATE}" "${QUARROX_DESKTOP_STAGE}/quarrox.desktop" @ONLY)
file(INSTALL DESTINATION "${QUARROX_DESKTOP_DEST}" TYPE FILE
     FILES "${QUARROX_DESKTOP_STAGE}/quarrox.desktop")
