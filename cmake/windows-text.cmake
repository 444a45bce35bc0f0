# Text as Windows' own programs read it, Notepad included: UTF-8 with a
# byte-order mark, lines ending in CR LF.
#
#	cmake -D IN=... -D OUT=... -P windows-text.cmake
file(READ "${IN}" text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
string(ASCII 239 187 191 bom)
file(WRITE "${OUT}" "${bom}${text}")
