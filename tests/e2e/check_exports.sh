#!/usr/bin/env bash
# Velmora.dll exports exactly the host callbacks and its four helpers, undecorated, and imports
# nothing but Windows system DLLs.
set -euo pipefail
export LC_ALL=C
dll=$1
expected="BKC_OnDragDrop BKC_OnEveryMinute BKC_OnExit BKC_OnFinishRetrieve BKC_OnKeyDispatch BKC_OnMenuInit BKC_OnOpenCompose BKC_OnOpenFolder BKC_OnOpenMail BKC_OnOutgoing BKC_OnPlugInInfo BKC_OnPlugInSetup BKC_OnRetrieve BKC_OnSend BKC_OnStart VlmCompAttachFile VlmComposeMail VlmGetTempFolder VlmSetMessageText"
actual=$(i686-w64-mingw32-objdump -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
         grep -E '^\s+\[' | grep -oE '\] [A-Za-z0-9_@]+' | cut -c3- | sort | tr '\n' ' ' | sed 's/ $//')
if [ "$actual" != "$expected" ]; then
  echo "exports differ:"; echo " expected: $expected"; echo " actual:   $actual"; exit 1
fi
imports=$(i686-w64-mingw32-objdump -p "$dll" | grep 'DLL Name' | awk '{print tolower($3)}' | sort -u)
for name in $imports; do
  case "$name" in
    kernel32.dll|user32.dll|gdi32.dll|advapi32.dll|shell32.dll|comctl32.dll|comdlg32.dll|ole32.dll|\
    version.dll|msvcrt.dll|imm32.dll|shlwapi.dll|oleaut32.dll|windowscodecs.dll|uxtheme.dll) ;;
    *) echo "imports a non-system DLL: $name"; exit 1 ;;
  esac
done
echo "exports and imports as expected"
