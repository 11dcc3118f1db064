#!/usr/bin/env bash
# Creates the private Wine prefix once: 64-bit, a 1920x1080 virtual desktop (windows
# open and close fast there), no optional-component prompts, no crash dialogs.
set -euo pipefail
source "$(dirname "$0")/env.sh"

# Bump the stamp when the settings below change, so existing prefixes take them too.
stamp="$WINEPREFIX/.scrivane-ready-4"
[ -f "$stamp" ] && exit 0

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "setup: creating Wine prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  # wineboot needs no display; keep it off any display the user has.
  env -u DISPLAY wineboot -i >/dev/null 2>&1 || true
else
  echo "setup: updating Wine prefix $WINEPREFIX"
fi
reg() { env -u DISPLAY wine reg add "$@" /f >/dev/null 2>&1; }
reg 'HKCU\Software\Wine\Explorer' /v Desktop /d Default
reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1920x1080
# No debugger or crash dialog may ever block an unattended run.
reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /d 1
reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d 'false'
reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
reg 'HKCU\Control Panel\International' /v Locale /d 00000804
# Chinese text in the UI font (Tahoma 8 pt) through a CJK font that stays legible at small
# sizes, smoothed.
reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v Tahoma /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei'
# Menus, captions, message boxes and the GUI font (and so every control with a font of its
# own) ask for "MS Shell Dlg", which the Chinese locale maps to SimSun; with no SimSun it falls
# to a CJK font whose small embedded bitmaps are hard to read. Give it a CJK font legible at
# small sizes that has a real bold face: a font without one is emboldened by smearing each
# stroke, which at 12 px merges close strokes (the two chevrons of the toggle tab's "》").
reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v 'MS Shell Dlg' /d 'Noto Sans CJK SC'
# The window frame draws its caption buttons with Marlett. fonts-wine ships it in Wine's data
# folder, which this Wine does not load fonts from: the prefix's Fonts folder it does.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' /v 'Marlett (TrueType)' /d marlett.ttf
reg 'HKCU\Control Panel\Desktop' /v FontSmoothing /d 2
reg 'HKCU\Control Panel\Desktop' /v FontSmoothingType /t REG_DWORD /d 2
env -u DISPLAY wineserver -w
touch "$stamp"
