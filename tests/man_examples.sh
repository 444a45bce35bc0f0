#!/usr/bin/env bash
# The examples of the manual page are what the program prints, byte for
# byte: each ".ft CR" block starts with "$ absink ARGS", then the output,
# "\&" standing for an empty line.  Lines end in LF, or in CR LF where
# Windows writes text.
#
#	man_examples.sh absink.1 lf|crlf [emulator...] path/to/absink
set -euo pipefail
page=$1
eol=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

awk -v dir="$work" '
	/^\.ft CR$/ { n++; inside = 1; next }
	/^\.ft$/ { inside = 0; next }
	inside && /^\$ absink / { sub(/^\$ absink /, ""); print > (dir "/" n ".args"); next }
	inside { if ($0 == "\\&") $0 = ""; print > (dir "/" n ".want") }
' "$page"

count=0
for args in "$work"/*.args; do
	want=${args%.args}.want
	read -ra argv <"$args"
	[ "$eol" = crlf ] && sed -i 's/$/\r/' "$want"
	"$@" "${argv[@]}" >"$work/got"
	diff -u "$want" "$work/got"
	count=$((count + 1))
done
[ "$count" -ge 2 ] || { echo "expected at least two examples, found $count"; exit 1; }
echo "$count examples match"
