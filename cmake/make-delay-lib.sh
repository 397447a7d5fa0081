#!/bin/sh
# Makes a delay-load import library from a system import library: the same functions of the same DLL, bound on
# their first call instead of when the program starts. Data exports (an import symbol without code) are left
# out, since data cannot be bound late.
# Usage: make-delay-lib.sh NM DLLTOOL IMPORT_LIB OUT_LIB PROCESSOR
set -e
nm=$1 dlltool=$2 lib=$3 out=$4 processor=$5
dll=$("$dlltool" --identify "$lib")
# i686 symbols carry a leading underscore and stdcall's "@bytes"; the DLL's export names carry neither
# (dlltool -k), but the program refers to the decorated names.
if [ "$processor" = i686 ]; then underscore=1; else underscore=0; fi
{
  echo "LIBRARY \"$dll\""
  echo "EXPORTS"
  "$nm" "$lib" | awk -v u="$underscore" '
    $2 == "T" { code[$3] = 1 }
    $2 == "I" && substr($3, 1, 6) == "__imp_" { imported[substr($3, 7)] = 1 }
    END { for (s in imported) if (s in code) print (u > 0 ? substr(s, 2) : s) }' | sort
} >"$out.def"
if [ "$underscore" -gt 0 ]; then kill=-k; else kill=; fi
"$dlltool" $kill -d "$out.def" -D "$dll" -y "$out.tmp"
mv -f "$out.tmp" "$out"
